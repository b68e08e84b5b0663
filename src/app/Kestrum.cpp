// The entry: start-up and the event loop.
#include "app/AppTitle.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "db/RakeDatabase.h"
#include "platform/DatabaseHome.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ostravel"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrum"));

    TQtMessageBoxes boxes;
    TMainForm form(boxes, TMainFormPlaces{DatabaseFolder(QLatin1String(TRakeDatabase::DatabaseFileName)), QString(), {}, {}, {}});
    boxes.SetParent(&form);
    form.ShowAtStart();
    QApplication::exec();
    return 0;
}
