#include "core/codeplug/session.h"
#include <QCoreApplication>

Session::Session(QObject* parent) : QObject(parent) {
    doc.setParent(this);
    lang.setParent(this);
    radioInfo.setParent(this);
    appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QStringLiteral(".");
}
