// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one factor that shortens every wait of the link, so that the test programs can run each
// retry pattern and each time-out without sitting through the radio's real timing. The waits
// of the transfer procedures, the port reset, the settling after a bad reply and the repeat
// bound are all divided by it, and so are the reply times of the in-process virtual radio:
// what times out at full length still times out, what arrives in time still does.
//
// The program itself never sets it: no option, setting or environment variable of the program
// reaches it, only a test program's own code calls setDivisor(). At 1, the default, every wait
// is exactly the one asked for.
namespace WaitScale {
int divisor();
// Values below 1 count as 1.
void setDivisor(int divisor);
// `ms` divided by the divisor, rounded up so that a wait asked for is never skipped.
int scaled(int ms);
} // namespace WaitScale
