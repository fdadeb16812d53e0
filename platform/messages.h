// platform/messages.h - the two message paths every subsystem uses.
// Both show a message box captioned with the show's title and echo the text to stderr;
// in unattended runs (tests, CI, scripts) only stderr is used and nothing waits.
// A box text is short and fixed; where the cause is known (the file, the driver, the
// system's reason), fatal_error_because adds it as one more stderr line, never to the box.
#pragma once

constexpr const char *SHOW_TITLE = "V-LUX 2004: Orb Plume";

// How a fatal error ends the process. The show ends with status 0; the offline tools ask for
// a failing status and a clean-up (removing a half-written output) through set_fatal_exit.
using FatalCleanup = void (*)();
void set_fatal_exit(int status, FatalCleanup cleanup);

[[noreturn]] void fatal_error(const char *text);   // error box, window torn down, SDL shut, exit
[[noreturn]] void fatal_error_because(const char *text, const char *reason);   // same, reason on stderr
void warn(const char *text);                       // warning box, then returns
