// tests/app/test_folder_test.cpp - every test runs in a temporary folder of its own
// (tests/test_main.cpp): empty when it starts, whatever ran before in the same program, and
// gone afterwards, so the suite leaves nothing in the system's temporary folder.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

// What each of the two tests below checks and leaves: run in one process in either order,
// the second finds an empty folder only if the first one's went away.
static void check_own_empty_folder_then_litter() {
    const std::string dir = ::testing::TempDir();
    ASSERT_NE(dir, "/tmp/");
    ASSERT_TRUE(fs::is_directory(dir));
    EXPECT_TRUE(fs::is_empty(dir)) << dir;
    EXPECT_EQ(fs::path(std::getenv("TMPDIR")), fs::path(dir).parent_path()) << "programs the test starts write there too";
    EXPECT_EQ(fs::temp_directory_path(), fs::path(dir).parent_path());
    // A death test's child, which leaves without clearing up, writes inside too.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT({
        std::ofstream(::testing::TempDir() + "child.jpg") << "x";
        std::_Exit(0);
    }, ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(fs::exists(dir + "child.jpg"));
    std::ofstream(dir + "left_behind.ogg") << "x";
}

TEST(TestFolderTest, EachTestStartsInAnEmptyFolderOfItsOwn) { check_own_empty_folder_then_litter(); }
TEST(TestFolderTest, AndSoDoesTheNextWhateverTheOrder) { check_own_empty_folder_then_litter(); }
