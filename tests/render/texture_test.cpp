// tests/render/texture_test.cpp - JPEG loading and its failures, padding and scale, the
// made textures, the binding modes and frame copies.
#include "gl_fixture.h"
#include "test_jpeg.h"
#include "render/render_state.h"
#include "render/texture.h"
#include "platform/gl_caps.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

static GLint tex_gen_mode(GLenum coord) {
    GLint v = 0;
    glGetTexGeniv(coord, GL_TEXTURE_GEN_MODE, &v);
    return v;
}

// Top half red, bottom half blue, so row order is visible.
static void halves(int, int y, unsigned char *rgb, int h) {
    rgb[0] = y < h / 2 ? 255 : 0;
    rgb[1] = 0;
    rgb[2] = y < h / 2 ? 0 : 255;
}

TEST(JpegTest, MissingCorruptAndGreyFilesEndTheShowNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    int w, h;
    EXPECT_EXIT(load_jpeg("data/no_such_file.jpg", &w, &h), ::testing::ExitedWithCode(0),
                "data/no_such_file.jpg not found");

    // A good file cut short: libjpeg only warns about it; the show stops.
    const std::string whole = ::testing::TempDir() + "texture_test_whole.jpg";
    const char *good = whole.c_str();
    ASSERT_TRUE(write_test_jpeg(good, 64, 64, 3, [](int x, int y, unsigned char *p) {
        p[0] = (unsigned char)(x * 4); p[1] = (unsigned char)(y * 4); p[2] = (unsigned char)(x ^ y);
    }));
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string truncated = ::testing::TempDir() + "texture_test_truncated.jpg";
    const char *cut = truncated.c_str();
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    EXPECT_EXIT(load_jpeg(cut, &w, &h), ::testing::ExitedWithCode(0), "texture_test_truncated.jpg: ");

    const std::string junk_file = ::testing::TempDir() + "texture_test_junk.jpg";
    const char *junk = junk_file.c_str();
    std::ofstream(junk, std::ios::binary) << "this is not a picture at all";
    EXPECT_EXIT(load_jpeg(junk, &w, &h), ::testing::ExitedWithCode(0), "texture_test_junk.jpg: Not a JPEG");

    const std::string grey_file = ::testing::TempDir() + "texture_test_grey.jpg";
    const char *grey = grey_file.c_str();
    ASSERT_TRUE(write_test_jpeg(grey, 8, 8, 1, [](int, int, unsigned char *p) { p[0] = 128; }));
    EXPECT_EXIT(load_jpeg(grey, &w, &h), ::testing::ExitedWithCode(0), "texture_test_grey.jpg: not a colour");
}

TEST(JpegTest, FolderIsNotFoundAndStderrSaysItIsAFolder) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    int w, h;
    const std::string folder = ::testing::TempDir() + "texture_test_folder.jpg";
    std::filesystem::create_directories(folder);
    EXPECT_EXIT(load_jpeg(folder.c_str(), &w, &h), ::testing::ExitedWithCode(0),
                "texture_test_folder.jpg not found\nFATAL: .*texture_test_folder.jpg: a folder");
}

