// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <optional>
class Session;

// Band texts are "400-470MHz": characters 1-3 the lower, 5-7 the upper limit in whole MHz.
struct BandLimits {
    int lower = 0;
    int upper = 0;
};
// Empty when the text is not of the form "ddd-dddMHz": such a band holds no frequency.
[[nodiscard]] std::optional<BandLimits> bandLimits(const QString& bandText);

// The identification block of a model as 16 hex digits; empty for an unknown index.
QString modelIdentHex(int modelIndex);

// ChangeModel: identification, the two model lists of the optional functions (keeping their
// selection), the language applied again, the main window caption (returned).
QString changeModel(Session& session);

// NewDocument after the user has confirmed: empty tables, optional functions, call list and FM
// list reset to the new-document values, then the model change. Returns the new caption.
QString newDocument(Session& session);
