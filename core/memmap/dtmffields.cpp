// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/dtmffields.h"
#include "core/base/messages.h"
#include "core/codeplug/controlnames.h"
#include "core/memmap/tonecodec.h"

namespace {

constexpr int MaxDigits = 15;
const QString VoiceAnnounce = Ctl::CheckBox34;

bool isHexDigit(QChar c) {
    return (c >= QChar('0') && c <= QChar('9')) || (c >= QChar('A') && c <= QChar('F')) ||
           (c >= QChar('a') && c <= QChar('f'));
}

const DtmfCodeBlock* findBlock(quint16 address) {
    for (const DtmfCodeBlock& b : dtmfCodeBlocks())
        if (b.address == address) return &b;
    return nullptr;
}

bool rawFor(const ControlStore& func, const DtmfCodeBlock& b) {
    return b.pttId && func.checked(VoiceAnnounce);
}

} // namespace

std::optional<QByteArray> encodeDtmfField(const QString& text, bool raw) {
    if (text.size() > MaxDigits) return std::nullopt;
    std::optional<QString> nibbles;
    if (raw) {
        nibbles = text.toUpper();
        for (QChar c : *nibbles)
            if (!isHexDigit(c)) return std::nullopt;
    } else {
        nibbles = DTMFToHex(text, int(text.size()));
        if (!nibbles) return std::nullopt;
    }
    const QString hex =
        nibbles->leftJustified(MaxDigits, QChar('F')) + QString::number(text.size(), 16).toUpper();
    return QByteArray::fromHex(hex.toLatin1());
}

std::optional<QString> decodeDtmfField(const QByteArray& field, bool raw) {
    if (field.size() < BlockSize::DtmfField) return std::nullopt;
    const QString hex = QString::fromLatin1(field.left(BlockSize::DtmfField).toHex().toUpper());
    const int count = quint8(field.at(7)) & 0x0F;
    if (raw) return hex.left(count);
    return HexToDTMF(hex, count);
}

const QList<DtmfCodeBlock>& dtmfCodeBlocks() {
    static const QList<DtmfCodeBlock> blocks = {
        {Addr::IdAndStartCode, Ctl::Edit9, Ctl::Edit23, false},
        {Addr::StunAndKillCode, Ctl::Edit11, Ctl::Edit19, false},
        {Addr::PttIdCodes, Ctl::Edit7, Ctl::Edit8, true},
    };
    return blocks;
}

Encoded encodeDtmfCodeBlock(const ControlStore& func, quint16 address) {
    const DtmfCodeBlock* b = findBlock(address);
    if (!b) return Encoded::failed(BadField{QString::number(address, 16), -1, -1, Str::BadDtmf});
    QByteArray out;
    for (const char* edit : {b->first, b->second}) {
        const QString name = QString::fromLatin1(edit);
        const auto field = encodeDtmfField(func.text(name), rawFor(func, *b));
        if (!field) return Encoded::failed(BadField{name, -1, -1, Str::BadDtmf});
        out += *field;
    }
    return Encoded::of(out);
}

void decodeDtmfCodeBlock(const QByteArray& block, ControlStore& func, quint16 address) {
    const DtmfCodeBlock* b = findBlock(address);
    if (!b) return;
    const bool raw = rawFor(func, *b);
    for (int half = 0; half < 2; ++half) {
        const QString edit = QString::fromLatin1(half == 0 ? b->first : b->second);
        const auto code = decodeDtmfField(block.mid(half * BlockSize::DtmfField, BlockSize::DtmfField), raw);
        // Taken as the radio holds it, even where the edit's keys could not type it (letters A-D,
        // or a never-written radio's FF as fifteen "C"): a write then gives back the same bytes.
        if (code) func.setText(edit, *code);
    }
}

Encoded encodeCallListBlock(const ControlStore& func, int block) {
    QByteArray out;
    for (int row : {2 * block + 1, 2 * block + 2}) {
        const auto field = encodeDtmfField(func.cell(Ctl::CallList, 1, row));
        if (!field) return Encoded::failed(BadField{Ctl::CallList, 1, row, Str::BadDtmf});
        out += *field;
    }
    return Encoded::of(out);
}

void decodeCallListBlock(const QByteArray& bytes, ControlStore& func, int block) {
    for (int half = 0; half < 2; ++half)
        if (const auto code = decodeDtmfField(bytes.mid(half * BlockSize::DtmfField, BlockSize::DtmfField)))
            func.setCell(Ctl::CallList, 1, 2 * block + 1 + half, *code);
}
