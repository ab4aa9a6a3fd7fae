// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print/documentprint.h"
#include "core/base/filesave.h"
#include "core/base/messages.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/session.h"
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFontDatabase>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

QString esc(const QString& s) {
    return s.toHtmlEscaped();
}

// A family that holds the Chinese characters of the interface, when one is installed.
QFont printFont() {
    QFont font;
    const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const QString& wanted : {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                                  QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback")})
        if (families.contains(wanted)) {
            font.setFamily(wanted);
            break;
        }
    if (font.family().isEmpty() && !families.isEmpty()) font.setFamily(families.first());
    font.setPointSizeF(8);
    return font;
}

// Options of a channel as short marks: the column number of each option that is on, so that the
// list stays narrow and black-and-white; the legend under the table names them.
const int OptionColumns[] = {Col::Opt7, Col::Opt8,  Col::Opt9,    Col::Opt11,     Col::PttId,
                             Col::Dtmf, Col::Opt15, Col::Reverse, Col::Talkaround};

QString channelTableHtml(const ChannelTable& t, const ValueWords& w, const QString& title) {
    QString h = QStringLiteral(
                    "<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><tr>")
                    .arg(esc(title));
    for (int c : {int(Col::Label), int(Col::RxFreq), int(Col::TxFreq), int(Col::RxTone), int(Col::TxTone),
                  int(Col::Power), int(Col::Bandwidth), int(Col::Name), int(Col::Compander)})
        h += QStringLiteral("<th>%1</th>").arg(esc(t.cell(c, 0)));
    h += QStringLiteral("<th>+</th></tr>");
    for (int row = ChannelTable::FirstChannelRow; row <= ChannelTable::LastRow; ++row) {
        if (!t.rowInUse(row)) continue;
        h += QStringLiteral("<tr>");
        for (int c : {int(Col::Label), int(Col::RxFreq), int(Col::TxFreq), int(Col::RxTone), int(Col::TxTone),
                      int(Col::Power), int(Col::Bandwidth), int(Col::Name), int(Col::Compander)})
            h += QStringLiteral("<td>%1</td>").arg(esc(t.cell(c, row)));
        QStringList marks;
        // Read as the radio is written, so the marks show what the radio will do.
        for (int c : OptionColumns)
            if (c == Col::Opt9 ? isOnOnlyIfOn(t.cell(c, row), w) : isOnUnlessOff(t.cell(c, row), w))
                marks << QString::number(c);
        h += QStringLiteral("<td>%1</td></tr>").arg(marks.join(u' '));
    }
    h += QStringLiteral("</table><p>+: ");
    QStringList legend;
    for (int c : OptionColumns)
        legend << QStringLiteral("%1 = %2").arg(c).arg(esc(t.cell(c, 0)));
    return h + legend.join(QStringLiteral("; ")) + QStringLiteral("</p>");
}

// The pages of the optional functions window, by the first control each holds in the store's
// order; the headings are the window's own tab captions, translated like them.
QString tabBefore(const QString& name) {
    if (name == Ctl::ComboBox1) return QStringLiteral("基本功能");
    if (name == Ctl::Edit2) return QStringLiteral("PTT-ID设置/遥毙/无线改频/租赁/通信密码");
    if (name == Ctl::Edit1) return QStringLiteral("侧键设定");
    if (name == Ctl::CheckBox39) return QStringLiteral("Band Change");
    return {};
}

QString optionsHtml(const Session& s) {
    const ControlStore& f = s.doc.func;
    QString h = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\" width=\"100%\">");
    for (const QString& name : f.names()) {
        if (const QString tab = tabBefore(name); !tab.isEmpty())
            h += QStringLiteral("<tr><td colspan=\"2\"><h3>%1</h3></td></tr>").arg(esc(s.lang.caption(tab)));
        const ControlState& c = f.state(name);
        const QString caption = esc(s.lang.caption(c.caption));
        // An up-down without caption repeats the number of the edit beside it.
        if (!c.visible || caption.isEmpty()) continue;
        QString value;
        switch (c.kind) {
        case ControlState::Kind::Other:
            if (!caption.isEmpty())
                h += QStringLiteral("<tr><td colspan=\"2\"><b>%1</b></td></tr>").arg(caption);
            continue;
        case ControlState::Kind::List:
            value = f.currentItem(name);
            break;
        case ControlState::Kind::Check:
            value = c.checked ? s.doc.words.on : s.doc.words.off;
            break;
        case ControlState::Kind::Edit:
            value = c.text;
            break;
        case ControlState::Kind::UpDown:
            value = QString::number(c.position);
            break;
        case ControlState::Kind::Grid:
            continue;
        }
        h += QStringLiteral("<tr><td width=\"50%\">%1</td><td>%2</td></tr>").arg(caption, esc(value));
    }
    return h + QStringLiteral("</table>");
}

