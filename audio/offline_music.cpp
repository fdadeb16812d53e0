// audio/offline_music.cpp - the offline clock with or without the show's track.
#include "audio/offline_music.h"
#include "audio/music.h"      // Required for: open_music_offline(), music, MUSIC_FILE_NAME
#include "audio/spectrum.h"   // Required for: clear_band_sums()
#include "platform/data_folder.h"   // Required for: data_file()
#include <cstdio>
#include <unistd.h>           // Required for: access()

bool open_offline_show_music(float tempo) {
    const std::string file = data_file(MUSIC_FILE_NAME);
    if (access(file.c_str(), R_OK) == 0) {
        open_music_offline(file.c_str(), tempo);
        return true;
    }
    std::fprintf(stderr, "MUSIC: %s missing, rendering in silence\n", file.c_str());
    clear_band_sums();
    music.tempo = tempo;
    music.offline = true;
    music.virtual_ms = 0.0;
    return false;
}
