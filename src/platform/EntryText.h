#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The largest hand-history file read, from a folder or as the server's reply:
// its text, lines and bytes together stay within about four times its size,
// and a runaway file or server can't take all the memory.
constexpr qint64 MaxEntryBytes = qint64(512) << 20;

// One hand-history file as an import reads it, from a folder or from the
// server: its lines, and what the import log keeps of where they came from.
struct TEntryText
{
    QStringList Lines;
    QString Source;     // a local file's absolute path, or the server's address + "/" + the entry
    qint64 Bytes = 0;   // the size read
    QDateTime Modified; // a local file's last modification, UTC; not valid for a remote entry
};
