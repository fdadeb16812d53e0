// tools/contentgen/textures.h - the show's 28 JPEG pictures (chrome sphere maps, tiles,
// sprites, text pictures), written with libjpeg in the precalc's load order.
#pragma once

#include <string>
#include <vector>

extern const std::vector<std::string> texture_files;    // "loading.jpg", ... in load order

// Writes every picture (or only `only`, when given) into `dir`; throws naming the file on failure.
void write_textures(const std::string &dir, const char *only);
// Writes the desktop icon (size x size RGBA PNG) to `path`; throws on failure.
void write_icon(const std::string &path, int size);
