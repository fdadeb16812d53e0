// audio/ogg_memory.h - Ogg Vorbis decoding straight from a block of memory.
// The music file is read whole into one heap block; both the live player and the offline
// clock decode from that block through libvorbisfile's callback interface. A block is
// accepted only when it is a complete Ogg Vorbis stream: its last page must carry the
// end-of-stream mark and end exactly where the block ends, so a truncated file is refused.
// The length a stream claims (its last page's sample count) is trusted only up to an hour:
// nothing is ever allocated from it, and a longer claim is refused as too long.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

constexpr int OGG_MAX_SECONDS = 3600;          // the longest track accepted
constexpr size_t OGG_MAX_FILE_BYTES = 256u << 20;   // the largest music file read

#ifndef __EMSCRIPTEN__   // the browser build decodes with stb_vorbis (web/stb_decoders.cpp)
#include <vorbis/vorbisfile.h>   // Required for: OggVorbis_File, ov_* calls

struct OggMemory {
    const unsigned char *bytes;   // the whole file, owned by the caller, kept while open
    size_t size;                  // bytes in the block
    size_t at;                    // read position of the decoder
};

bool open_ogg_memory(OggVorbis_File *vf, OggMemory *mem, std::string &why);   // false and why for empty, foreign, truncated or too long data
long read_ogg_frames(OggVorbis_File *vf, float *stereo, int frames, float *mono);   // interleaved L,R and (L+R)/2; 0 at end
#endif

bool decode_ogg_mono(const unsigned char *bytes, size_t size, std::vector<float> &mono, int &rate,
                     std::string &why);                        // whole stream as (L+R)/2, false and why if unreadable
