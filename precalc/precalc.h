// precalc/precalc.h - builds every texture and mesh behind the loading screen.
#pragma once

void precalc();   // runs once before the music starts; GL context current