// A header is a claim: a 17 KB file may say it holds 65500 x 65500 pixels. Such a picture is
// refused by its size before anything is allocated for it, naming the file.
TEST(JpegTest, APictureClaimingHugeSidesIsTooLargeNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    int w, h;
    const std::string small = ::testing::TempDir() + "texture_test_small.jpg";
    ASSERT_TRUE(write_test_jpeg(small.c_str(), 16, 8, 3, [](int x, int, unsigned char *p) { p[0] = p[1] = p[2] = (unsigned char)(x * 16); }));
    std::ifstream in(small, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t frame = bytes.find("\xff\xc0");   // start of frame: length, precision, height, width
    ASSERT_NE(frame, std::string::npos);
    const struct { const char *name; int width, height; } claims[] = {
        { "texture_test_huge.jpg", 65500, 65500 }, { "texture_test_wide.jpg", 8192, 8 }, { "texture_test_tall.jpg", 16, 4097 },
    };
    for (const auto &c : claims) {
        std::string crafted = bytes;
        crafted[frame + 5] = char(c.height >> 8);
        crafted[frame + 6] = char(c.height & 255);
        crafted[frame + 7] = char(c.width >> 8);
        crafted[frame + 8] = char(c.width & 255);
        const std::string path = ::testing::TempDir() + c.name;
        std::ofstream(path, std::ios::binary) << crafted;
        EXPECT_EXIT(load_jpeg(path.c_str(), &w, &h), ::testing::ExitedWithCode(0),
                    std::string(c.name) + ": " + std::to_string(c.width) + " x " + std::to_string(c.height) +
                        " pixels, too large") << c.name;
    }
    // The largest picture taken still loads.
    const std::string edge = ::testing::TempDir() + "texture_test_edge.jpg";
    ASSERT_TRUE(write_test_jpeg(edge.c_str(), int(MAX_PICTURE_SIDE), 8, 3, [](int, int, unsigned char *p) { p[0] = p[1] = p[2] = 7; }));
    unsigned char *rgb = load_jpeg(edge.c_str(), &w, &h);
    EXPECT_EQ(w, int(MAX_PICTURE_SIDE));
    EXPECT_EQ(h, 8);
    std::free(rgb);
}

// A named pipe in place of a picture is refused at once: opening it for reading must not
// wait for a writer.
TEST(JpegTest, ANamedPipeIsNotFoundAndNeverWaitedOn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    int w, h;
    const std::string pipe = ::testing::TempDir() + "texture_test_pipe.jpg";
    ASSERT_TRUE(mkfifo(pipe.c_str(), 0644) == 0 || errno == EEXIST);   // a death test's child finds it made
    EXPECT_EXIT(load_jpeg(pipe.c_str(), &w, &h), ::testing::ExitedWithCode(0),
                "texture_test_pipe.jpg not found\nFATAL: .*texture_test_pipe.jpg: a named pipe");
}

TEST(JpegTest, UnreadablePictureIsNotFoundAndStderrSaysWhy) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    int w, h;
    const std::string locked = ::testing::TempDir() + "texture_test_locked.jpg";
    ASSERT_TRUE(write_test_jpeg(locked.c_str(), 8, 8, 3, [](int, int, unsigned char *p) { p[0] = p[1] = p[2] = 9; }));
    chmod(locked.c_str(), 0);
    EXPECT_EXIT(load_jpeg(locked.c_str(), &w, &h), ::testing::ExitedWithCode(0),
                "texture_test_locked.jpg not found\nFATAL: .*texture_test_locked.jpg: Permission denied");
}

TEST(JpegTest, PaddingIsOpaqueWhiteAndTheImageAreaHasAlphaZero) {
    const unsigned char rgb[2 * 3 * 3] = { 10, 20, 30, 40, 50, 60, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13 };
    unsigned char *rgba = pad_image_rgba(rgb, nullptr, nullptr, 2, 3, 4, 4);
    EXPECT_EQ(rgba[0], 10);
    EXPECT_EQ(rgba[3], 0);                        // image alpha without alpha file or function
    EXPECT_EQ(rgba[(2 * 4 + 1) * 4 + 2], 13);     // row 2, column 1
    for (int k = 0; k < 4; k++) {
        EXPECT_EQ(rgba[(0 * 4 + 2) * 4 + k], 255);   // right of the image
        EXPECT_EQ(rgba[(3 * 4 + 0) * 4 + k], 255);   // above it
    }
    std::free(rgba);
    rgba = pad_image_rgba(rgb, nullptr, [](unsigned char r, unsigned char, unsigned char) {
        return (unsigned char)(r + 1);
    }, 2, 3, 2, 4);
    EXPECT_EQ(rgba[3], 11);
    std::free(rgba);
}

class TextureTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        reset_render_state(BLACK_RGBA);
    }
};

