#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

using TFormFields = QList<QPair<QString, QString>>;

// A list reply's Files value: a decimal whole number, 0 when missing or not one.
int ReplyFileCount(const QStringList& listReply);

// The remote entries "HH" + Date<i> + " " + Name<i> + ".txt" for i = 1..Files, in the
// order of i; a missing Date<i> or Name<i> leaves that part empty.
QStringList BuildRemoteEntries(const QStringList& listReply);

// An entry cut back into the fetch fields: the date is characters 3 to 12, the name
// what remains without the first 13 and the last 4 characters.
QString RemoteEntryDate(const QString& entry);
QString RemoteEntryName(const QString& entry);

// The two forms of the "LogsHandHistory" command.
TFormFields ListFormFields(const QString& password);
TFormFields FetchFormFields(const QString& password, const QString& entry);
