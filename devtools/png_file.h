// devtools/png_file.h - RGB pictures to PNG files, for the developer tools that save pages.
// The file appears whole or not at all: the data goes to "<path>.tmp", which is renamed
// over the final name only after libpng has finished without error.
#pragma once
#include <string>

// Writes width x height packed RGB bytes (rows top first, or bottom first as glReadPixels
// returns them when bottom_up is set). Returns false and fills error on any failure.
bool write_png_file(const char *path, const unsigned char *rgb, int width, int height,
                    bool bottom_up, std::string &error);
