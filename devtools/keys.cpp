// devtools/keys.cpp - the show window's events. Esc and closing the window end the show.
#include "devtools/keys.h"
#include "app/settings.h"

void handle_show_event(const SDL_Event &e) {
    if (e.type == SDL_QUIT) app.quit_requests++;
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) app.quit_requests++;
}
