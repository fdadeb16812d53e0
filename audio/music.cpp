// audio/music.cpp - opening the music, the pattern clock, seeking, frozen time and the
// offline track. The live path drives the player of audio/sound_player.cpp; the offline
// path keeps the decoded track in memory and plays nothing.
#include "audio/music.h"
#include "platform/data_folder.h"   // Required for: read_plain_file()
#include "platform/messages.h"
#include "platform/settings.h"
#include "audio/ogg_memory.h"
#include "audio/sound_player.h"
#include "audio/spectrum.h"
#include <SDL.h>      // Required for: SDL_Delay, SDL_GetTicks
#include <cmath>      // Required for: std::sin, std::floor
#include <string>
#include <cstdio>     // Required for: snprintf
#include <vector>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
MusicGlobals music;

static struct {
    std::vector<unsigned char> bytes;   // the whole music file, kept while the stream plays
    std::vector<float> offline_pcm;     // offline: the decoded track, mono
    int offline_rate;                   // offline: frames per second of offline_pcm
} track;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Reads the whole file into track.bytes; false with the reason if it cannot (a folder, a
// named pipe, a file larger than any track).
static bool read_music_file(const char *file, std::string &why) {
    return read_plain_file(file, OGG_MAX_FILE_BYTES, track.bytes, why);
}

[[noreturn]] static void music_not_found(const char *file, const std::string &why) {
    char text[1024], reason[1200];
    std::snprintf(text, sizeof text, "%s not found", file);
    std::snprintf(reason, sizeof reason, "%s: %s", file, why.c_str());
    fatal_error_because(text, reason);
}

// The player's fixed text for a refused stream; stderr names the file and says why.
[[noreturn]] static void music_refused(const char *file, const char *text, const std::string &why) {
    char reason[1200];
    std::snprintf(reason, sizeof reason, "%s: %s", file, why.c_str());
    fatal_error_because(text, why.empty() ? nullptr : reason);
}

//----------------------------------------------------------------------------------
// Module Functions: live music
//----------------------------------------------------------------------------------
void open_music(const char *file, float tempo, bool loop) {
    clear_band_sums();
    music.tempo = tempo;
    music.offline = false;
    float required = music.required_version > 0.0f ? music.required_version : sound_required_version();
    if (sound_version() < required) fatal_error("FMOD: Wrong DLL version!");
    if (!sound_init(MUSIC_MIX_RATE)) {
        int code = sound_error();
        sound_close();
        fatal_error(sound_error_text(code));
    }
    std::string why;
    if (!read_music_file(file, why)) {
        sound_close();
        music_not_found(file, why);
    }
    if (!sound_stream_open(track.bytes.data(), track.bytes.size(), loop)) {
        const int code = sound_error();
        const std::string why = sound_error_detail();
        sound_close();
        music_refused(file, sound_error_text(code), why);
    }
    sound_stream_set_end_callback(music_notification);
    sound_stream_play_paused();
    sound_set_paused(false);
    update_band_sums();
}

void close_music() {
    sound_close();
    music.offline = false;
    track.bytes.clear();
    track.offline_pcm.clear();
    track.offline_pcm.shrink_to_fit();
}

// Called from SDL's audio thread at the end of the stream: only bumps the quit counter.
bool music_notification(const void *data) {
    if (!data) app.quit_requests++;
    return true;
}

float pattern_clock() {
    if (music.frozen_time == 0.0f) {
        double ms = music.offline ? music.virtual_ms : sound_stream_time();
        return float(ms / 60000.0 * music.tempo / 16.0);
    }
    // Frozen: the music repeats a few milliseconds at the frozen place, and the frame
    // rate drops to a varying 1 to 21 ms per frame.
    double t = double(SDL_GetTicks());
    SDL_Delay(Uint32(int(std::sin(t * 0.1) * 10.0 + 11.0)));
    seek_patterns(music.frozen_time);
    return music.frozen_time;
}

void seek_patterns(float patterns) {
    int ms = int(patterns * 16.0 / music.tempo * 60000.0);
    if (ms < 0) ms = 0;
    if (music.offline) music.virtual_ms = ms;
    else sound_stream_set_time(ms);
}

//----------------------------------------------------------------------------------
// Module Functions: offline track
//----------------------------------------------------------------------------------
void open_music_offline(const char *file, float tempo) {
    clear_band_sums();
    music.tempo = tempo;
    music.offline = true;
    music.virtual_ms = 0.0;
    std::string why;
    if (!read_music_file(file, why)) music_not_found(file, why);
    if (!decode_ogg_mono(track.bytes.data(), track.bytes.size(), track.offline_pcm, track.offline_rate, why))
        music_refused(file, sound_error_text(SOUND_ERR_FORMAT), why);
    update_band_sums();
}

void set_virtual_time(double patterns) {
    music.virtual_ms = patterns * 16.0 / music.tempo * 60000.0;
}

float music_length_patterns() {
    double frames = double(music.offline ? track.offline_pcm.size() : sound_stream_frames());
    double rate = double(music.offline ? track.offline_rate : sound_stream_rate());
    if (rate <= 0.0 || music.tempo <= 0.0f) return 0.0f;
    return float(frames / rate / 60.0 * music.tempo / 16.0);
}

void copy_music_window(float *mono, int count) {
    if (!music.offline) {
        sound_copy_heard_window(mono, count);
        return;
    }
    long long end = (long long)std::floor(music.virtual_ms * track.offline_rate / 1000.0 + 1e-6);
    long long size = (long long)track.offline_pcm.size();
    for (int i = 0; i < count; i++) {
        long long n = end - count + i;
        mono[i] = n >= 0 && n < size ? track.offline_pcm[size_t(n)] : 0.0f;
    }
}
