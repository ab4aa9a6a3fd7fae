// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/waitscale.h"
#include <QtGlobal>

// A test program that talks to the in-process virtual radio calls this before its first
// transfer: every wait of the link and of the radio then runs KT520_TEST_WAIT_DIVISOR times
// shorter, a number the build chooses (smaller under the sanitizers, which slow the program but
// not the clock). The same variable in the environment overrides it, so that a test can be run
// at the real timing (1) to compare.
inline void useTestWaits() {
    bool ok = false;
    const int divisor = qEnvironmentVariableIntValue("KT520_TEST_WAIT_DIVISOR", &ok);
    WaitScale::setDivisor(ok ? divisor : KT520_TEST_WAIT_DIVISOR);
}

// The real timing for as long as it lives: for exchanges through a pseudo-terminal, where the
// kernel's own delays do not shrink with the waits.
class RealWaits {
public:
    RealWaits() { WaitScale::setDivisor(1); }
    ~RealWaits() { WaitScale::setDivisor(m_saved); }
    RealWaits(const RealWaits&) = delete;
    RealWaits& operator=(const RealWaits&) = delete;

private:
    int m_saved = WaitScale::divisor();
};
