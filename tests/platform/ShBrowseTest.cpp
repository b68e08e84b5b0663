#include "platform/ui/ShBrowseU.h"

#include "platform/Folders.h"
#include "platform/ui/ShBrowseDialog.h"
#include "support/QtPrinters.h"
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// Drives the real dialog without blocking: the test's answer runs while the
// dialog is shown, then the dialog's own result is returned.
class TDrivenPicker : public TShBrowse
{
public:
    std::function<void(QDialog&)> Answer;
    QString Title, Message;
    QPoint Position;

    QDialog* Dialog = nullptr;
    QTreeView* Tree() const { return Dialog->findChild<QTreeView*>(QStringLiteral("FolderTree")); }
    QPushButton* Button(const char* name) const
    {
        return Dialog->findChild<QPushButton*>(QLatin1String(name));
    }
    QString SelectedPath() const
    {
        const auto* model = static_cast<QFileSystemModel*>(Tree()->model());
        return Tree()->currentIndex().isValid() ? model->filePath(Tree()->currentIndex()) : QString();
    }
    QFileSystemModel* Model() const { return static_cast<QFileSystemModel*>(Tree()->model()); }
    QLineEdit* FolderEdit() const { return Dialog->findChild<QLineEdit*>(QStringLiteral("FolderEdit")); }
    void Press(const char* name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }
    // Waits until the tree's model has had nothing more to load for a while:
    // folders arrive from a background thread, each with directoryLoaded.
    void WaitUntilLoaded() const
    {
        QSignalSpy loaded(Model(), &QFileSystemModel::directoryLoaded);
        while (loaded.wait(1000)) {
        }
    }
    // Whether the folder's row lies wholly inside the tree's visible area.
    bool InView(const QString& folder) const
    {
        const QRect row = Tree()->visualRect(Model()->index(folder));
        return !row.isEmpty() && Tree()->viewport()->rect().contains(row);
    }
    qint32 Left() const { return FLeft; }
    qint32 Top() const { return FTop; }
    void PresetFolder(const QString& folder) { FFolder = folder; }
    void TamperFlags(quint32 flags) { FWinFlags = flags; }

protected:
    int RunDialog(QDialog& dialog) override
    {
        Dialog = &dialog;
        dialog.show();
        Title = dialog.windowTitle();
        Message = dialog.findChild<QLabel*>(QStringLiteral("UserMessage"))->text();
        Position = dialog.frameGeometry().topLeft();
        Answer(dialog);
        Dialog = nullptr;
        return dialog.result();
    }
};

class ShBrowseTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString Folder(const QString& relative) const
    {
        QDir(Dir.path()).mkpath(relative);
        return Dir.filePath(relative);
    }
};

TEST_F(ShBrowseTest, TheStartingFolderIsSelectedAndOkReturnsIt)
{
    const QString start = Folder(QStringLiteral("one/two/Zantreo 3/HandHistory"));
    TDrivenPicker picker;
    picker.SetCaption(QStringLiteral("Browse for folder"));
    picker.SetUserMessage(QStringLiteral("Select hand history folder"));
    picker.SetInitFolder(start + "/");
    bool parentExpanded = false;
    QString selected;
    picker.Answer = [&](QDialog&) {
        selected = picker.SelectedPath();
        parentExpanded = picker.Tree()->isExpanded(picker.Tree()->currentIndex().parent());
        picker.Press("OkBtn");
    };
    EXPECT_TRUE(picker.Execute());
    EXPECT_EQ(selected, start);
    EXPECT_TRUE(parentExpanded);
    EXPECT_EQ(picker.Folder(), start);
    EXPECT_EQ(picker.SelIconIndex(), 0);
    EXPECT_EQ(picker.Title, "Browse for folder");
    EXPECT_EQ(picker.Message, "Select hand history folder");
}

