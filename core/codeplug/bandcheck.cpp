// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/bandcheck.h"
#include "core/base/numbers.h"
#include "core/codeplug/codeplug.h"
#include "core/codeplug/model.h"

std::optional<QString> vfoBandTarget(const Codeplug& doc, Side side, int row, QChar point) {
    // Entry 0, 1 and 2 of the band-one list are the bands of VFO rows 1, 2 and 3.
    const QStringList bands = doc.main.has(MainCtl::Band1) ? doc.main.items(MainCtl::Band1) : QStringList();
    if (row < 1 || row > bands.size()) return std::nullopt;
    const std::optional<BandLimits> band = bandLimits(bands.at(row - 1));
    if (!band) return std::nullopt; // a band text that names no band holds nothing to move into
    const QString text = doc.table(side).cell(Col::RxFreq, row);
    if (!text.isEmpty()) {
        // The upper limit itself already belongs to the next band up.
        const std::optional<double> f = parseDecimal(text, point);
        if (f && *f >= band->lower && *f < band->upper) return std::nullopt;
    }
    return QString::number(band->lower);
}
