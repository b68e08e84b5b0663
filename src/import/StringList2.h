#pragma once

#include "platform/EntryText.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

// A list of text lines that can be filled from a hand-history file.
class TStringList2 : public QStringList
{
public:
    static constexpr qint64 MaxFileBytes = MaxEntryBytes;

    // Replaces the content with the file's lines. Raises TError when the file
    // cannot be opened or read, is not a regular file (a folder, a pipe, a
    // device) or is larger than maxBytes.
    void LoadFromFile(const QString& path, qint64 maxBytes = MaxFileBytes);
    // Of the last LoadFromFile: the bytes read (a cut character at the end
    // included) and the file's last modification, UTC.
    qint64 BytesRead() const { return FBytesRead; }
    const QDateTime& Modified() const { return FModified; }

    // Replaces the content with the lines of a file's bytes: decoded by the
    // byte-order mark (UTF-8, UTF-16 LE, UTF-16 BE) or else in the system's
    // 8-bit code page, cut at CR, LF or CR LF, ending at the first NUL.
    // The lines share one buffer of the whole text, so a line kept on its own
    // keeps that buffer alive; copy it (QString(line.constData(), line.size()))
    // to hold it for long.
    void LoadFromBytes(QByteArrayView bytes);

private:
    void CutIntoLines(QString text);
    qint64 FBytesRead = 0;
    QDateTime FModified;
};
