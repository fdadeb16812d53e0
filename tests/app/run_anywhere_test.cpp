// tests/app/run_anywhere_test.cpp - the show finds its data wherever it is started from:
// the search order itself, the build's executable run from the repository root, the
// installed tree run from an unrelated folder, and a lone executable naming what it tried.
#include "platform/data_folder.h"
#include "tool_run.h"
#include <gtest/gtest.h>
#include <png.h>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

// Each command names its own folder; the offline runs need no display.
static ToolRun run_command(const std::string &command) { return run_shell_in(".", command); }

static std::string fresh_dir(const char *name) {
    const std::string dir = ::testing::TempDir() + "orbplume_" + name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

static void touch(const fs::path &file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
}

// Width, height and the summed RGB mean of a PNG; zeros when it does not read.
static std::array<double, 3> png_size_and_mean(const std::string &path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return { 0, 0, 0 };
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return { 0, 0, 0 };
    double sum = 0;
    for (unsigned char c : rgb) sum += c;
    return { double(image.width), double(image.height), sum / double(rgb.size() / 3) };
}

TEST(DataFolderTest, SearchRunsFromWorkingDirectoryToBesideTheExecutableToTheInstallTree) {
    const auto c = data_folder_candidates("/opt/show/bin/orbplume");
    ASSERT_GE(c.size(), 4u);
    EXPECT_EQ(c[0], "data");
    EXPECT_EQ(c[1], "/opt/show/bin/data");
    EXPECT_EQ(c[2], "/opt/show/share/orbplume/data");
    EXPECT_EQ(c.back().rfind("/"), c.back().size() - 5) << c.back();   // ".../orbplume/data"
    EXPECT_EQ(data_folder_candidates("").front(), "data");   // no executable path: still cwd first

    // A data/ folder without the pictures (the repository root's source folder) is passed
    // over; the first folder holding them wins over later ones.
    const std::string root = fresh_dir("data_search");
    fs::create_directories(root + "/empty/data");
    touch(root + "/beside/data/loading.jpg");
    touch(root + "/installed/data/loading.jpg");
    const std::vector<std::string> order = { root + "/empty/data", root + "/beside/data", root + "/installed/data" };
    EXPECT_EQ(first_data_folder(order), root + "/beside/data");
    EXPECT_EQ(first_data_folder({ root + "/empty/data", root + "/nowhere" }), "");
    touch(root + "/file_not_folder");
    EXPECT_EQ(first_data_folder({ root + "/file_not_folder" }), "");
    fs::remove_all(root);
}

TEST(RunAnywhereTest, BuildExecutableRunsFromTheRepositoryRoot) {
    const std::string out = fresh_dir("from_root");
    ToolRun r = run_command("cd " ORBPLUME_SOURCE_DIR " && " ORBPLUME_BINARY_DIR "/orbplume --render 1.03125 --out " + out);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("missing"), std::string::npos) << r.output;   // the track was found too
    const auto png = png_size_and_mean(out + "/t001.031.png");
    EXPECT_EQ(png[0], 640);
    EXPECT_EQ(png[1], 480);
    EXPECT_GT(png[2], 20) << "the title picture came out black";
    fs::remove_all(out);
}

TEST(RunAnywhereTest, InstalledTreeHoldsEverythingAndRunsFromAnUnrelatedFolder) {
    const std::string prefix = fresh_dir("prefix");
    ToolRun install = run_command(ORBPLUME_CMAKE_COMMAND " --install " ORBPLUME_BINARY_DIR " --prefix " + prefix);
    ASSERT_EQ(install.status, 0) << install.output;

    const fs::path data = prefix + "/share/orbplume/data";
    int pictures = 0;
    for (const auto &e : fs::directory_iterator(data)) pictures += e.path().extension() == ".jpg";
    EXPECT_EQ(pictures, 28);
    EXPECT_TRUE(fs::is_regular_file(data / "vlux_q2_final.ogg"));
    EXPECT_TRUE(fs::is_regular_file(prefix + "/share/applications/orbplume.desktop"));
    EXPECT_TRUE(fs::is_regular_file(prefix + "/share/man/man6/orbplume.6.gz"));
    const auto icon = png_size_and_mean(prefix + "/share/icons/hicolor/256x256/apps/orbplume.png");
    EXPECT_EQ(icon[0], 256);
    EXPECT_EQ(icon[1], 256);
    EXPECT_GT(icon[2], 30) << "the icon is black";
    ToolRun man = run_command("gzip -dc " + prefix + "/share/man/man6/orbplume.6.gz");
    EXPECT_NE(man.output.find(".TH ORBPLUME 6"), std::string::npos) << man.output;
    EXPECT_NE(man.output.find("\\-\\-desktop"), std::string::npos) << "the manual lacks the options";

    // Started from a folder with no data/ of its own: the installed data serves everything.
    const std::string elsewhere = fresh_dir("elsewhere");
    ToolRun describe = run_command("cd " + elsewhere + " && " + prefix + "/bin/orbplume --describe 54.1");
    EXPECT_EQ(describe.status, 0) << describe.output;
    EXPECT_NE(describe.output.find("t = 54.1"), std::string::npos) << describe.output;
    ToolRun render = run_command("cd " + elsewhere + " && " + prefix + "/bin/orbplume --render 1.03125 --out pics");
    ASSERT_EQ(render.status, 0) << render.output;
    EXPECT_EQ(render.output.find("missing"), std::string::npos) << render.output;
    EXPECT_GT(png_size_and_mean(elsewhere + "/pics/t001.031.png")[2], 20);
    fs::remove_all(elsewhere);
    fs::remove_all(prefix);
}

TEST(RunAnywhereTest, WithoutDataTheMessagesNameEveryPathTried) {
    const std::string dir = fresh_dir("lone_exe");
    fs::copy_file(ORBPLUME_BINARY_DIR "/orbplume", dir + "/orbplume");
    ToolRun r = run_command("cd " + dir + " && ./orbplume --render 1 --out pics");
    EXPECT_NE(r.output.find("no data folder found; looked in data " + dir + "/data"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("data/loading.jpg not found"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir + "/pics/t001.000.png"));
    fs::remove_all(dir);
}
