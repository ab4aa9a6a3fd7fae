// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/replydelay.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString Section = QStringLiteral("replies");

// Whole numbers only: no decimal separator of any locale in the texts or the file.
QString whole(double value) {
    return QString::number(qRound(value));
}

// "16.4" or "16.4 16": the lateness in ms with the adapter's timer, where known.
QString valueText(const ReplyDelay& delay) {
    QString text = QString::number(delay.excessMs, 'f', 1);
    if (delay.timerMs) text += QLatin1Char(' ') + QString::number(*delay.timerMs);
    return text;
}

std::optional<ReplyDelay> parseValue(const QString& device, const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool ok = false;
    ReplyDelay delay{device, parts.value(0).toDouble(&ok), std::nullopt};
    if (!ok) return std::nullopt;
    if (const int timer = parts.value(1).toInt(&ok); ok) delay.timerMs = timer;
    return delay;
}
} // namespace

double fullReadCostSeconds(double excessMs) {
    return std::max(excessMs, 0.0) * FullReadReplies / 1000;
}

QString replyDelayText(const ReplyDelay& delay, const Language& lang) {
    if (!delay.slow()) return {};
    QString text =
        lang.text(Str::RepliesLate).arg(whole(delay.excessMs), whole(fullReadCostSeconds(delay.excessMs)));
    if (delay.timerMs) text += QLatin1Char('\n') + latencyTimerFix(delay, lang);
    return text;
}

QString lastTransferText(const ReplyDelay& delay, const Language& lang) {
    const QString text = replyDelayText(delay, lang);
    return text.isEmpty() ? text : lang.text(Str::RepliesLateLastTransfer).arg(text);
}

QString ReplyDelayStore::defaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kt520/reply-delays.ini");
}

std::optional<QString> ReplyDelayStore::remember(const ReplyDelay& delay) const {
    if (delay.device.isEmpty()) return std::nullopt;
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath()))
        return QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(m_file));
    IniFile ini = IniFile::load(m_file);
    ini.setText(Section, delay.device, valueText(delay));
    return ini.save(m_file);
}

std::optional<ReplyDelay> ReplyDelayStore::recall(const QString& device) const {
    const IniFile ini = IniFile::load(m_file);
    if (device.isEmpty() || !ini.contains(Section, device)) return std::nullopt;
    return parseValue(device, ini.text(Section, device));
}

QList<ReplyDelay> ReplyDelayStore::slowDevices() const {
    const IniFile ini = IniFile::load(m_file);
    QList<ReplyDelay> slow;
    for (const QString& device : ini.keys(Section))
        if (const auto delay = parseValue(device, ini.text(Section, device)); delay && delay->slow())
            slow << *delay;
    return slow;
}
