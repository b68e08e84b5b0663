#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

// Bad usage of the command line: the message says what is wrong; exit code 2.
struct TCliUsage
{
    QString Message;
};

// Ctrl+C was pressed: the command stops without writing anything more; exit code 130.
struct TCliInterrupted
{
};

// The command line's two streams. Text goes out as UTF-8, a line at a time,
// flushed, so output interleaves sensibly when both streams share a terminal
// or a log. The progress line is for a person at a terminal only: when stderr
// is not one (cron, a pipe) nothing of it is written. Lines (tables, lists,
// messages) show control characters as U+FFFD; OutBytes (CSV, help) writes
// its bytes as they are. A failed write to stdout raises TError. After Ctrl+C nothing
// more is written: each call raises TCliInterrupted instead.
class TCliOutput
{
public:
    TCliOutput();
    void Out(const QString& line);
    void OutBytes(const QByteArray& bytes);
    void Err(const QString& line);

    bool ProgressShown() const { return FProgressOn; }
    // Rewrites the progress line in place, at most a few times a second unless final.
    void Progress(const QString& text, bool final = false);
    void ClearProgress();

private:
    bool FProgressOn;
    bool FProgressVisible = false;
    QElapsedTimer FSinceLast;
};
