// The local file page: a folder's hand-history files, listed through the
// folder picker and read from the disk.
#include "app/LocalFileSource.h"

#include "app/Controls.h"
#include "app/WindowParts.h"
#include "import/ImportLog.h"
#include "import/LocalEntry.h"
#include "platform/SettingsStore.h"
#include "platform/ui/ShBrowseU.h"
#include "sources/LocalFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

TLocalFileSource::TLocalFileSource(TWindowParts& parts) : TFileSource(parts)
{
    setObjectName(QStringLiteral("LocalPage"));
    auto* local = new QVBoxLayout(this);
    local->setContentsMargins(4, 4, 4, 4);
    LocalFolder = Named(new QLineEdit, "LocalFolder");
    LocalFolder->setReadOnly(true);
    LocalFolder->setBackgroundRole(QPalette::Window);
    LocalFolder->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
    auto* folderLabel = new QLabel(QStringLiteral("Folder"));
    folderLabel->setBuddy(LocalFolder);
    LFileLabel = MakeCountLabel("LFileLabel");
    HHLocalList = MakeFileList("HHLocalList");
    local->addWidget(folderLabel);
    local->addWidget(LocalFolder);
    local->addWidget(LFileLabel);
    local->addWidget(HHLocalList, 1);
}

bool TLocalFileSource::ListFiles(QLabel*)
{
    LocalFolder->clear();
    std::unique_ptr<TShBrowse> picker =
        FParts.Places.NewFolderPicker ? FParts.Places.NewFolderPicker() : std::make_unique<TShBrowse>();
    picker->SetCaption(QStringLiteral("Browse for folder"));
    picker->SetUserMessage(QStringLiteral("Select hand history folder"));
    picker->SetInitFolder(StartingFolder(FLastFolder));
    const QString folder = picker->Execute() ? picker->Folder() : QString();
    picker.reset();
    if (folder.isEmpty())
        return false;

    FLastFolder = folder;
    LocalFolder->setText(folder);
    HHLocalList->clear();
    ListLocalFolder(folder, Files);
    return true;
}

bool TLocalFileSource::IsNewEntry(const TImportLog& log, const QString& entry) const
{
    return log.IsNewLocal(LocalEntryPath(LocalFolder->text(), entry));
}

TFileSource::TFetch TLocalFileSource::EntryFetcher()
{
    return [folder = LocalFolder->text()](const QString& entry) {
        return LoadLocalEntry(LocalEntryPath(folder, entry));
    };
}

void TLocalFileSource::LoadSettings(TSettingsReader& reader)
{
    FLastFolder = reader.ReadText(SettingNames::LastFolder);
}

void TLocalFileSource::SaveSettings(TSettingsWriter& writer) const
{
    writer.WriteText(SettingNames::LastFolder, FLastFolder);
}
