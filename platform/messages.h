// platform/messages.h - the two message paths every subsystem uses.
// Both show a message box captioned with the show's title and echo the text to stderr;
// in unattended runs (tests, CI, scripts) only stderr is used and nothing waits.
#pragma once

constexpr const char *SHOW_TITLE = "V-LUX 2004: Orb Plume";

[[noreturn]] void fatal_error(const char *text);   // error box, window torn down, SDL shut, exit(0)
void warn(const char *text);                       // warning box, then returns
void set_fatal_cleanup(void (*cleanup)());         // run by fatal_error before it exits (null: none)
