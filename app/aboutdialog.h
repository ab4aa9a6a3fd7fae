// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
class Language;
class QLabel;

// The about box: its four labels from the string tables, then the version as built, the Qt
// version and the licence.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    // The version, Qt and licence line in the current language.
    void setFacts(const Language& lang);

private:
    QLabel* m_facts = nullptr;
};
