#pragma once

#include "app/DatabasePage.h"
#include "app/HandHistoryPage.h"
#include "app/LocalFileSource.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/RakebackPage.h"
#include "app/RemoteFileSource.h"
#include "app/ReportsPage.h"
#include "platform/ui/ShBrowseU.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVector>
#include <functional>
#include <memory>

// Keeps every box the window shows, answers confirmations as told, and notes
// whether the wait cursor was up at that moment.
class TRecordingBoxes : public TMessageBoxes
{
public:
    struct TBox
    {
        QString Kind;
        QString Text;
        bool operator==(const TBox&) const = default;
    };
    QVector<TBox> Boxes;
    bool ConfirmAnswer = true;
    std::function<void(const TBox&)> OnBox;

    void Error(const QString& text) override { Add("error", text); }
    void Information(const QString& text) override { Add("information", text); }
    bool Confirm(const QString& text) override
    {
        Add("confirm", text);
        return ConfirmAnswer;
    }
    void Plain(const QString& text) override { Add("plain", text); }
    void UnhandledError(const QString& message) override { Add("unhandled", UnhandledErrorText(message)); }

private:
    void Add(const char* kind, const QString& text)
    {
        Boxes.append({QLatin1String(kind), text});
        if (OnBox)
            OnBox(Boxes.back());
    }
};

inline void PrintTo(const TRecordingBoxes::TBox& box, std::ostream* os)
{
    *os << box.Kind.toStdString() << ": \"" << box.Text.toStdString() << '"';
}

// A picker that answers without a dialog: the folder given, or cancelled.
class TAnsweringPicker : public TShBrowse
{
public:
    TAnsweringPicker(std::optional<QString> answer, QString* seenInitFolder)
        : FAnswer(std::move(answer)), FSeen(seenInitFolder)
    {
    }
    bool Execute() override
    {
        if (FSeen)
            *FSeen = FInitFolder;
        if (!FAnswer)
            return false;
        FFolder = *FAnswer;
        return true;
    }

private:
    std::optional<QString> FAnswer;
    QString* FSeen;
};

// Every text a status line showed on screen, in order.
class TStatusRecorder : public QObject
{
public:
    explicit TStatusRecorder(QLabel* line) : FLine(line) { line->installEventFilter(this); }
    QStringList Shown;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == FLine && event->type() == QEvent::Paint &&
            (Shown.isEmpty() || Shown.back() != FLine->text()))
            Shown.append(FLine->text());
        return false;
    }

private:
    QLabel* FLine;
};

// Toggles a radio button or a check box as the accessibility bus does: its
// state changes without a click.
inline void ToggleThroughTheBus(QWidget* control)
{
    QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
}

// A main window over temporary places: its own database folder and settings file.
class TWindowFixture
{
public:
    QTemporaryDir Dir;
    TRecordingBoxes Boxes;
    std::optional<QString> PickerAnswer; // nothing: cancel
    QString PickerInitFolder;
    QString SaveAnswer;
    QString StatementAnswer;        // the rakeback page's save dialog; empty: cancelled
    QStringList StatementProposals; // the files it proposed, in order
    int LockWaitMs = 300;           // short, so a test of a lock that is never let go ends soon
    std::unique_ptr<TMainForm> Form;

    QString DatabaseFolder() const { return Dir.filePath(QStringLiteral("db")); }
    QString SettingsFile() const { return Dir.filePath(QStringLiteral("settings/Kestrum.conf")); }

    TMainForm& Open()
    {
        Dir.setAutoRemove(true);
        QDir().mkpath(DatabaseFolder());
        TMainFormPlaces places;
        places.DatabaseFolder = DatabaseFolder();
        places.SettingsFile = SettingsFile();
        places.NewFolderPicker = [this] {
            return std::make_unique<TAnsweringPicker>(PickerAnswer, &PickerInitFolder);
        };
        places.AskSaveFile = [this](QWidget*) { return SaveAnswer; };
        places.AskImageFile = places.AskSaveFile;
        places.AskStatementFile = [this](QWidget*, const QString& proposed) {
            StatementProposals << proposed;
            return StatementAnswer;
        };
        places.LockWaitMs = LockWaitMs;
        Form = std::make_unique<TMainForm>(Boxes, places);
        return *Form;
    }
    // Shows the window and waits until it is on screen, so that repaints really paint.
    void Show()
    {
        Form->show();
        (void)QTest::qWaitForWindowExposed(Form.get());
    }
    // Closes as the user does (saving the settings) and destroys the window.
    void Close()
    {
        if (Form) {
            Form->close();
            Form.reset();
        }
    }
};
