// platform/data_folder.h - where the show's run-time data (pictures, track) is read from.
// The first folder of the search that holds the data serves every file: data/ in the
// working directory, data/ beside the executable, the installed folder found from the
// executable (<prefix>/bin/../share/orbplume/data), then the installed folder compiled in.
// Until resolve_data_folder runs, the folder is "data" in the working directory.
#pragma once
#include <string>
#include <vector>

// The folders searched, in order, for an executable at exe_path ("" if unknown).
std::vector<std::string> data_folder_candidates(const std::string &exe_path);
// The first candidate holding the data (its marker picture), "" if none does.
std::string first_data_folder(const std::vector<std::string> &candidates);
// Searches from the running executable and keeps the result; with no data anywhere it keeps
// "data" and warns on stderr with every folder tried. Returns the folder kept.
const std::string &resolve_data_folder();
const std::string &data_folder();            // the folder kept ("data" before resolving)
std::string data_file(const char *name);     // data_folder() + "/" + name

// Reading a data file. Only a plain file is opened: a folder, a device or a named pipe is
// refused with the reason, and never waited on (a pipe's open would block until a writer came).
int  open_plain_file(const char *path, std::string &why);   // read-only descriptor, or -1 and why
bool read_plain_file(const char *path, size_t max_bytes, std::vector<unsigned char> &bytes,
                     std::string &why);                      // the whole file; false and why if unreadable or over max_bytes
