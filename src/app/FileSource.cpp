// What every file source shares: its list's look, the filtered list, the
// selection and Ctrl+A.
#include "app/FileSource.h"

#include "app/Controls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

TFileSource::TFileSource(TWindowParts& parts) : FParts(parts) {}

QListWidget* TFileSource::MakeFileList(const char* name)
{
    FList = Named(new QListWidget, name);
    FList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont font(QStringLiteral("DejaVu Sans Mono"), 9);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    FList->setFont(font);
    FList->setUniformItemSizes(true);
    FList->setStyleSheet(QStringLiteral("QListWidget::item { height: 15px; }"));
    FList->setAccessibleName(QLatin1String(name));
    FList->installEventFilter(this);
    return FList;
}

QLabel* TFileSource::MakeCountLabel(const char* name)
{
    FCountLabel = Named(new QLabel(QStringLiteral("Files:  0")), name);
    FCountLabel->setAccessibleDescription(QLatin1String(name));
    return FCountLabel;
}

bool TFileSource::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FList && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_A && (key->modifiers() & Qt::ControlModifier)) {
            FList->selectAll();
            return true; // swallowed
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFileSource::ClearListing()
{
    FList->clear();
    Files.Clear();
    FCountLabel->setText(QStringLiteral("Files:  0"));
}

int TFileSource::ShowFileList(TFileFilter filter)
{
    const QStringList& entries = FilteredList(Files, filter);
    FList->clear();
    FList->addItems(entries);
    FCountLabel->setText(QStringLiteral("Files:  %1").arg(FList->count()));
    FList->clearSelection();
    return FList->count();
}

QStringList TFileSource::SelectedEntries() const
{
    QStringList entries;
    for (int i = 0; i < FList->count(); ++i)
        if (FList->item(i)->isSelected())
            entries.append(FList->item(i)->text());
    return entries;
}

std::optional<QString> TFileSource::CurrentEntry() const
{
    if (FList->count() == 0)
        return std::nullopt;
    const int row = FList->currentRow() >= 0 ? FList->currentRow() : 0;
    return FList->item(row)->text();
}
