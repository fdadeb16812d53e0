// audio/offline_music.h - the music for tools that render without a listener (offline
// rendering, the benchmark): the show's track decoded for set_virtual_time when it is in the
// data folder, else a silent virtual clock, so that pictures can be made before the track exists.
#pragma once

bool open_offline_show_music(float tempo);   // true with the track, false in silence; clock at 0
