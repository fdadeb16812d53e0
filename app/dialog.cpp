// app/dialog.cpp - the start-up dialog in a small SDL window drawn with Dear ImGui.
#include "app/dialog.h"
#include "platform/settings.h"
#include "platform/window.h"     // Required for: init_display_video()
#include <SDL.h>
#include <GL/gl.h>
#include <cstring>
#include <imgui.h>
#include <backends/imgui_impl_sdl.h>
#include <backends/imgui_impl_opengl2.h>

void apply_dialog_controls(const DialogControls &c) {
    app.fullscreen = c.fullscreen;
    app.loop_music = c.loop;
    app.gentle = c.gentle;
    // Tested in this order, each overwriting the last: the last checked one wins.
    if (c.mode_640)  { app.window_width = 640;  app.window_height = 480; }
    if (c.mode_800)  { app.window_width = 800;  app.window_height = 600; }
    if (c.mode_1024) { app.window_width = 1024; app.window_height = 768; }
    // The desktop's own resolution is a way of filling the screen: it implies full screen.
    app.desktop = c.mode_desktop;
    if (c.mode_desktop) app.fullscreen = true;
}

enum DialogResult { DIALOG_OPEN, DIALOG_RUN, DIALOG_EXIT };
constexpr int DIALOG_WIDTH = 230, DIALOG_HEIGHT = 350;   // room for the warning, wrapped

static DialogResult draw_dialog(DialogControls &c) {
    DialogResult result = DIALOG_OPEN;
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
    ImGui::Begin("TRAM", nullptr, ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove);
    if (ImGui::BeginChild("mode", ImVec2(0, 134), true)) {
        ImGui::TextUnformatted("Display mode");
        int mode = c.mode_desktop ? 3 : c.mode_1024 ? 2 : c.mode_800 ? 1 : 0;
        ImGui::RadioButton("640x480", &mode, 0);
        ImGui::RadioButton("800x600", &mode, 1);
        ImGui::RadioButton("1024x768", &mode, 2);
        ImGui::RadioButton("Desktop resolution", &mode, 3);
        c.mode_640 = mode == 0;
        c.mode_800 = mode == 1;
        c.mode_1024 = mode == 2;
        c.mode_desktop = mode == 3;
    }
    ImGui::EndChild();
    ImGui::Checkbox("Fullscreen", &c.fullscreen);
    ImGui::Checkbox("Loop", &c.loop);
    ImGui::Checkbox("Reduce flashing", &c.gentle);
    ImGui::Spacing();
    ImGui::TextWrapped("%s", PHOTOSENSITIVITY_WARNING);
    ImGui::Spacing();
    if (ImGui::Button("Run", ImVec2(70, 0))) result = DIALOG_RUN;
    ImGui::SameLine();
    if (ImGui::Button("Exit", ImVec2(70, 0))) result = DIALOG_EXIT;
    ImGui::End();
    return result;
}

// Drivers that draw nowhere: a dialog there would wait for a click nobody can give.
static bool unseen_video_driver(const char *driver) {
    return driver && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy"));
}

DialogOutcome run_settings_dialog(std::string &why) {
    if (!init_display_video(why)) return DIALOG_FAILED;
    const char *driver = SDL_GetCurrentVideoDriver();
    if (unseen_video_driver(driver)) {
        why = std::string("the start-up dialog cannot be shown on SDL's \"") + driver +
              "\" video driver, which draws nowhere: run with --no-dialog (and --size, --windowed, --loop as wanted)";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return DIALOG_FAILED;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window *window = SDL_CreateWindow("TRAM", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          DIALOG_WIDTH, DIALOG_HEIGHT, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window) {
        why = std::string("dialog window: ") + SDL_GetError();
        return DIALOG_FAILED;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        why = std::string("dialog GL context: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        return DIALOG_FAILED;
    }
    SDL_GL_SetSwapInterval(1);
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;   // nothing written beside the program
    ImGui::StyleColorsDark();
    ImGui_ImplSDL2_InitForOpenGL(window, context);
    ImGui_ImplOpenGL2_Init();

    DialogControls controls;   // the defaults: 640x480, full screen, no loop, flashing as designed
    controls.gentle = app.gentle;   // unless --gentle asked otherwise
    DialogResult result = DIALOG_OPEN;
    while (result == DIALOG_OPEN) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            ImGui_ImplSDL2_ProcessEvent(&e);
            if (e.type == SDL_QUIT) result = DIALOG_EXIT;
            if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) result = DIALOG_EXIT;
            if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) result = DIALOG_EXIT;
            if (e.type == SDL_KEYDOWN && (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER))
                result = DIALOG_RUN;
        }
        if (result != DIALOG_OPEN) break;
        ImGui_ImplOpenGL2_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        result = draw_dialog(controls);
        ImGui::Render();
        int w, h;
        SDL_GL_GetDrawableSize(window, &w, &h);
        glViewport(0, 0, w, h);
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        SDL_GL_SwapWindow(window);
    }

    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    if (result == DIALOG_RUN) apply_dialog_controls(controls);
    return result == DIALOG_RUN ? DIALOG_RAN : DIALOG_EXITED;
}
