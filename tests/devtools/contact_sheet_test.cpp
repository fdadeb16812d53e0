// tests/devtools/contact_sheet_test.cpp - the contact sheet as a user runs it: the real
// executable writes its pages once for the whole suite, and the cases read them back.
#include "devtools/contact_sheet.h"
#include "devtools/png_file.h"
#include "platform/options.h"
#include "data/embedded_meshes.h"
#include "precalc/resources.h"
#include "tool_run.h"
#include <gtest/gtest.h>
#include <png.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

//----------------------------------------------------------------------------------
// Helpers
//----------------------------------------------------------------------------------
// A decoded RGB page, rows top first as the file stores them.
struct Page {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // Pixel at GL window coordinates (y up from the bottom), as the sheet's rectangles use.
    const unsigned char *at(int x, int y) const { return &rgb[(size_t(height - 1 - y) * width + x) * 3]; }
};

static bool read_png(const std::string &path, Page &page) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    page.width = int(image.width);
    page.height = int(image.height);
    page.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, page.rgb.data(), 0, nullptr) != 0;
}

static bool is_panel(const unsigned char *p) {
    for (int k = 0; k < 3; k++)
        if (std::abs(int(p[k]) - int(SHEET_PANEL_RGB[k] * 255.0f + 0.5f)) > 2) return false;
    return true;
}

// Share of the rectangle's pixels that are not the panel colour.
static float drawn_share(const Page &page, const SheetRect &r) {
    int drawn = 0;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++) drawn += !is_panel(page.at(x, y));
    return float(drawn) / float(r.w * r.h);
}

// Pixels of the rectangle bright enough to be label text.
static int bright_pixels(const Page &page, const SheetRect &r) {
    int bright = 0;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++) bright += page.at(x, y)[1] > 150;
    return bright;
}

//----------------------------------------------------------------------------------
// One run of the sheet, checked page by page (a run takes seconds: it is made once)
//----------------------------------------------------------------------------------
static std::vector<std::string> page_names() {
    std::vector<std::string> names;
    const int per_mesh_page = MESH_COLUMNS * MESH_ROWS, per_texture_page = TEXTURE_COLUMNS * TEXTURE_ROWS;
    for (int i = 1; i <= (named_mesh_count + per_mesh_page - 1) / per_mesh_page; i++)
        names.push_back("meshes-" + std::to_string(i) + ".png");
    for (int i = 1; i <= (named_texture_count + per_texture_page - 1) / per_texture_page; i++)
        names.push_back("textures-" + std::to_string(i) + ".png");
    return names;
}

static Page load_page(const std::string &folder, const std::string &name) {
    Page page;
    EXPECT_TRUE(read_png(folder + "/" + name, page)) << name;
    return page;
}

