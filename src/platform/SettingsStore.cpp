#include "platform/SettingsStore.h"

#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions OthersAccess = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                  QFileDevice::WriteOther | QFileDevice::ExeOther;

QString UserSettingsPath()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ostravel"),
                     QStringLiteral("Kestrum"))
        .fileName();
}

std::unique_ptr<QSettings> OpenIni(const QString& path)
{
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    // Where no temporary file can be made beside it, write the file in place
    // rather than not at all.
    settings->setAtomicSyncRequired(false);
    return settings;
}

// Creates the folder and the file when missing, readable and writable by its
// owner only, and makes sure the file can be written.
bool PrepareForWriting(const QString& path)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append, OwnerOnly))
        return false;
    if (file.permissions() & OthersAccess)
        file.setPermissions(OwnerOnly);
    return true;
}

} // namespace

TSettingsStore::TSettingsStore(const QString& iniPath)
    : FFilePath(iniPath.isEmpty() ? UserSettingsPath() : iniPath)
{
}

void TSettingsStore::Load(const std::function<void(TSettingsReader&)>& reads) const
{
    TSettingsReader reader(*this);
    reads(reader);
}

void TSettingsStore::Save(const std::function<void(TSettingsWriter&)>& writes) const
{
    TSettingsWriter writer(*this);
    writes(writer);
}

TSettingsReader::TSettingsReader(const TSettingsStore& store)
{
    // The organisation's folder is made even for reading; the file itself
    // only comes with the first write.
    QDir().mkpath(QFileInfo(store.FilePath()).absolutePath());
    FSettings = OpenIni(store.FilePath());
}

TSettingsReader::~TSettingsReader() = default;

QString TSettingsReader::ReadText(const QString& name, const QString& whenAbsent)
{
    if (!FSettings->contains(name))
        return whenAbsent;
    const QVariant value = FSettings->value(name);
    // An INI value can come back as a list ("a, b") or a typed variant
    // ("@Variant(...)", "@ByteArray(...)"): none of those is our text.
    if (value.typeId() != QMetaType::QString)
        throw TError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return value.toString();
}

qint32 TSettingsReader::ReadInteger(const QString& name)
{
    bool ok = false;
    const qint32 value = ReadText(name).toInt(&ok, 10);
    return ok ? value : 0;
}

bool TSettingsReader::ReadBool(const QString& name)
{
    return ReadInteger(name) != 0;
}

TSettingsWriter::TSettingsWriter(const TSettingsStore& store) : FFilePath(store.FilePath())
{
    if (!PrepareForWriting(FFilePath))
        throw TError(QStringLiteral("Failed to create key %1").arg(FFilePath));
    FSettings = OpenIni(FFilePath);
}

TSettingsWriter::~TSettingsWriter() = default;

void TSettingsWriter::WriteText(const QString& name, const QString& value)
{
    // Always a QString, so that a comma in the value never turns into a list.
    FSettings->setValue(name, QVariant(value));
    FSettings->sync();
    // A format error only says the file held lines that were not INI; they are
    // dropped as the file is written anew, so only an access error fails the save.
    if (FSettings->status() == QSettings::AccessError)
        throw TError(QStringLiteral("Failed to set data for '%1'").arg(name));
}

void TSettingsWriter::WriteInteger(const QString& name, qint32 value)
{
    WriteText(name, QString::number(value));
}

void TSettingsWriter::WriteBool(const QString& name, bool value)
{
    WriteText(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}
