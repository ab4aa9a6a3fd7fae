#pragma once
#include "cli/cli.h"
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/transfer.h"
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
    // Before the write: the alignment write of --initialise; the exit status when it failed.
    [[nodiscard]] std::optional<int> initialise(Session& session, Link& link);
    void apply(TransferOptions& options) const;
    bool used() const { return m_verb.parser.isSet(m_initialise) || m_verb.parser.isSet(m_factoryDate); }

private:
    VerbParser& m_verb;
    QCommandLineOption m_initialise;
    QCommandLineOption m_factoryDate;
};

// What a failed alignment exchange prints, and its exit status (1; 2 for refused values).
int alignFailure(const AlignResult& result, const Session& session);

int runAlign(const QStringList& args);
int runUsage(const QStringList& args);
