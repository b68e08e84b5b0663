// The window's import on a thread of its own: what the run says reaches the
// window's thread in the order said, the run waits for what it must, and its
// failures come back to the window's thread.
#include "WindowFixture.h"

#include "app/ImportAside.h"
#include "app/WindowParts.h"
#include "platform/Error.h"

#include <QElapsedTimer>
#include <QMap>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The window's side: records each call, and whether it came on the window's
// thread while the window's handlers were refused.
class TRecordingWindow : public TImportFrontEnd
{
public:
    explicit TRecordingWindow(TWindowParts& parts) : FParts(parts) {}
    QStringList Calls;
    bool AllOnWindowThread = true;
    int Drawn = 0;
    QMap<QString, int> DrawnAt; // rounds drawn before each call
    QString FailOn;             // a call that raises, as a box that fails would

    void SetStatus(const QString& text) override { Note("status " + text); }
    void ShowError(const QString& text) override { Note("error " + text); }
    void CloseViews() override { Note(QStringLiteral("close")); }
    void ShowPlain(const QString& text) override { Note("plain " + text); }
    void SetBusy(bool busy) override { Note(busy ? QStringLiteral("busy") : QStringLiteral("idle")); }
    void Progress(int done, int hands) override
    {
        Note(QStringLiteral("progress %1 %2").arg(done).arg(hands));
    }
    void KeepDrawn() override { ++Drawn; }

private:
    void Note(const QString& call)
    {
        AllOnWindowThread = AllOnWindowThread && QThread::currentThread() == qApp->thread() && FParts.Waiting;
        Calls << call;
        DrawnAt[call] = Drawn;
        if (call == FailOn)
            throw TError(QStringLiteral("failed: ") + call);
    }
    TWindowParts& FParts;
};

TEST(ImportAside, TheRunSpeaksInOrderAndItsFailuresComeBack)
{
    TRecordingBoxes boxes;
    TWindowParts parts(boxes, {});
    QWidget page;
    struct TCase
    {
        const char* Name;
        QString FailOn;    // the window's call that raises
        bool RunFails;     // the run raises at its end
        QString Raised;    // what RunImportAside raises ("" none)
        QString RunCaught; // what the run caught from the window
    };
    const TCase cases[] = {
        {"a plain run", {}, false, {}, {}},
        {"the run fails after its calls", {}, true, "run failed", {}},
        {"an awaited box fails: the run is told", "error e", false, {}, "failed: error e"},
        {"a status fails: raised once the run has ended", "status b", false, "failed: status b", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRecordingWindow window(parts);
        window.FailOn = c.FailOn;
        QString raised, caught;
        bool runOnItsOwnThread = false;
        int result = -1;
        try {
            result = RunImportAside(parts, &page, window, [&](TImportFrontEnd& run) {
                runOnItsOwnThread = QThread::currentThread() != qApp->thread();
                run.SetBusy(true);
                run.SetStatus(QStringLiteral("a"));
                run.Progress(1, 10);
                QThread::msleep(250); // a long file: the window is drawn meanwhile
                try {
                    run.ShowError(QStringLiteral("e"));
                } catch (const TError& e) {
                    caught = e.Message();
                }
                run.SetStatus(QStringLiteral("b"));
                run.CloseViews();
                run.SetStatus(QString());
                run.ShowPlain(QStringLiteral("p"));
                run.SetBusy(false);
                if (c.RunFails)
                    throw TError(QStringLiteral("run failed"));
                return 7;
            });
        } catch (const TError& e) {
            raised = e.Message();
        }
        EXPECT_TRUE(runOnItsOwnThread);
        EXPECT_TRUE(window.AllOnWindowThread);
        EXPECT_EQ(window.Calls, (QStringList{"busy", "status a", "progress 1 10", "error e", "status b",
                                             "close", "status ", "plain p", "idle"}));
        EXPECT_GE(window.DrawnAt["error e"] - window.DrawnAt["progress 1 10"], 2)
            << "drawn in the long pause";
        EXPECT_EQ(raised, c.Raised);
        EXPECT_EQ(caught, c.RunCaught);
        EXPECT_EQ(result, c.Raised.isEmpty() ? 7 : -1);
        EXPECT_FALSE(parts.Waiting);
    }
}

// The run's box closes as ever, while the main window refuses to close.
TEST(ImportAside, ItsBoxClosesButTheWindowStaysOpen)
{
    TRecordingBoxes boxes;
    TWindowParts parts(boxes, {});
    QWidget mainWindow;
    auto* page = new QWidget(&mainWindow);
    mainWindow.show();
    struct TBoxWindow : TRecordingWindow
    {
        using TRecordingWindow::TRecordingWindow;
        QWidget* Main = nullptr;
        bool MainClosed = true;
        qint64 BoxMs = -1;
        void ShowPlain(const QString& text) override
        {
            QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kestrum"), text);
            QTimer::singleShot(0, &box, [&] {
                MainClosed = Main->close();
                box.accept();
            });
            QTimer::singleShot(3000, &box, &QWidget::hide); // a box that won't close ends here
            QElapsedTimer clock;
            clock.start();
            box.exec();
            BoxMs = clock.elapsed();
        }
    } window(parts);
    window.Main = &mainWindow;
    RunImportAside(parts, page, window, [](TImportFrontEnd& run) {
        run.ShowPlain(QStringLiteral("Raked hands imported:  1"));
        return 1;
    });
    EXPECT_LT(window.BoxMs, 2000);
    EXPECT_FALSE(window.MainClosed);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(mainWindow.close()) << "it closes once the run has ended";
}

} // namespace
