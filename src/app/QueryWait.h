#pragma once

#include "platform/Busy.h"

#include <QList>
#include <QObject>
#include <QString>
#include <atomic>

class QLabel;
class QPushButton;
class TRakeDatabase;
struct TWindowParts;

// A page's long reads: the work runs on a worker thread while the window stays
// drawn. After a second each status line shows the seconds so far after its
// text and the Cancel button appears; Escape or Cancel interrupts the engine.
// Every other input is ignored meanwhile: the window's handlers refuse to run
// and clicks and keys are swallowed, so nothing else touches the database.
class TQueryWait : public QObject
{
    Q_OBJECT
public:
    TQueryWait(TWindowParts& parts, QList<QLabel*> statusLines, QPushButton* cancelBtn);
    TWaitHook Hook();
    // Asks the running work to stop (the Cancel button, Escape).
    void Cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run(const std::function<void()>& work);
    void ShowSeconds(qint64 seconds);

    TWindowParts& FParts;
    QList<QLabel*> FStatusLines;
    QPushButton* FCancelBtn;
    QStringList FTexts; // the status texts the wait began with
    bool FCancelled = false;
};
