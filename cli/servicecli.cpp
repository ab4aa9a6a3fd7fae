// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/servicecli.h"
#include "cli/transfercli.h"
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
        return int(Exit::Problems);
    }
    return std::nullopt;
}

std::optional<int> ServiceWriteOptions::initialise(Session& session, Link& link,
                                                   const TransferOptions& options,
                                                   const WritePreparation& preparation,
                                                   const std::function<int(const TransferResult&)>& refused) {
    if (!m_verb.parser.isSet(m_initialise)) return std::nullopt;
    m_run = beginInitialise(session, link, TransferMode::Write, options, preparation);
    if (m_run->refusal) return refused(*m_run->refusal);
    if (!m_run->proceed()) return alignFailure(*m_run->alignment, session);
    return std::nullopt;
}

void ServiceWriteOptions::reportAfter(const TransferResult& write, const Session& session) const {
    if (!m_run || write.ok()) return;
    err() << m_run->note(session.lang) << "\n";
    err().flush();
}

void ServiceWriteOptions::apply(TransferOptions& options) const {
    options.initialise = m_verb.parser.isSet(m_initialise);
    options.writeFactoryDate = m_verb.parser.isSet(m_factoryDate);
}

int alignFailure(const AlignResult& result, const Session& session) {
    const QString message = alignMessage(result, session.lang);
    if (!message.isEmpty()) err() << message.trimmed() << "\n";
    err().flush();
    switch (result.outcome) {
    case AlignResult::Outcome::PortUnavailable:
        return Exit::LinkFailed;
    case AlignResult::Outcome::LinkFailed:
        return linkFailureStatus(result.blocksWritten, result.unacknowledged);
    case AlignResult::Outcome::Done:
        return Exit::Ok;
    case AlignResult::Outcome::Refused:
    case AlignResult::Outcome::BatteryFail:
        break;
    }
    return Exit::Problems;
}
