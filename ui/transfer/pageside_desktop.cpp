// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfer/pageside.h"

Qt::ConnectionType PageSide::startConnection() {
    return Qt::AutoConnection;
}

void PageSide::log(const QString&, const QString&) {}
