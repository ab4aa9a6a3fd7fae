// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the radio's replies to the write procedure, through the real link with and without the
// single-port echo; the input is read as for the read procedure (fuzz_read.cpp). Beyond "no
// crash": the end frame goes out whatever happened unless the line broke, a failure has its
// message, and the count of blocks the radio took never exceeds the blocks of the write and
// reaches it exactly when the write succeeds.
#include "core/codeplug/model.h"
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/transfer/writeprocedure.h"
#include "fuzz/fuzzsession.h"
#include "fuzz/scriptedradio.h"
#include <QCoreApplication>

namespace {
constexpr int Chunks[] = {0, 1, 3, 7};
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    QCoreApplication::setEventDispatcher(new VirtualTimeDispatcher);
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputBytes input(data, size);
    const quint8 setup = input.byte();
    const bool echo = setup & 1;
    auto s = startedSession();
    newDocument(*s);
    // One channel in use, so that records and names carry more than FF.
    ChannelTable& a = s->doc.tableA;
    a.setCell(Col::RxFreq, 4, QStringLiteral("438.50000"));
    a.sendallcell(Col::RxFreq, 4, s->doc.words, QChar('.'));
    const WritePreparation preparation = formShow(*s, TransferMode::Write);
    Link link;
    link.setPort(std::make_unique<ScriptedRadioPort>(input, echo, Chunks[(setup >> 1) & 3]));
    link.setSinglePortMode(echo);
    if (!link.openPort()) return 0;
    TransferOptions options;
    options.channelRange = QString::number(1 + (setup >> 3) % 3);
    options.writeFactoryDate = setup & 0x40;
    options.now = [] { return QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30)); };
    const TransferResult result = writeRadio(*s, link, options, preparation);

    const auto& port = *static_cast<const ScriptedRadioPort*>(link.port());
    if (!port.broke() && (port.written().isEmpty() || port.written().last() != Frame::compose(Frame::End)))
        finding(QStringLiteral("the transfer did not end with the end frame"));
    if (result.ok() != transferMessage(result, s->lang).isEmpty())
        finding(QStringLiteral("the message does not fit the outcome: ") + transferMessage(result, s->lang));
    if (result.outcome != TransferResult::Outcome::Done &&
        result.outcome != TransferResult::Outcome::LinkFailed)
        finding(QStringLiteral("the write was refused: ") + result.problems.join(QChar('\n')));
    if (result.blocksWritten > result.blocksToWrite ||
        (result.ok() && result.blocksWritten != result.blocksToWrite))
        finding(
            QStringLiteral("%1 of %2 blocks written").arg(result.blocksWritten).arg(result.blocksToWrite));
    return 0;
}
