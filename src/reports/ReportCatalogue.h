#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// One limit of the report filter: on or off, with its date and time.
struct TReportLimit
{
    bool Enabled = false;
    QDate Date;
    QTime Time;
};

// The texts of the report list, in list order; item 0 is "Clear".
const QStringList& ReportItemTexts();

// The filter text W: empty when no limit is on, otherwise " WHERE " and the
// start clause, the end clause or both.
QString BuildReportFilter(const TReportLimit& start, const TReportLimit& end);

// The statement of a catalogue item with the filter built in. "Clear" and an
// index outside the catalogue give the empty text; "Detail only" is never filtered.
QString BuildReportSQL(int itemIndex, const TReportLimit& start, const TReportLimit& end);
