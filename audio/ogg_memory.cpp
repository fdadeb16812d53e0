// audio/ogg_memory.cpp - libvorbisfile over a memory block, and whole-stream decoding.
#include "audio/ogg_memory.h"
#include <ogg/ogg.h>   // Required for: ogg_sync_*, ogg_page_eos
#include <algorithm>   // Required for: std::min
#include <cstdio>      // Required for: snprintf
#include <cstring>

//----------------------------------------------------------------------------------
// Internal Functions: the four callbacks libvorbisfile reads the block through
//----------------------------------------------------------------------------------
static size_t read_memory(void *dst, size_t size, size_t count, void *source) {
    OggMemory *mem = static_cast<OggMemory *>(source);
    size_t want = size * count, left = mem->size - mem->at;
    if (want > left) want = left;
    if (want) std::memcpy(dst, mem->bytes + mem->at, want);
    mem->at += want;
    return size ? want / size : 0;
}

static int seek_memory(void *source, ogg_int64_t offset, int whence) {
    OggMemory *mem = static_cast<OggMemory *>(source);
    ogg_int64_t base = whence == SEEK_CUR ? ogg_int64_t(mem->at) : whence == SEEK_END ? ogg_int64_t(mem->size) : 0;
    ogg_int64_t to = base + offset;
    if (to < 0 || to > ogg_int64_t(mem->size)) return -1;
    mem->at = size_t(to);
    return 0;
}

static long tell_memory(void *source) {
    return long(static_cast<OggMemory *>(source)->at);
}

// True when the block's last complete page is flagged end-of-stream and ends the block.
static bool ends_with_final_page(const unsigned char *bytes, size_t size) {
    constexpr size_t TAIL = 128 * 1024;   // a page is at most 65307 bytes
    size_t from = size > TAIL ? size - TAIL : 0;
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char *buffer = ogg_sync_buffer(&sync, long(size - from));
    std::memcpy(buffer, bytes + from, size - from);
    ogg_sync_wrote(&sync, long(size - from));
    ogg_page page;
    size_t offset = from, page_end = 0;
    bool eos = false;
    for (;;) {
        long step = ogg_sync_pageseek(&sync, &page);
        if (step == 0) break;                   // no more complete pages
        if (step < 0) { offset += size_t(-step); continue; }   // skipped junk
        offset += size_t(step);
        page_end = offset;
        eos = ogg_page_eos(&page) != 0;
    }
    ogg_sync_clear(&sync);
    return eos && page_end == size;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
bool open_ogg_memory(OggVorbis_File *vf, OggMemory *mem, std::string &why) {
    std::memset(vf, 0, sizeof *vf);
    mem->at = 0;
    if (!mem->bytes || mem->size == 0) {
        why = "an empty file";
        return false;
    }
    if (!ends_with_final_page(mem->bytes, mem->size)) {
        why = "not a complete Ogg stream (cut off, or another format)";
        return false;
    }
    ov_callbacks calls = { read_memory, seek_memory, nullptr, tell_memory };
    if (ov_open_callbacks(mem, vf, nullptr, 0, calls) != 0) {
        why = "not Ogg Vorbis";
        return false;
    }
    vorbis_info *info = ov_info(vf, -1);
    const ogg_int64_t claimed = ov_pcm_total(vf, -1);
    if (!info || info->channels < 1 || info->rate <= 0 || claimed <= 0) {
        why = "no sound in the stream";
    } else if (claimed / info->rate >= OGG_MAX_SECONDS) {
        char text[160];
        std::snprintf(text, sizeof text, "too large: it claims %lld samples, more than %d seconds of sound",
                      (long long)claimed, OGG_MAX_SECONDS);
        why = text;
    } else {
        return true;
    }
    ov_clear(vf);
    return false;
}

long read_ogg_frames(OggVorbis_File *vf, float *stereo, int frames, float *mono) {
    for (;;) {
        float **pcm = nullptr;
        int link = 0;
        long got = ov_read_float(vf, &pcm, frames, &link);
        if (got == OV_HOLE) continue;   // a damaged page: decoding resumes after it
        if (got <= 0) return 0;         // end of stream, or a fault treated as the end
        int channels = ov_info(vf, link)->channels;
        const float *left = pcm[0], *right = pcm[channels > 1 ? 1 : 0];
        for (long i = 0; i < got; i++) {
            if (stereo) {
                stereo[2 * i] = left[i];
                stereo[2 * i + 1] = right[i];
            }
            mono[i] = (left[i] + right[i]) * 0.5f;
        }
        return got;
    }
}

bool decode_ogg_mono(const unsigned char *bytes, size_t size, std::vector<float> &mono, int &rate,
                     std::string &why) {
    OggVorbis_File vf;
    OggMemory mem = { bytes, size, 0 };
    mono.clear();
    if (!open_ogg_memory(&vf, &mem, why)) return false;
    rate = int(ov_info(&vf, -1)->rate);
    // The buffer grows with what is really decoded, up to the length claimed.
    const size_t claimed = size_t(ov_pcm_total(&vf, -1));
    float chunk[4096];
    while (mono.size() < claimed) {
        const long got = read_ogg_frames(&vf, nullptr, int(std::min<size_t>(4096, claimed - mono.size())), chunk);
        if (got <= 0) break;
        mono.insert(mono.end(), chunk, chunk + got);
    }
    ov_clear(&vf);
    return true;
}
