// tools/musicgen/instruments.h - the pitched voices. Pitches are MIDI note numbers
// (F1 = 29, the tonic); lengths are in frames; vel 1 is the voice's normal level.
#pragma once

struct Chord { int n; int notes[5]; };   // up to five MIDI notes, lowest first

void bass(long s0, long len, int midi, float vel, float cutoff);   // sub sine + enveloped saw, mono, ducked
void pad(long s0, long len, const Chord &c, float vel, float cut0, float cut1,
         float attack, float release, float duck_depth);           // 3 saws a note, filter cut0 -> cut1
void stab(long s0, const Chord &c, float vel, float cutoff, float decay);   // bright saw chord accent
void lead(long s0, long len, int midi, float vel, float bright);  // saw + pulse with a delay send
void pluck(long s0, int midi, float vel, float pan, float bright); // short filtered saw for arps
void bell(long s0, int midi, float vel, float ratio, float index, float decay);  // two-operator FM
