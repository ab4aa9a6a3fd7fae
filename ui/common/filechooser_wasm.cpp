// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/filechooser.h"
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <emscripten.h>

// The page's side is globalThis.kt520Files (packaging/web/kt520-web.js). A chosen file is
// FOLDER/NAME in the page's own file system, one fresh folder per choice, so that no choice
// meets another's file: /uploads/N for a file the user gave, /downloads/N for one to save.

// clang-format off
EM_JS(void, kt520_js_pick_open, (int token, const char* folder, const char* accept), {
    const dir = UTF8ToString(folder);
    globalThis.kt520Files.pickOpen(UTF8ToString(accept)).then((file) => {
        if (file) {
            FS.mkdirTree(dir);
            FS.writeFile(dir + "/" + file.name, file.bytes);
            globalThis.kt520Files.chosen.set(token, file.name);
        }
        _kt520_file_event(token, file ? 1 : 0);
    });
});
EM_JS(void, kt520_js_pick_save, (int token, const char* folder, const char* suggested,
                                 const char* description, const char* extensions), {
    const dir = UTF8ToString(folder);
    const list = UTF8ToString(extensions).split(" ").filter((e) => e);
    globalThis.kt520Files.pickSave(dir, UTF8ToString(suggested), UTF8ToString(description), list)
        .then((name) => {
            if (name) {
                FS.mkdirTree(dir);
                globalThis.kt520Files.chosen.set(token, name);
            }
            _kt520_file_event(token, name ? 1 : 0);
        });
});
EM_JS(void, kt520_js_chosen_name, (int token, char* buffer, int size), {
    stringToUTF8(globalThis.kt520Files.chosen.get(token) || "", buffer, size);
    globalThis.kt520Files.chosen.delete(token);
});
EM_JS(void, kt520_js_deliver, (const char* path), {
    const name = UTF8ToString(path);
    let bytes;
    try { bytes = FS.readFile(name); } catch (e) { return; }
    globalThis.kt520Files.deliver(name, bytes);
});
// clang-format on

namespace {
constexpr int NameSize = 1024;

struct Wait {
    QEventLoop* loop = nullptr;
    bool chosen = false;
};
QHash<int, Wait>& waits() {
    static QHash<int, Wait> table;
    return table;
}

int nextToken() {
    static int last = 0;
    return ++last;
}

// The browser's chooser runs in its own time; the program waits in an event loop, as for the
// radio's port, and then finds the chosen name.
QString waitForName(int token, const QString& folder) {
    QEventLoop loop;
    waits().insert(token, Wait{&loop, false});
    loop.exec();
    if (!waits().take(token).chosen) return {};
    QByteArray name(NameSize, '\0');
    kt520_js_chosen_name(token, name.data(), NameSize);
    const QString file = QString::fromUtf8(name.constData());
    return file.isEmpty() ? QString() : folder + u'/' + file;
}

// "QOVRAN  文件 (*.qv19)" -> ".qv19"; "*" and "*.*" give none.
QStringList extensions(const QString& filter) {
    QStringList found;
    static const QRegularExpression pattern(QStringLiteral(R"(\*(\.[A-Za-z0-9]+))"));
    for (auto it = pattern.globalMatch(filter); it.hasNext();)
        found << it.next().captured(1).toLower();
    return found;
}
} // namespace

// Called by the page's script when a chooser closes: 1 chosen, 0 cancelled.
extern "C" EMSCRIPTEN_KEEPALIVE void kt520_file_event(int token, int chosen) {
    const auto it = waits().find(token);
    if (it == waits().end()) return;
    it->chosen = chosen != 0;
    it->loop->quit();
}

QString FileChooser::toOpen(QWidget*, const FileChoice& choice) {
    const int token = nextToken();
    const QString folder = QStringLiteral("/uploads/%1").arg(token);
    kt520_js_pick_open(token, folder.toUtf8().constData(),
                       extensions(choice.filter).join(u',').toUtf8().constData());
    return waitForName(token, folder);
}

QString FileChooser::toSave(QWidget*, const FileChoice& choice) {
    const int token = nextToken();
    const QString folder = QStringLiteral("/downloads/%1").arg(token);
    QString suggested = QFileInfo(choice.start).isDir() ? QString() : QFileInfo(choice.start).fileName();
    if (suggested.isEmpty()) suggested = QStringLiteral("KT-520");
    if (!choice.suffix.isEmpty() && QFileInfo(suggested).suffix().isEmpty())
        suggested += u'.' + choice.suffix;
    const QString description =
        QString(choice.filter).remove(QRegularExpression(QStringLiteral(R"(\s*\(.*\))")));
    kt520_js_pick_save(token, folder.toUtf8().constData(), suggested.toUtf8().constData(),
                       description.trimmed().toUtf8().constData(),
                       extensions(choice.filter).join(u' ').toUtf8().constData());
    return waitForName(token, folder);
}

void FileChooser::saved(const QString& path) {
    kt520_js_deliver(QFile::encodeName(path).constData());
}
