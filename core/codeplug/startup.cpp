// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/startup.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"

void startUp(Session& s, const AppSettings& settings) {
    s.portNumber = settings.com;
    s.singlePortMode = settings.coMode == 1;

    ControlStore& main = s.doc.main;
    main.setItems(MainCtl::Model, {QStringLiteral("KT-520RX")});
    main.setIndex(MainCtl::Model, settings.modelIndex);

    s.lang.index = startupLanguage(settings.lang, systemLanguageId());
    applyLanguage(s, Language::baseName(s.lang.index));

    main.setItems(MainCtl::Band1, settings.band1);
    main.setIndex(MainCtl::Band1, settings.band1Index);
    main.setItems(MainCtl::Band2, settings.band2);
    main.setIndex(MainCtl::Band2, settings.band2Index);

    changeModel(s);

    s.doc.currentCol = 1;
    s.doc.currentRow = 1;

    ControlStore& func = s.doc.func;
    func.setPosition(Ctl::UpDown1, 15);
    func.setText(Ctl::Edit1, formatFixed(1.5, 1));
    func.setVisible(Ctl::GroupBox16, false);

    s.doc.tableA.setRowLabels();
    s.doc.tableB.setRowLabels();

    for (int row = 1; row <= 16; ++row)
        func.setCell(Ctl::CallList, 0, row, QString::number(row - 1));
    func.setCell(Ctl::CallList, 1, 1, QStringLiteral("1001"));
    func.setCell(Ctl::CallList, 1, 2, QStringLiteral("1002"));

    func.setCell(Ctl::FmList, 1, 1, QStringLiteral("87") + systemDecimalPoint() + QStringLiteral("500"));
    func.setCell(Ctl::FmList, 1, 0, QString(9, QChar(' ')) + QStringLiteral("Fm"));
    for (int row = 2; row <= 32; ++row)
        func.setCell(Ctl::FmList, 0, row, QStringLiteral("   ") + QString::number(row - 1));
}

ExitSettings exitSettings(const Session& s) {
    ExitSettings v;
    v.com = s.portNumber;
    v.coMode = s.singlePortMode ? 1 : 0;
    v.modelIndex = s.doc.main.index(MainCtl::Model);
    v.lang = s.lang.index;
    v.band1Index = s.doc.main.index(MainCtl::Band1);
    v.band2Index = s.doc.main.index(MainCtl::Band2);
    return v;
}
