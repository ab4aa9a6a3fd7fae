// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary image bytes to the memory-map decoders. The input is a run of records, each
// one selector byte naming a block (a channel record or name, a settings block, the FM list, a
// DTMF field ...) and the block's bytes. The named blocks are decoded in the read's order into
// a fresh session; beyond "no crash", whatever they decode to and the write can encode must,
// written into the image and read again, give the same document: a radio read and written back
// is unchanged.
#include "core/memmap/channelrecord.h"
#include "core/memmap/dtmffields.h"
#include "core/memmap/memorymap.h"
#include "core/memmap/radioblocks.h"
#include "core/memmap/settingsblocks.h"
#include "fuzz/fuzzsession.h"
#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {
// The table rows whose blocks the input can name: the VFO rows, the first and the last channel.
constexpr std::initializer_list<int> Rows = {1, 2, 3, 4, ChannelTable::LastRow};

struct Block {
    quint16 readAddress;
    int readSize;
    std::function<void(const QByteArray&, Session&)> decode;
    quint16 writeAddress;
    std::function<Encoded(const Session&)> encode;
};

// The blocks in the order the read takes them: the records and names of a few table rows, then
// the settings, dates, squelch base, band two, FM list, DTMF fields, power-on message and the
// call list.
std::vector<Block> blocks() {
    std::vector<Block> out;
    for (int row : Rows)
        for (Side side : {Side::B, Side::A}) {
            out.push_back(
                {channelRecordAddress(side, row), BlockSize::Record,
                 [=](const QByteArray& b, Session& s) {
                     // a refused record leaves the row as it was, which the round trip then checks
                     (void)decodeChannelRecord(b, s.doc.table(side), row, s.doc.words);
                 },
                 channelRecordAddress(side, row),
                 [=](const Session& s) { return encodeChannelRecord(s.doc.table(side), row, s.doc.words); }});
            out.push_back(
                {channelNameAddress(side, row), BlockSize::Name,
                 [=](const QByteArray& b, Session& s) { (void)decodeChannelName(b, s.doc.table(side), row); },
                 channelNameAddress(side, row),
                 [=](const Session& s) { return encodeChannelName(s.doc.table(side), row); }});
        }
    out.push_back(
        {Addr::Settings1, BlockSize::Settings,
         [](const QByteArray& b, Session& s) { decodeSettingsBlock1(b, s.doc); }, Addr::Settings1,
         [](const Session& s) { return Encoded::of(encodeSettingsBlock1(s.doc, firstNumbers(s.doc))); }});
    out.push_back({Addr::Settings2, BlockSize::Settings,
                   [](const QByteArray& b, Session& s) { decodeSettingsBlock2(b, s.doc); }, Addr::Settings2,
                   [](const Session& s) { return Encoded::of(encodeSettingsBlock2(s.doc)); }});
    out.push_back({Addr::Dates, BlockSize::DatesRead,
                   [](const QByteArray& b, Session& s) { decodeDates(b, s.doc.func); }, Addr::Dates,
                   [](const Session& s) { return encodeDates(s.doc.func); }});
    out.push_back({Addr::SquelchBlock, BlockSize::Block,
                   [](const QByteArray& b, Session& s) { decodeSquelchBase(b, s.doc.func); },
                   Addr::SquelchBase,
                   [](const Session& s) { return Encoded::of(encodeSquelchBase(s.doc.func)); }});
    out.push_back({Addr::BandTwo, BlockSize::BandTwo,
                   [](const QByteArray& b, Session& s) { decodeBandTwo(b, s.doc.func); }, Addr::BandTwo,
                   [](const Session& s) { return encodeBandTwo(s.doc.func); }});
    for (int k = 0; k < FmBlockCount; ++k)
        out.push_back({fmBlockAddress(k), BlockSize::Block,
                       [=](const QByteArray& b, Session& s) { decodeFmBlock(b, s.doc.func, k); },
                       fmBlockAddress(k), [=](const Session& s) { return encodeFmBlock(s.doc.func, k); }});
    for (quint16 address : {Addr::PttIdCodes, Addr::IdAndStartCode})
        out.push_back({address, BlockSize::Block,
                       [=](const QByteArray& b, Session& s) { decodeDtmfCodeBlock(b, s.doc.func, address); },
                       address, [=](const Session& s) { return encodeDtmfCodeBlock(s.doc.func, address); }});
    out.push_back({Addr::PowerOnMessage, BlockSize::PowerOnMessage,
                   [](const QByteArray& b, Session& s) { decodePowerOnMessage(b, s.doc.func); },
                   Addr::PowerOnMessage, [](const Session& s) { return encodePowerOnMessage(s.doc.func); }});
    out.push_back(
        {Addr::StunAndKillCode, BlockSize::Block,
         [](const QByteArray& b, Session& s) { decodeDtmfCodeBlock(b, s.doc.func, Addr::StunAndKillCode); },
         Addr::StunAndKillCode,
         [](const Session& s) { return encodeDtmfCodeBlock(s.doc.func, Addr::StunAndKillCode); }});
    for (int k = 0; k < CallListBlockCount; ++k)
        out.push_back({callListBlockAddress(k), BlockSize::Block,
                       [=](const QByteArray& b, Session& s) { decodeCallListBlock(b, s.doc.func, k); },
                       callListBlockAddress(k),
                       [=](const Session& s) { return encodeCallListBlock(s.doc.func, k); }});
    return out;
}

constexpr int MemorySize = 0x2000;
constexpr int RecordBytes = 1 + 16; // selector, block bytes

// What a read may bring that no write can carry, by the record's layout: byte 11 hi holds the top
// digit of the CTCSS frequency (column 18) only beside a CTCSS TX tone, so beside no tone or a
// DCS code the frequency read is not written back.
void forgetWhatNoWriteCarries(Session& s) {
    for (Side side : {Side::A, Side::B}) {
        ChannelTable& table = s.doc.table(side);
        for (int row : Rows) {
            const QString tone = table.cell(Col::TxTone, row);
            if (toneIsOff(tone, s.doc.words) || !tone.at(0).isDigit()) table.setCell(Col::CtcssFreq, row, {});
        }
    }
}

void decodeNamed(const std::vector<Block>& all, const std::vector<bool>& named, const QByteArray& image,
                 Session& s) {
    for (size_t i = 0; i < all.size(); ++i)
        if (named[i]) all[i].decode(image.mid(all[i].readAddress, all[i].readSize), s);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<Block> all = blocks();
    QByteArray image(MemorySize, char(0xFF));
    std::vector<bool> named(all.size(), false);
    for (size_t at = 0; at + RecordBytes <= size; at += RecordBytes) {
        const size_t index = data[at] % all.size();
        named[index] = true;
        image.replace(all[index].readAddress, all[index].readSize,
                      QByteArray(reinterpret_cast<const char*>(data + at + 1), all[index].readSize));
    }
    auto read = startedSession();
    decodeNamed(all, named, image, *read);

    QByteArray written = image;
    for (size_t i = 0; i < all.size(); ++i) {
        if (!named[i]) continue;
        const Encoded encoded = all[i].encode(*read);
        if (!encoded.ok()) return 0; // a value the write refuses; the validation names it
        written.replace(all[i].writeAddress, encoded.bytes.size(), encoded.bytes);
    }
    auto again = startedSession();
    decodeNamed(all, named, written, *again);
    forgetWhatNoWriteCarries(*read);
    if (const QString difference = documentDifference(*read, *again, Rows); !difference.isEmpty())
        finding(QStringLiteral("read, written and read again: ") + difference);
    return 0;
}
