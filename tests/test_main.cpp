// tests/test_main.cpp - the entry of every test program. Each test runs with a temporary
// folder of its own: TMPDIR and gtest's TempDir() point into it while the test runs, and it
// is removed, whatever is in it, when the test ends. So no test leaves files behind in the
// system's temporary folder, and none finds what another left there. A death test's child
// (gtest sends it no test events) and any program a test starts write into the test's
// folder, which goes with it.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

class FolderPerTest : public ::testing::EmptyTestEventListener {
public:
    explicit FolderPerTest(std::string base) : base_(std::move(base)) {}

private:
    void OnTestStart(const ::testing::TestInfo &) override {
        folder_ = base_ + "orbplume-test-XXXXXX";
        if (!mkdtemp(folder_.data())) {
            folder_.clear();
            return;
        }
        setenv("TEST_TMPDIR", folder_.c_str(), 1);
        setenv("TMPDIR", folder_.c_str(), 1);
    }
    void OnTestEnd(const ::testing::TestInfo &) override {
        if (folder_.empty()) return;
        setenv("TEST_TMPDIR", base_.c_str(), 1);
        setenv("TMPDIR", base_.c_str(), 1);
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        folder_.clear();
    }
    std::string base_;     // where the folders are made, ending in "/"
    std::string folder_;   // the running test's, "" between tests
};

// The folder the program was given: TEST_TMPDIR (a death test's parent sets it), TMPDIR, or /tmp.
static std::string base_folder() {
    for (const char *name : { "TEST_TMPDIR", "TMPDIR" }) {
        const char *value = std::getenv(name);
        if (value && value[0]) return std::string(value) + (value[std::strlen(value) - 1] == '/' ? "" : "/");
    }
    return "/tmp/";
}

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FolderPerTest(base_folder()));
    return RUN_ALL_TESTS();
}
