// platform/settings.cpp - the process-wide settings record and the picture's place in the window.
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>
#include <cstdint>

AppSettings app;

int next_power_of_two(int n) {
    int result = 0;
    for (int k = 0; k < 16; k++)
        if ((1 << k) < n && (1 << (k + 1)) >= n) result = 1 << (k + 1);
    return result;
}

PictureArea fit_picture_area(int w, int h) {
    if (w <= 0 || h <= 0) return { 0, 0, 0, 0 };
    if (int64_t(w) * 3 > int64_t(h) * 4) {   // wider than 4:3: bars left and right
        const int pw = int(std::lround(h * 4.0 / 3.0));
        return { (w - pw) / 2, 0, pw, h };
    }
    const int ph = int(std::lround(w * 3.0 / 4.0));   // narrower: bars above and below
    return { 0, (h - ph) / 2, w, ph };
}

void set_picture_area(int drawable_w, int drawable_h) {
    const PictureArea a = fit_picture_area(drawable_w, drawable_h);
    app.drawable_width = drawable_w;
    app.drawable_height = drawable_h;
    app.picture_x = a.x;
    app.picture_y = a.y;
    app.window_width = a.width;
    app.window_height = a.height;
}

void set_picture_viewport() {
    glViewport(app.picture_x, app.picture_y, app.window_width, app.window_height);
}

// The offscreen passes draw into the window's lower-left corner, which may lie in a bar:
// the bars are wiped after the frame, just before it is shown or read.
void clear_picture_bars() {
    const int W = app.drawable_width, H = app.drawable_height;
    const int x0 = app.picture_x, y0 = app.picture_y;
    const int x1 = x0 + app.window_width, y1 = y0 + app.window_height;
    if (x0 <= 0 && y0 <= 0 && x1 >= W && y1 >= H) return;
    const int bars[4][4] = { { 0, 0, x0, H }, { x1, 0, W - x1, H }, { 0, 0, W, y0 }, { 0, y1, W, H - y1 } };
    glPushAttrib(GL_SCISSOR_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 0);
    for (const auto &b : bars) {
        if (b[2] <= 0 || b[3] <= 0) continue;
        glScissor(b[0], b[1], b[2], b[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glPopAttrib();
}
