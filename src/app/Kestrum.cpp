// The entry: start-up and the event loop.
#include "app/AppTitle.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "db/RakeDatabase.h"
#include "platform/DatabaseHome.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ostravel"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrum"));

    // One database per server: --database names another file than the usual one.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Imports hand histories and reports the rake each player paid."));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("The rake database file, made when missing (default: Kestrum2.db3)."),
        QStringLiteral("FILE"));
    parser.addOption(database);
    parser.addHelpOption();
    parser.process(app);

    TMainFormPlaces places;
    if (parser.isSet(database)) {
        const QFileInfo file(parser.value(database));
        places.DatabaseFolder = file.absolutePath();
        places.DatabaseFileName = file.fileName();
    } else {
        places.DatabaseFolder = DatabaseFolder(QLatin1String(TRakeDatabase::DatabaseFileName));
    }
    TQtMessageBoxes boxes;
    TMainForm form(boxes, places);
    boxes.SetParent(&form);
    form.ShowAtStart();
    QApplication::exec();
    return 0;
}
