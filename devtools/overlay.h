// devtools/overlay.h - the developer statistics overlay.
#pragma once

void draw_overlay(float time);   // time = show time minus 2 patterns
