#include "platform/ui/ShBrowseU.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int DialogWidth = 340;
constexpr int DialogHeight = 420;

// A path as the dialog hands it back: cut at its first zero character. The
// name is otherwise kept as the file system has it, blanks included, since a
// folder name here may well end in one.
QString ItemPath(const QString& path)
{
    const qsizetype zero = path.indexOf(QChar(0));
    return zero < 0 ? path : path.left(zero);
}

} // namespace

// Our own folder-browsing dialog: the message, a tree of the folders of the
// whole file system, OK and Cancel.
class TShBrowseDialog : public QDialog
{
public:
    TShBrowseDialog(QWidget* owner, const QString& message, bool includeFiles) : QDialog(owner)
    {
        setObjectName(QStringLiteral("ShBrowseDialog"));
        setWindowTitle(QStringLiteral("Browse for Folder"));

        MessageLabel = new QLabel(message, this);
        MessageLabel->setObjectName(QStringLiteral("UserMessage"));
        MessageLabel->setWordWrap(true);

        Model = new QFileSystemModel(this);
        // Hidden folders too: the server's default folder lives under ~/.local.
        QDir::Filters filters = QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives | QDir::Hidden;
        if (includeFiles)
            filters |= QDir::Files;
        Model->setFilter(filters);
        Model->setRootPath(QStringLiteral("/"));

        Tree = new QTreeView(this);
        Tree->setObjectName(QStringLiteral("FolderTree"));
        Tree->setAccessibleName(QStringLiteral("FolderTree"));
        Tree->setModel(Model);
        Tree->setHeaderHidden(true);
        for (int column = 1; column < Model->columnCount(); ++column)
            Tree->hideColumn(column);
        Tree->setSelectionMode(QAbstractItemView::SingleSelection);
        MessageLabel->setBuddy(Tree);

        auto* buttons = new QDialogButtonBox(this);
        OkBtn = buttons->addButton(QDialogButtonBox::Ok);
        OkBtn->setObjectName(QStringLiteral("OkBtn"));
        CancelBtn = buttons->addButton(QDialogButtonBox::Cancel);
        CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MessageLabel);
        layout->addWidget(Tree, 1);
        layout->addWidget(buttons);
        resize(DialogWidth, DialogHeight);

        // Folders load in the background, and rows arriving above the
        // starting folder would push it out of sight: keep it in view while
        // its ancestors load.
        connect(Model, &QFileSystemModel::directoryLoaded, this, [this](const QString& directory) {
            if (!FStartPath.isEmpty() && FStartPath.startsWith(directory) && Tree->currentIndex().isValid())
                Tree->scrollTo(Tree->currentIndex());
        });
    }

    // Selects the folder and scrolls it into view; a folder that isn't there
    // leaves the tree without a selection.
    void SelectFolder(const QString& folder)
    {
        const QModelIndex index = Model->index(QDir::cleanPath(folder));
        if (!index.isValid())
            return;
        FStartPath = Model->filePath(index);
        Tree->setCurrentIndex(index);
        Tree->scrollTo(index);
    }

    bool HasItem() const { return Tree->currentIndex().isValid(); }
    QString CurrentPath() const
    {
        return HasItem() ? ItemPath(Model->filePath(Tree->currentIndex())) : QString();
    }

    QLabel* MessageLabel;
    QFileSystemModel* Model;
    QTreeView* Tree;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

private:
    QString FStartPath;
};

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
    QObject::connect(dialog.Tree->selectionModel(), &QItemSelectionModel::currentChanged, &dialog,
                     [this, &dialog] { SelectionChanged(dialog); });
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
    if (!FInitFolder.isEmpty())
        dialog.SelectFolder(FInitFolder);
}

void TShBrowse::SelectionChanged(TShBrowseDialog& dialog)
{
    if (!FFolderCheck || !dialog.HasItem())
        return;
    FFolder = dialog.CurrentPath();
    dialog.OkBtn->setEnabled(FFolderCheck(*this, FFolder));
}
