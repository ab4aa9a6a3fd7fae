// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/codeplug.h"
#include "core/codeplug/funccontrols.h"

Codeplug::Codeplug(QObject* parent) : QObject(parent) {
    tableA.setParent(this);
    tableB.setParent(this);
    func.setParent(this);
    main.setParent(this);
    ControlState list;
    list.kind = ControlState::Kind::List;
    main.define(MainCtl::Model, list);
    main.define(MainCtl::Band1, list);
    main.define(MainCtl::Band2, list);
    defineFuncControls(func);
}
