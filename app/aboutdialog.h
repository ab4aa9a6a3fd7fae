// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
class Language;
class QLabel;

// The about box: the program's name, its version as built, the Qt version and the licence.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    // The version, Qt and licence lines in the current language; a line that the language
    // leaves empty is not shown, so the box has no empty lines.
    void setFacts(const Language& lang);

private:
    QLabel* m_program = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_licence = nullptr;
};
