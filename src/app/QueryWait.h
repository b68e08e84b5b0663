#pragma once

#include "platform/Busy.h"

#include <QList>
#include <QObject>
#include <QString>

class QBoxLayout;
class QLabel;
class QPushButton;
class TRakeDatabase;
struct TWindowParts;

// A page's long reads: the work runs on a worker thread while the window stays
// drawn. After a second each status line shows the seconds so far after its
// text and a Cancel button appears; Escape or Cancel interrupts the engine.
// The button exists only while it is shown, so that nothing else named
// "Cancel" (a box's button) has a hidden twin on the accessibility bus.
// Every other input is ignored meanwhile: the window's handlers refuse to run
// and clicks and keys are swallowed, so nothing else touches the database.
class TQueryWait : public QObject
{
    Q_OBJECT
public:
    // The Cancel button, named cancelName, stands at the end of commandRow,
    // before its closing stretch. The wait belongs to page.
    TQueryWait(QWidget* page, TWindowParts& parts, QList<QLabel*> statusLines, QBoxLayout* commandRow,
               const char* cancelName, int cancelWidth);
    TWaitHook Hook();
    // The Cancel button while it is shown, else nullptr.
    QPushButton* CancelButton() const { return FCancelBtn; }
    // Asks the running work to stop (the Cancel button, Escape).
    void Cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run(const std::function<void()>& work);
    void ShowSeconds(qint64 seconds);

    TWindowParts& FParts;
    QList<QLabel*> FStatusLines;
    QBoxLayout* FCommandRow;
    const char* FCancelName;
    int FCancelWidth;
    QPushButton* FCancelBtn = nullptr;
    QStringList FTexts; // the status texts the wait began with
    bool FCancelled = false;
};
