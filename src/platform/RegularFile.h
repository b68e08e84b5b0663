#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Reads the whole of a regular file. Anything else (a named pipe, a device, a
// folder, a link to one of them) is refused before a byte is read, because a
// pipe can wait for a writer for ever and a device can give bytes for ever.
// A file over maxBytes is refused before it is read, and so is one that grows
// past it while it is read. Raises TError with the path and the reason.
// modified, when given, gets the file's last modification (UTC), taken from the
// open file before its bytes are read.
QByteArray ReadRegularFile(const QString& path, qint64 maxBytes, QDateTime* modified = nullptr);
