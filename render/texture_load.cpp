// render/texture_load.cpp - JPEG decoding through libjpeg and the padded RGBA upload.
// Decoding problems never end the process quietly: a libjpeg error manager turns any
// library error or warning (a truncated or damaged file) into fatal_error naming the file,
// so the window is torn down and the display mode restored like any other start-up fault.
#include "render/texture.h"
#include "platform/data_folder.h" // Required for: open_plain_file()
#include "platform/messages.h"    // Required for: fatal_error()
#include "platform/settings.h"    // Required for: next_power_of_two()
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifndef __EMSCRIPTEN__   // the browser build decodes with stb_image (web/stb_decoders.cpp)
#include <jpeglib.h>
#endif
#include <string>
#include <unistd.h>               // Required for: close()

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
#ifndef __EMSCRIPTEN__
struct JpegErrorManager {
    jpeg_error_mgr std;     // must come first: libjpeg sees only this part
    jmp_buf        escape;  // where load_jpeg reports the failure
    char           message[JMSG_LENGTH_MAX];
};

// Called by libjpeg on a fatal decoding error.
static void jpeg_error_exit(j_common_ptr cinfo) {
    JpegErrorManager *err = reinterpret_cast<JpegErrorManager *>(cinfo->err);
    cinfo->err->format_message(cinfo, err->message);
    std::longjmp(err->escape, 1);
}

// Called by libjpeg for warnings and trace messages. Warnings (level -1) mean damaged data,
// for example "Premature end of JPEG file"; the show's files have none, so they are fatal.
static void jpeg_emit_message(j_common_ptr cinfo, int msg_level) {
    if (msg_level < 0) jpeg_error_exit(cinfo);
}

// The show's text for a picture it cannot open; stderr also gets the system's reason.
[[noreturn]] static void picture_not_found(const char *file, const char *reason) {
    char text[1024], why[1200];
    std::snprintf(text, sizeof text, "%s not found", file);
    std::snprintf(why, sizeof why, "%s: %s", file, reason);
    fatal_error_because(text, why);
}

#endif

// Texture side for an image side: the next power of two, and 1 for a side of 1 pixel
// (next_power_of_two gives 0 there, which would leave no room for the image).
static int texture_side(int n) {
    return n == 1 ? 1 : next_power_of_two(n);
}

#ifndef __EMSCRIPTEN__
[[noreturn]] static void jpeg_fatal(const char *file, const char *why) {
    char text[1024 + JMSG_LENGTH_MAX];
    std::snprintf(text, sizeof text, "%s: %s", file, why);
    fatal_error(text);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
unsigned char *load_jpeg(const char *file, int *width, int *height) {
    std::string why;
    const int fd = open_plain_file(file, why);   // a folder or a named pipe is refused here
    if (fd < 0) picture_not_found(file, why.c_str());
    FILE *fp = fdopen(fd, "rb");
    if (!fp) {
        const int code = errno;
        close(fd);
        picture_not_found(file, std::strerror(code));
    }

    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.std);
    err.std.error_exit = jpeg_error_exit;
    err.std.emit_message = jpeg_emit_message;
    if (setjmp(err.escape)) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(fp);
        jpeg_fatal(file, err.message);
    }

    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, fp);
    jpeg_read_header(&cinfo, TRUE);
    // The header's size is a claim: check it before anything is allocated from it.
    if (cinfo.image_width > MAX_PICTURE_SIDE || cinfo.image_height > MAX_PICTURE_SIDE) {
        char text[160];
        std::snprintf(text, sizeof text, "%u x %u pixels, too large (at most %d x %d)", cinfo.image_width,
                      cinfo.image_height, MAX_PICTURE_SIDE, MAX_PICTURE_SIDE);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(fp);
        jpeg_fatal(file, text);
    }
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(fp);
        jpeg_fatal(file, "not a colour (RGB) JPEG");
    }

    const int w = int(cinfo.output_width), h = int(cinfo.output_height);
    const size_t row_bytes = size_t(w) * 3;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                JDIMENSION(row_bytes), 1);
    unsigned char *rgb = static_cast<unsigned char *>(std::malloc(row_bytes * h));
    if (!rgb) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(fp);
        jpeg_fatal(file, "out of memory");
    }
    for (int y = 0; cinfo.output_scanline < cinfo.output_height; y++) {
        jpeg_read_scanlines(&cinfo, row, 1);
        std::memcpy(rgb + row_bytes * y, row[0], row_bytes);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(fp);
    *width = w;
    *height = h;
    return rgb;
}

#endif

unsigned char *pad_image_rgba(const unsigned char *rgb, const unsigned char *alpha_rgb,
                              AlphaFunction alpha_fn, int w, int h, int W, int H) {
    unsigned char *rgba = static_cast<unsigned char *>(std::malloc(size_t(W) * H * 4));
    std::memset(rgba, 255, size_t(W) * H * 4);   // padding is opaque white
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const unsigned char *src = rgb + (size_t(y) * w + x) * 3;
            unsigned char *dst = rgba + (size_t(y) * W + x) * 4;
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            if (alpha_rgb)     dst[3] = alpha_rgb[(size_t(y) * w + x) * 3];
            else if (alpha_fn) dst[3] = alpha_fn(src[0], src[1], src[2]);
            else               dst[3] = 0;
        }
    }
    return rgba;
}

Texture *load_texture(const char *colour_file, const char *alpha_file, AlphaFunction alpha_fn,
                      float fx, float fy, float sz, TextureFlags flags) {
    unsigned char *alpha = nullptr;
    int w = 0, h = 0, alpha_w = 0, alpha_h = 0;
    if (alpha_file) alpha = load_jpeg(alpha_file, &alpha_w, &alpha_h);
    unsigned char *rgb = load_jpeg(colour_file, &w, &h);
    if (alpha && (alpha_w != w || alpha_h != h)) {   // the alpha picture is read pixel for pixel
        char text[2200];
        std::snprintf(text, sizeof text, "%s: %d x %d pixels, but its colour picture %s has %d x %d",
                      alpha_file, alpha_w, alpha_h, colour_file, w, h);
        fatal_error(text);
    }
    const int W = texture_side(w), H = texture_side(h);
    if (W == 0 || H == 0) {   // libjpeg stops at 65500 pixels, so this is only a safeguard
        char text[1100];
        std::snprintf(text, sizeof text, "%s: %d x %d pixels, too large for a texture", colour_file, w, h);
        fatal_error(text);
    }
    unsigned char *rgba = pad_image_rgba(rgb, alpha, alpha_fn, w, h, W, H);
    Texture *tex = make_texture_from_pixels(rgba, W, H, float(w) / W * fx, float(h) / H * fy, sz, flags);
    std::free(rgba);
    std::free(rgb);
    std::free(alpha);
    return tex;
}
