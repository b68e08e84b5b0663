#include "platform/ui/ShBrowseU.h"

#include "platform/ui/ShBrowseDialog.h"

#include <QGuiApplication>
#include <QScreen>

quint32 ShBrowseOptionFlag(TShBrowseOption option)
{
    return 1u << option;
}

quint32 ShBrowseFlags(const TShBrowseOptions& options)
{
    quint32 flags = 0;
    for (int option = 0; option < ShBrowseOptionCount; ++option)
        if (options.Contains(TShBrowseOption(option)))
            flags |= ShBrowseOptionFlag(TShBrowseOption(option));
    return flags;
}

void TShBrowse::SetOptions(const TShBrowseOptions& value)
{
    if (value == FOptions)
        return;
    FOptions = value;
    FWinFlags = ShBrowseFlags(FOptions);
}

QString TShBrowse::UNCFolder() const
{
    constexpr quint32 NotSupported = 50;
    return NetworkErrorText(NotSupported);
}

QString TShBrowse::NetworkErrorText(quint32 code)
{
    switch (code) {
    case 50:
        return QStringLiteral("UNC name not supported");
    case 234:
        return QStringLiteral("Buffer too small");
    case 1200:
        return QStringLiteral("Invalid path");
    case 1201:
        return QStringLiteral("No connection");
    case 1203:
        return QStringLiteral("Unrecognised path");
    case 1208:
        return QStringLiteral("Network error");
    case 1222:
        return QStringLiteral("Network unavailable");
    case 2250:
        return QStringLiteral("Not connected");
    default:
        return QStringLiteral("Unknown Error : ") + QString::number(code);
    }
}

bool TShBrowse::Execute()
{
    // The owner is the window the handle names, if it still exists.
    QWidget* owner = FBrowseWinHnd != 0 ? QWidget::find(FBrowseWinHnd) : nullptr;
    TShBrowseDialog dialog(owner, FUserMessage, FOptions.Contains(sboBrowseIncludeFiles));
    // The hook may move Folder while the user browses; a cancel puts it back.
    const QString folderBefore = FFolder;
    dialog.OnSelectionChanged = [this, &dialog] { SelectionChanged(dialog); };
    DialogInitialized(dialog);

    if (RunDialog(dialog) != QDialog::Accepted) {
        FFolder = folderBefore;
        return false;
    }
    // No shell image list here: the picked folder has icon 0.
    FSelIconIndex = 0;
    FFolder = dialog.CurrentPath();
    return true;
}

int TShBrowse::RunDialog(QDialog& dialog)
{
    // Modal for the whole application: the operation that asked for a folder
    // is waiting in its handler, so the main window must not start another
    // one (or close) meanwhile.
    return dialog.exec();
}

void TShBrowse::DialogInitialized(TShBrowseDialog& dialog)
{
    FBrowseWinHnd = dialog.winId();
    if (FLeft == 0 || FTop == 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect workArea = screen ? screen->availableGeometry() : QRect();
        const QSize size = dialog.frameGeometry().size();
        // Counted from the screen's origin, not the work area's corner.
        FLeft = (workArea.width() - size.width()) / 2;
        FTop = (workArea.height() - size.height()) / 2;
    }
    dialog.move(FLeft, FTop);
    if (!FCaption.isEmpty())
        dialog.setWindowTitle(FCaption);
    dialog.SetPlaces(ShBrowsePlaces(FInitFolder));
    if (!FInitFolder.isEmpty())
        dialog.SelectFolder(FInitFolder);
}

void TShBrowse::SelectionChanged(TShBrowseDialog& dialog)
{
    if (!FFolderCheck || !dialog.HasItem())
        return;
    FFolder = dialog.CurrentPath();
    dialog.SetAccepted(FFolderCheck(*this, FFolder));
}
