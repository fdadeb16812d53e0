// audio/sound_player.cpp - one Ogg Vorbis stream on SDL's audio device.
//
// The audio thread decodes straight into the device buffer (feed_device) and keeps a mono
// history of everything it handed over, for the spectrum. It counts the frames handed to
// the device since the stream opened ("handed frames"); two segments map them back to
// stream frames, so neither a loop wrap nor a seek disturbs the count: the listener
// reaches the new place exactly when the first frame decoded after the jump reaches the ear.
//
// The clock the show reads is the estimate of the frame at the ear: handed frames minus
// the device latency, plus the time since the latest callback (never more than one
// buffer). That estimate rises in small steps whenever a callback comes early or late, so
// the main thread runs its own clock at the timer's rate and pulls it towards the estimate
// with a time constant of SLEW_SECONDS. It never runs backwards. After a seek it reads the
// new place at once and holds there until the new frames reach the ear.
#include "audio/sound_player.h"
#include "audio/ogg_memory.h"
#include <SDL.h>         // Required for: audio device, timer, SDL_GetVersion
#include <algorithm>     // Required for: std::min, std::max
#include <cmath>         // Required for: std::floor, std::fabs
#include <cstring>       // Required for: std::memset, std::strcmp
#include <mutex>         // Required for: std::mutex, std::lock_guard
#include <string>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr int    RING_FRAMES  = 32768;   // mono history of handed frames (0.74 s at 44.1 kHz)
constexpr double SLEW_SECONDS = 0.1;     // the clock closes a disagreement with the device this fast
constexpr double SNAP_SECONDS = 0.1;     // a larger disagreement (a stall) is taken at once

//----------------------------------------------------------------------------------
// Types and Global Variables
//----------------------------------------------------------------------------------
struct Segment {
    long long handed;   // from this handed frame on...
    long long stream;   // ...the device plays the stream from this frame
};

struct Position {
    long long handed;              // frames handed to the device since the latest seek
    Uint64    handed_at;           // timer count at the end of the latest callback (or seek)
    Segment   seg[2];              // [0] the latest mapping, [1] the one before it
    long long seek_handed;         // handed frame of the latest seek: the clock never reads earlier
    long long end_handed;          // handed frame where the stream ran out; -1 while playing
    unsigned  generation;          // bumped by every seek
};

static struct {
    int  error;                    // code of the latest failure
    std::string detail;            // what exactly failed, "" if nothing more is known
    bool audio_up;                 // the audio subsystem was started here
    SDL_AudioDeviceID device;      // 0 while closed
    SDL_AudioSpec spec;            // the device's rate, buffer size, float stereo
    long long latency;             // frames between a callback's buffer and the ear

    // Written by the audio thread; the main thread reads or resets them under the device lock.
    bool open;                     // a stream is open
    OggVorbis_File vf;             // the decoder
    OggMemory mem;                 // its view of the caller's block
    bool loop;                     // wrap to 0 at the end instead of notifying
    SoundNotify notify;            // end notification, null for none
    long long total;               // frames in the stream
    Position pos;                  // where the decoder and the device are
    bool notified;                 // the end notification has gone out
    float ring[RING_FRAMES];       // mono mix of handed frame n at n % RING_FRAMES

    // A copy of pos for the clock, so that reading it never waits for a callback's decoding.
    std::mutex published_lock;     // guards published only, held for a copy
    Position published;

    // The smoothed clock, main thread only.
    struct {
        bool      valid;           // false until the first reading after a seek
        unsigned  generation;      // seek generation it belongs to
        double    handed;          // handed frame at the ear
        Uint64    counter;         // timer count of that reading
    } clock;
} sound;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void publish_position() {   // caller holds the device lock (or is the audio thread)
    std::lock_guard<std::mutex> hold(sound.published_lock);
    sound.published = sound.pos;
}

// The next frame handed is stream_frame; the caller holds the device lock.
static void seek_position(long long stream_frame) {
    sound.pos.seg[1] = sound.pos.seg[0];
    sound.pos.seg[0] = { sound.pos.handed, stream_frame };
    sound.pos.seek_handed = sound.pos.handed;
    sound.pos.end_handed = -1;
    sound.notified = false;
    sound.pos.generation++;
    publish_position();
}

// Handed frame -> stream frame, through a copy of the segments and the end.
static double stream_frame_of(double handed, const Segment *seg, long long end_handed) {
    if (end_handed >= 0 && handed > double(end_handed)) handed = double(end_handed);
    const Segment &s = handed >= double(seg[0].handed) ? seg[0] : seg[1];
    return double(s.stream) + (handed - double(s.handed));
}

