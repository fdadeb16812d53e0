// audio/music.cpp - placeholder clock until the streaming player lands: show time runs
// from the wall clock at 130 BPM.
#include "audio/music.h"
#include <SDL.h>

static struct { Uint64 start; float tempo; } music;

void open_music(const char *, float tempo, bool) {
    music.start = SDL_GetPerformanceCounter();
    music.tempo = tempo;
}

void close_music() {}

float pattern_clock() {
    double seconds = double(SDL_GetPerformanceCounter() - music.start) / SDL_GetPerformanceFrequency();
    return float(seconds / 60.0 * music.tempo / 16.0);
}

void seek_patterns(float patterns) {
    Uint64 back = Uint64(patterns * 16.0 / music.tempo * 60.0 * SDL_GetPerformanceFrequency());
    music.start = SDL_GetPerformanceCounter() - back;
}
