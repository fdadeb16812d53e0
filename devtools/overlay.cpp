// devtools/overlay.cpp - placeholder until the developer tools land.
#include "devtools/overlay.h"

void draw_overlay(float) {}
