// app/dialog.h - the start-up dialog: display mode (or the desktop's), full screen, loop,
// reduce flashing (under a one-line warning for photosensitive viewers); Run or Exit.
// run_settings_dialog shows it in a small window of its own (Enter runs, Esc and the close
// box exit), only on a real display; apply_dialog_controls is the plain mapping from its controls to the settings.
#pragma once
#include <string>

struct DialogControls {
    bool mode_640 = true;     // the three "Display mode" radio buttons
    bool mode_800 = false;
    bool mode_1024 = false;
    bool mode_desktop = false;   // "Desktop resolution": full screen without a mode change
    bool fullscreen = true;   // "Fullscreen"
    bool loop = false;        // "Loop"
    bool gentle = false;      // "Reduce flashing": off, the show as designed, unless --gentle
};

// The warning above the "Reduce flashing" choice (also in the README).
constexpr const char *PHOTOSENSITIVITY_WARNING =
    "Warning: this show flashes and flickers, which can trigger seizures in photosensitive "
    "viewers; tick \"Reduce flashing\" (orbplume --gentle) to watch it safely.";

void apply_dialog_controls(const DialogControls &controls);   // "Run": write app's settings
enum DialogOutcome { DIALOG_RAN, DIALOG_EXITED, DIALOG_FAILED };
// "Run" (settings written), "Exit", or no dialog at all (no display: why says so).
DialogOutcome run_settings_dialog(std::string &why);
