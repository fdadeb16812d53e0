// devtools/ticks.cpp - the tick table and its "ticks.inc" writer.
#include "devtools/ticks.h"
#include <cerrno>
#include <cstdio>
#include <cstring>

TickTable tick_table = {};

bool record_tick(float show_time) {
    if (tick_table.count >= TICK_CAPACITY) return false;
    tick_table.ticks[tick_table.count++] = int(show_time * 64.0f);
    return true;
}

bool write_tick_table() {
    tick_table.saved = tick_table.count;
    std::FILE *out = std::fopen(TICK_FILE, "w");
    if (!out) {
        std::fprintf(stderr, "TICKS: cannot write %s: %s\n", TICK_FILE, std::strerror(errno));
        return false;
    }
    std::fprintf(out, "static int ticktable[]={\n");
    for (int i = 0; i < tick_table.count; i++) {
        const int tick = tick_table.ticks[i];
        std::fprintf(out, " 64*%i + %i,\n", tick >> 6, tick % 64);
    }
    std::fprintf(out, "};\n");
    const bool ok = std::fclose(out) == 0;
    if (!ok) std::fprintf(stderr, "TICKS: cannot finish %s\n", TICK_FILE);
    else std::fprintf(stderr, "TICKS: %d written to %s\n", tick_table.count, TICK_FILE);
    return ok;
}

void save_recorded_ticks() {
    if (tick_table.count > 0 && tick_table.count != tick_table.saved) write_tick_table();
}
