// audio/offline_music.cpp - the offline clock with or without the show's track.
#include "audio/offline_music.h"
#include "audio/music.h"      // Required for: open_music_offline(), music, MUSIC_FILE
#include "audio/spectrum.h"   // Required for: clear_band_sums()
#include <cstdio>
#include <unistd.h>           // Required for: access()

bool open_offline_show_music(float tempo) {
    if (access(MUSIC_FILE, R_OK) == 0) {
        open_music_offline(MUSIC_FILE, tempo);
        return true;
    }
    std::fprintf(stderr, "MUSIC: %s missing, rendering in silence\n", MUSIC_FILE);
    clear_band_sums();
    music.tempo = tempo;
    music.offline = true;
    music.virtual_ms = 0.0;
    return false;
}
