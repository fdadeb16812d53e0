// tests/audio/music_errors_test.cpp - every way opening the music can fail, each ending
// the process (status 0) with its fixed text, and the player's error table.
#include "ogg_fixture.h"
#include "audio/sound_player.h"
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

// The death tests re-run this program for each case: the player's audio thread must not
// be forked.
class MusicErrorTest : public MusicTest {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        MusicTest::SetUp();
    }
    static std::string write_bytes(const std::string &name, const std::string &bytes) {
        std::string path = test_files.make(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string good_track() {   // 1 s of noise: many pages, so a cut leaves whole audio pages
        auto noise = [](long i, int c) { return float(((i * 1103515245L + c * 12345L) >> 8) % 2001 - 1000) / 4000.0f; };
        return write_test_ogg("errors_good.ogg", 44100, 2, 44100, noise);
    }
};

TEST_F(MusicErrorTest, MissingFileNamesTheFile) {
    EXPECT_EXIT(open_music("data/no_such_music.ogg", 130.0f, false), ::testing::ExitedWithCode(0),
                "data/no_such_music\\.ogg not found");
    EXPECT_EXIT(open_music_offline("data/no_such_music.ogg", 130.0f), ::testing::ExitedWithCode(0),
                "data/no_such_music\\.ogg not found");
}

// A folder opens for reading like a file; the track is not found, and stderr says why.
TEST_F(MusicErrorTest, AFolderIsNotFoundAndStderrSaysItIsAFolder) {
    const std::string folder = test_files.make("errors_folder.ogg");
    ASSERT_TRUE(mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST);   // a death test's child finds it made
    const std::string expected = "errors_folder\\.ogg not found\nFATAL: .*errors_folder\\.ogg: a folder";
    EXPECT_EXIT(open_music(folder.c_str(), 130.0f, false), ::testing::ExitedWithCode(0), expected);
    EXPECT_EXIT(open_music_offline(folder.c_str(), 130.0f), ::testing::ExitedWithCode(0), expected);
    rmdir(folder.c_str());
}

TEST_F(MusicErrorTest, ForeignEmptyOrTruncatedFilesAreAnUnknownFormat) {
    std::ifstream in(good_track(), std::ios::binary);
    std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string files[] = {
        write_bytes("errors_text.ogg", "this is not music at all\n"),
        write_bytes("errors_empty.ogg", ""),
        write_bytes("errors_cut_header.ogg", whole.substr(0, 60)),
        write_bytes("errors_cut_audio.ogg", whole.substr(0, whole.size() * 2 / 3)),
    };
    for (const std::string &f : files) {
        // The box keeps the player's text; stderr adds the file and the reason.
        const std::string expected = "FATAL: Unknown file format\nFATAL: .*" + f.substr(f.rfind('/') + 1) + ": ";
        EXPECT_EXIT(open_music(f.c_str(), 130.0f, false), ::testing::ExitedWithCode(0), expected) << f;
        EXPECT_EXIT(open_music_offline(f.c_str(), 130.0f), ::testing::ExitedWithCode(0), expected) << f;
    }
}

// A valid stream whose last page claims an absurd length (the checksum made good) is refused
// as too large, naming the file, before anything is sized from the claim. A claim a little
// longer than the sound is harmless: only what is really there is decoded.
TEST_F(MusicErrorTest, ATrackClaimingAHugeLengthIsTooLargeNamingTheFile) {
    std::ifstream in(good_track(), std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const long long claim : { 1LL << 60, 1000000000LL }) {
        const std::string f = write_bytes("errors_claim_" + std::to_string(claim) + ".ogg", with_claimed_length(whole, claim));
        const std::string expected = "FATAL: Unknown file format\nFATAL: .*errors_claim_" + std::to_string(claim) + "\\.ogg: too large";
        EXPECT_EXIT(open_music_offline(f.c_str(), 130.0f), ::testing::ExitedWithCode(0), expected);
        EXPECT_EXIT(open_music(f.c_str(), 130.0f, false), ::testing::ExitedWithCode(0), expected);
    }
    const std::string longer = write_bytes("errors_claim_longer.ogg", with_claimed_length(whole, 10 * 44100));
    open_music_offline(longer.c_str(), 130.0f);
    EXPECT_NEAR(music_length_patterns(), 1.0 / 60.0 * 130.0 / 16.0, 0.01);   // the 1 s really there
}

// A named pipe in place of the track is refused at once, never opened and waited on.
TEST_F(MusicErrorTest, ANamedPipeIsNotFoundAndNeverWaitedOn) {
    const std::string pipe = test_files.make("errors_pipe.ogg");
    ASSERT_TRUE(mkfifo(pipe.c_str(), 0644) == 0 || errno == EEXIST);   // a death test's child finds it made
    const std::string expected = "errors_pipe\\.ogg not found\nFATAL: .*errors_pipe\\.ogg: a named pipe";
    EXPECT_EXIT(open_music(pipe.c_str(), 130.0f, false), ::testing::ExitedWithCode(0), expected);
    EXPECT_EXIT(open_music_offline(pipe.c_str(), 130.0f), ::testing::ExitedWithCode(0), expected);
}

TEST_F(MusicErrorTest, NoOutputDeviceStopsTheShow) {
    std::string path = good_track();
    EXPECT_EXIT({
        setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
        open_music(path.c_str(), 130.0f, false);
    }, ::testing::ExitedWithCode(0), "FATAL: Error initializing output device\\.\n");
}

TEST_F(MusicErrorTest, TooOldPlayerStopsTheShow) {
    std::string path = good_track();
    EXPECT_EXIT({
        music.required_version = 99.0f;
        open_music(path.c_str(), 130.0f, false);
    }, ::testing::ExitedWithCode(0), "FATAL: FMOD: Wrong DLL version!\n");
}

TEST(SoundErrorTextTest, TableTextsAndUnknownCodes) {
    EXPECT_STREQ(sound_error_text(0), "No errors");
    EXPECT_STREQ(sound_error_text(SOUND_ERR_INIT), "Error initializing output device.");
    EXPECT_STREQ(sound_error_text(SOUND_ERR_FORMAT), "Unknown file format");
    EXPECT_STREQ(sound_error_text(12), "Not enough memory ");
    EXPECT_STREQ(sound_error_text(18), "Required Mediaplayer codec is not installed");
    EXPECT_STREQ(sound_error_text(19), "Unknown error");
    EXPECT_STREQ(sound_error_text(-1), "Unknown error");
}
