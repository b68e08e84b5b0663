#pragma once

#include "app/FileSource.h"

class QLineEdit;

// The hand-history files of a folder the user picks, read from the disk.
class TLocalFileSource : public TFileSource
{
    Q_OBJECT
public:
    explicit TLocalFileSource(TWindowParts& parts);

    QString Caption() const override { return QStringLiteral("Local Hand History Files"); }
    QString ImportVerb() const override { return QStringLiteral("Loading"); }
    bool ListFiles(QLabel* status) override;
    TFetch EntryFetcher() override;
    bool IsNewEntry(const TImportLog& log, const QString& entry) const override;
    void LoadSettings(TSettingsReader& reader) override;
    void SaveSettings(TSettingsWriter& writer) const override;

    // The folder the picker last gave, kept between runs.
    const QString& RememberedFolder() const { return FLastFolder; }

    QLineEdit* LocalFolder;
    QLabel* LFileLabel;
    QListWidget* HHLocalList;

private:
    QString FLastFolder;
};