// Called by SDL's audio thread whenever the device wants one more buffer.
static void SDLCALL feed_device(void *, Uint8 *out, int bytes) {
    float *dst = reinterpret_cast<float *>(out);
    int frames = bytes / int(2 * sizeof(float));
    if (!sound.open) {
        std::memset(out, 0, size_t(bytes));
        return;
    }
    // The buffer handed before this one has now reached the ear.
    if (sound.pos.end_handed >= 0 && !sound.notified && sound.pos.handed - sound.latency >= sound.pos.end_handed) {
        sound.notified = true;
        if (sound.notify) sound.notify(nullptr);
    }
    float mono[SOUND_BUFFER_FRAMES];
    int done = 0;
    while (done < frames) {
        int chunk = std::min(frames - done, SOUND_BUFFER_FRAMES);
        long got = sound.pos.end_handed < 0 ? read_ogg_frames(&sound.vf, dst + 2 * done, chunk, mono) : 0;
        if (got <= 0 && sound.pos.end_handed < 0 && sound.loop && sound.pos.handed > sound.pos.seg[0].handed) {
            ov_pcm_seek(&sound.vf, 0);   // loop: the stream starts again right after its last frame
            sound.pos.seg[1] = sound.pos.seg[0];
            sound.pos.seg[0] = { sound.pos.handed, 0 };
            continue;
        }
        if (got <= 0) {                  // the end: silence from here on
            if (sound.pos.end_handed < 0) sound.pos.end_handed = sound.pos.handed;
            got = chunk;
            std::memset(dst + 2 * done, 0, sizeof(float) * 2 * size_t(got));
            std::memset(mono, 0, sizeof(float) * size_t(got));
        }
        for (long i = 0; i < got; i++) sound.ring[(sound.pos.handed + i) % RING_FRAMES] = mono[i];
        sound.pos.handed += got;
        done += int(got);
    }
    sound.pos.handed_at = SDL_GetPerformanceCounter();
    publish_position();
}

static bool open_device(int rate) {
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = SOUND_BUFFER_FRAMES;
    want.callback = feed_device;
    sound.device = SDL_OpenAudioDevice(nullptr, 0, &want, &sound.spec, 0);
    if (sound.device == 0) return false;
    // A sound card plays one buffer while the next waits; the dummy and file drivers
    // consume each buffer right after its callback.
    const char *driver = SDL_GetCurrentAudioDriver();
    bool direct = driver && (!std::strcmp(driver, "dummy") || !std::strcmp(driver, "disk"));
    sound.latency = (long long)sound.spec.samples * (direct ? 1 : 2);
    return true;
}

static void close_stream() {
    if (!sound.open) return;
    if (sound.device) SDL_LockAudioDevice(sound.device);
    sound.open = false;
    ov_clear(&sound.vf);
    if (sound.device) SDL_UnlockAudioDevice(sound.device);
}

//----------------------------------------------------------------------------------
// Module Functions: the player
//----------------------------------------------------------------------------------
float sound_version() {
    SDL_version v;
    SDL_GetVersion(&v);
    return float(v.major) + float(v.minor) / 100.0f;
}

float sound_required_version() {
    return float(SDL_MAJOR_VERSION) + float(SDL_MINOR_VERSION) / 100.0f;
}

bool sound_init(int mix_rate) {
    sound.error = SOUND_OK;
    sound.detail.clear();
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            sound.error = SOUND_ERR_INIT;
            return false;
        }
        sound.audio_up = true;
    }
    if (!sound.device && !open_device(mix_rate)) {
        sound.error = SOUND_ERR_INIT;
        return false;
    }
    return true;
}

int sound_error() {
    return sound.error;
}

const char *sound_error_detail() {
    return sound.detail.c_str();
}

void sound_close() {
    close_stream();
    if (sound.device) SDL_CloseAudioDevice(sound.device);   // waits for the audio thread
    sound.device = 0;
    if (sound.audio_up) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sound.audio_up = false;
    sound.clock.valid = false;
}

//----------------------------------------------------------------------------------
// Module Functions: the stream
//----------------------------------------------------------------------------------
bool sound_stream_open(const unsigned char *bytes, size_t size, bool loop) {
    if (!sound.device) {
        sound.error = SOUND_ERR_UNINIT;
        return false;
    }
    close_stream();
    sound.mem = { bytes, size, 0 };
    if (!open_ogg_memory(&sound.vf, &sound.mem, sound.detail)) {
        sound.error = SOUND_ERR_FORMAT;
        return false;
    }
    int rate = int(ov_info(&sound.vf, -1)->rate);
    if (rate != sound.spec.freq) {   // the device follows the stream; SDL converts for the card
        SDL_CloseAudioDevice(sound.device);
        sound.device = 0;
        if (!open_device(rate)) {
            ov_clear(&sound.vf);
            sound.error = SOUND_ERR_INIT;
            return false;
        }
    }
    SDL_LockAudioDevice(sound.device);
    sound.loop = loop;
    sound.notify = nullptr;
    sound.total = ov_pcm_total(&sound.vf, -1);
    sound.pos = Position{};
    sound.pos.handed_at = SDL_GetPerformanceCounter();
    seek_position(0);
    sound.open = true;
    SDL_UnlockAudioDevice(sound.device);
    return true;
}

