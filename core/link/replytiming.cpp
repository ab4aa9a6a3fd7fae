// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/replytiming.h"
#include <algorithm>

qint64 ReplyTiming::lineNanos(int bytes) {
    constexpr qint64 BitsPerByte = 10;
    constexpr qint64 Baud = 9600;
    return qint64(bytes) * BitsPerByte * 1'000'000'000 / Baud;
}

bool ReplyTiming::add(qint64 elapsedNs, int requestBytes, int replyBytes) {
    if (complete()) return false;
    m_excessMs.append(double(elapsedNs - lineNanos(requestBytes + replyBytes)) / 1e6);
    return complete();
}

double ReplyTiming::medianExcessMs() const {
    if (m_excessMs.isEmpty()) return 0;
    QList<double> sorted = m_excessMs;
    std::sort(sorted.begin(), sorted.end());
    const qsizetype mid = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}
