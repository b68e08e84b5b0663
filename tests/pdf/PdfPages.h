#pragma once

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

// The pages of a PDF file as Qt writes it: its page objects are never inside a
// compressed stream, so they can be counted in the bytes.
inline int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF-"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    return static_cast<int>(QString::fromLatin1(bytes).count(page));
}
