// platform/data_folder.cpp - the search for the data folder.
#include "platform/data_folder.h"
#include <cerrno>
#include <cstdio>
#include <cstring>       // Required for: strerror()
#include <fcntl.h>       // Required for: open(), fcntl()
#include <filesystem>
#include <sys/stat.h>    // Required for: fstat()
#include <system_error>
#include <unistd.h>      // Required for: read(), close()

#ifndef ORBPLUME_INSTALLED_DATA_DIR
#define ORBPLUME_INSTALLED_DATA_DIR "/usr/local/share/orbplume/data"
#endif

// The first picture the show loads: a folder without it cannot start the show.
constexpr const char *DATA_MARKER = "loading.jpg";

static std::string kept_folder = "data";

std::vector<std::string> data_folder_candidates(const std::string &exe_path) {
    std::vector<std::string> folders = { "data" };
    if (!exe_path.empty()) {
        const std::filesystem::path bin = std::filesystem::path(exe_path).parent_path();
        folders.push_back((bin / "data").string());
        folders.push_back((bin.parent_path() / "share" / "orbplume" / "data").string());
    }
    const std::string installed = ORBPLUME_INSTALLED_DATA_DIR;
    bool seen = false;
    for (const auto &f : folders) seen = seen || f == installed;
    if (!seen) folders.push_back(installed);
    return folders;
}

std::string first_data_folder(const std::vector<std::string> &candidates) {
    for (const auto &folder : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(std::filesystem::path(folder) / DATA_MARKER, ec))
            return folder;
    }
    return "";
}

const std::string &resolve_data_folder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto candidates = data_folder_candidates(ec ? std::string() : exe.string());
    const std::string found = first_data_folder(candidates);
    if (found.empty()) {
        std::fprintf(stderr, "orbplume: no data folder found; looked in");
        for (const auto &c : candidates) std::fprintf(stderr, " %s", c.c_str());
        std::fprintf(stderr, "\n");
        kept_folder = "data";
    } else {
        kept_folder = found;
    }
    return kept_folder;
}

const std::string &data_folder() {
    return kept_folder;
}

std::string data_file(const char *name) {
    return kept_folder + "/" + name;
}

int open_plain_file(const char *path, std::string &why) {
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return -1;
    }
    struct stat info = {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode)  ? "a folder, not a file"
            : S_ISFIFO(info.st_mode) ? "a named pipe, not a file"
                                     : "not a plain file";
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool read_plain_file(const char *path, size_t max_bytes, std::vector<unsigned char> &bytes, std::string &why) {
    bytes.clear();
    const int fd = open_plain_file(path, why);
    if (fd < 0) return false;
    struct stat info = {};
    fstat(fd, &info);
    if (size_t(info.st_size) > max_bytes) {
        why = "too large (" + std::to_string((long long)info.st_size) + " bytes, at most " +
              std::to_string(max_bytes) + ")";
        close(fd);
        return false;
    }
    bytes.reserve(size_t(info.st_size));
    // Read until the end, whatever the size said: a file may shrink or grow meanwhile.
    unsigned char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            why = std::strerror(errno);
            close(fd);
            return false;
        }
        if (got == 0) break;
        if (bytes.size() + size_t(got) > max_bytes) {
            why = "too large (more than " + std::to_string(max_bytes) + " bytes)";
            close(fd);
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    close(fd);
    return true;
}
