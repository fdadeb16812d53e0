// precalc/precalc.cpp - placeholder until the toolkit and content land.
#include "precalc/precalc.h"

void precalc() {}
