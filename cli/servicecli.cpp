#include "cli/servicecli.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/link/link.h"

ServiceWriteOptions::ServiceWriteOptions(VerbParser& verb)
    : m_verb(verb),
      m_initialise(
          QStringLiteral("initialise"),
          QStringLiteral("Initialise: write the factory alignment of FILE.m17 first (without its end "
                         "frame), then the document; the radio's clock is set."),
          QStringLiteral("FILE.m17")),
      m_factoryDate(QStringLiteral("factory-date"),
                    QStringLiteral("Stamp the radio's factory date with the current date and time.")) {
    verb.parser.addOption(m_initialise);
    verb.parser.addOption(m_factoryDate);
}

std::optional<int> ServiceWriteOptions::load(Session& session) {
    if (!m_verb.parser.isSet(m_initialise)) return std::nullopt;
    if (auto error =
            readAlignmentFileAt(session.alignment, m_verb.parser.value(m_initialise), session.lang)) {
        err() << *error << "\n";
        return int(Exit::Usage);
    }
    return std::nullopt;
}

std::optional<int> ServiceWriteOptions::initialise(Session& session, Link& link) {
    if (!m_verb.parser.isSet(m_initialise)) return std::nullopt;
    link.closePort();
    link.aSysDelay(24, 250);
    const AlignResult result = writeAlignment(session, link, false, false);
    if (!result.ok()) return alignFailure(result, session);
    // The write's own port reset follows.
    (void)link.openPort();
    return std::nullopt;
}

void ServiceWriteOptions::apply(TransferOptions& options) const {
    options.initialise = m_verb.parser.isSet(m_initialise);
    options.writeFactoryDate = m_verb.parser.isSet(m_factoryDate);
}

int alignFailure(const AlignResult& result, const Session& session) {
    const QString message = alignMessage(result, session.lang);
    if (!message.isEmpty()) err() << message.trimmed() << "\n";
    err().flush();
    return result.outcome == AlignResult::Outcome::Refused ? Exit::Usage : Exit::Problems;
}
