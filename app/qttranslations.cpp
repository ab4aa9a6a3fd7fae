// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qttranslations.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QtTranslations::QtTranslations(QObject* parent) : QObject(parent) {}

QtTranslations::~QtTranslations() {
    if (m_translator) QCoreApplication::removeTranslator(m_translator);
    delete m_translator;
}

QStringList QtTranslations::folders() {
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool QtTranslations::select(int languageIndex) {
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
        m_translator = nullptr;
    }
    const QString file = languageIndex == 1   ? QStringLiteral("qtbase_zh_CN")
                         : languageIndex == 3 ? QStringLiteral("qtbase_zh_TW")
                                              : QString();
    if (file.isEmpty()) return true;
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : folders())
        if (translator->load(file, folder)) {
            m_translator = translator.release();
            QCoreApplication::installTranslator(m_translator);
            return true;
        }
    return false;
}
