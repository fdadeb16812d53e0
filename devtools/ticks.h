// devtools/ticks.h - beat ticks tapped with Space while the music plays.
// A tick is the show time in 1/64 pattern (a quarter beat), truncated. On Esc, and at the
// end of the show however it ends (the music's end, the window closed), the ticks are written to "ticks.inc" in the current directory as an integer table ready to paste
// into a source file, one " 64*pattern + sixty-fourth," line per tick in tapping order.
#pragma once

constexpr int TICK_CAPACITY = 1024;   // taps beyond this are ignored
constexpr const char *TICK_FILE = "ticks.inc";

struct TickTable {
    int ticks[TICK_CAPACITY];   // trunc(show time x 64), in recording order
    int count;                  // entries used
    int saved;                  // entries in the last write (or attempt) of TICK_FILE
};
extern TickTable tick_table;   // written by the Space key, cleared only by a new process

bool record_tick(float show_time);   // appends trunc(show_time x 64); false when the table is full
bool write_tick_table();             // writes TICK_FILE from tick_table; false (and a warning) if it cannot
void save_recorded_ticks();          // at shutdown: writes TICK_FILE if taps came since the last write
