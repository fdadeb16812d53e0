// tests/devtools/scratch_dir.h - the developer tools write into the current directory, so
// each test that writes runs inside a fresh directory of its own, removed afterwards.
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct ScratchDir {
    std::string path = ::testing::TempDir() + "orbplume_devtools_XXXXXX";
    std::filesystem::path old = std::filesystem::current_path();
    ScratchDir() { std::filesystem::current_path(mkdtemp(path.data())); }
    ~ScratchDir() {
        std::filesystem::current_path(old);
        std::filesystem::remove_all(path);
    }
};

inline std::string read_file(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
