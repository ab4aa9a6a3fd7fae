// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/batch.h"
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <memory>
#include <vector>

QList<PortOutcome> runOnOwnThreads(const QList<std::function<PortOutcome()>>& jobs) {
#if !QT_CONFIG(thread)
    // A Qt without threads (the browser's): one job after another.
    QList<PortOutcome> done;
    for (const auto& job : jobs)
        done << job();
    return done;
#else
    // One slot per job, written only by its own thread and read once all have been joined.
    std::vector<PortOutcome> outcomes(size_t(jobs.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype k = 0; k < jobs.size(); ++k) {
        threads.emplace_back(QThread::create([&outcomes, &jobs, k] { outcomes[size_t(k)] = jobs[k](); }));
        threads.back()->start();
    }
    for (const auto& thread : threads)
        thread->wait();
    return QList<PortOutcome>(outcomes.begin(), outcomes.end());
#endif
}

std::optional<QString> deviceNamedTwice(const QStringList& devices) {
    QSet<QString> seen;
    for (const QString& device : devices) {
        const QString canonical = QFileInfo(device).canonicalFilePath();
        const QString key = canonical.isEmpty() ? device : canonical;
        if (seen.contains(key)) return device;
        seen.insert(key);
    }
    return std::nullopt;
}
