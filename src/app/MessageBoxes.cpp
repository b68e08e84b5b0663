#include "app/MessageBoxes.h"

#include "app/AppTitle.h"

#include <QMessageBox>

QString UnhandledErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

namespace {
int Show(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
         QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec();
}
} // namespace

void TQtMessageBoxes::Error(const QString& text)
{
    Show(FParent, QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

void TQtMessageBoxes::Information(const QString& text)
{
    Show(FParent, QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok);
}

bool TQtMessageBoxes::Confirm(const QString& text)
{
    return Show(FParent, QMessageBox::Information, QStringLiteral("Confirm"), text,
                QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void TQtMessageBoxes::Plain(const QString& text)
{
    Show(FParent, QMessageBox::NoIcon, QLatin1String(ApplicationTitle), text, QMessageBox::Ok);
}

void TQtMessageBoxes::UnhandledError(const QString& message)
{
    Show(FParent, QMessageBox::Critical, QLatin1String(ApplicationTitle), UnhandledErrorText(message),
         QMessageBox::Ok);
}
