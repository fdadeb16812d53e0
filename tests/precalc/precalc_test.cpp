// tests/precalc/precalc_test.cpp - the loading frames, and a whole precalc over a folder of
// small stand-in pictures: every handle made, in the order the random sequence shows.
#include "gl_fixture.h"
#include "test_jpeg.h"
#include "precalc/precalc.h"
#include "data/embedded_meshes.h"
#include "render/math.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

static const char *const PICTURE_NAMES[] = {
    "loading", "shakki", "skyr1", "metal", "electri2", "electric", "envi6b", "flare1", "flare3", "flare4",
    "red6envi", "smoketex", "irid", "bubble", "vesi4", "atxt", "ltxt", "twirl", "crackle", "hex2", "valo",
    "hexred", "flarer", "flareb", "flarey", "flareg", "metal2", "aijjai",
};

// Top half red, bottom half blue (file order: top scanline first).
static void red_over_blue(int, int y, unsigned char *rgb) {
    rgb[0] = y < 32 ? 255 : 0;
    rgb[1] = 0;
    rgb[2] = y < 32 ? 0 : 255;
}

// Makes <build>/<folder>/data with all 28 pictures (64x64) and enters <build>/<folder>.
static void enter_picture_folder(const char *folder) {
    const std::string root = std::string(ORBPLUME_BINARY_DIR) + "/" + folder;
    std::filesystem::create_directories(root + "/data");
    for (const char *name : PICTURE_NAMES)
        ASSERT_TRUE(write_test_jpeg((root + "/data/" + name + ".jpg").c_str(), 64, 64, 3, red_over_blue));
    ASSERT_EQ(chdir(root.c_str()), 0);
}

static std::vector<unsigned char> texture_rgba(const Texture *tex) {
    std::vector<unsigned char> px(size_t(tex->width) * tex->height * 4);
    glBindTexture(GL_TEXTURE_2D, tex->id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

class LoadingScreenTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        const char *file = "loading_screen_test.jpg";
        ASSERT_TRUE(write_test_jpeg(file, 64, 64, 3, red_over_blue));
        res.loading_texture = load_texture(file, nullptr, nullptr, 1, 1, 1, 0);
    }
    static bool red(int x, int y) { const auto p = read_pixels(x, y, 1, 1); return p[0] > 200 && p[2] < 50; }
    static bool blue(int x, int y) { const auto p = read_pixels(x, y, 1, 1); return p[2] > 200 && p[0] < 50; }
    static bool black(int x, int y) { const auto p = read_pixels(x, y, 1, 1); return p[0] + p[1] + p[2] == 0; }
};

TEST_F(LoadingScreenTest, FirstStepsShowTheUpperHalfAndAThreeEighthsBar) {
    draw_loading_frame(0);
    EXPECT_TRUE(red(320, 400));        // upper half of the picture, upright
    EXPECT_TRUE(red(630, 250));
    EXPECT_TRUE(blue(10, 100));        // the bar shows the picture's lower half
    EXPECT_TRUE(blue(230, 100));       // 37.5 % of 640 = 240
    EXPECT_TRUE(black(250, 100));
    draw_loading_frame(9);
    EXPECT_TRUE(red(320, 400));
    EXPECT_TRUE(blue(410, 100));       // (9 + 12) / 32 of 640 = 420
    EXPECT_TRUE(black(430, 100));
}

TEST_F(LoadingScreenTest, FromStepTenOnlyTheBarShowsUntilItIsFull) {
    draw_loading_frame(10);
    EXPECT_TRUE(black(320, 400));
    EXPECT_TRUE(blue(430, 100));       // 22 / 32 of 640 = 440
    EXPECT_TRUE(black(450, 100));
    draw_loading_frame(LOADING_LAST_STEP);
    EXPECT_TRUE(black(320, 400));
    EXPECT_TRUE(blue(636, 3));
}

class PrecalcTest : public GLTest {};

