#include "cli/CliOutput.h"

#include "platform/Error.h"
#include "platform/Interrupt.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
constexpr qint64 ProgressIntervalMs = 200;

void Write(FILE* stream, const QByteArray& bytes)
{
    if (Interrupt::Requested())
        throw TCliInterrupted{};
    errno = 0;
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size()) &&
        std::fflush(stream) == 0;
    // Half a table that ends with exit code 0 would pass for a whole one. Of
    // stderr nothing can be said anywhere.
    if (!written && stream == stdout) {
        const int error = errno;
        clearerr(stdout);
        throw TError(QStringLiteral("Could not write to standard output: ") +
                     QString::fromLocal8Bit(std::strerror(error)));
    }
}

// Names from files and the server's texts reach the terminal: a control
// character (C0 but tab, DEL, C1) could move the cursor, clear the screen or
// set the title, so it is shown as U+FFFD. One character for one keeps
// aligned columns aligned.
QString Shown(QString line)
{
    for (QChar& c : line) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t') || (u >= 0x7F && u <= 0x9F))
            c = QChar(0xFFFD);
    }
    return line;
}
} // namespace

TCliOutput::TCliOutput() : FProgressOn(isatty(STDERR_FILENO) == 1) {}

void TCliOutput::Out(const QString& line)
{
    ClearProgress();
    Write(stdout, (Shown(line) + QLatin1Char('\n')).toUtf8());
}

void TCliOutput::OutBytes(const QByteArray& bytes)
{
    Write(stdout, bytes);
}

void TCliOutput::Err(const QString& line)
{
    ClearProgress();
    Write(stderr, (Shown(line) + QLatin1Char('\n')).toUtf8());
}

void TCliOutput::Progress(const QString& text, bool final)
{
    if (!FProgressOn)
        return;
    if (!final && FProgressVisible && FSinceLast.isValid() && FSinceLast.elapsed() < ProgressIntervalMs)
        return;
    FSinceLast.start();
    // Back to the line's start, the new text, then erase what an older, longer text left.
    Write(stderr, "\r" + text.toUtf8() + "\x1b[K");
    FProgressVisible = true;
}

void TCliOutput::ClearProgress()
{
    if (!FProgressVisible)
        return;
    Write(stderr, "\r\x1b[K");
    FProgressVisible = false;
}
