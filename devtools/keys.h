// devtools/keys.h - the show window's event handling: Esc, close, and the developer keys.
#pragma once
#include <SDL.h>

void handle_show_event(const SDL_Event &event);   // one event from the main loop's queue
