// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfer/pageside.h"
#include <QDebug>
#include <QString>

Qt::ConnectionType PageSide::startConnection() {
    return Qt::QueuedConnection;
}

void PageSide::log(const QString& kind, const QString& text) {
    qInfo().noquote() << QStringLiteral("kt520 %1: %2").arg(kind, QString(text).replace(u'\n', u' '));
}
