// The entry of kestrum-cli: the core without a window.
#include "cli/Cli.h"
#include "pdf/RakebackPdf.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Drawing a PDF needs Qt Gui, and Qt Gui a platform: the offscreen one,
    // so that cron, a service or ssh need no display. Every other command
    // starts Qt Core alone.
    std::unique_ptr<QCoreApplication> app;
    if (ArgumentsAskForPdf(arguments)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The platform's chatter (no runtime folder under cron, fonts) is no
        // news to a cron mail; what goes wrong still reaches stderr.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(message));
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Ostravel"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrum-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUM_VERSION));
    SetRakebackPdfWriter([](const TRakebackStatement& statement, const QString& period, const QString& basis,
                            double defaultPercent, const QString& path) {
        WriteRakebackPdf(statement, {period, basis, defaultPercent, QDateTime::currentDateTime()}, path);
    });
    return RunCli(QCoreApplication::arguments());
}
