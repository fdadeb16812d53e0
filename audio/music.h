// audio/music.h - the music stream and the pattern clock that times the whole show.
// Show time is in patterns (16 beats) and always comes from what the listener hears.
#pragma once

constexpr const char *MUSIC_FILE = "data/vlux_q2_final.ogg";

void  open_music(const char *file, float tempo, bool loop);   // returns when the music plays
void  close_music();                                          // stop and release the device
float pattern_clock();                                        // show time in patterns
void  seek_patterns(float patterns);                          // move the music to a show time