TEST_F(ShBrowseTest, CancelLeavesFolderAsItWasEvenAfterTheHookMovedIt)
{
    const QString start = Folder(QStringLiteral("start"));
    TDrivenPicker picker;
    picker.PresetFolder(QStringLiteral("/earlier/choice"));
    picker.SetFolderCheck([](TShBrowse&, const QString&) { return true; });
    picker.SetInitFolder(start);
    QString folderWhileOpen;
    picker.Answer = [&](QDialog&) {
        folderWhileOpen = picker.Folder();
        picker.Press("CancelBtn");
    };
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(folderWhileOpen, start);
    EXPECT_EQ(picker.Folder(), "/earlier/choice");
}

TEST_F(ShBrowseTest, NoSelectionOrAMissingFolderGivesAnEmptyFolderOnOk)
{
    for (const QString& init : {QString(), Dir.filePath(QStringLiteral("does/not/exist"))}) {
        TDrivenPicker picker;
        picker.SetInitFolder(init);
        QString selected = QStringLiteral("<unset>");
        picker.Answer = [&](QDialog&) {
            selected = picker.SelectedPath();
            picker.Press("OkBtn");
        };
        EXPECT_TRUE(picker.Execute()) << init.toStdString();
        EXPECT_EQ(selected, "");
        EXPECT_EQ(picker.Folder(), "");
    }
}

TEST_F(ShBrowseTest, EitherCoordinateZeroCentresOnTheWorkArea)
{
    struct Row
    {
        qint32 Left, Top;
        bool Centred;
    };
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Row& row : {Row{0, 0, true}, Row{10, 0, true}, Row{0, 20, true}, Row{10, 20, false}}) {
        TDrivenPicker picker;
        picker.SetLeft(row.Left);
        picker.SetTop(row.Top);
        QSize size;
        picker.Answer = [&](QDialog& dialog) {
            size = dialog.frameGeometry().size();
            picker.Press("CancelBtn");
        };
        picker.Execute();
        const QPoint expected =
            row.Centred ? QPoint((work.width() - size.width()) / 2, (work.height() - size.height()) / 2)
                        : QPoint(row.Left, row.Top);
        EXPECT_EQ(QPoint(picker.Left(), picker.Top()), expected) << row.Left << "," << row.Top;
        EXPECT_EQ(picker.Position, expected) << row.Left << "," << row.Top;
    }
}

TEST_F(ShBrowseTest, TheHookEnablesOkOnlyForAcceptedFolders)
{
    const QString good = Folder(QStringLiteral("good"));
    const QString refused = Folder(QStringLiteral("refused"));
    TDrivenPicker picker;
    QStringList asked;
    picker.SetFolderCheck([&](TShBrowse& sender, const QString& folder) {
        EXPECT_EQ(&sender, &picker);
        asked << folder;
        return !folder.endsWith(QLatin1String("refused"));
    });
    picker.SetInitFolder(refused);
    bool okAtStart = true, okAfterMove = false;
    picker.Answer = [&](QDialog&) {
        okAtStart = picker.Button("OkBtn")->isEnabled();
        const auto* model = static_cast<QFileSystemModel*>(picker.Tree()->model());
        picker.Tree()->setCurrentIndex(model->index(good));
        okAfterMove = picker.Button("OkBtn")->isEnabled();
        picker.Press("OkBtn");
    };
    EXPECT_TRUE(picker.Execute());
    EXPECT_FALSE(okAtStart);
    EXPECT_TRUE(okAfterMove);
    EXPECT_EQ(asked, (QStringList{refused, good}));
    EXPECT_EQ(picker.Folder(), good);
}

TEST_F(ShBrowseTest, ExecuteRunsTheDialogModally)
{
    TShBrowse picker;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        wasModal = dialog->isModal();
        EXPECT_EQ(dialog->windowTitle(), "Browse for Folder");
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
    });
    EXPECT_FALSE(picker.Execute());
    EXPECT_TRUE(wasModal);
}

