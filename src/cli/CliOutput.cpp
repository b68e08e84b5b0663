#include "cli/CliOutput.h"

#include "platform/Interrupt.h"

#include <cstdio>
#include <unistd.h>

namespace {
constexpr qint64 ProgressIntervalMs = 200;

void Write(FILE* stream, const QByteArray& bytes)
{
    if (Interrupt::Requested())
        throw TCliInterrupted{};
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

TCliOutput::TCliOutput() : FProgressOn(isatty(STDERR_FILENO) == 1) {}

void TCliOutput::Out(const QString& line)
{
    ClearProgress();
    Write(stdout, (line + QLatin1Char('\n')).toUtf8());
}

void TCliOutput::OutBytes(const QByteArray& bytes)
{
    Write(stdout, bytes);
}

void TCliOutput::Err(const QString& line)
{
    ClearProgress();
    Write(stderr, (line + QLatin1Char('\n')).toUtf8());
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
