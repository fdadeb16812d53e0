// tests/devtools/scratch_dir.h - the developer tools write into the current directory;
// each test that writes runs inside a fresh directory of its own, removed afterwards.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = ::testing::TempDir() + "orbplume_devtools_XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : "";
        old_ = std::filesystem::current_path();
        if (!path_.empty()) std::filesystem::current_path(path_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(old_);
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string &path() const { return path_; }

private:
    std::string path_;
    std::filesystem::path old_;
};

inline bool file_exists(const std::string &name) { return std::filesystem::exists(name); }

inline std::string read_file(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
