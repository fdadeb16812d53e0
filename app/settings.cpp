// app/settings.cpp - the process-wide settings record.
#include "app/settings.h"

AppSettings app;

int next_power_of_two(int n) {
    int result = 0;
    for (int k = 0; k < 16; k++)
        if ((1 << k) < n && (1 << (k + 1)) >= n) result = 1 << (k + 1);
    return result;
}
