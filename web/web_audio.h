// web/web_audio.h - what the browser build adds to the audio floor: the whole track decoded
// to interleaved stereo (stb_vorbis), handed to Web Audio in one buffer.
#pragma once
#include <cstddef>
#include <vector>

bool decode_ogg_stereo(const unsigned char *bytes, size_t size, std::vector<float> &stereo, int &rate);   // false if unreadable
