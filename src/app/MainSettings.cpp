// What the main window remembers between runs.
#include "app/Main.h"

#include "app/Page.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QLineEdit>

namespace SN = SettingNames;

void TMainForm::LoadSettings()
{
    FParts.Settings->Load([this](TSettingsReader& reader) {
        // A stored size applies within the minimum; none (or nonsense) keeps the designed size.
        resize(FSize.RestoreWidth(reader.ReadInteger(SN::MainWidth), width(), minimumWidth()), height());
        resize(width(), FSize.RestoreHeight(reader.ReadInteger(SN::MainHeight), height(), minimumHeight()));
        FStartMaximised = reader.ReadBool(SN::MainMax);
        ServerIP->setText(reader.ReadText(SN::ServerIP, SettingDefaults::ServerIP));
        FilePort->setText(reader.ReadText(SN::FilePort, SettingDefaults::FilePort));
        APIPath->setText(reader.ReadText(SN::APIPath, SettingDefaults::APIPath));
        RememberPW->setChecked(reader.ReadBool(SN::RememberPW));
        if (RememberPW->isChecked())
            APIPW->setText(reader.ReadText(SN::Password));
        FLastFolder = reader.ReadText(SN::LastFolder);
        for (TPage* page : FPages)
            page->LoadSettings(reader);
    });
}

void TMainForm::SaveSettings()
{
    FParts.Settings->Save([this](TSettingsWriter& writer) {
        writer.WriteInteger(SN::MainWidth, FSize.Width());
        writer.WriteInteger(SN::MainHeight, FSize.Height());
        // Minimised from maximised still reports maximised; it counts as not maximised.
        writer.WriteBool(SN::MainMax, isMaximized() && !isMinimized());
        writer.WriteText(SN::ServerIP, ServerIP->text());
        writer.WriteText(SN::FilePort, FilePort->text());
        writer.WriteText(SN::APIPath, APIPath->text());
        writer.WriteBool(SN::RememberPW, RememberPW->isChecked());
        // Unchecked wipes any password stored before.
        writer.WriteText(SN::Password, RememberPW->isChecked() ? APIPW->text() : QString());
        writer.WriteText(SN::LastFolder, FLastFolder);
        for (const TPage* page : FPages)
            page->SaveSettings(writer);
    });
}