TEST(ShBrowseOptionsTest, FlagsAreRebuiltOnlyWhenTheSetChanges)
{
    quint32 all = 0;
    for (int option = 0; option < ShBrowseOptionCount; ++option)
        all |= ShBrowseOptionFlag(TShBrowseOption(option));
    EXPECT_EQ(qPopulationCount(all), ShBrowseOptionCount) << "every option has a flag of its own";
    TDrivenPicker picker;
    const TShBrowseOptions set{sboEditBox, sboValidate};
    picker.SetOptions(set);
    EXPECT_EQ(picker.WinFlags(), ShBrowseOptionFlag(sboEditBox) | ShBrowseOptionFlag(sboValidate));
    picker.TamperFlags(0xABCD);
    picker.SetOptions(set);
    EXPECT_EQ(picker.WinFlags(), 0xABCDu) << "the same set must change nothing";
    picker.SetOptions({});
    EXPECT_EQ(picker.WinFlags(), 0u);
}

TEST(ShBrowseUncTest, ErrorCodesGiveTheirTexts)
{
    const std::pair<quint32, const char*> rows[] = {
        {50, "UNC name not supported"}, {234, "Buffer too small"},
        {1200, "Invalid path"},         {1201, "No connection"},
        {1203, "Unrecognised path"},    {1208, "Network error"},
        {1222, "Network unavailable"},  {2250, "Not connected"},
        {5, "Unknown Error : 5"},       {4294967295u, "Unknown Error : 4294967295"}};
    for (const auto& [code, text] : rows)
        EXPECT_EQ(TShBrowse::NetworkErrorText(code), text);
    EXPECT_EQ(TShBrowse().UNCFolder(), "UNC name not supported");
}

class ShBrowseBrowsingTest : public ShBrowseTest
{
protected:
    // Enough folders around the starting one that rows loading above it
    // would push it out of sight, and the user's folder far below it.
    void FillTree()
    {
        for (int i = 0; i < 40; ++i) {
            Folder(QStringLiteral("f%1").arg(i, 2, 10, QLatin1Char('0')));
            Folder(QStringLiteral("a/b/c/g%1").arg(i, 2, 10, QLatin1Char('0')));
        }
        Start = Folder(QStringLiteral("a/b/c/start"));
        Other = Folder(QStringLiteral("zz-other"));
    }
    QString Start, Other;
};

TEST_F(ShBrowseBrowsingTest, TheStartingFolderIsShownOnceAndNeverSnatchesTheUsersChoice)
{
    FillTree();
    TDrivenPicker picker;
    picker.SetInitFolder(Start);
    bool startInView = false, otherCurrent = false, notScrolledBack = false;
    QString field, afterLoading;
    picker.Answer = [&](QDialog&) {
        picker.WaitUntilLoaded();
        startInView = picker.InView(Start);
        // The user moves while folders are still arriving: expand every
        // folder under the one they pick so that loading goes on afterwards.
        picker.Tree()->scrollTo(picker.Model()->index(Other));
        QTest::mouseClick(picker.Tree()->viewport(), Qt::LeftButton, {},
                          picker.Tree()->visualRect(picker.Model()->index(Other)).center());
        otherCurrent = picker.SelectedPath() == Other;
        field = picker.FolderEdit()->text();
        // Rows that arrive above the user's folder may push it down (how many
        // depends on the loader thread's pace), but the view must never be
        // taken back up towards the starting folder.
        const int scrolledTo = picker.Tree()->verticalScrollBar()->value();
        picker.Tree()->expandRecursively(picker.Model()->index(Dir.path()));
        picker.WaitUntilLoaded();
        afterLoading = picker.SelectedPath();
        notScrolledBack = picker.Tree()->verticalScrollBar()->value() >= scrolledTo;
        picker.Press("OkBtn");
    };
    EXPECT_TRUE(picker.Execute());
    EXPECT_TRUE(startInView);
    EXPECT_TRUE(otherCurrent);
    EXPECT_EQ(field, Other) << "choosing in the tree fills the path field";
    EXPECT_EQ(afterLoading, Other);
    EXPECT_TRUE(notScrolledBack);
    EXPECT_EQ(picker.Folder(), Other);
}