TEST_F(PrecalcTest, BuildsEveryResourceInOrderBehindTwentyTwoFrames) {
    enter_picture_folder("precalc_test_full");
    random_seed(1);
    loading = { 0, -1 };
    precalc();
    EXPECT_EQ(loading.frames_shown, 22);
    EXPECT_EQ(loading.last_step, LOADING_LAST_STEP);

    // Pictures: loaded upright with their scale; envi6b at twice the scale.
    ASSERT_NE(res.aijjai_texture, nullptr);
    EXPECT_EQ(res.hexred_texture->width, 64);
    EXPECT_EQ(res.metal_texture->scale[0], 1.0f);
    EXPECT_EQ(res.envi6b_texture->scale[1], 2.0f);
    EXPECT_GT(texture_rgba(res.atxt_texture)[0], 200);   // t = 0 is the top: red

    // The random sequence: grain first, then two 128 noise cubes, then the stripes.
    random_seed(1);
    EXPECT_EQ(texture_rgba(res.grain_texture)[0], 41 % 255);
    for (int i = 0; i < 256 * 256; i++) random_int();
    const int cube_first = random_int() & 0xFF;
    for (int i = 1; i < 2 * 256 * 256 * 4; i++) random_int();
    const std::vector<unsigned char> stripes = texture_rgba(res.stripe_texture);
    EXPECT_EQ(stripes[0], (unsigned char)(255.0 - random_int() / 3276.8));   // column 0: red
    EXPECT_EQ(stripes[1], 128);
    EXPECT_EQ(stripes[4 + 1], (unsigned char)(255.0 - random_int() / 3276.8));   // column 1: green
    EXPECT_EQ(stripes[4 + 0], 128);
    EXPECT_EQ(stripes[3], 255);
    if (res.noise_cube_1->fallback_faces) {
        EXPECT_EQ(texture_rgba(res.noise_cube_1)[0], cube_first);
    } else {
        std::vector<unsigned char> face(128 * 128 * 4);
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, res.noise_cube_1->id);
        glGetTexImage(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, face.data());
        EXPECT_EQ(face[0], cube_first);                    // every face holds the same first pixels
    }

    // Screen targets and the chain.
    for (const Texture *t : { res.screen_texture_a, res.screen_texture_b, res.screen_texture_c, res.screen_texture_d })
        EXPECT_EQ(t->width, 512);
    EXPECT_EQ(res.screen_texture_chain.count, 8);

    // Procedural meshes as the scenes expect them.
    EXPECT_EQ(res.unit_cube->face_count, 12);
    EXPECT_EQ(res.sphere_32->vertex_count, 1056);
    EXPECT_EQ(res.sphere_16->face_count, 512);
    EXPECT_EQ(res.sphere_8->face_count, 128);
    EXPECT_EQ(res.sky_sphere->vertex_count, 1089);
    EXPECT_EQ(res.grid_plane->positions[0], -66.0f);
    EXPECT_EQ(res.hemisphere_32->face_count, 2048);

    // Embedded meshes: the tables' counts, generated coordinates where asked for.
    const struct { const char *name; const MeshObject *mesh; } built[] = {
        { "hull_mesh", res.hull_mesh }, { "big_statue_mesh", res.big_statue_mesh },
        { "pedestal_mesh", res.pedestal_mesh }, { "small_part_2_mesh", res.small_part_2_mesh },
        { "glow_shell_mesh", res.glow_shell_mesh },
    };
    for (const auto &b : built) {
        const EmbeddedMesh *e = find_embedded_mesh(b.name);
        ASSERT_NE(b.mesh, nullptr) << b.name;
        EXPECT_EQ(b.mesh->face_count, e->face_count) << b.name;
        EXPECT_EQ(b.mesh->positions, e->positions) << b.name;
    }
    EXPECT_NE(res.statue_mesh->texcoords, nullptr);                  // generated from the normals
    EXPECT_EQ(res.hull_mesh->texcoords, nullptr);
    EXPECT_EQ(res.pedestal_mesh->colours, find_embedded_mesh("pedestal_mesh")->colours);
    EXPECT_EQ(res.small_part_7_mesh->texcoords, find_embedded_mesh("small_part_7_mesh")->texcoords);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PrecalcTest, AnUnusedButMissingPictureStillStopsTheShow) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    enter_picture_folder("precalc_test_missing");
    std::filesystem::remove("data/hexred.jpg");
    EXPECT_EXIT(precalc(), ::testing::ExitedWithCode(0), "data/hexred.jpg not found");
}