// The folder holds exactly the pages (no temp or probe files), each page-sized and titled.
static void check_pages(const std::string &folder, const std::string &output) {
    const std::vector<std::string> expected = page_names();
    EXPECT_EQ(int(expected.size()), contact_sheet_page_count());
    EXPECT_EQ(expected.size(), 6u);   // 36 meshes at 9, 30 pictures at 15: no half-empty page
    std::set<std::string> found;
    for (const auto &entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
    EXPECT_EQ(found, std::set<std::string>(expected.begin(), expected.end()));
    for (const auto &name : expected) {
        const Page page = load_page(folder, name);
        ASSERT_EQ(page.width, SHEET_WIDTH) << name;
        ASSERT_EQ(page.height, SHEET_HEIGHT) << name;
        EXPECT_GT(bright_pixels(page, { 0, SHEET_HEIGHT - SHEET_HEADER, SHEET_WIDTH / 2, SHEET_HEADER }), 100) << name;
        EXPECT_NE(output.find("wrote " + folder + "/" + name), std::string::npos) << output;
    }
}

// Both views of every mesh are panels with something fitted into them; the label is under them.
static void check_mesh_cells(const std::string &folder) {
    const int per_page = MESH_COLUMNS * MESH_ROWS;
    for (int i = 0; i < named_mesh_count; i++) {
        const Page page = load_page(folder, "meshes-" + std::to_string(i / per_page + 1) + ".png");
        ASSERT_EQ(page.width, SHEET_WIDTH);
        const SheetRect cell = sheet_cell(i % per_page, MESH_COLUMNS, MESH_ROWS);
        for (int v = 0; v < 2; v++) {
            const SheetRect view = mesh_view_rect(cell, v);
            EXPECT_TRUE(is_panel(page.at(view.x + 1, view.y + 1))) << named_meshes[i].name;
            const float share = drawn_share(page, view);
            EXPECT_GT(share, 0.04f) << named_meshes[i].name << " view " << v;
            EXPECT_LT(share, 0.95f) << named_meshes[i].name << " view " << v;
        }
        EXPECT_GT(bright_pixels(page, label_rect(cell)), 60) << named_meshes[i].name;
    }
}

// Every picture covers its panel's middle (the tall end picture a bit under half the panel).
static void check_picture_cells(const std::string &folder) {
    const int per_page = TEXTURE_COLUMNS * TEXTURE_ROWS;
    for (int i = 0; i < named_texture_count; i++) {
        const Page page = load_page(folder, "textures-" + std::to_string(i / per_page + 1) + ".png");
        ASSERT_EQ(page.width, SHEET_WIDTH);
        const SheetRect cell = sheet_cell(i % per_page, TEXTURE_COLUMNS, TEXTURE_ROWS);
        const SheetRect panel = picture_rect(cell);
        EXPECT_GT(drawn_share(page, panel), 0.3f) << named_textures[i].name;
        EXPECT_FALSE(is_panel(page.at(panel.x + panel.w / 2, panel.y + panel.h / 2))) << named_textures[i].name;
        EXPECT_GT(bright_pixels(page, label_rect(cell)), 40) << named_textures[i].name;
    }
}

TEST(ContactSheetTest, WritesEveryMeshAndPictureLabelledIntoANewFolder) {
    const fs::path root = fs::temp_directory_path() / ("orbplume-sheet-" + std::to_string(getpid()));
    const std::string folder = (root / "new" / "pages").string();
    const ToolRun r = run_orbplume_in(ORBPLUME_BINARY_DIR, "--contact-sheet " + folder);
    ASSERT_EQ(r.status, 0) << r.output;
    {
        SCOPED_TRACE("pages");
        check_pages(folder, r.output);
    }
    {
        SCOPED_TRACE("meshes");
        check_mesh_cells(folder);
    }
    {
        SCOPED_TRACE("pictures");
        check_picture_cells(folder);
    }
    fs::remove_all(root);
}

//----------------------------------------------------------------------------------
// Failures, options and the tables behind the pages
//----------------------------------------------------------------------------------
TEST(ContactSheetRunTest, UnwritableFolderExitsTwoNamingIt) {
    const fs::path file = fs::temp_directory_path() / ("orbplume-sheet-file-" + std::to_string(getpid()));
    std::ofstream(file) << "not a folder";
    const std::string folder = (file / "pages").string();   // refused even to root
    const ToolRun r = run_orbplume_in(ORBPLUME_BINARY_DIR, "--contact-sheet " + folder);
    fs::remove(file);
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_NE(r.output.find("cannot write to " + folder), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("wrote"), std::string::npos) << r.output;
}

// A disk that fills up once pages are being written (a file size limit fails the write the
// same way) is the folder's fault like an unwritable one: status 2, the page named, none left.
TEST(ContactSheetRunTest, AFullDiskExitsTwoNamingThePage) {
    const std::string folder = (fs::temp_directory_path() / "pages").string();
    const ToolRun r = run_shell_in(ORBPLUME_BINARY_DIR, "trap '' XFSZ; ulimit -f 8; ./orbplume --contact-sheet " + folder);
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_NE(r.output.find("CONTACT SHEET: cannot write " + folder + "/meshes-1.png: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("File too large"), std::string::npos) << r.output;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 0);
}

TEST(ContactSheetRunTest, OptionNeedsAFolderAndSkipsTheDialog) {
    std::vector<const char *> args = { "orbplume", "--contact-sheet", "pages" };
    Options opts;
    std::string error;
    ASSERT_TRUE(parse_options(int(args.size()), const_cast<char **>(args.data()), opts, error)) << error;
    EXPECT_EQ(opts.contact_sheet, "pages");
    EXPECT_FALSE(opts.dialog);
    for (auto bad : std::vector<std::vector<const char *>>{ { "orbplume", "--contact-sheet" },
                                                            { "orbplume", "--contact-sheet", "" } }) {
        Options o;
        EXPECT_FALSE(parse_options(int(bad.size()), const_cast<char **>(bad.data()), o, error));
        EXPECT_NE(error.find("--contact-sheet"), std::string::npos);
    }
    EXPECT_NE(std::string(usage_text()).find("--contact-sheet DIR"), std::string::npos);
}

TEST(ContactSheetTablesTest, EveryEmbeddedMeshAndPictureIsListedOnce) {
    std::set<std::string> meshes, pictures;
    for (int i = 0; i < named_mesh_count; i++) EXPECT_TRUE(meshes.insert(named_meshes[i].name).second);
    for (int i = 0; i < named_texture_count; i++) EXPECT_TRUE(pictures.insert(named_textures[i].name).second);
    for (int i = 0; i < embedded_mesh_count; i++)
        EXPECT_TRUE(meshes.count(embedded_meshes[i].name)) << embedded_meshes[i].name;
    EXPECT_EQ(named_mesh_count, embedded_mesh_count + 7);   // and the seven made shapes
    int jpegs = 0;
    for (const auto &name : pictures) jpegs += name.ends_with(".jpg");
    EXPECT_EQ(jpegs, 28);
}

//----------------------------------------------------------------------------------
// The PNG writer
//----------------------------------------------------------------------------------
TEST(PngFileTest, BottomUpRowsAreFlippedAndTopFirstRowsKept) {
    const fs::path dir = fs::temp_directory_path() / ("orbplume-png-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // 2 x 3 pixels: row 0 red, row 1 green, row 2 blue.
    std::vector<unsigned char> rgb(2 * 3 * 3, 0);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 2; x++) rgb[size_t(y * 2 + x) * 3 + size_t(y)] = 255;
    std::string error;
    const std::string up = (dir / "up.png").string(), down = (dir / "down.png").string();
    ASSERT_TRUE(write_png_file(up.c_str(), rgb.data(), 2, 3, true, error)) << error;
    ASSERT_TRUE(write_png_file(down.c_str(), rgb.data(), 2, 3, false, error)) << error;
    Page a, b;
    ASSERT_TRUE(read_png(up, a));
    ASSERT_TRUE(read_png(down, b));
    EXPECT_EQ(a.rgb[2], 255);   // bottom-up: the last row (blue) is the file's top row
    EXPECT_EQ(b.rgb[0], 255);   // top first: red stays on top
    EXPECT_EQ(b.rgb[size_t(2 * 2) * 3 + 2], 255);
    EXPECT_FALSE(fs::exists(up + ".tmp"));

    const std::string missing = (dir / "no" / "such.png").string();
    EXPECT_FALSE(write_png_file(missing.c_str(), rgb.data(), 2, 3, true, error));
    EXPECT_NE(error.find("such.png.tmp"), std::string::npos) << error;
    fs::remove_all(dir);
}
