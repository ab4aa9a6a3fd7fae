// Feeds arbitrary bytes to the document reader. Beyond "no crash, no sanitizer report", whatever
// an accepted file leaves in the session must save as a document that reads back to itself.
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/codeplug/validation.h"
#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {
// A session as after start-up, without language files: looking for them on every input would
// only slow the fuzzer down, so the words are set directly.
std::unique_ptr<Session> startedSession() {
    auto s = std::make_unique<Session>();
    s->files = ProgramFiles::besideExecutable(QStringLiteral("/nonexistent-kt520-fuzz"));
    s->doc.words = ValueWords::simplifiedChinese();
    s->lang.words = s->doc.words;
    ControlStore& main = s->doc.main;
    main.setItems(MainCtl::Model, {QStringLiteral("KT-520RX")});
    main.setIndex(MainCtl::Model, 0);
    main.setItems(MainCtl::Band1,
                  {QStringLiteral("136-174MHz"), QStringLiteral("220-260MHz"), QStringLiteral("400-470MHz")});
    main.setIndex(MainCtl::Band1, 2);
    return s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    auto s = startedSession();
    const OpenResult result = openDocument(*s, bytes);
    if (!result.accepted()) return 0;
    validateDocument(*s);
    const QByteArray saved = saveDocument(*s);
    auto again = startedSession();
    if (!openDocument(*again, saved).accepted() || saveDocument(*again) != saved) std::abort();
    return 0;
}
