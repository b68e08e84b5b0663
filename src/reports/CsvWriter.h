#pragma once

#include <QLocale>
#include <QString>

class QIODevice;
class TDataView;

// Every double quote doubled, for the inside of a quoted field.
QString EscapeQuotes(const QString& text);

// A real as the shortest general text with at most 15 significant digits:
// trailing zeros and a bare separator dropped, "1E-6" style below 0.00001 or
// past 15 integer digits.
QString FormatCsvReal(double value, const QString& decimalSeparator);

// The CSV text of the view: a quoted header line, then one line per row from
// the first to the last, each ending in CR LF. The view is walked with its
// AfterScroll handler detached and its grid held still; afterwards the handler
// is attached again and the view is back on its first row. When the locale's
// decimal separator is "," reals are quoted, so that each stays one field.
QString BuildCsvText(TDataView& view, const QLocale& locale);

// Writes the text in the locale's code set; raises TError naming the target
// and the device's reason when the device refuses it.
void WriteCsvText(const QString& text, QIODevice& device, const QString& targetName);

// The export: builds the text, then replaces the file through a save file, so
// a failed write leaves any earlier file as it was. Raises TError naming the
// file and the system's reason.
void ExportCsvFile(TDataView& view, const QString& fileName, const QLocale& locale = QLocale());
