#include "platform/ui/ShBrowseDialog.h"

#include "platform/Folders.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int DialogWidth = 580;
constexpr int DialogHeight = 440;
constexpr int PlacesWidth = 200;

constexpr QDir::Filters FolderFilters = QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives;

// A path as the dialog hands it back: cut at its first zero character. The
// name is otherwise kept as the file system has it, blanks included, since a
// folder name here may well end in one.
QString ItemPath(const QString& path)
{
    const qsizetype zero = path.indexOf(QChar(0));
    return zero < 0 ? path : path.left(zero);
}

// A typed path as a folder path: "~" stands for the home folder, as in a shell.
QString TypedPath(const QString& text)
{
    if (text.isEmpty())
        return {};
    QString path = ItemPath(text);
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    return QDir::cleanPath(path);
}

} // namespace

QList<TShBrowsePlace> ShBrowsePlaces(const QString& rememberedFolder)
{
    QList<TShBrowsePlace> places{{QStringLiteral("Home"), QDir::homePath()}};
    const auto add = [&places](const QString& name, const QString& folder) {
        const QString path = QDir::cleanPath(folder);
        if (!DirectoryExists(path))
            return;
        for (const TShBrowsePlace& place : places)
            if (place.Path == path)
                return;
        places.append({name, path});
    };
    for (const QString& folder : DefaultHandHistoryFolders())
        add(QFileInfo(QFileInfo(folder).path()).fileName() + QStringLiteral(" hand histories"), folder);
    if (!rememberedFolder.isEmpty())
        add(QStringLiteral("Starting folder"), rememberedFolder);
    return places;
}

