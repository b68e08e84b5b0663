#include "support/HandGenerator.h"

#include "support/HandSimulation.h"

#include <QFile>
#include <QStringEncoder>
#include <algorithm>
#include <array>

namespace {

// Regulars of invented tables. Accents, Windows-1252 letters beyond Latin-1
// (Š, Ž, Œ, ÿ), blanks and punctuation; "René" and "Rene" are two people.
const QStringList Names = {
    QStringLiteral("Ann"),        QStringLiteral("Bob"),       QStringLiteral("Cyrus"),
    QStringLiteral("Dana"),       QStringLiteral("Elif"),      QStringLiteral("Frank_77"),
    QStringLiteral("José"),       QStringLiteral("Zoë"),       QStringLiteral("Søren"),
    QStringLiteral("Françoise"),  QStringLiteral("Björn"),     QStringLiteral("Ñandú"),
    QStringLiteral("René"),       QStringLiteral("Rene"),      QStringLiteral("Šimon"),
    QStringLiteral("Žaneta"),     QStringLiteral("Œuvre"),     QStringLiteral("O'Neil"),
    QStringLiteral("Mary Ann"),   QStringLiteral("big.stack"), QStringLiteral("LuckyLuke"),
    QStringLiteral("Åsa"),        QStringLiteral("jürgen"),    QStringLiteral("Ümit"),
    QStringLiteral("D'Artagnan"), QStringLiteral("x-ray"),     QStringLiteral("The Nuts"),
    QStringLiteral("ÿvette"),
};

// Small and big blind in cents; every amount is a multiple of 25 cents, so
// every sum of stakes is exact in a double.
const std::array<std::array<int, 2>, 5> Stakes = {
    {{25, 50}, {50, 100}, {100, 200}, {500, 1000}, {2500, 5000}}};

QString TimeOfDay(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

const QStringList& THandGenerator::PlayerNames()
{
    return Names;
}

THandGenerator::THandGenerator(quint32 seed) : FRandom(seed) {}

int THandGenerator::Below(int bound)
{
    return bound <= 1 ? 0 : static_cast<int>(FRandom() % static_cast<quint32>(bound));
}

bool THandGenerator::Chance(int percent)
{
    return Below(100) < percent;
}

TGeneratedFile THandGenerator::MakeFile(const QString& tableName, const QDate& date, int handCount,
                                        qint32 firstHand, bool tournament)
{
    TGeneratedFile file;
    THandPlan plan;
    plan.Tournament = tournament;
    plan.Date = date.toString(QStringLiteral("yyyy-MM-dd"));
    const auto& stakes = Stakes[Below(static_cast<int>(Stakes.size()))];
    plan.Sb = stakes[0];
    plan.Bb = stakes[1];
    const QString prefix = QStringLiteral("HH") + plan.Date + QLatin1Char(' ') + tableName;
    if (tournament) {
        const QString table = QStringLiteral(" - Table ") + QString::number(1 + Below(40));
        plan.TableLine = tableName + table;
        plan.Game = QStringLiteral("No Limit Hold'em (100+10) - Blinds %1/%2").arg(plan.Sb).arg(plan.Bb);
        file.FileName = prefix + table + QStringLiteral(".txt");
    } else {
        plan.TableLine = tableName;
        const QString blinds = FormatCents(plan.Sb) + QLatin1Char('/') + FormatCents(plan.Bb);
        plan.Game =
            (Chance(70) ? QStringLiteral("No Limit Hold'em (") : QStringLiteral("Pot Limit Omaha (")) +
            blinds + QStringLiteral(") - Blinds ") + blinds;
        file.FileName = prefix + QStringLiteral(".txt");
    }
    QStringList pool = Names;
    std::shuffle(pool.begin(), pool.end(), FRandom);
    plan.Regulars = pool.mid(0, 9 + Below(6));
    // Spread the hands over the day so that every time stays a time of that day.
    const int spacing = std::max(1, 86000 / (handCount + 1));
    int seconds = Below(spacing);
    file.Lines.reserve(handCount * 40);
    for (int h = 0; h < handCount; ++h) {
        plan.Number = firstHand + h;
        plan.Sequence = 1 + h % 9;
        plan.Time = TimeOfDay(seconds);
        SimulateHand(plan, FRandom, file.Lines, file.Expected);
        seconds = std::min(86399, seconds + spacing / 2 + 1 + Below(spacing));
    }
    return file;
}

QByteArray EncodeHandHistory(const QStringList& lines, THandHistoryEncoding encoding,
                             const QString& lineBreak)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += lineBreak;
    }
    switch (encoding) {
    case THandHistoryEncoding::Utf8:
        return text.toUtf8();
    case THandHistoryEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case THandHistoryEncoding::Utf16LEBom:
    case THandHistoryEncoding::Utf16BEBom: {
        const bool little = encoding == THandHistoryEncoding::Utf16LEBom;
        QByteArray bytes(little ? "\xFF\xFE" : "\xFE\xFF");
        bytes.reserve(2 + text.size() * 2);
        for (const QChar c : text) {
            const char high = static_cast<char>(c.unicode() >> 8);
            const char low = static_cast<char>(c.unicode() & 0xFF);
            bytes.append(little ? low : high);
            bytes.append(little ? high : low);
        }
        return bytes;
    }
    case THandHistoryEncoding::Windows1252: {
        QStringEncoder encoder("windows-1252");
        QByteArray bytes = encoder.encode(text);
        if (!encoder.isValid() || encoder.hasError())
            qFatal("the text holds a character that Windows-1252 lacks");
        return bytes;
    }
    }
    return {};
}

void WriteHandHistory(const QString& path, const QStringList& lines, THandHistoryEncoding encoding,
                      const QString& lineBreak)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(EncodeHandHistory(lines, encoding, lineBreak)) < 0)
        qFatal("cannot write %s", qPrintable(path));
}