TEST_F(TextureTest, PictureOf384x288FillsTheCornerOfA512Texture) {
    const char *path = "texture_test_384.jpg";
    ASSERT_TRUE(write_test_jpeg(path, 384, 288, 3, [](int x, int y, unsigned char *p) { halves(x, y, p, 288); }));
    Texture *tex = load_texture(path, nullptr, nullptr, 1, 2, 3, TEX_NO_MIPMAP | TEX_CLAMP | TEX_SPHERE_MAP);
    EXPECT_EQ(tex->width, 512);
    EXPECT_EQ(tex->height, 512);
    EXPECT_FLOAT_EQ(tex->scale[0], 0.75f);
    EXPECT_FLOAT_EQ(tex->scale[1], 0.5625f * 2);
    EXPECT_FLOAT_EQ(tex->scale[2], 3.0f);
    EXPECT_EQ(tex->flags, TEX_NO_MIPMAP);         // only creation bits are kept

    std::vector<unsigned char> px(512 * 512 * 4);
    glBindTexture(GL_TEXTURE_2D, tex->id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    auto at = [&](int x, int y) { return &px[(size_t(y) * 512 + x) * 4]; };
    EXPECT_GT(at(10, 0)[0], 240);                 // t = 0 holds the file's first scanline (red)
    EXPECT_GT(at(10, 287)[2], 240);               // the last one (blue)
    EXPECT_EQ(at(10, 0)[3], 0);
    for (auto [x, y] : { std::pair{ 384, 0 }, { 511, 511 }, { 0, 288 } })
        for (int k = 0; k < 4; k++) EXPECT_EQ(at(x, y)[k], 255) << x << "," << y;
}

// Pictures one pixel wide or high get a texture side of 1 (not 0, with nowhere to put the
// picture); the pixels land whole, the row order kept.
TEST_F(TextureTest, OnePixelSidesInEachOrientationGetSidesOfOne) {
    struct Case { int w, h, tex_w, tex_h; };
    for (const Case c : { Case{ 256, 1, 256, 1 }, Case{ 1, 256, 1, 256 }, Case{ 1, 1, 1, 1 }, Case{ 3, 1, 4, 1 } }) {
        const std::string path = "texture_test_" + std::to_string(c.w) + "x" + std::to_string(c.h) + ".jpg";
        ASSERT_TRUE(write_test_jpeg(path.c_str(), c.w, c.h, 3, [&](int, int y, unsigned char *p) {
            p[0] = 250; p[1] = 10; p[2] = y < c.h / 2 ? 10 : 250;   // red, the lower half violet
        }));
        Texture *tex = load_texture(path.c_str(), nullptr, nullptr, 1, 1, 1, TEX_NO_MIPMAP);
        ASSERT_EQ(tex->width, c.tex_w) << path;
        ASSERT_EQ(tex->height, c.tex_h) << path;
        EXPECT_FLOAT_EQ(tex->scale[0], float(c.w) / c.tex_w) << path;
        EXPECT_FLOAT_EQ(tex->scale[1], float(c.h) / c.tex_h) << path;

        std::vector<unsigned char> px(size_t(c.tex_w) * c.tex_h * 4);
        glBindTexture(GL_TEXTURE_2D, tex->id);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        const unsigned char *first = &px[0], *last = &px[(size_t(c.h - 1) * c.tex_w + c.w - 1) * 4];
        EXPECT_GT(first[0], 200) << path;
        EXPECT_EQ(first[3], 0) << path;             // picture, not padding
        EXPECT_GT(last[0], 200) << path;
        if (c.h > 1) {
            EXPECT_GT(last[2], 200) << path;   // the last scanline at the top
        }
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(TextureTest, GenerationModeFollowsTheFirstMatchingBit) {
    Texture *tex = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
    bind_texture(tex, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_REPEAT);

    bind_texture(tex, TEX_SPHERE_MAP | TEX_PLANAR_XY | TEX_CLAMP);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_EQ(tex_gen_mode(GL_S), GL_SPHERE_MAP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GLint(gl_caps.texture_clamp_mode));

    bind_texture(tex, TEX_PLANAR_XY | TEX_EYE_LINEAR);
    EXPECT_EQ(tex_gen_mode(GL_T), GL_OBJECT_LINEAR);
    float plane[4];
    glGetTexGenfv(GL_T, GL_OBJECT_PLANE, plane);
    EXPECT_EQ(plane[1], 1.0f);

    bind_texture(tex, TEX_EYE_LINEAR | TEX_CUBE_MAP);
    EXPECT_EQ(tex_gen_mode(GL_S), GL_EYE_LINEAR);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));

    // A cube-map mode on a 2D texture: the target stays 2D, coordinates become reflections.
    bind_texture(tex, TEX_CUBE_MAP);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    if (gl_caps.cube_map_supported) {
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP_ARB));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
        EXPECT_EQ(tex_gen_mode(GL_S), GL_REFLECTION_MAP_ARB);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The filter each binding mode asks for: mipmapped trilinear by default, plain linear without
// mipmaps, nearest both ways when asked (winning over the missing mipmaps).
TEST_F(TextureTest, FilterFollowsTheBindingMode) {
    Texture *tex = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
    const struct { TextureFlags mode; GLint min, mag; } modes[] = {
        { 0, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR },
        { TEX_NO_MIPMAP, GL_LINEAR, GL_LINEAR },
        { TEX_NEAREST, GL_NEAREST, GL_NEAREST },
        { TEX_NEAREST | TEX_NO_MIPMAP, GL_NEAREST, GL_NEAREST },
        { TEX_SPHERE_MAP | TEX_CLAMP, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR },
    };
    for (const auto &m : modes) {
        bind_texture(tex, m.mode);
        GLint min = 0, mag = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        EXPECT_EQ(min, m.min) << std::hex << m.mode;
        EXPECT_EQ(mag, m.mag) << std::hex << m.mode;
    }
    // A screen texture keeps its stored TEX_NO_MIPMAP whatever the mode adds.
    bind_texture(make_screen_texture(), TEX_SPHERE_MAP);
    GLint min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(min, GL_LINEAR);
}

TEST_F(TextureTest, NoiseCubeUsesCubeMapsOrFallsBackToASphereMappedSquare) {
    Texture *cube = make_noise_cube_texture(8);
    EXPECT_EQ(cube->flags, TEX_CUBE_MAP | TEX_NO_MIPMAP);
    bind_texture(cube, 0);
    float m[16];
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    if (gl_caps.cube_map_supported) {
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP_ARB));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(m[0], -1.0f);                    // cube maps mirror S and T
        EXPECT_EQ(cube->fallback_faces, nullptr);
    }

    // The fallback path, as on hardware without cube maps.
    const int saved = gl_caps.cube_map_supported;
    reset_render_state(nullptr);
    gl_caps.cube_map_supported = 0;
    Texture *flat = make_noise_cube_texture(8);
    EXPECT_EQ(flat->width, 16);
    ASSERT_NE(flat->fallback_faces, nullptr);
    EXPECT_EQ(flat->fallback_faces[5].width, 8);
    EXPECT_EQ(flat->fallback_faces[5].flags, TEX_CLAMP | TEX_NO_MIPMAP);
    bind_texture(flat, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(tex_gen_mode(GL_S), GL_SPHERE_MAP);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    EXPECT_EQ(m[0], 1.0f);
    gl_caps.cube_map_supported = saved;
    reset_render_state(nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureTest, PairCombinesTheSecondUnitAndBindTurnsItOffAgain) {
    Texture *a = make_solid_texture(4, 4, 100, 0, 0, 255, 1, 1, 1, 0);
    Texture *b = make_solid_texture(4, 4, 0, 50, 0, 255, 0.5f, 1, 1, 0);
    bind_texture_pair(a, 0, b, TEX_SPHERE_MAP, RF_BLEND_ADD);
    gl_caps.active_texture(GL_TEXTURE1_ARB);
    GLint v = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, &v);
    EXPECT_EQ(v, GL_ADD);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(tex_gen_mode(GL_S), GL_SPHERE_MAP);
    float m[16];
    glMatrixMode(GL_TEXTURE);
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(m[0], 0.5f);
    gl_caps.active_texture(GL_TEXTURE0_ARB);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, &v);
    EXPECT_EQ(v, GL_REPLACE);

    // Drawn: red from unit 0 plus green from unit 1, whatever the vertex colour.
    set_ortho_view(0);
    glDisable(GL_CULL_FACE);
    glColor3f(0, 0, 1);
    glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex3f(-1, -1, 0.5f);
        glTexCoord2f(1, 0); glVertex3f(1, -1, 0.5f);
        glTexCoord2f(1, 1); glVertex3f(1, 1, 0.5f);
        glTexCoord2f(0, 1); glVertex3f(-1, 1, 0.5f);
    glEnd();
    const auto px = read_pixels(320, 240, 1, 1);
    EXPECT_NEAR(px[0], 100, 2);
    EXPECT_NEAR(px[1], 50, 2);
    EXPECT_EQ(px[2], 0);

    bind_texture(a, 0);
    gl_caps.active_texture(GL_TEXTURE1_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    gl_caps.active_texture(GL_TEXTURE0_ARB);
}

TEST_F(TextureTest, FrameCopyFillsOnlyTheOffscreenCorner) {
    Texture *screen = make_solid_texture(512, 512, 0, 0, 255, 255, 0.75f, 0.5625f, 1, TEX_NO_MIPMAP);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    copy_frame_to_texture(screen);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    std::vector<unsigned char> px(512 * 512 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    auto at = [&](int x, int y) { return &px[(size_t(y) * 512 + x) * 4]; };
    EXPECT_EQ(at(383, 287)[0], 255);
    EXPECT_EQ(at(384, 0)[2], 255);               // right of the copy: untouched blue
    EXPECT_EQ(at(0, 288)[2], 255);               // above it
    EXPECT_EQ(at(384, 0)[0], 0);
}
