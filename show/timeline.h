// show/timeline.h - the show's script: chooses, composes and finishes the scenes by time.
#pragma once

void timeline();   // reads the pattern clock and draws the whole window picture
