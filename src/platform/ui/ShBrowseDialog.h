#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QCompleter;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

// One entry of the places list: what it is called and where it leads.
struct TShBrowsePlace
{
    QString Name;
    QString Path;
};

// The places offered beside the tree: the home folder, the server's default
// hand-history folders that exist, and the remembered folder (when given and
// not already among them).
QList<TShBrowsePlace> ShBrowsePlaces(const QString& rememberedFolder);

// Our own folder-browsing dialog: the message, a few places, the tree of the
// file system's folders, a path field with completion, OK and Cancel. The
// path field holds the folder the dialog stands on; the tree and the places
// move it, and so does typing.
class TShBrowseDialog : public QDialog
{
public:
    TShBrowseDialog(QWidget* owner, const QString& message, bool includeFiles);

    // Selects the starting folder and keeps it in view while the folders
    // above it load, until the user moves; a folder that isn't there leaves
    // the tree without a selection.
    void SelectFolder(const QString& folder);
    void SetPlaces(const QList<TShBrowsePlace>& places);

    // True when the path field names an existing folder.
    bool HasItem() const;
    // The folder the dialog stands on, as typed or chosen; empty for none.
    QString CurrentPath() const;
    // The caller's verdict on the current folder; a refusal disables OK.
    void SetAccepted(bool accepted);

    // Called each time the dialog arrives at another folder.
    std::function<void()> OnSelectionChanged;

    QLabel* MessageLabel;
    QListWidget* PlacesList;
    QFileSystemModel* Model;
    QTreeView* Tree;
    QLineEdit* FolderEdit;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GoTo(const QString& path);
    void TreeMoved();
    void Typed(const QString& text);
    void Arrived();
    void FollowStart();
    void UpdateOk();

    QFileSystemModel* FCompletionModel;
    QCompleter* FCompleter;
    QString FStartPath;
    // The starting folder is kept in view only until the user first acts.
    bool FFollowStart = false;
    // Set while one control moves another, so that the move isn't echoed back.
    bool FSyncing = false;
    bool FAccepted = true;
};
