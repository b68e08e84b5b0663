#pragma once

#include "reports/Rakeback.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// What a printed statement says besides its table.
struct TRakebackPdfFacts
{
    QString Period; // RakebackPeriodText
    QString Basis;  // RakebackBasisText
    double DefaultPercent = 0;
    QDateTime Made;
};

// Writes an A4 statement through Qt's own PDF output (QPdfWriter + QPainter).
// Raises TError with the path and the reason when it can't be written; a
// failed write leaves no file behind, and an older file at the path stays.
// Needs a QGuiApplication.
void WriteRakebackPdf(const TRakebackStatement& statement, const TRakebackPdfFacts& facts,
                      const QString& path);

// The table as printed, one list of five texts a row: the players, then the
// Total row (its Percent empty). Numbers with ".", whatever the locale, as
// the statement goes to other people.
QStringList RakebackPdfTitles();
QList<QStringList> RakebackPdfRows(const TRakebackStatement& statement);
