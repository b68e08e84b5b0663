#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>

class QDialog;

// The options of the folder picker, in their fixed order.
enum TShBrowseOption : quint8
{
    sboBrowseForComputer,
    sboBrowseForPrinter,
    sboBrowseIncludeFiles,
    sboBrowseIncludeURLs,
    sboDontGoBelowDomain,
    sboEditBox,
    sboNewDialogStyle,
    sboNoNewFolderButton,
    sboReturnFSAncestors,
    sboReturnOnlyFSDirs,
    sboShareable,
    sboStatusText,
    sboUAHint,
    sboUseNewUI,
    sboValidate,
};
inline constexpr int ShBrowseOptionCount = sboValidate + 1;

// A set of TShBrowseOption.
class TShBrowseOptions
{
public:
    constexpr TShBrowseOptions() = default;
    constexpr TShBrowseOptions(std::initializer_list<TShBrowseOption> options)
    {
        for (TShBrowseOption option : options)
            FBits |= Bit(option);
    }
    constexpr bool Contains(TShBrowseOption option) const { return (FBits & Bit(option)) != 0; }
    constexpr void Include(TShBrowseOption option) { FBits |= Bit(option); }
    constexpr void Exclude(TShBrowseOption option) { FBits &= ~Bit(option); }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr bool operator==(const TShBrowseOptions&) const = default;

private:
    static constexpr quint16 Bit(TShBrowseOption option) { return quint16(1u << option); }
    quint16 FBits = 0;
};

// The dialog flag that stands for one option, and the flags of a set (0 for
// the empty set). Our dialog honours sboBrowseIncludeFiles (files are shown
// in the tree); the program itself only ever uses the empty set.
quint32 ShBrowseOptionFlag(TShBrowseOption option);
quint32 ShBrowseFlags(const TShBrowseOptions& options);

class TShBrowse;
// Accepts (true) or refuses (false) the folder under the selection while the
// user browses; a refused folder disables OK.
using TFolderCheck = std::function<bool(TShBrowse& Sender, const QString& Folder)>;

// The folder picker: set it up, call Execute once, read Folder. Made for one
// choice and then released.
class TShBrowse
{
public:
    TShBrowse() = default;
    virtual ~TShBrowse() = default;
    TShBrowse(const TShBrowse&) = delete;
    TShBrowse& operator=(const TShBrowse&) = delete;

    // Settings (write-only).
    void SetCaption(const QString& value) { FCaption = value; }
    void SetFolderCheck(TFolderCheck value) { FFolderCheck = std::move(value); }
    void SetInitFolder(const QString& value) { FInitFolder = value; }
    void SetLeft(qint32 value) { FLeft = value; }
    void SetTop(qint32 value) { FTop = value; }
    void SetUserMessage(const QString& value) { FUserMessage = value; }

    const TShBrowseOptions& Options() const { return FOptions; }
    // A different set is stored and the flags rebuilt; the same set changes nothing.
    void SetOptions(const TShBrowseOptions& value);
    quint32 WinFlags() const { return FWinFlags; }

    // Results (read-only).
    const QString& Folder() const { return FFolder; }
    qint32 SelIconIndex() const { return FSelIconIndex; }
    // The network name of Folder. This platform has no network naming layer,
    // so it is always the text of error 50.
    QString UNCFolder() const;

    // Shows the dialog and waits for the user. True when a choice was
    // confirmed (Folder holds it, empty for an item without a path); false
    // when cancelled, with Folder and SelIconIndex as they were.
    virtual bool Execute();

    // The text that stands in for a path when the network name can't be had.
    static QString NetworkErrorText(quint32 code);

protected:
    // Runs the dialog; returns its result code. Tests override it to drive
    // the dialog without blocking.
    virtual int RunDialog(QDialog& dialog);

    // What the dialog does once it exists: position, caption, starting folder.
    void DialogInitialized(class TShBrowseDialog& dialog);
    void SelectionChanged(class TShBrowseDialog& dialog);

    WId FBrowseWinHnd = 0;
    QString FCaption = QStringLiteral("Browse for Folder");
    QString FFolder;
    TFolderCheck FFolderCheck;
    QString FInitFolder;
    qint32 FLeft = 0;
    TShBrowseOptions FOptions;
    qint32 FSelIconIndex = 0;
    qint32 FTop = 0;
    QString FUserMessage = QStringLiteral("Select folder");
    quint32 FWinFlags = 0;
};
