// devtools/png_file.cpp - one RGB picture to a PNG file through libpng's simplified API.
// Pictures come from glReadPixels, bottom row first; the file gets them top row first.
#include "devtools/offline.h"
#include <png.h>
#include <cstring>

bool write_png_file(const char *path, const unsigned char *rgb, int w, int h) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = unsigned(w);
    image.height = unsigned(h);
    image.format = PNG_FORMAT_RGB;
    // A negative stride walks the rows from the last one: the picture comes out upright.
    const bool ok = png_image_write_to_file(&image, path, 0, rgb, -w * 3, nullptr) != 0;
    png_image_free(&image);
    return ok;
}
