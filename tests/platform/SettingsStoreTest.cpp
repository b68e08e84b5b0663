#include "platform/SettingsStore.h"
#include "platform/Error.h"
#include "platform/WindowSize.h"

#include "support/QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Owner, group and others (the "user" bits only repeat one of them).
constexpr QFileDevice::Permissions PermissionBits = QFileDevice::Permissions::fromInt(0x7077);

class SettingsStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString Path() const { return Dir.filePath(QStringLiteral("Ostravel/Kestrum.ini")); }
    TSettingsStore Store{Path()};

    // A file written by hand, as another program (or a person) could leave it.
    void WriteRaw(const QByteArray& lines)
    {
        QDir(Dir.path()).mkpath(QStringLiteral("Ostravel"));
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\n" + lines);
    }
    QByteArray ReadRaw() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString ErrorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const TError& e) {
            return e.Message();
        }
        return QStringLiteral("<no error>");
    }
};

TEST_F(SettingsStoreTest, NothingStoredReadsAsDefaultsAndCreatesNoFile)
{
    Store.Load([](TSettingsReader& r) {
        EXPECT_EQ(r.ReadText(SettingNames::ServerIP, SettingDefaults::ServerIP), "127.0.0.1");
        EXPECT_EQ(r.ReadText(SettingNames::Password), "");
        EXPECT_EQ(r.ReadInteger(SettingNames::MainWidth), 0);
        EXPECT_FALSE(r.ReadBool(SettingNames::RememberPW));
    });
    EXPECT_FALSE(QFileInfo::exists(Path()));
}

TEST_F(SettingsStoreTest, AwkwardTextsSurviveARoundTrip)
{
    const QStringList texts = {QStringLiteral("pa=ss,wo;rd#\"x\"'y'"),
                               QStringLiteral("a, b"),
                               QStringLiteral("a,b"),
                               QStringLiteral("  blanks at both ends  "),
                               QStringLiteral(" "),
                               QString(),
                               QStringLiteral("#starts like a comment"),
                               QStringLiteral(";so does this"),
                               QStringLiteral("Ünïcødé Жук 日本 \U0001F0A1"),
                               QStringLiteral("@Variant(not a variant)"),
                               QStringLiteral("back\\slash \\x41 %41"),
                               QStringLiteral("tab\there\nand a line break"),
                               QStringLiteral("[General]"),
                               QStringLiteral("\"fully quoted\"")};
    for (const QString& text : texts) {
        Store.Save([&](TSettingsWriter& w) { w.WriteText(SettingNames::Password, text); });
        QString back = QStringLiteral("<unread>");
        TSettingsStore(Path()).Load(
            [&](TSettingsReader& r) { back = r.ReadText(SettingNames::Password, "x"); });
        EXPECT_EQ(back, text) << "stored as: " << ReadRaw().toStdString();
    }
}

TEST_F(SettingsStoreTest, NumbersAndYesNoAreStoredAsText)
{
    Store.Save([](TSettingsWriter& w) {
        w.WriteInteger(SettingNames::MainWidth, -5);
        w.WriteInteger(SettingNames::MainHeight, 2147483647);
        w.WriteBool(SettingNames::MainMax, true);
        w.WriteBool(SettingNames::RememberPW, false);
    });
    const QByteArray raw = ReadRaw();
    for (const char* line : {"MainWidth=-5\n", "MainHeight=2147483647\n", "MainMax=1\n", "RememberPW=0\n"})
        EXPECT_TRUE(raw.contains(line)) << line << " in " << raw.toStdString();
}

TEST_F(SettingsStoreTest, IntegerAndYesNoReadingRules)
{
    struct Row
    {
        const char* Stored;
        qint32 Integer;
        bool Yes;
    };
    const Row rows[] = {{"abc", 0, false},  {"0", 0, false},          {"-5", -5, true},
                        {"7", 7, true},     {"", 0, false},           {"1.5", 0, false},
                        {"0x10", 0, false}, {"2147483648", 0, false}, {"-2147483648", INT32_MIN, true},
                        {"12abc", 0, false}};
    QByteArray raw;
    for (int i = 0; i < int(std::size(rows)); ++i)
        raw += "V" + QByteArray::number(i) + "=" + rows[i].Stored + "\n";
    WriteRaw(raw);
    Store.Load([&](TSettingsReader& r) {
        for (int i = 0; i < int(std::size(rows)); ++i) {
            const QString name = QStringLiteral("V%1").arg(i);
            EXPECT_EQ(r.ReadInteger(name), rows[i].Integer) << rows[i].Stored;
            EXPECT_EQ(r.ReadBool(name), rows[i].Yes) << rows[i].Stored;
        }
    });
}

