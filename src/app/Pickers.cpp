#include "app/Pickers.h"

#include <QLineEdit>

TPicker::TPicker(TKind kind, QWidget* parent) : QDateTimeEdit(parent)
{
    if (kind == TKind::Date) {
        setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        setCalendarPopup(true);
    } else {
        setDisplayFormat(QStringLiteral("HH:mm:ss"));
    }
    SetBlank();
}

void TPicker::SetBlank()
{
    FBlank = true;
    lineEdit()->setText(QStringLiteral(" "));
    update();
}

void TPicker::ShowWithFormat(const QString& format)
{
    FBlank = false;
    setDisplayFormat(format);
    lineEdit()->setText(textFromDateTime(dateTime()));
    update();
}

QString TPicker::textFromDateTime(const QDateTime& dateTime) const
{
    return FBlank ? QStringLiteral(" ") : QDateTimeEdit::textFromDateTime(dateTime);
}
