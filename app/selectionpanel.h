// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>
class QToolBar;
class QWidget;
class Session;

// The selection panel of the main window: "频段一：", "频段二：" and "型号：" with their lists,
// bound both ways to the document's main selections. Choosing a model runs the model change and
// hands its caption to `modelChanged`.
QToolBar* newSelectionPanel(Session& session, std::function<void(const QString& caption)> modelChanged,
                            QWidget* parent);
