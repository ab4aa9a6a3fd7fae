// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/language.h"
#include "core/base/programfiles.h"
#include "core/codeplug/alignmentdata.h"
#include "core/codeplug/codeplug.h"
#include "core/codeplug/history.h"
#include "core/codeplug/radioinfo.h"
#include <QObject>

// Everything that exists once for the whole run: the document, the language, the port choice,
// the model identification and the radio information. The program, the command line and the
// tests each make one.
class Session : public QObject {
    Q_OBJECT
public:
    explicit Session(QObject* parent = nullptr);

    Codeplug doc;
    Language lang; // LanguageIndex, value words (also in doc.words), message and window texts
    RadioInfo radioInfo;
    int portNumber = 1;          // PortNumber, 1-16
    bool singlePortMode = false; // SinglePortMode: the cable echoes every byte sent
    QString modelIdentHex;       // ModelIdentHex, set by the model change
    QString administrator = QStringLiteral("Qovran");
    ProgramFiles files;      // where sysini.ini and the language files live
    AlignmentData alignment; // the factory alignment fields, kept for the whole run
    // Undo and the unsaved-changes state; records only once the program starts it.
    DocumentHistory history{doc, lang};
};
