// Writes the small folder of invented hand histories that the README's
// walkthrough imports: three ring tables over three days and two tournament tables.
#include "support/HandGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrum_demo_data <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    THandGenerator generator(2026);
    qint32 hand = 81000;
    int files = 0;
    for (int day = 0; day < 3; ++day) {
        const QDate date(2026, 11, 2 + day);
        for (const char* table : {"Oak", "Birch", "Maple"}) {
            const TGeneratedFile file = generator.MakeFile(QLatin1String(table), date, 60 + 10 * day, hand);
            WriteHandHistory(folder + QLatin1Char('/') + file.FileName, file.Lines);
            hand += 200;
            ++files;
        }
    }
    for (int t = 0; t < 2; ++t) {
        const TGeneratedFile file =
            generator.MakeFile(QStringLiteral("Sunday Cup"), QDate(2026, 11, 4), 40, hand, true);
        WriteHandHistory(folder + QLatin1Char('/') + file.FileName, file.Lines);
        hand += 200;
        ++files;
    }
    std::printf("%d files in %s\n", files, qPrintable(folder));
    return 0;
}
