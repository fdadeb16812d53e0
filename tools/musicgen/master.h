// tools/musicgen/master.h - the send effects and the master chain that turn the buses into
// the final stereo PCM: ping-pong delay, reverb, DC blocking, fades, the silent frame before
// the last drop, and a lookahead limiter that keeps every sample under the ceiling.
#pragma once
#include <cstddef>
#include <vector>

constexpr float MASTER_CEILING = 0.64f;   // -3.9 dBFS before encoding: the codec adds up to 3 dB
constexpr float MASTER_GAIN    = 0.7f;    // brings the whole show to about -14 LUFS

struct GainPoint { long frame; float gain; };      // master automation, linear between points

void run_sends();                                   // delay, then reverb, mixed into the dry bus
void run_master(const std::vector<GainPoint> &automation, float gain);   // in place on mix.l/r
void limit(std::vector<float> &l, std::vector<float> &r, float ceiling); // lookahead peak limiter
