// tools/musicgen/encode.h - Ogg Vorbis encoding of the finished master, byte-for-byte
// repeatable: fixed stream serial, fixed comments, written to a temporary file and renamed.
#pragma once

bool write_ogg(const char *path, const float *l, const float *r, long frames);   // false on I/O error