TEST_F(SettingsStoreTest, AValueThatIsNotTextStopsTheLoadWithItsName)
{
    for (const char* stored :
         {"a, b", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", "@ByteArray(xy)", "@Invalid()"}) {
        WriteRaw(QByteArray("ServerIP=10.0.0.1\nFilePort=") + stored + "\nAPIPath=x\n");
        QStringList read;
        const QString error = ErrorOf([&] {
            TSettingsStore(Path()).Load([&](TSettingsReader& r) {
                read << r.ReadText(SettingNames::ServerIP);
                read << QString::number(r.ReadInteger(SettingNames::FilePort));
                read << r.ReadText(SettingNames::APIPath);
            });
        });
        EXPECT_EQ(error, "Invalid data type for 'FilePort'") << stored;
        EXPECT_EQ(read, QStringList{"10.0.0.1"}) << stored;
    }
}

// Lines that are not INI (a key with a NUL, a section left open) must not make
// every later save fail: they are dropped and the values are written.
TEST_F(SettingsStoreTest, AFileWithLinesThatAreNotIniStillSaves)
{
    for (const QByteArray& junk :
         {QByteArray("Last\0Folder=x\n", 14), QByteArray("[Gen\nServerIP=1\n"), QByteArray("=\n=\n")}) {
        WriteRaw(junk);
        EXPECT_EQ(ErrorOf([this] {
                      Store.Save([](TSettingsWriter& w) { w.WriteText(SettingNames::LastFolder, "/hh"); });
                  }),
                  "<no error>")
            << junk.toStdString();
        Store.Load([&](TSettingsReader& r) { EXPECT_EQ(r.ReadText(SettingNames::LastFolder), "/hh"); });
    }
}

TEST_F(SettingsStoreTest, AWriteKeepsTheOtherValues)
{
    Store.Save([](TSettingsWriter& w) {
        w.WriteText(SettingNames::ServerIP, " 10.1.2.3 ");
        w.WriteInteger(SettingNames::MainWidth, 800);
    });
    Store.Save([](TSettingsWriter& w) { w.WriteInteger(SettingNames::ViewWidth, 640); });
    Store.Load([](TSettingsReader& r) {
        EXPECT_EQ(r.ReadText(SettingNames::ServerIP), " 10.1.2.3 ");
        EXPECT_EQ(r.ReadInteger(SettingNames::MainWidth), 800);
        EXPECT_EQ(r.ReadInteger(SettingNames::ViewWidth), 640);
    });
}

TEST_F(SettingsStoreTest, TheFileIsReadableByItsOwnerOnly)
{
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto write = [this] {
        Store.Save([](TSettingsWriter& w) { w.WriteText(SettingNames::Password, "s"); });
    };
    write();
    EXPECT_EQ(QFileInfo(Path()).permissions() & PermissionBits, ownerOnly) << "created";
    write(); // rewritten through a temporary file
    EXPECT_EQ(QFileInfo(Path()).permissions() & PermissionBits, ownerOnly) << "rewritten";
    QFile(Path()).setPermissions(ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    write();
    EXPECT_EQ(QFileInfo(Path()).permissions() & PermissionBits, ownerOnly) << "tightened";
}

TEST_F(SettingsStoreTest, AFileThatCannotBeCreatedFailsTheSave)
{
    QFile blocker(Dir.filePath(QStringLiteral("plainfile")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("adir/Kestrum.ini")));
    // A folder where a file should be, and a file where a folder should be.
    for (const QString& path : {Dir.filePath(QStringLiteral("plainfile/Kestrum.ini")),
                                Dir.filePath(QStringLiteral("adir/Kestrum.ini"))}) {
        bool ran = false;
        const QString error =
            ErrorOf([&] { TSettingsStore(path).Save([&](TSettingsWriter&) { ran = true; }); });
        EXPECT_EQ(error, "Failed to create key " + path);
        EXPECT_FALSE(ran);
    }
}

TEST(RememberedSizeTest, RestoreWithinTheMinimumThenOnlyNormalSizesCount)
{
    for (const auto& [stored, expected] :
         {std::pair{0, 584}, {-5, 584}, {200, 300}, {300, 300}, {700, 700}}) {
        TRememberedSize size;
        EXPECT_EQ(size.RestoreWidth(stored, 584, 300), expected) << stored;
        EXPECT_EQ(size.RestoreHeight(stored, 584, 300), expected) << stored;
        EXPECT_EQ(QSize(size.Width(), size.Height()), QSize(expected, expected));
    }
    TRememberedSize size;
    size.Resized(QSize(700, 500), false, false);
    size.Resized(QSize(1920, 1040), true, false);
    size.Resized(QSize(0, 0), false, true);
    EXPECT_EQ(QSize(size.Width(), size.Height()), QSize(700, 500));
}

} // namespace
