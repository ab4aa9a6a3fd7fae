// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the radio's replies to the read procedure, through the real link with and without the
// single-port echo. The first input byte sets up the line (echo, chunk size, channel range);
// every further byte or run of bytes is the radio's answer to the next frame (scriptedradio.h).
// Beyond "no crash": the end frame goes out whatever happened unless the line broke, a failure
// has its message, and a read that succeeds leaves a document that saves and reads back as
// itself.
#include "core/codeplug/document.h"
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/transfer/readprocedure.h"
#include "fuzz/fuzzsession.h"
#include "fuzz/scriptedradio.h"
#include <QCoreApplication>
#include <QSet>

namespace {
QSet<size_t> roundTripped; // saved documents already shown to read back to themselves
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
    Link link;
    link.setPort(std::make_unique<ScriptedRadioPort>(input, echo, Chunks[(setup >> 1) & 3]));
    link.setSinglePortMode(echo);
    if (!link.openPort()) return 0;
    TransferOptions options;
    options.channelRange = QString::number(1 + (setup >> 3) % 3);
    const TransferResult result = readRadio(*s, link, options);

    const auto& port = *static_cast<const ScriptedRadioPort*>(link.port());
    if (!port.broke() && (port.written().isEmpty() || port.written().last() != Frame::compose(Frame::End)))
        finding(QStringLiteral("the transfer did not end with the end frame"));
    if (result.ok() != transferMessage(result, s->lang).isEmpty())
        finding(QStringLiteral("the message does not fit the outcome: ") + transferMessage(result, s->lang));
    if (!result.ok()) {
        if (result.outcome != TransferResult::Outcome::LinkFailed) finding(QStringLiteral("a read refused"));
        return 0;
    }
    forgetWhatNoDocumentCarries(*s);
    const QByteArray saved = saveDocument(*s);
    if (roundTripped.contains(qHash(saved))) return 0;
    if (const QString problem = roundTripProblem(saved); !problem.isEmpty())
        finding(QStringLiteral("the document read: ") + problem);
    roundTripped.insert(qHash(saved));
    return 0;
}
