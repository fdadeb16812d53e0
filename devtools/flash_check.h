// devtools/flash_check.h - --flash-check: the show rendered offline, frame by frame, and
// every frame measured against the flash rule (post/flash_rule.h), general and red flashes
// apart. It prints, per section, the worst second and how long the flashing is too fast;
// then each stretch that fails, in show time and in seconds. By default the whole show at
// 60 frames per second and 384x288; --gentle checks the show with reduced flashing.
#pragma once
#include "platform/options.h"   // Options
#include "post/flash_rule.h"    // FlashCount
#include <string>
#include <vector>

// Exit statuses: 0 no second fails, 1 some second fails (or a fatal error), 2 bad arguments.
constexpr int FLASH_CHECK_PASSES = 0, FLASH_CHECK_FAILS = 1;

// One checked frame: when it was, where in the show, and the swings of the second up to it.
struct CheckedFrame {
    double     seconds;    // show time in seconds
    int        section;    // ShowSection of the frame
    FlashCount count;      // the screen's swings in the second ending with this frame
};

int         run_flash_check(const Options &opts);   // renders, measures, reports; status as above
// The report of frames checked at fps frames per second (their sections named by section_names).
std::string flash_report(const std::vector<CheckedFrame> &frames, int fps, const char *const *section_names,
                         int sections);
