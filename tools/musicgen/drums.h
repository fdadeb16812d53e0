// tools/musicgen/drums.h - the drum kit. Every hit renders straight into the mix buses at a
// frame position; vel scales it (1 = the kit's normal level). Noise voices take a seed so
// the same hit always sounds the same.
#pragma once

void kick(long s0, float vel);                          // F-tuned sine drop 160->44 Hz, click, drive
void snare(long s0, float vel);                         // 200 Hz body, band-passed crack, noise tail
void clap(long s0, float vel);                          // three bursts 10 ms apart, 1-4 kHz, tail
void hat(long s0, float vel, float pan, long len);      // metallic noise; len ~ 40 ms closed, 250 ms open
void crash(long s0, float vel, float seconds);          // wide cymbal wash, e-fold decay `seconds`
void reverse_crash(long end, float vel, float seconds); // a crash played backwards, ending on `end`
