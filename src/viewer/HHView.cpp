#include "viewer/HHView.h"

#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "viewer/HHFunctions.h"
#include "viewer/HHViewModel.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr int FindBarHeight = 33;
constexpr int SearchBoxWidth = 180;
constexpr int NextBtnWidth = 65;
constexpr int NextBtnHeight = 21;
constexpr int LinePanelWidth = 150;
constexpr int HandsPanelWidth = 100;

QFont FormFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    return font;
}

QFont LineFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    return font;
}

} // namespace

THHViewForm::THHViewForm(TSettingsStore& settings, QWidget* mainWindow)
    : QDialog(mainWindow), FSettings(settings), FBeep([] { QApplication::beep(); })
{
    // System menu, maximise and close boxes; no minimise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("HHViewForm"));
    setWindowTitle(QStringLiteral("View"));
    setFont(FormFont());
    setSizeGripEnabled(false);
    BuildControls();
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(DesignedWidth, DesignedHeight);
    FSize.Resized(size(), false, false);

    try {
        FormCreate();
    } catch (const TError& error) {
        FCreateError = error.Message();
    }
}

THHViewForm::~THHViewForm() = default;

void THHViewForm::BuildControls()
{
    auto* findBar = new QWidget(this);
    findBar->setObjectName(QStringLiteral("FindBar"));
    findBar->setFixedHeight(FindBarHeight);
    FindLabel = new QLabel(QStringLiteral("Find:"), findBar);
    FindLabel->setObjectName(QStringLiteral("FindLabel"));
    SearchBox = new QLineEdit(findBar);
    SearchBox->setObjectName(QStringLiteral("SearchBox"));
    SearchBox->setFixedWidth(SearchBoxWidth);
    FindLabel->setBuddy(SearchBox);
    NextBtn = new QPushButton(QStringLiteral("Next"), findBar);
    NextBtn->setObjectName(QStringLiteral("NextBtn"));
    NextBtn->setFixedSize(NextBtnWidth, NextBtnHeight);
    // Only the button searches: no default button, so Enter in the find box
    // does nothing.
    NextBtn->setAutoDefault(false);
    NextBtn->setDefault(false);
    auto* barLayout = new QHBoxLayout(findBar);
    barLayout->setContentsMargins(8, 0, 8, 0);
    barLayout->addWidget(FindLabel);
    barLayout->addWidget(SearchBox);
    barLayout->addWidget(NextBtn);
    barLayout->addStretch(1);

    FModel = new THHViewModel(this);
    HHViewer = new QListView(this);
    HHViewer->setObjectName(QStringLiteral("HHViewer"));
    HHViewer->setAccessibleName(QStringLiteral("HHViewer"));
    HHViewer->setFont(LineFont());
    HHViewer->setUniformItemSizes(true);
    HHViewer->setSelectionMode(QAbstractItemView::SingleSelection);
    HHViewer->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One scroll step per line, so the scroll value is the top line.
    HHViewer->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    HHViewer->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    HHViewer->setTextElideMode(Qt::ElideNone);
    HHViewer->setWordWrap(false);
    HHViewer->setModel(FModel);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setAccessibleDescription(QStringLiteral("StatusBar1"));
    LinePanel = new QLabel(QStringLiteral("Line:  0 of 0"), StatusBar1);
    LinePanel->setObjectName(QStringLiteral("LinePanel"));
    LinePanel->setAccessibleDescription(QStringLiteral("LinePanel"));
    LinePanel->setFixedWidth(LinePanelWidth);
    HandsPanel = new QLabel(QStringLiteral("Hands:  0"), StatusBar1);
    HandsPanel->setObjectName(QStringLiteral("HandsPanel"));
    HandsPanel->setAccessibleDescription(QStringLiteral("HandsPanel"));
    HandsPanel->setFixedWidth(HandsPanelWidth);
    StatusBar1->addWidget(LinePanel);
    StatusBar1->addWidget(HandsPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(findBar);
    layout->addWidget(HHViewer, 1);
    layout->addWidget(StatusBar1);

    connect(NextBtn, &QPushButton::clicked, this, [this] { NextBtnClick(); });
    // Mouse, keyboard or a find: every change of the selection shows the line.
    connect(HHViewer->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ShowLinePosition(); });

    // Key preview: Escape closes from whichever control has the focus.
    for (QWidget* control :
         {static_cast<QWidget*>(SearchBox), static_cast<QWidget*>(NextBtn), static_cast<QWidget*>(HHViewer)})
        control->installEventFilter(this);
}

