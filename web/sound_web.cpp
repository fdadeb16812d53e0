// web/sound_web.cpp - the music player of the browser build, on Web Audio.
// The track is decoded whole (stb_vorbis) when the stream opens and handed to the page's
// AudioContext as one buffer; playing starts a buffer source at the wanted place. The play
// position the show's clock reads is what the listener hears: the audio context's output
// timestamp (its time at the speaker, advanced by the page's clock since it was taken),
// less the context time the source started at, plus the place it started from. As natively,
// it never runs backwards except on a seek or a loop, and the end is notified once, when
// the listener has heard it. The spectrum reads the decoded samples at that place.
#include "audio/sound_player.h"
#include "web/web_audio.h"
#include <emscripten.h>
#include <algorithm>
#include <cmath>
#include <vector>

EM_JS(int, web_audio_open, (), {
    try {
        var Context = window.AudioContext || window.webkitAudioContext;
        if (!Module.orbAudio) Module.orbAudio = { ctx: new Context() };
        return 1;
    } catch (e) {
        console.log('MUSIC: no Web Audio: ' + e);
        return 0;
    }
});

EM_JS(void, web_audio_load, (const float *left, const float *right, int frames, int rate), {
    var a = Module.orbAudio;
    var b = a.ctx.createBuffer(2, frames, rate);
    b.copyToChannel(HEAPF32.subarray(left >> 2, (left >> 2) + frames), 0);
    b.copyToChannel(HEAPF32.subarray(right >> 2, (right >> 2) + frames), 1);
    a.buffer = b;
});

EM_JS(void, web_audio_stop, (), {
    var a = Module.orbAudio;
    if (a && a.source) {
        a.source.onended = null;
        try { a.source.stop(); } catch (e) {}
        a.source.disconnect();
        a.source = null;
    }
});

EM_JS(void, web_audio_play, (double from_seconds, int loop), {
    var a = Module.orbAudio;
    var s = a.ctx.createBufferSource();
    s.buffer = a.buffer;
    s.loop = loop != 0;
    s.connect(a.ctx.destination);
    if (a.ctx.state != 'running') a.ctx.resume();
    s.start(0, from_seconds);
    a.source = s;
    a.startContext = a.ctx.currentTime;
    a.startOffset = from_seconds;
});

// Seconds of the track the listener hears now (unwrapped: a looping track runs on past its end).
EM_JS(double, web_audio_heard, (), {
    var a = Module.orbAudio;
    if (!a || !a.source) return -1;
    var t = a.ctx.currentTime - (a.ctx.baseLatency || 0) - (a.ctx.outputLatency || 0);
    if (a.ctx.getOutputTimestamp) {
        var ts = a.ctx.getOutputTimestamp();
        if (ts.contextTime > 0 && ts.performanceTime > 0)
            t = ts.contextTime + Math.max(0, performance.now() - ts.performanceTime) / 1000;
    }
    return a.startOffset + Math.max(0, t - a.startContext);
});

EM_JS(double, web_audio_latency, (), {
    var a = Module.orbAudio;
    return a ? ((a.ctx.baseLatency || 0) + (a.ctx.outputLatency || 0)) * 1000 : 0;
});

static struct {
    int  error = SOUND_OK;
    bool up = false;                 // the audio context exists
    bool open = false;               // a stream is loaded
    bool loop = false;
    bool playing = false;            // a source runs (not paused)
    bool ended = false;              // the end was notified
    SoundNotify notify = nullptr;
    std::vector<float> mono;         // the whole track, (L+R)/2, for the spectrum
    int  rate = 0;
    double place_ms = 0;             // where a paused stream stands, or where the source started
    double last_ms = 0;              // latest position read: the clock never runs backwards
} player;

float sound_version() { return 2.0f; }
float sound_required_version() { return 2.0f; }
int sound_error() { return player.error; }
const char *sound_error_detail() {
    return player.error == SOUND_ERR_FORMAT ? "not an Ogg Vorbis stream stb_vorbis can read" : "";
}

