// show/timeline.h - the show's script: chooses, composes and finishes the scenes by time.
// Each frame is planned first (show/frame_plan.h: a list of scene and pass calls, a pure
// function of show time) and then drawn by making those calls in order.
#pragma once

void timeline();   // reads the pattern clock and band sums, draws the whole window picture
