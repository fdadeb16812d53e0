// audio/music.h - the music stream and the pattern clock that times the whole show.
// Show time is in patterns (16 beats) and always comes from what the listener hears:
// pattern_clock turns the play position into patterns, seek_patterns moves the music, and
// frozen_time holds show time still for the developer keys.
//
// Offline rendering (frames to files, tests) opens no audio device: open_music_offline
// decodes the whole track into memory, the renderer sets the show time of each frame with
// set_virtual_time, and pattern_clock and update_band_sums then read that time and the
// decoded samples at it, the same samples the live player would be playing there.
#pragma once

constexpr const char *MUSIC_FILE_NAME = "vlux_q2_final.ogg";   // in the data folder (platform/data_folder.h)
constexpr int MUSIC_MIX_RATE = 44100;   // frames per second asked of the output device

struct MusicGlobals {
    float  tempo;                  // beats per minute, stored by open_music (the show passes 130)
    float  frozen_time;            // patterns; 0 = off, else show time stays here (the Pause key)
    bool   offline;                // no device: show time is the virtual time
    double virtual_ms;             // offline play position in milliseconds
    float  required_version;       // oldest player open_music accepts; 0 = the one built against
};
extern MusicGlobals music;   // frozen_time is written by the developer keys, the rest by audio/

void  open_music(const char *file, float tempo, bool loop);   // returns when the music plays; fatal on any failure
void  close_music();                                          // stop and release the device (or the offline track)
float pattern_clock();                                        // show time in patterns
void  seek_patterns(float patterns);                          // move the music to a show time (clamped at 0)
bool  music_notification(const void *data);                   // null data (end of stream) bumps app.quit_requests; always true

void  open_music_offline(const char *file, float tempo);      // decode the whole track, no device; same fatal texts
void  set_virtual_time(double patterns);                      // offline show time for the next clock and band sums
float music_length_patterns();                                // length of the open track in patterns, 0 if none
void  copy_music_window(float *mono, int count);              // the count mono samples heard up to now