void THHViewForm::FormCreate()
{
    FSettings.Load([this](TSettingsReader& reader) {
        resize(FSize.RestoreWidth(reader.ReadInteger(SettingNames::ViewWidth), width(), minimumWidth()),
               height());
        resize(width(),
               FSize.RestoreHeight(reader.ReadInteger(SettingNames::ViewHeight), height(), minimumHeight()));
        if (reader.ReadBool(SettingNames::ViewMax))
            setWindowState(windowState() | Qt::WindowMaximized);
    });
}

void THHViewForm::LoadLines(const QString& caption, const QStringList& lines)
{
    setWindowTitle(caption);
    const QFontMetrics metrics(HHViewer->font());
    FModel->SetLines(lines, metrics.horizontalAdvance(QLatin1Char('M')), LineHeight);
    HHViewer->setCurrentIndex(QModelIndex());
    HHViewer->clearSelection();
    HHViewer->scrollToTop();
    HHViewer->horizontalScrollBar()->setValue(0);
    if (!FOpenedBefore) {
        FOpenedBefore = true;
        CentreOverMainWindow();
    }
    SearchBox->setFocus();
}

void THHViewForm::ShowLines(const QString& caption, const QStringList& lines)
{
    LoadLines(caption, lines);
    FCloseError.clear();
    exec();
    if (!FCloseError.isEmpty())
        throw TError(FCloseError);
}

void THHViewForm::CentreOverMainWindow()
{
    const QWidget* mainWindow = parentWidget();
    if (!mainWindow)
        return;
    const QRect over = mainWindow->frameGeometry();
    const QSize own = frameGeometry().size();
    move(over.x() + (over.width() - own.width()) / 2, over.y() + (over.height() - own.height()) / 2);
}

int THHViewForm::SelectedLine() const
{
    const QModelIndexList selected = HHViewer->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

const QStringList& THHViewForm::Lines() const
{
    return FModel->Lines();
}

void THHViewForm::ShowLinePosition()
{
    LinePanel->setText(QStringLiteral("Line:  %1 of %2").arg(SelectedLine() + 1).arg(FModel->rowCount()));
}

void THHViewForm::NextBtnClick()
{
    const TFindResult found = FindNext(FModel->Lines(), SelectedLine(), SearchBox->text());
    if (found.Line >= 0) {
        HHViewer->setCurrentIndex(FModel->index(found.Line));
        HHViewer->verticalScrollBar()->setValue(CentredTopLine(found.Line, HHViewer->height(), LineHeight));
        ShowLinePosition();
    } else if (found.Beep && FBeep) {
        FBeep();
    }
}

void THHViewForm::FormShow()
{
    HandsPanel->setText(QStringLiteral("Hands:  %1").arg(CountHands(FModel->Lines())));
    ShowLinePosition();
}

bool THHViewForm::FormKeyPress(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    reject();
    return true;
}

void THHViewForm::FormResize()
{
    FSize.Resized(size(), isMaximized(), isMinimized());
}

void THHViewForm::FormCloseQuery()
{
    FSettings.Save([this](TSettingsWriter& writer) {
        writer.WriteInteger(SettingNames::ViewWidth, FSize.Width());
        writer.WriteInteger(SettingNames::ViewHeight, FSize.Height());
        // Minimised from maximised still reports maximised; it counts as not maximised.
        writer.WriteBool(SettingNames::ViewMax, isMaximized() && !isMinimized());
    });
}

void THHViewForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void THHViewForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

bool THHViewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && FormKeyPress(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void THHViewForm::done(int result)
{
    // Every way of closing ends here. The close is never refused; a failed
    // save is kept and raised once the window is gone, so that no error
    // crosses the event that closed it.
    if (isVisible()) {
        try {
            FormCloseQuery();
        } catch (const std::exception& error) {
            const auto* own = dynamic_cast<const TError*>(&error);
            FCloseError = own ? own->Message() : QString::fromLocal8Bit(error.what());
        }
    }
    QDialog::done(result);
    // The text is not needed until the next opening replaces it: give its
    // memory back now rather than holding a large file while hidden.
    FModel->SetLines({}, 0, LineHeight);
}
