// Any INI text as the settings file: reading must give each value or its
// default (or the program's own error for a value that is not text), and a
// save over that file must read back exactly what was written.
#include "platform/Error.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

const QString Names[] = {SettingNames::MainWidth,  SettingNames::MainHeight, SettingNames::MainMax,
                         SettingNames::ServerIP,   SettingNames::FilePort,   SettingNames::APIPath,
                         SettingNames::RememberPW, SettingNames::Password,   SettingNames::LastFolder,
                         SettingNames::ViewWidth,  SettingNames::ViewHeight, SettingNames::ViewMax};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrum.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const TSettingsStore store(path);

    QStringList read;
    store.Load([&](TSettingsReader& reader) {
        for (const QString& name : Names) {
            try {
                read.append(reader.ReadText(name, QStringLiteral("absent")));
                (void)reader.ReadInteger(name);
                (void)reader.ReadBool(name);
            } catch (const TError&) {
                read.append(QStringLiteral("not text"));
            }
        }
    });

    // The fuzzer's bytes as a value too: any text must survive a save.
    const QString raw = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    store.Save([&](TSettingsWriter& writer) {
        for (int i = 0; i < read.size(); ++i)
            writer.WriteText(Names[i], i == 7 ? raw : read[i]);
    });
    store.Load([&](TSettingsReader& reader) {
        for (int i = 0; i < read.size(); ++i) {
            if (reader.ReadText(Names[i]) != (i == 7 ? raw : read[i]))
                std::abort();
        }
    });
    return 0;
}
