#include "platform/RegularFile.h"

#include "platform/Error.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Raise(const QString& path, const QString& reason)
{
    throw TError(QStringLiteral("Cannot read %1: %2").arg(path, reason));
}

QString SystemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

class TDescriptor
{
public:
    explicit TDescriptor(int fd) : FFd(fd) {}
    ~TDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Fd() const { return FFd; }

private:
    int FFd;
};

} // namespace

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes, QDateTime* modified)
{
    // Read-only, so a file the server still holds open for writing can be
    // read. Without blocking: opening a pipe must not wait for its writer.
    const TDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Fd() < 0)
        Raise(path, SystemReason());
    // Asked of the open descriptor, so the answer is about what is read.
    struct stat status
    {
    };
    if (::fstat(file.Fd(), &status) != 0)
        Raise(path, SystemReason());
    if (!S_ISREG(status.st_mode))
        Raise(path, QStringLiteral("not a regular file"));
    if (status.st_size > maxBytes)
        Raise(path, QStringLiteral("larger than %1 bytes").arg(maxBytes));
    if (modified)
        *modified = QDateTime::fromSecsSinceEpoch(qint64(status.st_mtim.tv_sec), Qt::UTC);

    // One buffer sized by the file, with a byte to spare so that the end is
    // seen without growing it; a file that grows meanwhile is read on to its end.
    QByteArray bytes(qint64(status.st_size) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        const ssize_t count = ::read(file.Fd(), bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            Raise(path, SystemReason());
        if (count == 0)
            break;
        filled += count;
        if (filled > maxBytes)
            Raise(path, QStringLiteral("larger than %1 bytes").arg(maxBytes));
        if (filled == bytes.size())
            bytes.resize(qMin(bytes.size() * 2, maxBytes + 1));
    }
    bytes.truncate(filled);
    return bytes;
}
