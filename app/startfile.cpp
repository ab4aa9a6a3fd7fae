// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startfile.h"
#include "app/mainwindow.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "ui/common/messagebox.h"
#include "ui/service/testform.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString startFileArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == u"--") return i + 1 < arguments.size() ? arguments[i + 1] : QString();
        if (!arguments[i].startsWith(QLatin1Char('-'))) return arguments[i];
    }
    return {};
}

void openStartFile(TMainForm& window, const QString& path, bool service) {
    Session& session = window.session();
    const QString shown = QDir::toNativeSeparators(path);
    auto warn = [&](const QString& text) { showWarning(&window, session.lang.text(Str::WarnCaption), text); };
    // Opening it here gives the system's reason (missing, no permission, a folder) for the box.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        warn(session.lang.text(Str::StartFileNotOpened).arg(shown, file.errorString()));
        return;
    }
    file.close();
    if (QFileInfo(path).suffix().compare(u"m17", Qt::CaseInsensitive) == 0) {
        if (!service) {
            warn(session.lang.text(Str::StartFileAlignment).arg(shown));
            return;
        }
        if (window.testForm()->openFile(path)) window.showChild(window.testForm());
        return;
    }
    window.openDocumentPath(path);
}
