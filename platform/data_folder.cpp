// platform/data_folder.cpp - the search for the data folder.
#include "platform/data_folder.h"
#include <cstdio>
#include <filesystem>
#include <system_error>

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
