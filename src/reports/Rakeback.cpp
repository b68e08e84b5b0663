#include "reports/Rakeback.h"

#include "db/RakeDatabase.h"
#include "platform/Error.h"
#include "platform/SettingsStore.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <numeric>

const char* const RateRefusal = "Rate must be a number from 0 to 100";

double ParseRate(const QString& text, QChar decimalPoint)
{
    QString plain = text;
    if (decimalPoint != u'.')
        plain.replace(decimalPoint, u'.');
    static const QRegularExpression form(QStringLiteral("^[0-9]+(\\.[0-9]{1,2})?$"));
    bool number = false;
    const double value = plain.toDouble(&number);
    if (!form.match(plain).hasMatch() || !number || value < 0 || value > 100)
        throw TError(QLatin1String(RateRefusal));
    return value;
}

QString RateText(double percent)
{
    QString text = QString::number(percent, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

qint64 RakebackCents(double rake, double percent)
{
    const double a = rake * percent / 100;
    const double cents = std::floor(std::fabs(a) * 100 + 0.5 + 1e-9);
    return static_cast<qint64>(a < 0 ? -cents : cents);
}

QString CentsText(qint64 cents)
{
    const qint64 whole = (cents < 0 ? -cents : cents);
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 100)
        .arg(whole % 100, 2, 10, QLatin1Char('0'));
}

QList<QPair<QString, double>> ReadRakebackRates(TRakeDatabase& database)
{
    QList<QPair<QString, double>> rates;
    if (!database.HasTable(QStringLiteral("RakebackRates")))
        return rates;
    // The engine's own order of the text: its binary order, the name's bytes.
    const auto rows =
        database.Prepare(QStringLiteral("SELECT Player, Percent FROM RakebackRates ORDER BY Player"));
    while (rows->Step() == TStatement::Row)
        rates.append({QString::fromUtf8(rows->ColumnUtf8(0)), rows->ColumnDouble(1)});
    return rates;
}

namespace {
void MakeRatesTable(TRakeDatabase& database)
{
    if (!database.HasTable(QStringLiteral("RakebackRates")))
        database.Execute(QLatin1String(TRakeDatabase::RakebackRatesCreateSQL));
}
} // namespace

void SetRakebackRate(TRakeDatabase& database, const QString& player, double percent)
{
    if (percent < 0 || percent > 100)
        throw TError(QLatin1String(RateRefusal));
    MakeRatesTable(database);
    const auto set =
        database.Prepare(QStringLiteral("REPLACE INTO RakebackRates (Player, Percent) VALUES (?, ?)"));
    set->Bind_Str16(1, player);
    set->Bind_Double(2, percent);
    set->Step();
}

void UnsetRakebackRate(TRakeDatabase& database, const QString& player)
{
    if (!database.HasTable(QStringLiteral("RakebackRates")))
        return;
    const auto unset = database.Prepare(QStringLiteral("DELETE FROM RakebackRates WHERE Player = ?"));
    unset->Bind_Str16(1, player);
    unset->Step();
}

QString RakebackQuery(TRakebackBasis basis, const TReportLimit& start, const TReportLimit& end)
{
    // CROSS JOIN keeps Master the outer loop: the period picks its hands there
    // and each finds its shares by the key. Left to itself the engine scanned
    // every share of the archive for a month (1.9 s against 0.5 s for a month
    // of a 1,000,000-hand database).
    const QString sum =
        basis == TRakebackBasis::Proportional ? QStringLiteral("Share") : QStringLiteral("AvgShare");
    return QStringLiteral("SELECT Player, COUNT(*), SUM(%1) FROM Master CROSS JOIN Detail USING (Hand)")
               .arg(sum) +
           BuildReportFilter(start, end) + QStringLiteral(" GROUP BY Player");
}

TRakebackStatement BuildRakebackStatement(TRakeDatabase& database, const TReportLimit& start,
                                          const TReportLimit& end, TRakebackBasis basis,
                                          double defaultPercent)
{
    QHash<QString, double> own;
    for (const auto& [player, percent] : ReadRakebackRates(database))
        own.insert(player, percent);
    const QString sql = RakebackQuery(basis, start, end);
    TRakebackStatement statement;
    QList<QByteArray> names; // the bytes the order compares
    const auto rows = database.Prepare(sql);
    while (rows->Step() == TStatement::Row) {
        TRakebackRow row;
        names.append(rows->ColumnUtf8(0).toByteArray());
        row.Player = QString::fromUtf8(names.back());
        row.Hands = rows->ColumnInt64(1);
        row.Rake = rows->ColumnDouble(2);
        row.Percent = own.value(row.Player, defaultPercent);
        row.Cents = RakebackCents(row.Rake, row.Percent);
        statement.Rows.append(row);
    }
    QList<int> order(statement.Rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        if (statement.Rows[a].Cents != statement.Rows[b].Cents)
            return statement.Rows[a].Cents > statement.Rows[b].Cents;
        return names[a] < names[b];
    });
    QList<TRakebackRow> sorted;
    sorted.reserve(order.size());
    for (const int i : order) {
        sorted.append(statement.Rows[i]);
        statement.Hands += statement.Rows[i].Hands;
        statement.Rake += statement.Rows[i].Rake;
        statement.Cents += statement.Rows[i].Cents;
    }
    statement.Rows = sorted;
    return statement;
}

