// tests/show/grey_show_fixture.h - the whole precalc (the show's own meshes) over small
// flat grey stand-in pictures, for tests that draw scenes or whole frames. Every picture
// is the same neutral grey, so any colour in a frame comes from the drawing itself.
#pragma once
#include "gl_fixture.h"
#include "test_jpeg.h"
#include "precalc/precalc.h"
#include <filesystem>
#include <string>
#include <unistd.h>

class GreyShowTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        static const char *const names[] = {
            "loading", "shakki", "skyr1", "metal", "electri2", "electric", "envi6b", "flare1", "flare3",
            "flare4", "red6envi", "smoketex", "irid", "bubble", "vesi4", "atxt", "ltxt", "twirl", "crackle",
            "hex2", "valo", "hexred", "flarer", "flareb", "flarey", "flareg", "metal2", "aijjai",
        };
        GLTest::SetUpTestSuite();
        const std::string root = std::string(ORBPLUME_BINARY_DIR) + "/timeline_draw";
        std::filesystem::create_directories(root + "/data");
        for (const char *name : names)
            ASSERT_TRUE(write_test_jpeg((root + "/data/" + name + ".jpg").c_str(), 64, 64, 3,
                                        [](int, int, unsigned char *c) { c[0] = c[1] = c[2] = 200; }));
        ASSERT_EQ(chdir(root.c_str()), 0);
        precalc();
    }
};
