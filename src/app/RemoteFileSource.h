#pragma once

#include "app/FileSource.h"
#include "sources/ApiChecks.h"

class QCheckBox;
class QLineEdit;

// The hand-history files of the poker server, listed and fetched through its
// file API.
class TRemoteFileSource : public TFileSource
{
    Q_OBJECT
public:
    explicit TRemoteFileSource(TWindowParts& parts);

    QString Caption() const override { return QStringLiteral("Remote Hand History Files"); }
    QString ImportVerb() const override { return QStringLiteral("Retrieving"); }
    bool ListFiles(QLabel* status) override;
    bool ImportChecksPass() override { return ConnectionChecksPass(false); }
    bool ViewChecksPass() override;
    TFetch EntryFetcher() override;
    bool IsNewEntry(const TImportLog& log, const QString& entry) const override;
    void LoadSettings(TSettingsReader& reader) override;
    void SaveSettings(TSettingsWriter& writer) const override;

    QLineEdit *ServerIP, *FilePort, *APIPath, *APIPW;
    QCheckBox* RememberPW;
    QLabel* RFileLabel;
    QListWidget* HHRemoteList;

private:
    TConnectionFields ConnectionFields() const;
    // The server check is an error box when listing and an information box otherwise.
    bool ConnectionChecksPass(bool serverCheckIsError);
};
