#pragma once

#include <QStringList>
#include <functional>

struct TRakebackStatement;

// kestrum-cli: the command-line front end. arguments as main received them.
// Returns the exit code: 0 success, 1 failure (the message on stderr), 2 bad
// usage (what is wrong on stderr).
int RunCli(const QStringList& arguments);

// How `rakeback --pdf` writes its file: statement, period, basis, default
// rate, path; raises TError on failure. Drawing needs Qt Gui, which the core
// never links, so the program's entry hands the writer in.
using TRakebackPdfWriter =
    std::function<void(const TRakebackStatement&, const QString& period, const QString& basis,
                       double defaultPercent, const QString& path)>;
void SetRakebackPdfWriter(TRakebackPdfWriter writer);

// Whether these arguments ask for a PDF, so the entry knows to start Qt Gui
// (on the offscreen platform: no display is needed).
bool ArgumentsAskForPdf(const QStringList& arguments);
