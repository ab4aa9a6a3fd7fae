// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
class QPagedPaintDevice;
class Session;

enum class Paper { A4, Letter };

// The document as pages: both channel tables (channels in use), the optional functions by
// group, the FM list and the call list, in the interface language. Every page carries the
// model, band, file name and date at the top and its number at the bottom.
struct PrintJob {
    QString fileName; // shown in the page header
    QDate date = QDate::currentDate();
};

// Prints on `device` (a printer or a PDF writer); returns the number of pages, 0 on failure.
int printDocument(const Session& session, const PrintJob& job, QPagedPaintDevice& device);

// Writes a PDF file safely; returns the number of pages, or an error text for the user.
struct PdfResult {
    int pages = 0;
    QString error;
    QByteArray bytes; // renderDocumentPdf: the whole PDF
};
// The PDF in memory; an error text when no page could be drawn.
PdfResult renderDocumentPdf(const Session& session, const PrintJob& job, Paper paper);
PdfResult writeDocumentPdf(const Session& session, const PrintJob& job, const QString& path, Paper paper);
