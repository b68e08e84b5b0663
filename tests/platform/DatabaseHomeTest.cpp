#include "platform/DatabaseHome.h"

#include "support/QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QString FileName = QStringLiteral("Kestrum2.db3");
constexpr auto ReadOnlyFolder = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
constexpr auto OpenFolder = ReadOnlyFolder | QFileDevice::WriteOwner;
constexpr auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions PermissionBits = QFileDevice::Permissions::fromInt(0x7077);

// The tests run as root, whom permissions never refuse: this check reads the
// owner's write bit the test really set on the folder instead of asking the
// system, so a chmod'ed folder counts as the installed program's folder.
bool OwnerMayWrite(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.permissions().testFlag(QFileDevice::WriteOwner);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

enum class EHome
{
    Beside,
    Data
};

struct TLocationRow
{
    const char* Name;
    bool ExecutableFolderWritable;
    bool FileBeside;
    bool DataFolderExists;
    bool FileInData;
    EHome Expected;
};

void PrintTo(const TLocationRow& row, std::ostream* os)
{
    *os << row.Name;
}

class DatabaseHomeTest : public ::testing::TestWithParam<TLocationRow>
{
protected:
    QTemporaryDir Dir;
    QString Exe() const { return Dir.filePath(QStringLiteral("opt/kestrum/bin")); }
    // Under a home whose .local/share is not there yet, as for a new user.
    QString Data() const { return Dir.filePath(QStringLiteral("home/.local/share/Ostravel/Kestrum")); }

    void TearDown() override
    {
        // QTemporaryDir must be able to remove what the test locked.
        QFile::setPermissions(Exe(), OpenFolder);
    }
};

TEST_P(DatabaseHomeTest, ChoosesTheFolderAndLeavesExistingFilesAsTheyAre)
{
    const TLocationRow& row = GetParam();
    ASSERT_TRUE(QDir().mkpath(Exe()));
    if (row.FileBeside)
        WriteFile(Exe() + "/" + FileName, "beside");
    if (row.DataFolderExists) {
        ASSERT_TRUE(QDir().mkpath(Data()));
        ASSERT_TRUE(QFile::setPermissions(Data(), OpenFolder));
    }
    if (row.FileInData)
        WriteFile(Data() + "/" + FileName, "data");
    ASSERT_TRUE(QFile::setPermissions(Exe(), row.ExecutableFolderWritable ? OpenFolder : ReadOnlyFolder));

    const QString chosen = RakeDatabaseFolder(FileName, Exe(), Data(), OwnerMayWrite);

    EXPECT_EQ(chosen, (row.Expected == EHome::Beside ? Exe() : Data()) + "/");
    // The rule only points at a folder: no file is made, moved or changed.
    EXPECT_EQ(ReadFile(Exe() + "/" + FileName),
              row.FileBeside ? QByteArray("beside") : QByteArray("<missing>"));
    EXPECT_EQ(ReadFile(Data() + "/" + FileName),
              row.FileInData ? QByteArray("data") : QByteArray("<missing>"));
    if (row.DataFolderExists) {
        // A folder the user already has keeps the mode they gave it.
        EXPECT_EQ(QFileInfo(Data()).permissions() & PermissionBits, OpenFolder);
    } else if (row.Expected == EHome::Data) {
        ASSERT_TRUE(QFileInfo(Data()).isDir());
        EXPECT_EQ(QFileInfo(Data()).permissions() & PermissionBits, OwnerOnly);
    } else {
        // A copy that keeps its file beside itself leaves the home alone.
        EXPECT_FALSE(QFileInfo::exists(Dir.filePath(QStringLiteral("home"))));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DatabaseHomeTest,
    ::testing::Values(TLocationRow{"BuildFolderNewUser", true, false, false, false, EHome::Beside},
                      TLocationRow{"BuildFolderFirstRun", true, false, true, true, EHome::Beside},
                      TLocationRow{"PortableCopyWithItsFile", true, true, false, false, EHome::Beside},
                      TLocationRow{"WritableFolderBothFiles", true, true, true, true, EHome::Beside},
                      TLocationRow{"ReadOnlyFolderItsFileWins", false, true, false, false, EHome::Beside},
                      TLocationRow{"ReadOnlyFolderItsFileWinsOverData", false, true, true, true,
                                   EHome::Beside},
                      TLocationRow{"InstalledFirstStart", false, false, false, false, EHome::Data},
                      TLocationRow{"InstalledDataFolderEmpty", false, false, true, false, EHome::Data},
                      TLocationRow{"InstalledLaterStart", false, false, true, true, EHome::Data}),
    [](const ::testing::TestParamInfo<TLocationRow>& info) { return std::string(info.param.Name); });

TEST(DatabaseHome, ExecutableFolderThatIsGoneCountsAsNotWritable)
{
    QTemporaryDir dir;
    const QString gone = dir.filePath(QStringLiteral("gone"));
    const QString data = dir.filePath(QStringLiteral("data"));
    EXPECT_EQ(RakeDatabaseFolder(FileName, gone, data, OwnerMayWrite), data + "/");
    EXPECT_TRUE(QFileInfo(data).isDir());
}

TEST(DatabaseHome, RealCheckOnRealPlaces)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain"));
    WriteFile(file, "x");
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, ReadOnlyFolder));
    struct
    {
        const char* Name;
        QString Folder;
        bool Expected;
    } const rows[] = {
        {"own temporary folder", dir.path(), true},
        {"missing folder", dir.filePath(QStringLiteral("missing")), false},
        {"regular file", file, false},
        // Root writes here anyway; the read-only filesystem case is tried
        // on the installed package (tests/package), in a private mount.
        {"mode 0555 folder", locked, geteuid() == 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FolderIsWritable(row.Folder), row.Expected) << row.Name;
    QFile::setPermissions(locked, OpenFolder);
}

TEST(DatabaseHome, UserDataFolderIsUnderTheGenericDataLocation)
{
    QTemporaryDir dir;
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    const QString folder = UserDataFolder();
    if (wasSet)
        qputenv("XDG_DATA_HOME", before);
    else
        qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(folder, dir.path() + QStringLiteral("/Ostravel/Kestrum/"));
}

} // namespace
