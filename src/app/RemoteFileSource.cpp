// The remote file page: the connection fields, and the list and entries
// straight from the server.
#include "app/RemoteFileSource.h"

#include "app/Controls.h"
#include "app/MessageBoxes.h"
#include "app/WindowParts.h"
#include "import/ImportLog.h"
#include "platform/SettingsStore.h"
#include "platform/ui/BusyCursor.h"
#include "sources/RemoteFetch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <utility>

namespace SN = SettingNames;

TRemoteFileSource::TRemoteFileSource(TWindowParts& parts) : TFileSource(parts)
{
    setObjectName(QStringLiteral("RemotePage"));
    auto* remote = new QGridLayout(this);
    remote->setContentsMargins(4, 4, 4, 4);
    ServerIP = Named(new QLineEdit, "ServerIP");
    ServerIP->setFixedWidth(169);
    FilePort = Named(new QLineEdit, "FilePort");
    FilePort->setFixedWidth(50);
    APIPath = Named(new QLineEdit, "APIPath");
    APIPath->setFixedWidth(82);
    APIPW = Named(new QLineEdit, "APIPW");
    APIPW->setFixedWidth(113);
    APIPW->setEchoMode(QLineEdit::Password);
    // One "*" per character, whatever the platform's style would draw.
    APIPW->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    RememberPW = Named(new QCheckBox(QStringLiteral("Remember PW")), "RememberPW");
    // Labels on one row and fields on the next, so the four line up whatever
    // stands under one of them.
    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(2);
    int column = 0;
    for (const auto& [caption, field] :
         {std::pair{QStringLiteral("Poker Server IP / Domain"), ServerIP},
          std::pair{QStringLiteral("File Port"), FilePort}, std::pair{QStringLiteral("API Path"), APIPath},
          std::pair{QStringLiteral("API Password"), APIPW}}) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        fields->addWidget(label, 0, column);
        fields->addWidget(field, 1, column++);
    }
    fields->addWidget(RememberPW, 2, column - 1);
    fields->setColumnStretch(column, 1);
    RFileLabel = MakeCountLabel("RFileLabel");
    HHRemoteList = MakeFileList("HHRemoteList");
    remote->addLayout(fields, 0, 0);
    remote->addWidget(RFileLabel, 1, 0);
    remote->addWidget(HHRemoteList, 2, 0);
    remote->setRowStretch(2, 1);
    // A password the user no longer wants kept leaves the file now, not at a
    // clean close that a crash or a power cut may never reach. On the change of
    // state, not the click: the accessibility bus toggles without a click.
    connect(RememberPW, &QCheckBox::toggled, this, [this](bool checked) {
        if (!checked && FParts.Settings)
            FParts.Guard([this] {
                FParts.Settings->Save([](TSettingsWriter& writer) {
                    writer.WriteBool(SN::RememberPW, false);
                    writer.WriteText(SN::Password, QString());
                });
            });
    });
}

TConnectionFields TRemoteFileSource::ConnectionFields() const
{
    return {ServerIP->text(), FilePort->text(), APIPath->text(), APIPW->text()};
}

bool TRemoteFileSource::ConnectionChecksPass(bool serverCheckIsError)
{
    try {
        CheckConnectionFields(ConnectionFields());
        return true;
    } catch (const TCheckFailure& failure) {
        if (failure.Check() == TConnectionCheck::ServerIP && !serverCheckIsError)
            FParts.Boxes.Information(failure.Message());
        else
            FParts.Boxes.Error(failure.Message());
        return false;
    }
}

bool TRemoteFileSource::ListFiles(QLabel* status)
{
    if (!ConnectionChecksPass(true))
        return false;
    SetStatus(status, QStringLiteral("Retrieving hand history list ..."));
    QStringList entries;
    try {
        entries = FetchRemoteList(*FParts.ApiClient, ConnectionFields(), WaitCursorHook());
    } catch (const TError& e) {
        status->setText(QString());
        FParts.Boxes.Error(e.Message());
        return false;
    }
    for (const QString& entry : entries)
        Files.Add(entry);
    return true;
}

bool TRemoteFileSource::ViewChecksPass()
{
    if (!ConnectionChecksPass(false))
        return false;
    if (HHRemoteList->selectedItems().size() >= 2) {
        FParts.Boxes.Error(QStringLiteral("More than 1 history file selected"));
        return false;
    }
    return true;
}

bool TRemoteFileSource::IsNewEntry(const TImportLog& log, const QString& entry) const
{
    return log.IsNewRemote(RemoteEntrySource(ConnectionFields(), entry), entry);
}

TFileSource::TFetch TRemoteFileSource::EntryFetcher()
{
    return [&client = *FParts.ApiClient, fields = ConnectionFields()](const QString& entry) {
        return FetchRemoteEntry(client, fields, entry);
    };
}

void TRemoteFileSource::LoadSettings(TSettingsReader& reader)
{
    ServerIP->setText(reader.ReadText(SN::ServerIP, SettingDefaults::ServerIP));
    FilePort->setText(reader.ReadText(SN::FilePort, SettingDefaults::FilePort));
    APIPath->setText(reader.ReadText(SN::APIPath, SettingDefaults::APIPath));
    RememberPW->setChecked(reader.ReadBool(SN::RememberPW));
    if (RememberPW->isChecked())
        APIPW->setText(reader.ReadText(SN::Password));
}

void TRemoteFileSource::SaveSettings(TSettingsWriter& writer) const
{
    writer.WriteText(SN::ServerIP, ServerIP->text());
    writer.WriteText(SN::FilePort, FilePort->text());
    writer.WriteText(SN::APIPath, APIPath->text());
    writer.WriteBool(SN::RememberPW, RememberPW->isChecked());
    // Unchecked wipes any password stored before.
    writer.WriteText(SN::Password, RememberPW->isChecked() ? APIPW->text() : QString());
}