TEST_F(ShBrowseBrowsingTest, ATypedPathEnablesOkAndEnterOnlyForAFolder)
{
    const QString start = Folder(QStringLiteral("start"));
    QFile file(Dir.filePath(QStringLiteral("start/HH1.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct Row
    {
        const char* Name;
        QString Typed, Expected; // Expected empty: refused
    };
    const Row rows[] = {
        {"existing folder", Folder(QStringLiteral("typed/here")) + "/",
         Dir.filePath(QStringLiteral("typed/here"))},
        {"hidden folder", Folder(QStringLiteral(".hidden/inner")),
         Dir.filePath(QStringLiteral(".hidden/inner"))},
        {"home as ~", QStringLiteral("~"), QDir::homePath()},
        {"a file", file.fileName(), {}},
        {"missing folder", Dir.filePath(QStringLiteral("nope")), {}},
        {"relative path", QStringLiteral("start"), {}},
    };
    for (const Row& row : rows) {
        TDrivenPicker picker;
        picker.SetInitFolder(start);
        bool okEnabled = false;
        QString treeFollowed;
        picker.Answer = [&](QDialog& dialog) {
            picker.FolderEdit()->selectAll();
            QTest::keyClicks(picker.FolderEdit(), row.Typed);
            okEnabled = picker.Button("OkBtn")->isEnabled();
            treeFollowed = picker.SelectedPath();
            QTest::keyClick(picker.FolderEdit(), Qt::Key_Return);
            if (dialog.isVisible())
                picker.Press("CancelBtn");
        };
        const bool accepted = picker.Execute();
        const bool folder = !row.Expected.isEmpty();
        EXPECT_EQ(okEnabled, folder) << row.Name;
        EXPECT_EQ(accepted, folder) << row.Name << ": Enter";
        EXPECT_EQ(picker.Folder(), row.Expected) << row.Name;
        if (folder) {
            EXPECT_EQ(treeFollowed, row.Expected) << row.Name << ": the tree follows a folder";
        }
    }
}

TEST_F(ShBrowseBrowsingTest, PlacesOfferHomeTheDefaultFoldersThatExistAndTheStartingFolder)
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", Folder(QStringLiteral("data")).toUtf8());
    const QString current = DefaultHandHistoryFolders()[0];
    QDir().mkpath(current);
    const QString remembered = Folder(QStringLiteral("remembered"));
    struct Row
    {
        QString Init;
        QStringList Paths;
    };
    const Row rows[] = {
        {QString(), {QDir::homePath(), current}},
        {remembered + "/", {QDir::homePath(), current, remembered}},
        {current, {QDir::homePath(), current}},
        {Dir.filePath(QStringLiteral("gone")), {QDir::homePath(), current}},
    };
    for (const Row& row : rows) {
        QStringList paths;
        for (const TShBrowsePlace& place : ShBrowsePlaces(row.Init))
            paths << place.Path;
        EXPECT_EQ(paths, row.Paths) << row.Init.toStdString();
    }

    // A click on a place moves the tree and the field there, hidden path or not.
    TDrivenPicker picker;
    picker.SetInitFolder(remembered);
    QStringList names;
    QString selected, field;
    picker.Answer = [&](QDialog&) {
        auto* places = picker.Dialog->findChild<QListWidget*>(QStringLiteral("PlacesList"));
        for (int i = 0; i < places->count(); ++i)
            names << places->item(i)->text();
        QTest::mouseClick(places->viewport(), Qt::LeftButton, {},
                          places->visualItemRect(places->item(1)).center());
        selected = picker.SelectedPath();
        field = picker.FolderEdit()->text();
        picker.Press("CancelBtn");
    };
    picker.Execute();
    if (dataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(names, (QStringList{"Home", "Zantreo 3 hand histories", "Starting folder"}));
    EXPECT_EQ(selected, current);
    EXPECT_EQ(field, current);
}

} // namespace
