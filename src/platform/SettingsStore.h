#pragma once

#include <QString>
#include <functional>
#include <memory>

class QSettings;

// The twelve values the program remembers between runs, and their defaults.
namespace SettingNames {
inline const QString MainWidth = QStringLiteral("MainWidth");
inline const QString MainHeight = QStringLiteral("MainHeight");
inline const QString MainMax = QStringLiteral("MainMax");
inline const QString ServerIP = QStringLiteral("ServerIP");
inline const QString FilePort = QStringLiteral("FilePort");
inline const QString APIPath = QStringLiteral("APIPath");
inline const QString RememberPW = QStringLiteral("RememberPW");
inline const QString Password = QStringLiteral("Password");
inline const QString LastFolder = QStringLiteral("LastFolder");
inline const QString ViewWidth = QStringLiteral("ViewWidth");
inline const QString ViewHeight = QStringLiteral("ViewHeight");
inline const QString ViewMax = QStringLiteral("ViewMax");
// The default rakeback rate, a plain number ("12.5"); 0 until set.
inline const QString RakebackPercent = QStringLiteral("RakebackPercent");
} // namespace SettingNames

namespace SettingDefaults {
inline const QString ServerIP = QStringLiteral("127.0.0.1");
inline const QString FilePort = QStringLiteral("8087");
inline const QString APIPath = QStringLiteral("api");
} // namespace SettingDefaults

// Where the settings live: one INI file per user. Every value is stored as
// text, numbers and yes/no included, so the file reads the same whatever
// wrote it. Nothing is held open: each load or save opens the file, does its
// work and closes it again (TSettingsReader / TSettingsWriter).
class TSettingsStore
{
public:
    // iniPath empty: the user's own file under the config folder
    // (organisation "Ostravel", application "Kestrum"). Tests pass a
    // temporary path.
    explicit TSettingsStore(const QString& iniPath = QString());

    const QString& FilePath() const { return FFilePath; }

    // Runs the reads of one load, or the writes of one save, in one session.
    void Load(const std::function<void(class TSettingsReader&)>& reads) const;
    void Save(const std::function<void(class TSettingsWriter&)>& writes) const;

private:
    QString FFilePath;
};

// One load. Reading never creates the file; a file that can't be read counts
// as absent, so every value takes its default.
class TSettingsReader
{
public:
    explicit TSettingsReader(const TSettingsStore& store);
    ~TSettingsReader();
    TSettingsReader(const TSettingsReader&) = delete;
    TSettingsReader& operator=(const TSettingsReader&) = delete;

    // The stored text exactly (also when empty), or whenAbsent when there is
    // no such value. A value that is not text raises "Invalid data type for '%s'".
    QString ReadText(const QString& name, const QString& whenAbsent = QString());
    // Signed 32-bit decimal; absent or not a number gives 0.
    qint32 ReadInteger(const QString& name);
    // Yes when the stored number is not 0.
    bool ReadBool(const QString& name);

private:
    std::unique_ptr<QSettings> FSettings;
};

// One save. The file is created (readable by its owner only, as it holds the
// password in plain text) at the start; each value reaches the disk as it is
// written, so the values before a failure stay written.
class TSettingsWriter
{
public:
    // Raises "Failed to create key %s" when the file can't be created or opened for writing.
    explicit TSettingsWriter(const TSettingsStore& store);
    ~TSettingsWriter();
    TSettingsWriter(const TSettingsWriter&) = delete;
    TSettingsWriter& operator=(const TSettingsWriter&) = delete;

    // Each raises "Failed to set data for '%s'" when the value can't be written.
    void WriteText(const QString& name, const QString& value);
    void WriteInteger(const QString& name, qint32 value);
    void WriteBool(const QString& name, bool value);

private:
    QString FFilePath;
    std::unique_ptr<QSettings> FSettings;
};
