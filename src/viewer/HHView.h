#pragma once

#include "platform/WindowSize.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStatusBar;
class TSettingsStore;
class THHViewModel;

// The hand-history viewer: one text line by line, its hand count, the
// selected line and a find box. Made hidden once at start-up and shown
// modally for each file; its find text, size and place carry over from one
// opening to the next.
class THHViewForm : public QDialog
{
public:
    static constexpr int DesignedWidth = 584;
    static constexpr int DesignedHeight = 442;
    static constexpr int MinimumWidth = 300;
    static constexpr int MinimumHeight = 240;
    static constexpr int LineHeight = 15;

    // Reads its size settings (FormCreate) while it is made; a failure there
    // doesn't stop the window from being made: see CreateError.
    THHViewForm(TSettingsStore& settings, QWidget* mainWindow);
    ~THHViewForm() override;

    // Opens the viewer on a text and returns when it has been closed. An
    // error while saving the size settings at the close is raised here, after
    // the window has closed.
    void ShowLines(const QString& caption, const QStringList& lines);
    // The first two steps of an opening (caption and content), without
    // showing: ShowLines runs this and then the window.
    void LoadLines(const QString& caption, const QStringList& lines);

    // The message of a failed read of the size settings at creation; empty
    // when they read well.
    const QString& CreateError() const { return FCreateError; }
    const TRememberedSize& RememberedSize() const { return FSize; }
    // The selected line counted from 0, or -1.
    int SelectedLine() const;
    // The lines shown; released (empty) once the viewer has closed.
    const QStringList& Lines() const;

    // The error sound of a find without a match (QApplication::beep unless replaced).
    void SetBeepSound(std::function<void()> beep) { FBeep = std::move(beep); }

    void ShowLinePosition();
    void NextBtnClick();

    QLabel* FindLabel;
    QLineEdit* SearchBox;
    QPushButton* NextBtn;
    QListView* HHViewer;
    QStatusBar* StatusBar1;
    QLabel* LinePanel;
    QLabel* HandsPanel;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    void FormCreate();
    void FormShow();
    bool FormKeyPress(int key);
    void FormResize();
    void FormCloseQuery();
    void CentreOverMainWindow();

    TSettingsStore& FSettings;
    THHViewModel* FModel;
    TRememberedSize FSize;
    std::function<void()> FBeep;
    bool FOpenedBefore = false;
    QString FCreateError;
    QString FCloseError;
};
