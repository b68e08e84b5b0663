// The printed rakeback statement: a title block, the table with its header on
// every page, and a footer with the page number.
#include "pdf/RakebackPdf.h"

#include "platform/Error.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <array>

namespace {
constexpr int Resolution = 300; // dots per inch of the drawing units
constexpr int Columns = 5;
// Shares of the text width; Player takes what the numbers leave.
constexpr std::array<double, Columns> ColumnShares{0.40, 0.12, 0.18, 0.12, 0.18};

int Mm(double mm)
{
    return static_cast<int>(mm * Resolution / 25.4 + 0.5);
}

QFont PdfFont(int points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// Where everything sits on a page, worked out once from the fonts.
struct TPageFrame
{
    int Width = 0, Height = 0;
    int RowHeight = 0;
    int FirstTableTop = 0, OtherTableTop = 0;
    int FooterTop = 0;
    std::array<int, Columns + 1> ColumnLeft{};

    int Capacity(bool first) const
    {
        const int top = (first ? FirstTableTop : OtherTableTop) + RowHeight; // under the header row
        return std::max(1, (FooterTop - top) / RowHeight);
    }
};

void DrawRow(QPainter& painter, const TPageFrame& frame, int top, const QStringList& cells)
{
    const int pad = Mm(1.5);
    for (int c = 0; c < Columns; ++c) {
        const QRect cell(frame.ColumnLeft[c] + pad, top,
                         frame.ColumnLeft[c + 1] - frame.ColumnLeft[c] - 2 * pad, frame.RowHeight);
        // A long name is cut with an ellipsis rather than running into Hands.
        const QString text = painter.fontMetrics().elidedText(cells.value(c), Qt::ElideRight, cell.width());
        painter.drawText(cell, Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight), text);
    }
}

void DrawTableHeader(QPainter& painter, const TPageFrame& frame, int top)
{
    painter.fillRect(QRect(0, top, frame.Width, frame.RowHeight), QColor(0xE4, 0xE8, 0xEE));
    painter.setFont(PdfFont(10, true));
    DrawRow(painter, frame, top, RakebackPdfTitles());
    painter.drawLine(0, top + frame.RowHeight, frame.Width, top + frame.RowHeight);
}
} // namespace

QStringList RakebackPdfTitles()
{
    return {QStringLiteral("Player"), QStringLiteral("Hands"), QStringLiteral("Rake"),
            QStringLiteral("Percent"), QStringLiteral("Rakeback")};
}

QList<QStringList> RakebackPdfRows(const TRakebackStatement& statement)
{
    QList<QStringList> rows;
    rows.reserve(statement.Rows.size() + 1);
    for (const TRakebackRow& row : statement.Rows)
        rows.append({row.Player, QString::number(row.Hands), QString::number(row.Rake, 'f', 4),
                     QString::number(row.Percent, 'f', 2), CentsText(row.Cents)});
    rows.append({QStringLiteral("Total"), QString::number(statement.Hands),
                 QString::number(statement.Rake, 'f', 4), QString(), CentsText(statement.Cents)});
    return rows;
}

void WriteRakebackPdf(const TRakebackStatement& statement, const TRakebackPdfFacts& facts,
                      const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    // QSaveFile writes beside the target and renames at the end, so a failure
    // leaves no half statement.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TError(QStringLiteral("Cannot create file \"%1\". %2").arg(shown, file.errorString()));

    QPdfWriter writer(&file);
    writer.setResolution(Resolution);
    writer.setTitle(QStringLiteral("Rakeback statement"));
    writer.setCreator(QStringLiteral("Kestrum"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 16, 18, 14), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
        throw TError(QStringLiteral("Cannot write file \"%1\". %2").arg(shown, file.errorString()));

    TPageFrame frame;
    const QRect paint = writer.pageLayout().paintRectPixels(Resolution);
    frame.Width = paint.width();
    frame.Height = paint.height();
    const int textHeight = QFontMetrics(PdfFont(10), &writer).height();
    const int titleHeight = QFontMetrics(PdfFont(18, true), &writer).height();
    const int smallHeight = QFontMetrics(PdfFont(8), &writer).height();
    frame.RowHeight = textHeight * 3 / 2;
    const QStringList factLines{
        QStringLiteral("Period: ") + facts.Period, QStringLiteral("Basis: ") + facts.Basis,
        QStringLiteral("Default rate: %1%").arg(QString::number(facts.DefaultPercent, 'f', 2)),
        QStringLiteral("Made: ") + facts.Made.toString(QStringLiteral("yyyy-MM-dd HH:mm"))};
    frame.FirstTableTop = titleHeight + Mm(3) + static_cast<int>(factLines.size()) * textHeight + Mm(6);
    frame.OtherTableTop = smallHeight + Mm(4);
    frame.FooterTop = frame.Height - smallHeight - Mm(2);
    int left = 0;
    for (int c = 0; c < Columns; ++c) {
        frame.ColumnLeft[c] = left;
        left += static_cast<int>(frame.Width * ColumnShares[c]);
    }
    frame.ColumnLeft[Columns] = frame.Width;

    const QList<QStringList> rows = RakebackPdfRows(statement);
    QList<int> pageStarts{0}; // the first row of each page
    for (int next = frame.Capacity(true); next < rows.size(); next += frame.Capacity(false))
        pageStarts.append(next);
    const int pages = static_cast<int>(pageStarts.size());

    const QPen thin(QColor(0x80, 0x80, 0x80), Mm(0.2)), strong(Qt::black, Mm(0.35));
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !writer.newPage())
            throw TError(QStringLiteral("Cannot write file \"%1\". %2").arg(shown, file.errorString()));
        int top = 0;
        if (page == 0) {
            painter.setFont(PdfFont(18, true));
            painter.drawText(QRect(0, 0, frame.Width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("Rakeback statement"));
            painter.setFont(PdfFont(10));
            top = titleHeight + Mm(3);
            for (const QString& line : factLines) {
                painter.drawText(QRect(0, top, frame.Width, textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                                 line);
                top += textHeight;
            }
            top = frame.FirstTableTop;
        } else {
            // A loose page still says what it belongs to.
            painter.setFont(PdfFont(8));
            painter.drawText(QRect(0, 0, frame.Width, smallHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("Rakeback statement, ") + facts.Period);
            top = frame.OtherTableTop;
        }
        painter.setPen(strong);
        DrawTableHeader(painter, frame, top);
        top += frame.RowHeight;
        const int end = page + 1 < pages ? pageStarts[page + 1] : static_cast<int>(rows.size());
        for (int r = pageStarts[page]; r < end; ++r) {
            const bool total = r == rows.size() - 1;
            if (!total && r % 2 == 1)
                painter.fillRect(QRect(0, top, frame.Width, frame.RowHeight), QColor(0xF4, 0xF5, 0xF7));
            painter.setPen(total ? strong : thin);
            if (total)
                painter.drawLine(0, top, frame.Width, top);
            painter.setPen(Qt::black);
            painter.setFont(PdfFont(10, total));
            DrawRow(painter, frame, top, rows[r]);
            top += frame.RowHeight;
        }
        painter.setPen(thin);
        painter.drawLine(0, top, frame.Width, top);
        painter.setPen(Qt::black);
        painter.setFont(PdfFont(8));
        painter.drawText(QRect(0, frame.FooterTop, frame.Width, frame.Height - frame.FooterTop),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
    }
    if (!painter.end() || !file.commit())
        throw TError(QStringLiteral("Cannot write file \"%1\". %2").arg(shown, file.errorString()));
}
