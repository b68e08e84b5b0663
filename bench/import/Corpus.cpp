#include "Corpus.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <random>

namespace {

const QStringList TableNames = {
    QStringLiteral("Oak"),       QStringLiteral("Birch"),          QStringLiteral("Cedar 6 max"),
    QStringLiteral("Señor Río"), QStringLiteral("Maple Heads-Up"), QStringLiteral("Willow"),
    QStringLiteral("Ash"),       QStringLiteral("Linden"),         QStringLiteral("Café Crème"),
    QStringLiteral("Øresund"),
};

struct TEncodingShare
{
    THandHistoryEncoding Encoding;
    int Percent;
};
constexpr TEncodingShare Encodings[] = {
    {THandHistoryEncoding::Utf8, 64},        {THandHistoryEncoding::Utf8Bom, 13},
    {THandHistoryEncoding::Windows1252, 10}, {THandHistoryEncoding::Utf16LEBom, 9},
    {THandHistoryEncoding::Utf16BEBom, 4},
};

THandHistoryEncoding PickEncoding(int roll) // roll: 0..99
{
    for (const TEncodingShare& share : Encodings) {
        if (roll < share.Percent)
            return share.Encoding;
        roll -= share.Percent;
    }
    return THandHistoryEncoding::Utf8;
}

// The lines joined with the file's line ends: one kind, or a different one
// for each line (a file edited or appended to by another tool).
QString JoinLines(const QStringList& lines, int roll, std::mt19937& random)
{
    static const QString Breaks[] = {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")};
    const int kind = roll < 80 ? 0 : roll < 88 ? 1 : roll < 92 ? 2 : -1;
    QString text;
    text.reserve(lines.size() * 40);
    for (const QString& line : lines) {
        text += line;
        text += Breaks[kind >= 0 ? kind : int(random() % 3)];
    }
    return text;
}

void Write(const QString& path, const QStringList& lines, std::mt19937& random)
{
    const THandHistoryEncoding encoding = PickEncoding(int(random() % 100));
    const QString text = JoinLines(lines, int(random() % 100), random);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(EncodeHandHistory({text}, encoding, QString())) < 0)
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

QVector<TCorpusFile> WriteCorpus(const QString& folder, const TCorpusOptions& options)
{
    QDir().mkpath(folder);
    THandGenerator generator(options.Seed);
    std::mt19937 random(options.Seed * 7919u + 1u);
    QVector<TCorpusFile> files;
    const int tables = std::clamp(options.TablesPerDay, 1, int(TableNames.size()));
    int left = options.Hands;
    qint32 nextHand = 1000001;
    for (int day = 0; left > 0; ++day) {
        const QDate date = options.FirstDay.addDays(day);
        for (int t = 0; t < tables && left > 0; ++t) {
            const int hands = std::min(left, 50 + int(random() % 1451));
            TGeneratedFile file = generator.MakeFile(TableNames[t], date, hands, nextHand);
            const QString path = folder + QLatin1Char('/') + file.FileName;
            Write(path, file.Lines, random);
            files.append({path, hands, std::move(file.Expected)});
            nextHand += hands;
            left -= hands;
        }
        for (int k = 0; k < options.TournamentsPerDay; ++k) {
            const int hands = 80 + int(random() % 220);
            TGeneratedFile file =
                generator.MakeFile(QStringLiteral("Sunday Cup %1").arg(k + 1), date, hands, nextHand, true);
            const QString path = folder + QLatin1Char('/') + file.FileName;
            Write(path, file.Lines, random);
            files.append({path, hands, {}});
            nextHand += hands;
        }
    }
    return files;
}
