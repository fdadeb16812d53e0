// audio/sound_errors.cpp - the player's error texts, indexed by error code. The wording is
// the show's own, rough edges and the trailing blank of code 12 included.
#include "audio/sound_player.h"

static const char *const SOUND_ERROR_TEXTS[] = {
    "No errors",
    "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
    "This command failed because FSOUND_Init was not called",
    "Error initializing output device.",
    "The output device is already in use and cannot be reused.",
    "Playing the sound failed.",
    "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
    "Error setting cooperative level for hardware.",
    "Error creating hardware sound buffer.",
    "File not found",
    "Unknown file format",
    "Error loading file",
    "Not enough memory ",
    "The version number of this file format is not supported",
    "An invalid parameter was passed to this function",
    "Tried to use an EAX command on a non EAX enabled channel or output.",
    "Failed to allocate a new channel",
    "Recording not supported on this device",
    "Required Mediaplayer codec is not installed",
};
constexpr int SOUND_ERROR_COUNT = int(sizeof SOUND_ERROR_TEXTS / sizeof SOUND_ERROR_TEXTS[0]);

const char *sound_error_text(int code) {
    if (code < 0 || code >= SOUND_ERROR_COUNT) return "Unknown error";
    return SOUND_ERROR_TEXTS[code];
}
