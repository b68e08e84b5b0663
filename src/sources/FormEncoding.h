#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Encodes one name or value of a form body: A-Z a-z 0-9 * - . _ stay, a blank becomes
// "+", everything else is its UTF-8 bytes as upper-case %XX; an unpaired surrogate,
// which has no UTF-8 form, is written as "&#N;" with its decimal code.
QByteArray FormEncodeText(const QString& text);

// The request body: name=value pairs, encoded, joined by "&" in their order.
QByteArray FormEncode(const QList<QPair<QString, QString>>& fields);