bool sound_init(int) {
    player.up = web_audio_open() != 0;
    player.error = player.up ? SOUND_OK : SOUND_ERR_INIT;
    return player.up;
}

void sound_close() {
    web_audio_stop();
    player.open = player.playing = player.ended = false;
    player.mono.clear();
    player.notify = nullptr;
}

bool sound_stream_open(const unsigned char *bytes, size_t size, bool loop) {
    if (!player.up) {
        player.error = SOUND_ERR_UNINIT;
        return false;
    }
    std::vector<float> stereo;
    if (!decode_ogg_stereo(bytes, size, stereo, player.rate)) {
        player.error = SOUND_ERR_FORMAT;
        return false;
    }
    const size_t frames = stereo.size() / 2;
    std::vector<float> left(frames), right(frames);
    player.mono.resize(frames);
    for (size_t i = 0; i < frames; i++) {
        left[i] = stereo[2 * i];
        right[i] = stereo[2 * i + 1];
        player.mono[i] = (left[i] + right[i]) * 0.5f;
    }
    web_audio_load(left.data(), right.data(), int(frames), player.rate);
    player.open = true;
    player.loop = loop;
    player.error = SOUND_OK;
    return true;
}

void sound_stream_set_end_callback(SoundNotify notify) { player.notify = notify; }

static double length_ms() {
    return player.rate > 0 ? double(player.mono.size()) * 1000.0 / player.rate : 0.0;
}

void sound_stream_play_paused() {
    web_audio_stop();
    player.playing = false;
    player.ended = false;
    player.place_ms = player.last_ms = 0;
}

void sound_set_paused(bool paused) {
    if (!player.open || paused == !player.playing) return;
    if (paused) {
        player.place_ms = sound_stream_time();
        web_audio_stop();
        player.playing = false;
    } else {
        web_audio_play(player.place_ms / 1000.0, player.loop);
        player.playing = true;
    }
}

double sound_stream_time() {
    if (!player.open) return 0.0;
    double ms = player.place_ms;
    if (player.playing) {
        const double heard = web_audio_heard();
        if (heard >= 0) ms = heard * 1000.0;
    }
    const double length = length_ms();
    if (player.loop && length > 0) {
        ms = std::fmod(ms, length);
        if (ms < player.last_ms && player.last_ms - ms < length / 2) ms = player.last_ms;   // jitter, not a wrap
    } else {
        ms = std::max(ms, player.last_ms);
        if (length > 0 && ms >= length) {
            ms = length;
            if (!player.ended) {
                player.ended = true;
                if (player.notify) player.notify(nullptr);
            }
        }
    }
    player.last_ms = ms;
    return ms;
}

void sound_stream_set_time(int ms) {
    if (!player.open) return;
    double at = std::max(0, ms);
    const double length = length_ms();
    if (at >= length) {
        if (player.loop && length > 0) at = std::fmod(at, length);
        else {
            at = length;
            if (!player.ended) {
                player.ended = true;
                if (player.notify) player.notify(nullptr);
            }
        }
    }
    player.place_ms = player.last_ms = at;
    if (player.playing) {
        web_audio_stop();
        web_audio_play(at / 1000.0, player.loop);
    }
}

int sound_stream_rate() { return player.rate; }
long long sound_stream_frames() { return (long long)player.mono.size(); }
double sound_latency_ms() { return web_audio_latency(); }

void sound_copy_heard_window(float *mono, int count) {
    const long long end = (long long)std::floor(sound_stream_time() * player.rate / 1000.0 + 1e-6);
    const long long size = (long long)player.mono.size();
    for (int i = 0; i < count; i++) {
        const long long n = end - count + i;
        mono[i] = n >= 0 && n < size ? player.mono[size_t(n)] : 0.0f;
    }
}
