// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/waitscale.h"
#include <algorithm>

namespace {
// Only the user-interface thread waits on the link, so a plain value is enough.
int g_divisor = 1;
} // namespace

int WaitScale::divisor() {
    return g_divisor;
}

void WaitScale::setDivisor(int divisor) {
    g_divisor = std::max(divisor, 1);
}

int WaitScale::scaled(int ms) {
    if (ms <= 0 || g_divisor == 1) return ms;
    return (ms + g_divisor - 1) / g_divisor;
}
