// devtools/offline_job.h - what every offline tool (rendering, the benchmark, the contact
// sheet, the script's text form, video export) shares about failing and being stopped.
// Unlike the show, which ends with status 0 whatever happens, an offline job tells its
// caller: a fatal error (a missing picture, no GL context) exits with OFFLINE_FATAL_STATUS,
// and Ctrl-C, SIGTERM or SIGHUP (the terminal closed) stops the job at the next frame or page, closes the window and ends
// the process by that same signal. Neither leaves a half-written output file behind: the
// file being written is named with offline_job_partial_file and removed on the way out.
// With no display at all, the hidden window uses SDL's offscreen video driver.
#pragma once
#include <string>

constexpr int OFFLINE_FATAL_STATUS = 1;   // exit status of an offline job's fatal error

void begin_offline_job();                 // before SDL starts: signals, fatal status, video driver
bool offline_job_interrupted();           // a SIGINT, SIGTERM or SIGHUP has arrived since begin_offline_job
void offline_job_partial_file(const std::string &path);   // output being written; "" once complete
[[noreturn]] void end_interrupted_offline_job();           // removes the partial file, dies by the signal
int  finish_offline_job(int status);      // flushes stdout; status, or 1 if that output was lost