namespace {
// A spreadsheet runs a field that starts like a formula; the quote makes it text.
QString CsvText(const QString& text)
{
    QString field = text;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    if (!field.isEmpty() && (field[0] == u'=' || field[0] == u'+' || field[0] == u'-' || field[0] == u'@' ||
                             field[0] == u'\t' || field[0] == u'\r'))
        field.prepend(u'\'');
    return QLatin1Char('"') + field + QLatin1Char('"');
}
} // namespace

QByteArray RakebackCsv(const TRakebackStatement& statement)
{
    QString text = QStringLiteral("Player,Hands,Rake,Percent,Rakeback\r\n");
    for (const TRakebackRow& row : statement.Rows)
        text += QStringLiteral("%1,%2,%3,%4,%5\r\n")
                    .arg(CsvText(row.Player))
                    .arg(row.Hands)
                    .arg(QString::number(row.Rake, 'f', 4), QString::number(row.Percent, 'f', 2),
                         CentsText(row.Cents));
    text += QStringLiteral("%1,%2,%3,,%4\r\n")
                .arg(CsvText(QStringLiteral("Total")))
                .arg(statement.Hands)
                .arg(QString::number(statement.Rake, 'f', 4), CentsText(statement.Cents));
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString RakebackPeriodText(const TReportLimit& start, const TReportLimit& end)
{
    const auto limit = [](const TReportLimit& l) {
        return l.Date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
               l.Time.toString(QStringLiteral("HH:mm:ss"));
    };
    QStringList parts;
    if (start.Enabled)
        parts << QStringLiteral("from ") + limit(start);
    if (end.Enabled)
        parts << QStringLiteral("to ") + limit(end);
    return parts.isEmpty() ? QStringLiteral("all dates") : parts.join(QLatin1Char(' '));
}

QString RakebackBasisText(TRakebackBasis basis)
{
    return basis == TRakebackBasis::Proportional ? QStringLiteral("Proportional") : QStringLiteral("Equal");
}

double ReadDefaultRate(TSettingsReader& reader)
{
    try {
        return ParseRate(reader.ReadText(SettingNames::RakebackPercent, QStringLiteral("0")));
    } catch (const TError&) {
        return 0; // a hand-edited file with something else in it
    }
}

void WriteDefaultRate(TSettingsWriter& writer, double percent)
{
    writer.WriteText(SettingNames::RakebackPercent, RateText(percent));
}

QString RakebackFileStem(const TReportLimit& start, const TReportLimit& end)
{
    if (!start.Enabled && !end.Enabled)
        return QStringLiteral("rakeback");
    if (start.Enabled && end.Enabled && start.Date.year() == end.Date.year() &&
        start.Date.month() == end.Date.month())
        return QStringLiteral("rakeback-") + start.Date.toString(QStringLiteral("yyyy-MM"));
    const QString from = start.Enabled ? start.Date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
    const QString to = end.Enabled ? end.Date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
    return QStringLiteral("rakeback-%1_%2").arg(from, to);
}
