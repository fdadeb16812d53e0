// tests/gl_fixture.h - one hidden 640x480 window with a GL context shared by a test
// program's GL tests (run under Xvfb), and helpers to read back what was drawn.
#pragma once
#include "render/texture.h"   // Texture
#include <gtest/gtest.h>
#include <vector>

class GLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();   // makes the window once per program; GL state reset per test
    void SetUp() override;
    // RGB bytes of the back buffer's rectangle, bottom row first.
    static std::vector<unsigned char> read_pixels(int x, int y, int w, int h);
    // Fills a target with one colour, as if a scene's last frame had been that.
    static void fill_target(const Texture *target, const float rgba[4]);
    static long offscreen_sum();   // every byte of the offscreen view added up
};
