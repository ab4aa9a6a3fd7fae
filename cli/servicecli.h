// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "cli/cli.h"
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/initialise.h"
#include "core/transfer/transfer.h"
#include <functional>
#include <optional>

class Link;
class Session;

// The write verb's service options: --initialise FILE.m17 (the alignment of the file is written
// first, without its end frame, and the write then sets the radio's clock) and --factory-date.
class ServiceWriteOptions {
public:
    explicit ServiceWriteOptions(VerbParser& verb);
    // Opens the alignment file of --initialise; the exit status when it cannot be used.
    [[nodiscard]] std::optional<int> load(Session& session);
    // Before the write: the document check and the alignment write of --initialise; the exit
    // status when the document was refused (through `refused`) or the alignment write failed.
    [[nodiscard]] std::optional<int> initialise(Session& session, Link& link, const TransferOptions& options,
                                                const WritePreparation& preparation,
                                                const std::function<int(const TransferResult&)>& refused);
    // After a write that failed: what the alignment write left in the radio.
    void reportAfter(const TransferResult& write, const Session& session) const;
    void apply(TransferOptions& options) const;
    bool used() const { return m_verb.parser.isSet(m_initialise) || m_verb.parser.isSet(m_factoryDate); }

private:
    VerbParser& m_verb;
    QCommandLineOption m_initialise;
    QCommandLineOption m_factoryDate;
    std::optional<Initialisation> m_run;
};

// What a failed alignment exchange prints, and its exit status (1; 2 for refused values).
int alignFailure(const AlignResult& result, const Session& session);

int runAlign(const QStringList& args);
int runUsage(const QStringList& args);