TShBrowseDialog::TShBrowseDialog(QWidget* owner, const QString& message, bool includeFiles) : QDialog(owner)
{
    setObjectName(QStringLiteral("ShBrowseDialog"));
    setWindowTitle(QStringLiteral("Browse for Folder"));

    MessageLabel = new QLabel(message, this);
    MessageLabel->setObjectName(QStringLiteral("UserMessage"));
    MessageLabel->setWordWrap(true);

    auto* placesLabel = new QLabel(QStringLiteral("&Places"), this);
    PlacesList = new QListWidget(this);
    PlacesList->setObjectName(QStringLiteral("PlacesList"));
    PlacesList->setAccessibleName(QStringLiteral("PlacesList"));
    PlacesList->setFixedWidth(PlacesWidth);
    // A long name is cut short with an ellipsis (its tooltip gives the path)
    // rather than scrolled sideways.
    PlacesList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PlacesList->setTextElideMode(Qt::ElideRight);
    placesLabel->setBuddy(PlacesList);

    // Hidden folders stay out of sight; a path asked for by name (typed, or a
    // place under ~/.local) is still shown, since the model lets it through.
    Model = new QFileSystemModel(this);
    Model->setFilter(includeFiles ? FolderFilters | QDir::Files : FolderFilters);
    Model->setRootPath(QStringLiteral("/"));

    Tree = new QTreeView(this);
    Tree->setObjectName(QStringLiteral("FolderTree"));
    Tree->setAccessibleName(QStringLiteral("FolderTree"));
    Tree->setModel(Model);
    Tree->setHeaderHidden(true);
    for (int column = 1; column < Model->columnCount(); ++column)
        Tree->hideColumn(column);
    Tree->setSelectionMode(QAbstractItemView::SingleSelection);
    Tree->setUniformRowHeights(true);
    MessageLabel->setBuddy(Tree);

    auto* folderLabel = new QLabel(QStringLiteral("&Folder:"), this);
    FolderEdit = new QLineEdit(this);
    FolderEdit->setObjectName(QStringLiteral("FolderEdit"));
    FolderEdit->setAccessibleName(QStringLiteral("Folder"));
    folderLabel->setBuddy(FolderEdit);
    FCompletionModel = new QFileSystemModel(this);
    FCompletionModel->setFilter(FolderFilters);
    FCompletionModel->setRootPath(QString());
    FCompleter = new QCompleter(FCompletionModel, this);
    FCompleter->setCaseSensitivity(Qt::CaseSensitive);
    FolderEdit->setCompleter(FCompleter);

    auto* buttons = new QDialogButtonBox(this);
    OkBtn = buttons->addButton(QDialogButtonBox::Ok);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    CancelBtn = buttons->addButton(QDialogButtonBox::Cancel);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* browse = new QGridLayout;
    browse->addWidget(placesLabel, 0, 0);
    browse->addWidget(MessageLabel, 0, 1);
    browse->addWidget(PlacesList, 1, 0);
    browse->addWidget(Tree, 1, 1);
    browse->setColumnStretch(1, 1);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(FolderEdit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(browse, 1);
    layout->addLayout(folderRow);
    layout->addWidget(buttons);
    resize(DialogWidth, DialogHeight);

    connect(Tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { TreeMoved(); });
    connect(FolderEdit, &QLineEdit::textEdited, this, [this](const QString& text) { Typed(text); });
    // Not on a mere change of the current place: tabbing into the list makes
    // its first entry current, and that must not move the tree.
    const auto goToPlace = [this](QListWidgetItem* item) { GoTo(item->data(Qt::UserRole).toString()); };
    connect(PlacesList, &QListWidget::itemClicked, this, goToPlace);
    connect(PlacesList, &QListWidget::itemActivated, this, goToPlace);

    // Folders load in the background and sort once loaded, and rows arriving
    // above the starting folder push it out of sight: bring it back each time,
    // but only until the user acts, or the tree would snatch the view away.
    connect(Model, &QFileSystemModel::directoryLoaded, this, [this] { FollowStart(); });
    connect(Model, &QAbstractItemModel::layoutChanged, this, [this] { FollowStart(); });
    connect(Tree->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { FFollowStart = false; });
    Tree->installEventFilter(this);
    Tree->viewport()->installEventFilter(this);
    // Not the tree: given focus without a current folder, it would make its
    // first row current, and a dialog without a starting folder opens with none.
    FolderEdit->setFocus();
    UpdateOk();
}

void TShBrowseDialog::SelectFolder(const QString& folder)
{
    const QModelIndex index = Model->index(QDir::cleanPath(folder));
    if (!index.isValid())
        return;
    FStartPath = Model->filePath(index);
    FFollowStart = true;
    Tree->setCurrentIndex(index);
    Tree->setFocus();
    FollowStart();
}

void TShBrowseDialog::SetPlaces(const QList<TShBrowsePlace>& places)
{
    const QSignalBlocker quiet(PlacesList);
    PlacesList->clear();
    for (const TShBrowsePlace& place : places) {
        const bool home = place.Path == QDir::homePath();
        auto* item =
            new QListWidgetItem(style()->standardIcon(home ? QStyle::SP_DirHomeIcon : QStyle::SP_DirIcon),
                                place.Name, PlacesList);
        item->setData(Qt::UserRole, place.Path);
        item->setToolTip(place.Path);
    }
}

bool TShBrowseDialog::HasItem() const
{
    const QString path = CurrentPath();
    return QDir::isAbsolutePath(path) && DirectoryExists(path);
}

QString TShBrowseDialog::CurrentPath() const
{
    return TypedPath(FolderEdit->text());
}

void TShBrowseDialog::SetAccepted(bool accepted)
{
    FAccepted = accepted;
    UpdateOk();
}

bool TShBrowseDialog::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        FFollowStart = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TShBrowseDialog::GoTo(const QString& path)
{
    FFollowStart = false;
    const QModelIndex index = Model->index(path);
    if (!index.isValid())
        return;
    Tree->setCurrentIndex(index);
    Tree->scrollTo(index, QAbstractItemView::PositionAtTop);
}

void TShBrowseDialog::TreeMoved()
{
    if (FSyncing)
        return;
    const QModelIndex current = Tree->currentIndex();
    const QString path = current.isValid() ? ItemPath(Model->filePath(current)) : QString();
    if (path != FStartPath)
        FFollowStart = false;
    FolderEdit->setText(path);
    Arrived();
}

void TShBrowseDialog::Typed(const QString& text)
{
    FFollowStart = false;
    // Hidden folders are offered once the name being typed starts with a dot.
    const QString last = text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
    const QDir::Filters filters =
        last.startsWith(QLatin1Char('.')) ? FolderFilters | QDir::Hidden : FolderFilters;
    if (FCompletionModel->filter() != filters)
        FCompletionModel->setFilter(filters);
    if (HasItem()) {
        // The tree follows the typing, but must not rewrite the text under the cursor.
        const QModelIndex index = Model->index(CurrentPath());
        if (index.isValid()) {
            FSyncing = true;
            Tree->setCurrentIndex(index);
            Tree->scrollTo(index);
            FSyncing = false;
        }
    }
    Arrived();
}

void TShBrowseDialog::Arrived()
{
    FAccepted = true;
    if (OnSelectionChanged)
        OnSelectionChanged();
    UpdateOk();
}

void TShBrowseDialog::FollowStart()
{
    if (!FFollowStart)
        return;
    const QModelIndex index = Model->index(FStartPath);
    if (index.isValid())
        Tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TShBrowseDialog::UpdateOk()
{
    // An empty field stands for an item without a path, which OK may confirm.
    OkBtn->setEnabled(FolderEdit->text().isEmpty() || (HasItem() && FAccepted));
}
