// Writes the small folder of invented hand histories that the README's
// walkthrough imports: three ring tables over three days and two tournament tables.
#include "support/HandGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrum_demo_data"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUM_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the README's invented hand histories: three ring tables over three days and two "
        "tournament tables."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("Where to write them (made when missing)."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "kestrum_demo_data: give one FOLDER\nTry \"kestrum_demo_data --help\".\n");
        return 2;
    }
    const QString folder = parser.positionalArguments().constFirst();
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
