// web/stb_decoders.cpp - the browser build's picture and track decoders: Debian's stb_image
// (JPEG only) and stb_vorbis, compiled into the page. The same entry points as the native
// libjpeg and libvorbisfile paths, with the same fatal texts for a missing or broken file.
#include "render/texture.h"
#include "audio/ogg_memory.h"
#include "platform/messages.h"
#include "web/web_audio.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#undef STB_IMAGE_IMPLEMENTATION
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb/stb_vorbis.h>

[[noreturn]] static void picture_not_found(const char *file, const char *reason) {
    char text[1024], why[1200];
    std::snprintf(text, sizeof text, "%s not found", file);
    std::snprintf(why, sizeof why, "%s: %s", file, reason);
    fatal_error_because(text, why);
}

// The whole file, or a fatal "not found" naming the reason.
static std::vector<unsigned char> read_picture_file(const char *file) {
    FILE *fp = std::fopen(file, "rb");
    if (!fp) picture_not_found(file, std::strerror(errno));
    struct stat info = {};
    if (fstat(fileno(fp), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(fp);
        picture_not_found(file, "not a plain file");
    }
    std::vector<unsigned char> bytes(size_t(info.st_size));
    const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), fp);
    std::fclose(fp);
    bytes.resize(got);
    return bytes;
}

unsigned char *load_jpeg(const char *file, int *width, int *height) {
    const std::vector<unsigned char> bytes = read_picture_file(file);
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), int(bytes.size()), &w, &h, &channels) || channels != 3) {
        char text[1100];
        std::snprintf(text, sizeof text, "%s: %s", file, channels && channels != 3 ? "not a colour (RGB) JPEG"
                                                                                  : stbi_failure_reason());
        fatal_error(text);
    }
    if (unsigned(w) > MAX_PICTURE_SIDE || unsigned(h) > MAX_PICTURE_SIDE) {
        char text[1100];
        std::snprintf(text, sizeof text, "%s: %d x %d pixels, too large (at most %u x %u)", file, w, h,
                      MAX_PICTURE_SIDE, MAX_PICTURE_SIDE);
        fatal_error(text);
    }
    unsigned char *pixels = stbi_load_from_memory(bytes.data(), int(bytes.size()), &w, &h, &channels, 3);
    if (!pixels) {
        char text[1100];
        std::snprintf(text, sizeof text, "%s: %s", file, stbi_failure_reason());
        fatal_error(text);
    }
    // The caller frees with std::free, as for the native decoder's buffer.
    unsigned char *rgb = static_cast<unsigned char *>(std::malloc(size_t(w) * h * 3));
    std::memcpy(rgb, pixels, size_t(w) * h * 3);
    stbi_image_free(pixels);
    *width = w;
    *height = h;
    return rgb;
}

bool decode_ogg_stereo(const unsigned char *bytes, size_t size, std::vector<float> &stereo, int &rate) {
    if (!bytes || size == 0) return false;
    int error = 0;
    stb_vorbis *v = stb_vorbis_open_memory(bytes, int(size), &error, nullptr);
    if (!v) return false;
    const stb_vorbis_info info = stb_vorbis_get_info(v);
    rate = int(info.sample_rate);
    stereo.clear();
    // The length the stream claims sizes the buffer only up to the longest track accepted;
    // past that the buffer grows with what is really decoded.
    const size_t claimed = stb_vorbis_stream_length_in_samples(v);
    stereo.reserve(std::min(claimed, size_t(OGG_MAX_SECONDS) * size_t(rate)) * 2);
    float buffer[4096 * 2];
    for (;;) {
        const int frames = stb_vorbis_get_samples_float_interleaved(v, 2, buffer, 4096 * 2);
        if (frames <= 0) break;
        stereo.insert(stereo.end(), buffer, buffer + frames * 2);
    }
    stb_vorbis_close(v);
    return rate > 0 && !stereo.empty();
}

bool decode_ogg_mono(const unsigned char *bytes, size_t size, std::vector<float> &mono, int &rate,
                     std::string &why) {
    std::vector<float> stereo;
    if (!decode_ogg_stereo(bytes, size, stereo, rate)) {
        why = "not an Ogg Vorbis stream stb_vorbis can read";
        return false;
    }
    mono.resize(stereo.size() / 2);
    for (size_t i = 0; i < mono.size(); i++) mono[i] = (stereo[2 * i] + stereo[2 * i + 1]) * 0.5f;
    return true;
}
