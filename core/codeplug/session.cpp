// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/session.h"
#include <QCoreApplication>

Session::Session(QObject* parent) : QObject(parent) {
    doc.setParent(this);
    lang.setParent(this);
    radioInfo.setParent(this);
    history.setParent(this);
    files = QCoreApplication::instance() ? ProgramFiles::forProgram(QCoreApplication::applicationDirPath())
                                         : ProgramFiles::besideExecutable(QStringLiteral("."));
}
