// app/main_loop.h - start-up in its fixed order, the per-frame loop and shutdown.
#pragma once
#include "platform/options.h"

int run_show(const Options &opts);   // dialog .. shutdown; always returns 0
