// tests/devtools/keys_test.cpp - the developer keys on synthetic SDL events against the
// offline music clock: seeks, held keys, freezing, ticks and the typed toggles.
#include "audio/ogg_fixture.h"
#include "devtools/keys.h"
#include "devtools/overlay.h"
#include "devtools/ticks.h"
#include "scratch_dir.h"
#include <cstring>

static void key(SDL_Keycode sym, bool repeat = false) {
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.repeat = repeat;
    e.key.keysym.sym = sym;
    handle_show_event(e);
}

static void type(const char *s) {
    SDL_Event e = {};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, s, sizeof e.text.text - 1);
    handle_show_event(e);
}

class KeysTest : public MusicTest {
protected:
    void SetUp() override {
        MusicTest::SetUp();
        const std::string track = write_test_ogg("keys.ogg", 4410, 1, 44100, silence);
        open_music_offline(track.c_str(), 130.0f);
        devkeys = {};
        tick_table = {};
    }
};

TEST(KeysArithmeticTest, PatternStarts) {
    EXPECT_EQ(previous_pattern_start(5.7f), 4.0f);
    EXPECT_EQ(previous_pattern_start(5.0f), 4.0f);
    EXPECT_EQ(previous_pattern_start(0.6f), 0.0f);   // first pattern: its start, not -1
    EXPECT_EQ(next_pattern_start(5.7f), 6.0f);
    // Right after a seek to 3 the clock reads a millisecond short: 2.99989.
    EXPECT_EQ(next_pattern_start(2.99989f), 4.0f);
    EXPECT_EQ(previous_pattern_start(2.99989f), 2.0f);
    EXPECT_EQ(next_pattern_start(2.999f), 3.0f);
}

TEST_F(KeysTest, SeeksMoveTheMusicOncePerPress) {
    set_virtual_time(5.7);
    key(SDLK_PAGEUP);
    EXPECT_NEAR(pattern_clock(), 4.0f, 1e-3f);
    key(SDLK_PAGEDOWN);
    for (int i = 0; i < 5; i++) key(SDLK_PAGEDOWN, true);   // held: SDL repeats are dropped
    EXPECT_NEAR(pattern_clock(), 5.0f, 1e-3f);
    key(SDLK_PAGEDOWN);
    EXPECT_NEAR(pattern_clock(), 6.0f, 1e-3f);
    key(SDLK_HOME);
    EXPECT_EQ(pattern_clock(), 0.0f);
    set_virtual_time(0.5);
    key(SDLK_PAGEUP);
    EXPECT_EQ(music.virtual_ms, 0.0);
}

TEST_F(KeysTest, PauseFreezesShowTimeAndOverlayReadsItWithoutSeeking) {
    set_virtual_time(3.25);
    key(SDLK_PAUSE);
    EXPECT_EQ(music.frozen_time, 3.25f);
    set_virtual_time(7.0);
    EXPECT_EQ(overlay_show_time(), 3.25f);
    EXPECT_NEAR(music.virtual_ms, 7.0 * 16 / 130.0 * 60000.0, 1.0);   // the timeline's read seeks
    EXPECT_EQ(pattern_clock(), 3.25f);
    EXPECT_NEAR(music.virtual_ms, 3.25 * 16 / 130.0 * 60000.0, 1.0);
    key(SDLK_PAUSE);
    set_virtual_time(7.0);
    EXPECT_NEAR(pattern_clock(), 7.0f, 1e-3f);
    set_virtual_time(0.0);   // at the very start the clock reads 0.0, which means "not frozen"
    key(SDLK_PAUSE);
    EXPECT_EQ(music.frozen_time, 0.0f);
}

TEST_F(KeysTest, SpaceTicksAndEscWritesThemOnlyWhenThereAreSome) {
    ScratchDir dir;
    key(SDLK_ESCAPE);
    EXPECT_EQ(app.quit_requests, 1);
    EXPECT_FALSE(std::filesystem::exists(TICK_FILE));

    set_virtual_time(3.14);
    key(SDLK_SPACE);
    key(SDLK_SPACE, true);
    ASSERT_EQ(tick_table.count, 1);
    EXPECT_EQ(tick_table.ticks[0], 200);
    key(SDLK_ESCAPE);
    EXPECT_EQ(app.quit_requests, 2);
    EXPECT_EQ(read_file(TICK_FILE), "static int ticktable[]={\n 64*3 + 8,\n};\n");

    tick_table.count = TICK_CAPACITY;   // full: further taps are ignored
    key(SDLK_SPACE);
    EXPECT_EQ(tick_table.count, TICK_CAPACITY);
}

TEST_F(KeysTest, TypedCharactersToggleLinesAndAskForShots) {
    const char *chars[] = { "q", "w", "e", "r", "t", "y", "u", "i" };
    for (int i = 0; i < OVERLAY_LINES; i++) {
        type(chars[i]);
        EXPECT_EQ(devkeys.overlay_line[i], 1) << chars[i];
    }
    type("q");
    EXPECT_EQ(devkeys.overlay_line[0], 0);   // twice: hidden again
    type("Q");
    type("qq");                               // composed text is not a key press
    key(SDLK_q, true);                        // a held q repeats its key-down and its text
    type("q");
    EXPECT_EQ(devkeys.overlay_line[0], 0);
    key(SDLK_q);
    type("q");
    EXPECT_EQ(devkeys.overlay_line[0], 1);

    type("s");
    type("f");
    EXPECT_TRUE(devkeys.shot_pending && devkeys.dof_shot_pending);
}
