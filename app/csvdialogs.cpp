// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/csvdialogs.h"
#include "core/base/messages.h"
#include "core/codeplug/csvchannels.h"
#include "core/codeplug/session.h"
#include "ui/common/filechooser.h"
#include "ui/common/messagebox.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
const QString Filter = QStringLiteral("CSV (*.csv)");

struct Choice {
    Side side = Side::A;
    CsvImportOptions options;
};

// The table (and for an import the two options); empty when the user cancels.
std::optional<Choice> askOptions(QWidget* parent, const Session& s, bool importing) {
    QDialog dialog(parent);
    dialog.setWindowTitle(s.lang.text(importing ? Str::CsvImportMenu : Str::CsvExportMenu)
                              .remove(QStringLiteral("..."))
                              .remove(QChar(0x2026)));
    auto* form = new QFormLayout(&dialog);
    auto* table = new QComboBox(&dialog);
    table->addItems({QStringLiteral("A"), QStringLiteral("B")});
    form->addRow(s.lang.text(Str::CsvTable), table);
    // The import's options exist only in the import dialog: a check box left outside the layout
    // would be drawn in the dialog's corner, over the table's row.
    QComboBox* numbering = nullptr;
    QCheckBox* replace = nullptr;
    if (importing) {
        numbering = new QComboBox(&dialog);
        numbering->setObjectName(QStringLiteral("CsvNumbering"));
        // In this order: the file's numbers (a list counted from 0 moved up), renumbered, exact.
        numbering->addItems({s.lang.text(Str::CsvNumberingAuto), s.lang.text(Str::CsvRenumber),
                             s.lang.text(Str::CsvNumberingKeep)});
        replace = new QCheckBox(s.lang.text(Str::CsvReplace), &dialog);
        form->addRow(s.lang.text(Str::CsvNumbering), numbering);
        form->addRow(replace);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const int number = numbering ? numbering->currentIndex() : 0;
    return Choice{
        table->currentIndex() == 1 ? Side::B : Side::A,
        {.renumber = number == 1, .replace = replace && replace->isChecked(), .keepNumbers = number == 2}};
}

void showReport(QWidget* parent, const Session& s, const CsvImportReport& report) {
    if (report.refusal) {
        showWarning(parent, s.lang.text(Str::WarnCaption), *report.refusal);
        return;
    }
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CsvReport"));
    dialog.setWindowTitle(s.lang.text(Str::CsvReportTitle));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(report.lines(s.lang).join(QChar('\n')), &dialog);
    text->setReadOnly(true);
    text->setMinimumSize(480, 240);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

QString importFile(QWidget* parent, Session& session, const QString& path, const Choice& choice) {
    const FileRead read = readChannelsCsvFile(path, session.lang);
    if (!read.bytes) {
        showWarning(parent, session.lang.text(Str::WarnCaption), read.error);
        return {};
    }
    const QByteArray& bytes = *read.bytes;
    CsvImportReport report;
    {
        // One undo step, finished before the report's modal loop.
        HistoryScope step(session.history,
                          session.lang.text(Str::StepCsvImport).arg(historySideName(int(choice.side))));
        report = importChannelsCsv(session.doc.table(choice.side), bytes, session.doc.words, session.lang,
                                   withSelectedBands(choice.options, session));
    }
    showReport(parent, session, report);
    if (report.refusal) return {};
    return session.lang.text(Str::StatusImported).arg(report.imported).arg(historySideName(int(choice.side)));
}
} // namespace

QString importCsvDialog(QWidget* parent, Session& session, std::function<void()> commitPendingEdit) {
    if (commitPendingEdit) commitPendingEdit();
    const auto choice = askOptions(parent, session, true);
    if (!choice) return {};
    const QString path = FileChooser::toOpen(parent, {session.lang.text(Str::CsvImportMenu), Filter, {}, {}});
    return path.isEmpty() ? QString() : importFile(parent, session, path, *choice);
}

QString importCsvFile(QWidget* parent, Session& session, const QString& path, Side side) {
    return importFile(parent, session, path, Choice{side, {}});
}

QString exportCsvDialog(QWidget* parent, Session& session, std::function<void()> commitPendingEdit) {
    if (commitPendingEdit) commitPendingEdit();
    const auto choice = askOptions(parent, session, false);
    if (!choice) return {};
    const QString path = FileChooser::toSave(
        parent, {session.lang.text(Str::CsvExportMenu), Filter, QStringLiteral("csv"), {}});
    if (path.isEmpty()) return {};
    if (auto error =
            writeChannelsCsvFile(path, session.doc.table(choice->side), session.doc.words, session.lang)) {
        showWarning(parent, session.lang.text(Str::WarnCaption), *error);
        return {};
    }
    FileChooser::saved(path);
    return session.lang.text(Str::StatusExported).arg(QDir::toNativeSeparators(path));
}
