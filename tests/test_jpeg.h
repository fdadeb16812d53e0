// tests/test_jpeg.h - writes small JPEG files for the texture and precalc tests, so they
// do not depend on the generated show data.
#pragma once
#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <vector>

// Writes a w x h JPEG (3 components RGB, or 1 greyscale) at high quality; pixel(x, y, rgb)
// fills one pixel, y counting from the top scanline.
inline bool write_test_jpeg(const char *path, int w, int h, int components,
                            const std::function<void(int, int, unsigned char *)> &pixel) {
    FILE *fp = std::fopen(path, "wb");
    if (!fp) return false;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, fp);
    c.image_width = w;
    c.image_height = h;
    c.input_components = components;
    c.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(w) * components);
    while (c.next_scanline < c.image_height) {
        unsigned char rgb[3];
        for (int x = 0; x < w; x++) {
            pixel(x, int(c.next_scanline), rgb);
            for (int k = 0; k < components; k++) row[size_t(x) * components + k] = rgb[k];
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(fp);
    return true;
}