QString gridHtml(const Session& s, const QString& name) {
    const ControlStore& f = s.doc.func;
    if (!f.has(name)) return {};
    QString h = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">")
                    .arg(esc(s.lang.caption(f.state(name).caption)));
    for (int row = 0; row < f.rowCount(name); ++row) {
        QStringList cells;
        bool used = row == 0;
        for (int col = 0; col < f.state(name).columns; ++col) {
            cells << f.cell(name, col, row);
            if (col > 0 && !cells.last().isEmpty()) used = true;
        }
        if (!used) continue;
        h += QStringLiteral("<tr>");
        for (const QString& c : cells)
            h += QStringLiteral("<td>%1</td>").arg(esc(c));
        h += QStringLiteral("</tr>");
    }
    return h + QStringLiteral("</table>");
}

QString documentHtml(const Session& s) {
    QString h = QStringLiteral("<html><body>");
    h += channelTableHtml(s.doc.tableA, s.doc.words, QStringLiteral("A"));
    h += channelTableHtml(s.doc.tableB, s.doc.words, QStringLiteral("B"));
    h += QStringLiteral("<div style=\"page-break-before: always\">") + optionsHtml(s) +
         QStringLiteral("</div>");
    h += QStringLiteral("<div style=\"page-break-before: always\">") + gridHtml(s, Ctl::FmList) +
         gridHtml(s, Ctl::CallList) + QStringLiteral("</div>");
    return h + QStringLiteral("</body></html>");
}

} // namespace

int printDocument(const Session& s, const PrintJob& job, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const QFont font = printFont();
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.documentLayout()->setPaintDevice(&device);
    doc.setHtml(documentHtml(s));

    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    painter.setFont(QFont(font, &device));
    const qreal line = painter.fontMetrics().height();
    const qreal top = line * 2, bottom = line * 2;
    const QSizeF body(page.width(), page.height() - top - bottom);
    doc.setPageSize(body);
    const int pages = doc.pageCount();

    const QString header =
        QStringLiteral("%1   %2   %3   %4")
            .arg(s.doc.main.currentItem(MainCtl::Model), s.doc.main.currentItem(MainCtl::Band1), job.fileName,
                 job.date.toString(Qt::ISODate));
    for (int p = 0; p < pages; ++p) {
        if (p > 0 && !device.newPage()) return 0;
        painter.drawText(QRectF(0, 0, page.width(), line), Qt::AlignLeft, header);
        painter.drawLine(QPointF(0, line * 1.3), QPointF(page.width(), line * 1.3));
        painter.drawText(QRectF(0, page.height() - line, page.width(), line), Qt::AlignHCenter,
                         QStringLiteral("%1 / %2").arg(p + 1).arg(pages));
        painter.save();
        painter.translate(0, top - p * body.height());
        doc.drawContents(&painter, QRectF(0, p * body.height(), body.width(), body.height()));
        painter.restore();
    }
    return painter.end() ? pages : 0;
}

PdfResult renderDocumentPdf(const Session& s, const PrintJob& job, Paper paper) {
    PdfResult result;
    // Drawn in memory first: the file is replaced only by a whole PDF, like every other file.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter));
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer.setTitle(job.fileName);
        result.pages = printDocument(s, job, writer);
    }
    if (result.pages == 0)
        result.error = s.lang.text(Str::FileError).arg(job.fileName, QStringLiteral("PDF"));
    else
        result.bytes = pdf.data();
    return result;
}

PdfResult writeDocumentPdf(const Session& s, const PrintJob& job, const QString& path, Paper paper) {
    PdfResult result = renderDocumentPdf(s, job, paper);
    if (result.pages == 0) {
        result.error = s.lang.text(Str::FileError).arg(QDir::toNativeSeparators(path), QStringLiteral("PDF"));
        return result;
    }
    if (auto error = saveUserFile(path, result.bytes, s.lang)) {
        result.pages = 0;
        result.error = *error;
    }
    return result;
}
