// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the alignment file reader (*.m17) and, as 16-byte blocks, to the
// alignment block decoder. Beyond "no crash": a file that opens, saved and opened again, gives
// the same fields; a refused file changes no field; blocks decoded from the radio and written
// back (where every field fits) give the same bytes.
#include "core/memmap/alignmentblocks.h"
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    AlignmentData opened;
    const QByteArray fresh = saveAlignmentFile(opened);
    if (openAlignmentFile(opened, bytes)) {
        check(saveAlignmentFile(opened) == fresh);
    } else {
        AlignmentData again;
        check(!openAlignmentFile(again, saveAlignmentFile(opened)));
        check(saveAlignmentFile(again) == saveAlignmentFile(opened));
    }

    // The first 48 bytes as the three blocks the radio sends.
    const quint16 addresses[] = {AlignAddr::Power, AlignAddr::Levels, AlignAddr::Timings};
    AlignmentData read;
    for (int k = 0; k < 3 && bytes.size() >= 16 * (k + 1); ++k) {
        const QString hex = QString::fromLatin1(bytes.mid(16 * k, 16).toHex().toUpper());
        decodeAlignBlock(read, addresses[k], hex);
        if (!read.problems().isEmpty()) continue;
        // Byte 0 of 0x01A0 is the power class, which only 41 and 42 name: compared from byte 1 on.
        const int from = k == 0 ? 2 : 0;
        const QString written = alignBlockHex(read, addresses[k]).toUpper().mid(from);
        const QString expected = hex.mid(from);
        check(written == expected);
    }
    return 0;
}
