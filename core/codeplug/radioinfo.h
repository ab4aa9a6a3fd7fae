// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QString>

// The fields of the radio information window that a read fills: who programmed the radio and
// when (programming stamp), when it left the factory and for whom (factory stamp). The window's
// model and band fields are never filled: they always read Unfilled.
class RadioInfo : public QObject {
    Q_OBJECT
public:
    static inline const QString Unfilled = QStringLiteral("--------");
    using QObject::QObject;

    QString administrator = Unfilled; // Edit3, from the programming stamp
    QString salesDate = Unfilled;     // Edit4, from the programming stamp (hidden field)
    QString factoryDate = Unfilled;   // Edit5, from the factory stamp
    QString user = Unfilled;          // Edit9, from the factory stamp

    // Stamp texts are the 32 upper-case hex digits of the 16-byte block.
    void showProgrammingStamp(const QString& stampHex);
    void showFactoryStamp(const QString& stampHex);

signals:
    void changed();
};

// "yyyy-mm-dd  hh:mm:ss" from hex digits 1-14 of a stamp, as stored (F digits stay F).
QString stampDateText(const QString& stampHex);
// The name of a stamp: count from the last hex digit (above 7 taken as 7), characters from digit 17.
QString stampNameText(const QString& stampHex);
