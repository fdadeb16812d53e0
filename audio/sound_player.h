// audio/sound_player.h - the streaming music player: one Ogg Vorbis stream decoded from
// memory onto SDL's audio device.
//
// GLOSSARY: a frame is one sample per channel at the stream's rate; the device runs at the
// stream's rate in 32-bit float stereo and pulls one buffer of frames per callback. The
// play position is what the listener hears now: the frames handed to the device, less the
// frames still buffered in front of the speaker (one buffer on the dummy and file drivers,
// two on a sound card), advanced between callbacks by the high-resolution timer and
// slewed so that it moves smoothly and never backwards (only a seek or a loop turns it back).
//
// Every call runs on the main thread except the end notification, which is called from
// SDL's audio thread (or from the main thread when a seek passes the end).
#pragma once
#include <cstddef>

// Error codes of the player; sound_error_text gives the text of each.
constexpr int SOUND_OK            = 0;
constexpr int SOUND_ERR_UNINIT    = 2;    // a stream call before sound_init
constexpr int SOUND_ERR_INIT      = 3;    // the output device could not be opened
constexpr int SOUND_ERR_FORMAT    = 10;   // not a complete Ogg Vorbis stream
constexpr int SOUND_BUFFER_FRAMES = 1024; // frames the device pulls per callback

typedef bool (*SoundNotify)(const void *data);   // null data: end of stream; else a sync point

float       sound_version();                      // the linked SDL as major + minor / 100, e.g. 2.26
float       sound_required_version();             // the SDL the player was built against, same form
bool        sound_init(int mix_rate);             // audio subsystem and paused output device; false: see sound_error
int         sound_error();                        // code of the latest failure, SOUND_OK if none
const char *sound_error_detail();                 // what exactly failed (why a stream was refused), "" if unknown
const char *sound_error_text(int code);           // fixed English text of a code; "Unknown error" outside 0..18
void        sound_close();                        // closes the stream, the device and the audio subsystem

bool   sound_stream_open(const unsigned char *bytes, size_t size, bool loop);   // block kept by the caller until close
void   sound_stream_set_end_callback(SoundNotify notify);   // called once when the listener has heard the end
void   sound_stream_play_paused();                 // rewinds to 0; the device stays paused
void   sound_set_paused(bool paused);              // starts or halts the device
double sound_stream_time();                        // heard position in milliseconds (fractional)
void   sound_stream_set_time(int ms);              // moves to ms (clamped at 0; past the end: ends or wraps)
int    sound_stream_rate();                        // frames per second of the open stream
long long sound_stream_frames();                   // length of the stream in frames
double sound_latency_ms();                         // buffered time assumed between the callback and the ear
void   sound_copy_heard_window(float *mono, int count);   // the count mono frames heard up to now, zeros before the start
