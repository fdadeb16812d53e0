// tests/show/metaball_scenes_test.cpp - the blob scenes: every surface the show plays is
// closed, clear of the grid's outer layer and within the polygoniser's room; the sky box
// stays put while only its hollows move; the metal skin lets the chrome balls show
// through; the surfaces' untextured first unit gives the same picture whatever was drawn
// before; and every scene draws a picture without GL errors.
#include "gl_fixture.h"
#include "surface_checks.h"
#include "show/metaball_scenes.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <vector>

//----------------------------------------------------------------------------------
// Ball lists and surfaces
//----------------------------------------------------------------------------------
TEST(MetaballSurfaceTest, EverySurfaceThePlayedStretchesMakeIsClosedAndFits) {
    for (int i = 0; i < metaball_stretch_count; i++) {
        const MetaballStretch &s = metaball_stretches[i];
        int most = 0;
        for (float t = s.from; t < s.to; t += 1.0f / 32) {
            Blob balls[METABALLS];
            const IsoSurface &surface = polygonise_blobs(s.balls(t, balls), METABALLS);
            most = std::max(most, surface.triangle_count);
            ASSERT_GT(surface.triangle_count, 0) << s.scene << " at " << t;
            EXPECT_EQ(open_or_miswound_edges(surface), 0) << s.scene << " at " << t;
            EXPECT_GT(signed_volume(surface), 0.0) << s.scene << " at " << t;
            for (int a = 0; a < 3; a++) {   // nothing clipped by the grid's edge
                EXPECT_GE(surface.inside_low[a], 1) << s.scene << " at " << t;
                EXPECT_LE(surface.inside_high[a], ISO_GRID_SIZE - 2) << s.scene << " at " << t;
            }
        }
        // A few thousand triangles, about twelve thousand at the very most.
        EXPECT_GT(most, 2000) << s.scene;
        EXPECT_LT(most, 13000) << s.scene;
    }
}

TEST(MetaballSurfaceTest, SkyBoxStaysWhileOnlyItsHollowsMove) {
    Blob a[METABALLS], b[METABALLS];
    metaball_sky_balls(79.1f, a);
    metaball_sky_balls(81.7f, b);
    EXPECT_EQ(a[0].x, b[0].x);
    EXPECT_EQ(a[0].y, b[0].y);
    EXPECT_EQ(a[0].z, b[0].z);
    EXPECT_EQ(a[0].kind, BLOB_CUBE);
    EXPECT_EQ(a[0].negative, 0);
    for (int i = 1; i < METABALLS; i++) {
        EXPECT_NE(a[i].negative, 0) << "ball " << i;
        EXPECT_NE(a[i].x, b[i].x) << "ball " << i;
    }
    // Carving only takes away: the hollowed box encloses less than the plain box.
    const double whole = signed_volume(polygonise_blobs(a, 1));
    for (float t : { 79.3f, 80.2f, 81.6f }) {
        const double carved = signed_volume(polygonise_blobs(metaball_sky_balls(t, a), METABALLS));
        EXPECT_LT(carved, whole * 0.95) << t;
        EXPECT_GT(carved, whole * 0.2) << t;
    }
}

//----------------------------------------------------------------------------------
// Drawing
//----------------------------------------------------------------------------------
class MetaballScenesTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        // A first unit whose colour changes across the picture, so that a surface that
        // reads a stray texture coordinate shows it.
        std::vector<unsigned char> ramp(16 * 16 * 4);
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++) {
                unsigned char *c = &ramp[(y * 16 + x) * 4];
                c[0] = (unsigned char)(x * 16 + 8);
                c[1] = (unsigned char)(y * 16 + 8);
                c[2] = 128;
                c[3] = 255;
            }
        res.irid_texture = make_texture_from_pixels(ramp.data(), 16, 16, 1, 1, 1, 0);
        Texture *white = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        Texture *grey = make_solid_texture(4, 4, 90, 90, 90, 255, 1, 1, 1, 0);
        res.skyr1_texture = res.red6envi_texture = res.metal_texture = white;
        res.shakki_texture = res.bubble_texture = res.hex2_texture = res.metal2_texture = grey;
        black = make_solid_texture(4, 4, 0, 0, 0, 255, 1, 1, 1, 0);
        res.sphere_8 = make_wrapped_sphere(8, 8, RF_FLAT);
        static const float spacing[3] = { 4, 0, 4 };
        res.grid_plane = make_grid(32, 32, spacing, 0);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
    static std::vector<unsigned char> offscreen() { return read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT); }
    static long sum(const std::vector<unsigned char> &px) {
        long n = 0;
        for (unsigned char c : px) n += c;
        return n;
    }
    static Texture *black;
};
Texture *MetaballScenesTest::black = nullptr;

TEST_F(MetaballScenesTest, EveryScenePaintsItsPictureWithoutGLErrors) {
    struct { void (*scene)(float, Texture *); float t; const char *what; } shots[] = {
        { metaball_sky_scene, 80.06f, "sky" }, { metaball_sky_scene, 81.9f, "sky late" },
        { metaball_metal_scene, 45.06f, "metal" }, { metaball_metal_scene, 122.06f, "metal again" },
        { metaball_red_scene, 54.6f, "red" }, { metaball_red_scene, 53.3f, "red early" },
    };
    for (const auto &s : shots) {
        s.scene(s.t, res.screen_texture_a);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << s.what;
        const std::vector<unsigned char> px = offscreen();
        EXPECT_GT(sum(px), long(px.size()) * 10) << s.what;   // well above black on average
    }
}

TEST_F(MetaballScenesTest, ChromeBallsShowThroughTheMetalSkin) {
    // Each chrome ball (radius 2.5) sits inside the skin round its own centre (radius
    // 3.9), so any of it seen is seen through the skin.
    metaball_metal_scene(45.3f, nullptr);
    const long lit = sum(offscreen());
    Texture *chrome = res.metal_texture;
    res.metal_texture = black;
    metaball_metal_scene(45.3f, nullptr);
    res.metal_texture = chrome;
    const long dark = sum(offscreen());
    EXPECT_GT(lit - dark, 200L * 255);   // at least a couple of hundred pixels' worth
}

TEST_F(MetaballScenesTest, UntexturedSurfacesLookTheSameWhateverWasDrawnBefore) {
    for (auto scene : { metaball_sky_scene, metaball_red_scene }) {
        glTexCoord2f(0.05f, 0.05f);
        scene(80.3f, nullptr);
        const std::vector<unsigned char> first = offscreen();
        glTexCoord2f(0.95f, 0.7f);
        scene(80.3f, nullptr);
        EXPECT_TRUE(offscreen() == first);
    }
}
