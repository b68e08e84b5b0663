// What the main window remembers between runs, through a real settings file.
#include "WindowFixture.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <gtest/gtest.h>

namespace {
void WriteIni(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\n" + text);
}

QString Stored(const QString& path, const char* name)
{
    QSettings settings(path, QSettings::IniFormat);
    return settings.value(QLatin1String(name)).toString();
}
} // namespace

TEST(MainFormSettings, PasswordIsKeptOnlyWhileRememberPWIsChecked)
{
    TWindowFixture f;
    const QString password = QStringLiteral("a=b, c;d #e \"q\" 'r' Ünïcødé ");
    {
        TMainForm& form = f.Open();
        form.HandHistoryPage().RemotePage().ServerIP->setText(QStringLiteral("  poker.example  "));
        form.HandHistoryPage().RemotePage().APIPW->setText(password);
        form.HandHistoryPage().RemotePage().RememberPW->setChecked(true);
        f.Close();
    }
    {
        TMainForm& form = f.Open();
        EXPECT_EQ(form.HandHistoryPage().RemotePage().APIPW->text(), password);
        EXPECT_EQ(form.HandHistoryPage().RemotePage().ServerIP->text(), QStringLiteral("  poker.example  "));
        EXPECT_TRUE(form.HandHistoryPage().RemotePage().RememberPW->isChecked());
        ToggleThroughTheBus(form.HandHistoryPage().RemotePage().RememberPW); // a click does the same
        // At once: a crash before the close must not leave it behind.
        EXPECT_EQ(Stored(f.SettingsFile(), "Password"), QString());
        EXPECT_EQ(Stored(f.SettingsFile(), "RememberPW"), QStringLiteral("0"));
        f.Close();
    }
    EXPECT_EQ(Stored(f.SettingsFile(), "Password"), QString());
    {
        TMainForm& form = f.Open();
        EXPECT_TRUE(form.HandHistoryPage().RemotePage().APIPW->text().isEmpty());
        EXPECT_FALSE(form.HandHistoryPage().RemotePage().RememberPW->isChecked());
        f.Close();
    }
    EXPECT_EQ(QFile(f.SettingsFile()).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());
}

TEST(MainFormSettings, NonsenseSizesGiveTheDesignedSizeAndAreWrittenBack)
{
    for (const char* stored : {"abc", "0", "-5", "400"}) {
        TWindowFixture f;
        WriteIni(f.SettingsFile(), QByteArray("MainWidth=") + stored + "\nMainHeight=" + stored + "\n");
        TMainForm& form = f.Open();
        EXPECT_EQ(form.size(), QSize(670, 480)) << stored;
        f.Close();
        EXPECT_EQ(Stored(f.SettingsFile(), "MainWidth"), QStringLiteral("670")) << stored;
        EXPECT_EQ(Stored(f.SettingsFile(), "MainHeight"), QStringLiteral("480")) << stored;
    }
}

TEST(MainFormSettings, StoredSizeAndMaximisedState)
{
    TWindowFixture f;
    WriteIni(f.SettingsFile(), "MainWidth=800\nMainHeight=600\nMainMax=7\nRememberPW=1\n");
    TMainForm& form = f.Open();
    EXPECT_EQ(form.size(), QSize(800, 600));
    EXPECT_TRUE(form.HandHistoryPage().RemotePage().APIPW->text().isEmpty()) << "no Password value stored";
    form.ShowAtStart();
    EXPECT_TRUE(form.isMaximized());
    f.Close();
    EXPECT_EQ(Stored(f.SettingsFile(), "MainMax"), QStringLiteral("1"));
    EXPECT_EQ(Stored(f.SettingsFile(), "MainWidth"), QStringLiteral("800"))
        << "the size from before maximising";
}

// A window that started maximised comes back centred, and one closed while
// minimised (from maximised or not) was not maximised.
TEST(MainFormSettings, RestoredFromMaximisedIsCentredAndMinimisedIsNotMaximised)
{
    struct Case
    {
        const char* Name;
        Qt::WindowStates State;
        const char* Stored;
    };
    for (const Case& c : {Case{"maximised", Qt::WindowMaximized, "1"},
                          Case{"minimised from maximised", Qt::WindowMaximized | Qt::WindowMinimized, "0"},
                          Case{"minimised", Qt::WindowMinimized, "0"}}) {
        SCOPED_TRACE(c.Name);
        TWindowFixture f;
        WriteIni(f.SettingsFile(), "MainMax=1\n");
        TMainForm& form = f.Open();
        form.ShowAtStart();
        ASSERT_TRUE(form.isMaximized());
        form.showNormal();
        const QRect area = form.screen()->availableGeometry();
        // Within a pixel: an even size has no middle pixel.
        EXPECT_LE((form.geometry().center() - area.center()).manhattanLength(), 2)
            << "restored to the centre";
        form.setWindowState(c.State);
        f.Close();
        EXPECT_EQ(Stored(f.SettingsFile(), "MainMax"), QLatin1String(c.Stored));
    }
}

TEST(MainFormSettings, AValueThatIsNotTextStopsLoading)
{
    TWindowFixture f;
    // QSettings reads a value with a comma as a list: not text.
    WriteIni(f.SettingsFile(), "ServerIP=1.2.3.4\nFilePort=80, 81\nAPIPath=x\nLastFolder=/tmp\n");
    TMainForm& form = f.Open();
    ASSERT_FALSE(f.Boxes.Boxes.isEmpty());
    EXPECT_EQ(f.Boxes.Boxes[0], (TRecordingBoxes::TBox{"unhandled", "Invalid data type for 'FilePort'"}));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().ServerIP->text(), QStringLiteral("1.2.3.4"));
    EXPECT_TRUE(form.HandHistoryPage().RemotePage().FilePort->text().isEmpty());
    EXPECT_TRUE(form.HandHistoryPage().RemotePage().APIPath->text().isEmpty());
    EXPECT_TRUE(form.HandHistoryPage().LocalPage().RememberedFolder().isEmpty());
    f.Close();
}

TEST(MainFormSettings, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowCloses)
{
    TWindowFixture f;
    TMainForm& form = f.Open();
    // A folder in the place of the file.
    QDir().mkpath(f.SettingsFile());
    form.close();
    ASSERT_FALSE(f.Boxes.Boxes.isEmpty());
    EXPECT_EQ(f.Boxes.Boxes.back().Kind, QStringLiteral("unhandled"));
    EXPECT_TRUE(f.Boxes.Boxes.back().Text.startsWith(QStringLiteral("Failed to create key")))
        << f.Boxes.Boxes.back().Text.toStdString();
    EXPECT_FALSE(form.isVisible());
    f.Form.reset();
}
