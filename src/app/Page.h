#pragma once

#include <QString>
#include <QWidget>

class TSettingsReader;
class TSettingsWriter;
struct TWindowParts;

// One page of the main window. It builds and owns its controls and their
// handlers; the window adds it as a tab with its caption and tells it what
// happens to the whole window. A new page is a new subclass and one AddPage
// line in TMainForm::BuildPages.
class TPage : public QWidget
{
    Q_OBJECT
public:
    explicit TPage(TWindowParts& parts) : FParts(parts) {}

    // The text of the page's tab.
    virtual QString Caption() const = 0;
    // Start-up has opened the database.
    virtual void DatabaseOpened() {}
    // The page's part of the window's one settings load and save, in tab order
    // after the window's own values.
    virtual void LoadSettings(TSettingsReader&) {}
    virtual void SaveSettings(TSettingsWriter&) const {}

protected:
    TWindowParts& FParts;
};
