// devtools/png_file.cpp - the PNG writer behind the contact sheet (libpng, 8-bit RGB).
#include "devtools/png_file.h"
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Called by libpng on a fatal error: keep the message, then leave through setjmp.
// A failed write (a full disk) also gives the system's reason.
static void png_error_exit(png_structp png, png_const_charp message) {
    const int code = errno;
    std::string *error = static_cast<std::string *>(png_get_error_ptr(png));
    *error = message;
    if (code) *error += std::string(": ") + std::strerror(code);
    png_longjmp(png, 1);
}

static void png_warning_ignore(png_structp, png_const_charp) {}

// The libpng part; false leaves the reason in error. Kept apart from write_png_file so
// that nothing with a destructor lives across the setjmp.
static bool encode_png(FILE *fp, png_bytep *rows, int width, int height, std::string &error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, png_error_exit,
                                              png_warning_ignore);
    if (!png) {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        if (error.empty()) error = "out of memory";
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
bool write_png_file(const char *path, const unsigned char *rgb, int width, int height,
                    bool bottom_up, std::string &error) {
    error.clear();
    const std::string temp = std::string(path) + ".tmp";
    FILE *fp = std::fopen(temp.c_str(), "wb");
    if (!fp) {
        error = temp + ": " + std::strerror(errno);
        return false;
    }

    std::vector<png_bytep> rows(static_cast<size_t>(height));
    const size_t row_bytes = size_t(width) * 3;
    for (int y = 0; y < height; y++) {
        const int source = bottom_up ? height - 1 - y : y;
        rows[size_t(y)] = const_cast<png_bytep>(rgb + row_bytes * size_t(source));
    }

    errno = 0;   // so that a library error can tell whether the system gave a reason
    bool ok = encode_png(fp, rows.data(), width, height, error);
    if (std::fclose(fp) != 0 && ok) {
        error = temp + ": " + std::strerror(errno);
        ok = false;
    }
    if (ok && std::rename(temp.c_str(), path) != 0) {
        error = std::string(path) + ": " + std::strerror(errno);
        ok = false;
    }
    if (!ok) std::remove(temp.c_str());
    return ok;
}
