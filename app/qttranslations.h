// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QStringList>
class QTranslator;

// Qt's own texts (the file dialog, Yes and No, a dock's Float and Close) in the program's
// language: Simplified or Traditional Chinese from Qt's translations, English as built.
class QtTranslations : public QObject {
    Q_OBJECT
public:
    explicit QtTranslations(QObject* parent = nullptr);
    ~QtTranslations() override;
    // 1 Simplified Chinese, 2 English, 3 Traditional Chinese. False when the language's file
    // was not found (Qt's texts then stay English).
    bool select(int languageIndex);
    // Where the files are looked for, first to last: translations/ beside the program (the
    // Windows zip), then Qt's own folder.
    static QStringList folders();

private:
    QTranslator* m_translator = nullptr;
};
