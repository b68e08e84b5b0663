// What the main window remembers between runs: its own size and state, then
// each page's values, in one load and one save.
#include "app/Main.h"

#include "app/Page.h"
#include "platform/SettingsStore.h"

namespace SN = SettingNames;

void TMainForm::LoadSettings()
{
    FParts.Settings->Load([this](TSettingsReader& reader) {
        // A stored size applies within the minimum; none (or nonsense) keeps the designed size.
        resize(FSize.RestoreWidth(reader.ReadInteger(SN::MainWidth), width(), minimumWidth()), height());
        resize(width(), FSize.RestoreHeight(reader.ReadInteger(SN::MainHeight), height(), minimumHeight()));
        FStartMaximised = reader.ReadBool(SN::MainMax);
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
        for (const TPage* page : FPages)
            page->SaveSettings(writer);
    });
}
