// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <QString>
#include <optional>
class Codeplug;

// The write's band check of one VFO row (1-3) of a table: the RX frequency text it puts into the
// row before the row is committed — the lower limit of the row's band-one entry — or nothing
// when the row's frequency already lies inside that band or the entry names no band.
[[nodiscard]] std::optional<QString> vfoBandTarget(const Codeplug& doc, Side side, int row, QChar point);
