#include "Corpus.h"

#include <QDir>
#include <algorithm>

namespace {

const QStringList TableNames = {
    QStringLiteral("Oak"),       QStringLiteral("Birch"),          QStringLiteral("Cedar 6 max"),
    QStringLiteral("Señor Río"), QStringLiteral("Maple Heads-Up"), QStringLiteral("Willow"),
    QStringLiteral("Ash"),       QStringLiteral("Linden"),
};

} // namespace

QVector<TCorpusFile> WriteCorpus(const QString& folder, const TCorpusOptions& options)
{
    QDir().mkpath(folder);
    THandGenerator generator(options.Seed);
    QVector<TCorpusFile> files;
    const int tables = std::clamp(options.Tables, 1, static_cast<int>(TableNames.size()));
    const int perFile = std::max(1, options.HandsPerFile);
    int left = options.Hands;
    qint32 nextHand = 1000001;
    for (int day = 0; left > 0; ++day) {
        const QDate date = options.FirstDay.addDays(day);
        for (int t = 0; t < tables && left > 0; ++t) {
            const int hands = std::min(left, perFile);
            TGeneratedFile file = generator.MakeFile(TableNames[t], date, hands, nextHand);
            const QString path = folder + QLatin1Char('/') + file.FileName;
            // The server writes CR LF; now and then a file with a mark.
            WriteHandHistory(path, file.Lines,
                             (day + t) % 7 == 3 ? THandHistoryEncoding::Utf8Bom : THandHistoryEncoding::Utf8);
            files.append({path, hands, std::move(file.Expected)});
            nextHand += hands;
            left -= hands;
        }
        for (int k = 0; k < options.TournamentsPerDay; ++k) {
            TGeneratedFile file =
                generator.MakeFile(QStringLiteral("Sunday Cup %1").arg(k + 1), date, 300, nextHand, true);
            const QString path = folder + QLatin1Char('/') + file.FileName;
            WriteHandHistory(path, file.Lines);
            files.append({path, 300, {}});
            nextHand += 300;
        }
    }
    return files;
}