void sound_stream_set_end_callback(SoundNotify notify) {
    if (!sound.device) return;
    SDL_LockAudioDevice(sound.device);
    sound.notify = notify;
    SDL_UnlockAudioDevice(sound.device);
}

void sound_stream_play_paused() {
    if (!sound.open) return;
    SDL_PauseAudioDevice(sound.device, 1);
    SDL_LockAudioDevice(sound.device);
    ov_pcm_seek(&sound.vf, 0);
    seek_position(0);
    SDL_UnlockAudioDevice(sound.device);
}

void sound_set_paused(bool paused) {
    if (sound.device) SDL_PauseAudioDevice(sound.device, paused ? 1 : 0);
}

double sound_stream_time() {
    if (!sound.open) return 0.0;
    Position p;
    {
        std::lock_guard<std::mutex> hold(sound.published_lock);
        p = sound.published;
    }

    Uint64 now = SDL_GetPerformanceCounter();
    double rate = double(sound.spec.freq), freq = double(SDL_GetPerformanceFrequency());
    double since = std::min(double(now - p.handed_at) / freq * rate, double(sound.spec.samples));
    double device = std::max(double(p.handed - sound.latency) + since, double(p.seek_handed));   // in steps

    auto &c = sound.clock;
    if (!c.valid || c.generation != p.generation) {
        c.handed = device;
    } else {
        double dt = double(now - c.counter) / freq;
        double predicted = c.handed + dt * rate;
        double error = device - predicted;
        double next = std::fabs(error) > SNAP_SECONDS * rate
                    ? device : predicted + error * std::min(1.0, dt / SLEW_SECONDS);
        // Never backwards, and never past the last frame handed to the device.
        c.handed = std::max(std::min(next, double(p.handed)), c.handed);
    }
    c.valid = true;
    c.generation = p.generation;
    c.counter = now;
    return stream_frame_of(c.handed, p.seg, p.end_handed) * 1000.0 / rate;
}

void sound_stream_set_time(int ms) {
    if (!sound.open) return;
    if (ms < 0) ms = 0;
    long rate = sound.spec.freq;
    long long frame = ((long long)ms * rate + 999) / 1000;   // rounded up: reads back as ms
    bool ended = false;
    SDL_LockAudioDevice(sound.device);
    if (frame >= sound.total && sound.loop) frame %= sound.total;
    if (frame >= sound.total) {
        seek_position(sound.total);
        sound.pos.end_handed = sound.pos.handed;
        publish_position();
        ended = !sound.notified;
        sound.notified = true;
    } else {
        ov_pcm_seek(&sound.vf, frame);
        seek_position(frame);
    }
    SoundNotify notify = sound.notify;
    SDL_UnlockAudioDevice(sound.device);
    if (ended && notify) notify(nullptr);   // seeking past the end ends the music at once
}

int sound_stream_rate() {
    return sound.open ? sound.spec.freq : 0;
}

long long sound_stream_frames() {
    return sound.open ? sound.total : 0;
}

double sound_latency_ms() {
    return sound.device ? double(sound.latency) * 1000.0 / double(sound.spec.freq) : 0.0;
}

void sound_copy_heard_window(float *mono, int count) {
    if (!sound.open) {
        std::fill(mono, mono + count, 0.0f);
        return;
    }
    unsigned generation;
    {
        std::lock_guard<std::mutex> hold(sound.published_lock);
        generation = sound.published.generation;
    }
    if (!sound.clock.valid || sound.clock.generation != generation) sound_stream_time();   // seeked since
    long long end = (long long)std::floor(sound.clock.handed + 1e-6);
    SDL_LockAudioDevice(sound.device);
    for (int i = 0; i < count; i++) {
        long long n = end - count + i;
        bool kept = n >= 0 && n < sound.pos.handed && n >= sound.pos.handed - RING_FRAMES;
        mono[i] = kept ? sound.ring[n % RING_FRAMES] : 0.0f;
    }
    SDL_UnlockAudioDevice(sound.device);
}
