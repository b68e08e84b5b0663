// The entry of kestrum-cli: the core without a window.
#include "cli/Cli.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ostravel"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrum-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUM_VERSION));
    return RunCli(QCoreApplication::arguments());
}
