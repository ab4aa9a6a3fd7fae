// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the document reader. Beyond "no crash, no sanitizer report", whatever
// an accepted file leaves in the session must save as a document that reads back to itself,
// every line of it applied.
#include "core/codeplug/document.h"
#include "core/codeplug/validation.h"
#include "fuzz/fuzzsession.h"
#include <QByteArray>
#include <QSet>
#include <cstdint>
#include <cstdlib>

namespace {
// Documents already validated and shown to read back to themselves, by documentKey. Many inputs
// differ only in what the reader ignores (the item text after a list index, a caption after a
// flag) and leave the same document; checking it again would prove nothing new, so skipping a
// repeat loses no finding.
QSet<size_t> checked;
constexpr qsizetype MaxRemembered = 1 << 20;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    auto s = startedSession();
    const OpenResult result = openDocument(*s, bytes);
    if (!result.accepted()) return 0;
    const size_t key = documentKey(*s);
    if (checked.contains(key)) return 0;
    // What it finds is the user's business; here it need only not crash.
    (void)validateDocument(*s);
    const QByteArray saved = saveDocument(*s);
    if (const QString problem = roundTripProblem(saved); !problem.isEmpty()) finding(problem);
    if (checked.size() >= MaxRemembered) checked.clear();
    checked.insert(key);
    return 0;
}
