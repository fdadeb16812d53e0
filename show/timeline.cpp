// show/timeline.cpp - placeholder until the timeline lands: a black frame.
#include "show/timeline.h"
#include <GL/gl.h>

void timeline() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
