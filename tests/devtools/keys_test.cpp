// tests/devtools/keys_test.cpp - the developer keys on synthetic SDL events, against the
// offline music clock: seeks, freezing, ticks, toggles and held keys.
#include "audio/ogg_fixture.h"
#include "devtools/keys.h"
#include "devtools/ticks.h"
#include "scratch_dir.h"
#include <cstring>

static SDL_Event key_down(SDL_Keycode key, bool repeat = false) {
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    return e;
}

static SDL_Event text(const char *s) {
    SDL_Event e = {};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, s, sizeof e.text.text - 1);
    return e;
}

static void press(SDL_Keycode key) { handle_show_event(key_down(key)); }

class KeysTest : public MusicTest {
protected:
    void SetUp() override {
        MusicTest::SetUp();
        static const std::string track = write_test_ogg("keys.ogg", 4410, 1, 44100, silence);
        open_music_offline(track.c_str(), 130.0f);
        devkeys = {};
        tick_table = {};
    }
    void TearDown() override {
        MusicTest::TearDown();
        devkeys = {};
        tick_table = {};
    }
    static void at(double patterns) { set_virtual_time(patterns); }
};

TEST(KeysArithmeticTest, PatternStarts) {
    EXPECT_FLOAT_EQ(previous_pattern_start(5.7f), 4.0f);
    EXPECT_FLOAT_EQ(previous_pattern_start(5.0f), 4.0f);
    EXPECT_FLOAT_EQ(previous_pattern_start(1.2f), 0.0f);
    EXPECT_FLOAT_EQ(previous_pattern_start(0.6f), 0.0f);   // first pattern: the start, not -1
    EXPECT_FLOAT_EQ(previous_pattern_start(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(next_pattern_start(5.7f), 6.0f);
    EXPECT_FLOAT_EQ(next_pattern_start(5.0f), 6.0f);
    EXPECT_FLOAT_EQ(next_pattern_start(0.0f), 1.0f);
    // Just after a seek the clock reads a millisecond short of the pattern start.
    EXPECT_FLOAT_EQ(next_pattern_start(2.99989f), 4.0f);
    EXPECT_FLOAT_EQ(previous_pattern_start(2.99989f), 2.0f);
    EXPECT_FLOAT_EQ(next_pattern_start(2.999f), 3.0f);
}

TEST_F(KeysTest, PageKeysAndHomeSeekTheMusic) {
    at(5.7);
    press(SDLK_PAGEUP);
    EXPECT_NEAR(pattern_clock(), 4.0f, 1e-3f);
    at(5.7);
    press(SDLK_PAGEDOWN);
    EXPECT_NEAR(pattern_clock(), 6.0f, 1e-3f);
    press(SDLK_HOME);
    EXPECT_EQ(pattern_clock(), 0.0f);
    at(0.5);
    press(SDLK_PAGEUP);
    EXPECT_EQ(pattern_clock(), 0.0f);
    EXPECT_GE(music.virtual_ms, 0.0);
}

TEST_F(KeysTest, HeldKeySeeksOncePerPress) {
    at(2.5);
    handle_show_event(key_down(SDLK_PAGEDOWN));
    for (int i = 0; i < 5; i++) handle_show_event(key_down(SDLK_PAGEDOWN, true));
    EXPECT_NEAR(pattern_clock(), 3.0f, 1e-3f);
    handle_show_event(key_down(SDLK_PAGEDOWN));   // a new press seeks again
    EXPECT_NEAR(pattern_clock(), 4.0f, 1e-3f);
}

TEST_F(KeysTest, PauseFreezesAndReleasesShowTime) {
    at(3.25);
    press(SDLK_PAUSE);
    EXPECT_FLOAT_EQ(music.frozen_time, 3.25f);
    at(7.0);   // the music moves on; show time stays and pulls the music back
    EXPECT_FLOAT_EQ(pattern_clock(), 3.25f);
    EXPECT_NEAR(music.virtual_ms, 3.25 * 16 / 130.0 * 60000.0, 1.0);
    press(SDLK_PAUSE);
    EXPECT_EQ(music.frozen_time, 0.0f);
    at(7.0);
    EXPECT_NEAR(pattern_clock(), 7.0f, 1e-3f);

    at(0.0);   // at the very start the clock reads 0.0, which means "not frozen"
    press(SDLK_PAUSE);
    EXPECT_EQ(music.frozen_time, 0.0f);
}

TEST_F(KeysTest, SpaceRecordsTicksUpToTheTableSize) {
    at(3.14);
    press(SDLK_SPACE);
    ASSERT_EQ(tick_table.count, 1);
    EXPECT_EQ(tick_table.ticks[0], 200);
    handle_show_event(key_down(SDLK_SPACE, true));   // held: no second tick
    EXPECT_EQ(tick_table.count, 1);

    tick_table.count = TICK_CAPACITY - 1;
    tick_table.ticks[TICK_CAPACITY - 1] = -7;   // the last slot, about to be filled
    at(1.0);
    press(SDLK_SPACE);
    EXPECT_EQ(tick_table.ticks[TICK_CAPACITY - 1], 64);
    press(SDLK_SPACE);
    EXPECT_EQ(tick_table.count, TICK_CAPACITY);
    EXPECT_FALSE(record_tick(2.0f));
}

TEST_F(KeysTest, EscWritesTicksOnlyWhenThereAreSome) {
    ScratchDir dir;
    press(SDLK_ESCAPE);
    EXPECT_EQ(app.quit_requests, 1);
    EXPECT_FALSE(file_exists("ticks.inc"));

    at(3.14);
    press(SDLK_SPACE);
    press(SDLK_ESCAPE);
    EXPECT_EQ(app.quit_requests, 2);
    EXPECT_EQ(read_file("ticks.inc"), "static int ticktable[]={\n 64*3 + 8,\n};\n");
}

TEST_F(KeysTest, CharactersToggleLinesAndAskForShots) {
    const char *keys[] = { "q", "w", "e", "r", "t", "y", "u", "i" };
    for (int i = 0; i < OVERLAY_LINES; i++) {
        handle_show_event(text(keys[i]));
        EXPECT_EQ(devkeys.overlay_line[i], 1) << keys[i];
    }
    handle_show_event(text("q"));
    EXPECT_EQ(devkeys.overlay_line[0], 0);   // typed twice: hidden again
    handle_show_event(text("Q"));            // another character, not q
    handle_show_event(text("qq"));           // composed text, not a key
    EXPECT_EQ(devkeys.overlay_line[0], 0);

    handle_show_event(key_down(SDLK_w, true));   // a held w repeats its key-down and its text
    handle_show_event(text("w"));
    EXPECT_EQ(devkeys.overlay_line[1], 1);
    handle_show_event(key_down(SDLK_w));
    handle_show_event(text("w"));
    EXPECT_EQ(devkeys.overlay_line[1], 0);

    EXPECT_FALSE(devkeys.shot_pending || devkeys.dof_shot_pending);
    handle_show_event(text("s"));
    EXPECT_TRUE(devkeys.shot_pending);
    handle_show_event(text("f"));
    EXPECT_TRUE(devkeys.dof_shot_pending);
}

TEST_F(KeysTest, ArrowsTurnTheCameraAndQuitEventEndsTheShow) {
    press(SDLK_LEFT);
    press(SDLK_LEFT);
    press(SDLK_RIGHT);
    EXPECT_EQ(devkeys.yaw, 1.0f);
    EXPECT_EQ(devkeys.pitch, 0.0f);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    handle_show_event(quit);
    EXPECT_EQ(app.quit_requests, 1);
}
