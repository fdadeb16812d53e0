// tests/app/settings_test.cpp - start-up arithmetic, the dialog mapping and the options.
#include "app/dialog.h"
#include "platform/options.h"
#include "platform/settings.h"
#include <gtest/gtest.h>

TEST(SettingsTest, NextPowerOfTwo) {
    EXPECT_EQ(next_power_of_two(384), 512);
    EXPECT_EQ(next_power_of_two(288), 512);
    EXPECT_EQ(next_power_of_two(256), 256);
    EXPECT_EQ(next_power_of_two(2), 2);
    EXPECT_EQ(next_power_of_two(65536), 65536);
    EXPECT_EQ(next_power_of_two(0), 0);
    EXPECT_EQ(next_power_of_two(1), 0);
    EXPECT_EQ(next_power_of_two(65537), 0);
}

TEST(DialogTest, DefaultsRunAt640FullscreenWithoutLoop) {
    app.window_width = 0;
    apply_dialog_controls(DialogControls{});
    EXPECT_EQ(app.window_width, 640);
    EXPECT_EQ(app.window_height, 480);
    EXPECT_TRUE(app.fullscreen);
    EXPECT_FALSE(app.loop_music);
    EXPECT_FALSE(app.gentle);   // the show as designed, unless asked
}

TEST(DialogTest, ReduceFlashingReachesTheShowsSettings) {
    DialogControls c;
    c.gentle = true;
    apply_dialog_controls(c);
    EXPECT_TRUE(app.gentle);   // what timeline() reads to limit each frame
    c.gentle = false;
    apply_dialog_controls(c);
    EXPECT_FALSE(app.gentle);
    // The warning names the choice and its option.
    EXPECT_NE(std::string(PHOTOSENSITIVITY_WARNING).find("\"Reduce flashing\""), std::string::npos);
    EXPECT_NE(std::string(PHOTOSENSITIVITY_WARNING).find("--gentle"), std::string::npos);
}

TEST(DialogTest, ControlsMapToSettingsAndTheLastCheckedModeWins) {
    DialogControls c;
    c.mode_640 = false;
    c.mode_800 = true;
    c.fullscreen = false;
    c.loop = true;
    apply_dialog_controls(c);
    EXPECT_EQ(app.window_width, 800);
    EXPECT_EQ(app.window_height, 600);
    EXPECT_FALSE(app.fullscreen);
    EXPECT_TRUE(app.loop_music);
    c.mode_640 = c.mode_800 = c.mode_1024 = true;   // impossible in the dialog, but ordered
    apply_dialog_controls(c);
    EXPECT_EQ(app.window_width, 1024);
    EXPECT_EQ(app.window_height, 768);
}

static bool parse(std::vector<const char *> args, Options &opts, std::string &error) {
    args.insert(args.begin(), "orbplume");
    return parse_options(int(args.size()), const_cast<char **>(args.data()), opts, error);
}

TEST(OptionsTest, SkippingTheDialog) {
    Options o;
    std::string e;
    ASSERT_TRUE(parse({"--size", "800x600", "--windowed", "--loop", "--unattended"}, o, e));
    EXPECT_FALSE(o.dialog);
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 600);
    EXPECT_EQ(o.fullscreen, 0);
    EXPECT_TRUE(o.loop);
    EXPECT_TRUE(o.unattended);
    Options plain;
    ASSERT_TRUE(parse({}, plain, e));
    EXPECT_TRUE(plain.dialog);
}

TEST(OptionsTest, BadOptionsAreRefused) {
    for (auto bad : std::vector<std::vector<const char *>>{
             {"--frobnicate"}, {"--size"}, {"--size", "320x200"}, {"--size", "640x480x"}, {"--size", "abc"},
             {"--size", "383x288"}, {"--size", "384x287"}, {"--size", "16385x768"}, {"--size", "-640x480"},
             {"--size", "640x-480"}, {"--size", " 640x480"}, {"--size", "99999999999x480"}}) {
        Options o;
        std::string e;
        EXPECT_FALSE(parse(bad, o, e)) << bad[0];
        EXPECT_FALSE(e.empty());
    }
}

TEST(OptionsTest, AnySizeFromTheSmallestUpAndTheDesktopAreAccepted) {
    Options o;
    std::string e;
    ASSERT_TRUE(parse({"--size", "1280x720", "--windowed"}, o, e)) << e;
    EXPECT_EQ(o.width, 1280);
    EXPECT_EQ(o.height, 720);
    EXPECT_FALSE(o.dialog);
    Options smallest, largest;
    EXPECT_TRUE(parse({"--size", "384x288"}, smallest, e)) << e;
    EXPECT_TRUE(parse({"--size", "16384x16384"}, largest, e)) << e;
    Options refused;
    EXPECT_FALSE(parse({"--size", "383x288"}, refused, e));
    EXPECT_NE(e.find("384x288"), std::string::npos) << "the message names the smallest size: " << e;

    Options desk;
    ASSERT_TRUE(parse({"--desktop"}, desk, e)) << e;
    EXPECT_TRUE(desk.desktop);
    EXPECT_EQ(desk.fullscreen, 1);
    EXPECT_FALSE(desk.dialog);
}

TEST(DialogTest, DesktopResolutionMeansFullScreenWithoutAModeChange) {
    DialogControls c;
    c.mode_640 = false;
    c.mode_desktop = true;
    c.fullscreen = false;   // the desktop's resolution fills the screen whatever the box says
    apply_dialog_controls(c);
    EXPECT_TRUE(app.desktop);
    EXPECT_TRUE(app.fullscreen);
    apply_dialog_controls(DialogControls{});   // a classic mode again: a real mode change
    EXPECT_FALSE(app.desktop);
    EXPECT_EQ(app.window_width, 640);
}
