// Start-up, shut-down, the handler guard and the size rule of the main window.
#include "app/Main.h"

#include "app/AppTitle.h"
#include "app/GridLink.h"
#include "app/MessageBoxes.h"
#include "app/Pickers.h"
#include "db/RakeDatabase.h"
#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "platform/ui/BusyCursor.h"
#include "reports/DatabaseBrowser.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportRunner.h"
#include "sources/ApiClient.h"
#include "viewer/HHView.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>

TMainForm::TMainForm(TMessageBoxes& boxes, TMainFormPlaces places, QWidget* parent)
    : QWidget(parent), FBoxes(boxes), FPlaces(std::move(places))
{
    // A database other than the usual one (one per server) is named in the caption.
    setWindowTitle(FPlaces.DatabaseFileName.isEmpty()
                       ? QLatin1String(MainCaption)
                       : QLatin1String(MainCaption) + QStringLiteral(" - ") + FPlaces.DatabaseFileName);
    setObjectName(QStringLiteral("MainForm"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    setFont(font);
    BuildPages();
    setMinimumSize(MainMinimumSize);
    resize(MainDesignedSize);
    FSize.Resized(size(), false, false);
    CreateParts();
    ConnectHandlers();

    // Each step of the creation reports its own error, and the window opens all the same.
    Guard([this] { LoadSettings(); });
    bool opened = false;
    Guard([this, &opened] {
        FRakeDatabase->OpenRakeDatabase();
        opened = true;
    });
    if (opened)
        Guard([this] { SetBrowseStatements(); });
    CreateViewer();
}

TMainForm::~TMainForm()
{
    // The views and queries let go of their statements before the connection closes.
    ReleaseParts();
}

void TMainForm::ShowAtStart()
{
    // Centred either way: a window that starts maximised restores to this place.
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    FStartMaximised ? showMaximized() : show();
}

void TMainForm::Guard(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const TError& e) {
        FBoxes.UnhandledError(e.Message());
    } catch (const std::exception& e) {
        FBoxes.UnhandledError(QString::fromLocal8Bit(e.what()));
    }
}

void TMainForm::SetStatus(QLabel* line, const QString& text)
{
    line->setText(text);
    line->repaint();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormCloseQuery();
    event->accept(); // the close always goes ahead
}

void TMainForm::FormCloseQuery()
{
    Guard([this] { SaveSettings(); });
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    // Only a normal size is remembered, so a maximised window restores to it next time.
    FSize.Resized(size(), isMaximized(), isMinimized());
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlA = key->key() == Qt::Key_A && (key->modifiers() & Qt::ControlModifier);
        if (ctrlA && (watched == HHLocalList || watched == HHRemoteList)) {
            static_cast<QListWidget*>(watched)->selectAll();
            return true; // swallowed
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && watched == SQLMemo)
            return true; // the SQL box takes no line break
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::CreateParts()
{
    FSettings = std::make_unique<TSettingsStore>(FPlaces.SettingsFile);
    FRakeDatabase = FPlaces.DatabaseFileName.isEmpty()
                        ? std::make_unique<TRakeDatabase>(FPlaces.DatabaseFolder)
                        : std::make_unique<TRakeDatabase>(FPlaces.DatabaseFolder, FPlaces.DatabaseFileName);
    // Waiting for another program's lock keeps the window drawn and takes no
    // input, as the waits for the server do.
    FRakeDatabase->SetLockWait(FPlaces.LockWaitMs,
                               [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    FApiClient = std::make_unique<TApiClient>();
    FReports = std::make_unique<TReportRunner>(
        *FRakeDatabase, [this](const QString& text) { SetStatus(ReportStatus, text); }, WaitCursorHook());
    LinkGrid(ReportGrid, FReports->ReportModel);
    ReportList->addItems(ReportItemTexts());
    ReportList->setCurrentIndex(0);
}

void TMainForm::CreateViewer()
{
    FHHViewForm = new THHViewForm(*FSettings, this);
    if (!FHHViewForm->CreateError().isEmpty())
        FBoxes.UnhandledError(FHHViewForm->CreateError());
}

void TMainForm::ReleaseParts()
{
    delete FHHViewForm;
    FHHViewForm = nullptr;
    FReports.reset();
    FBrowser.reset();
    FRakeDatabase.reset();
}

void TMainForm::ConnectHandlers()
{
    connect(RefreshBtn, &QPushButton::clicked, this, &TMainForm::RefreshBtnClick);
    connect(LoadHHBtn, &QPushButton::clicked, this, &TMainForm::LoadHHBtnClick);
    connect(SelectAllBtn, &QPushButton::clicked, this, &TMainForm::SelectAllBtnClick);
    connect(ImportBtn, &QPushButton::clicked, this, &TMainForm::ImportBtnClick);
    connect(HHLocalList, &QListWidget::itemDoubleClicked, this, &TMainForm::LoadHHBtnClick);
    connect(HHRemoteList, &QListWidget::itemDoubleClicked, this, &TMainForm::LoadHHBtnClick);
    connect(ShowRing, &QRadioButton::clicked, this, &TMainForm::ShowRingClick);
    connect(ShowTrny, &QRadioButton::clicked, this, &TMainForm::ShowTrnyClick);
    connect(ShowBoth, &QRadioButton::clicked, this, &TMainForm::ShowBothClick);
    connect(PageControl2, &QTabWidget::currentChanged, this, &TMainForm::PageControl2Change);
    connect(DBOpenBtn, &QPushButton::clicked, this, &TMainForm::DBOpenBtnClick);
    connect(DBCloseBtn, &QPushButton::clicked, this, &TMainForm::DBCloseBtnClick);
    connect(EmptyDBBtn, &QPushButton::clicked, this, &TMainForm::EmptyDBBtnClick);
    connect(MasterGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TMainForm::MasterGridTitleClick);
    connect(ReportList, &QComboBox::currentIndexChanged, this, &TMainForm::ReportListChange);
    connect(StartCB, &QCheckBox::clicked, this, &TMainForm::StartCBClick);
    connect(EndCB, &QCheckBox::clicked, this, &TMainForm::EndCBClick);
    for (TPicker* picker : {StartDate, StartTime, EndDate, EndTime})
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, &TMainForm::PickerChange);
    connect(LoadSQLBtn, &QPushButton::clicked, this, &TMainForm::LoadSQLBtnClick);
    connect(ExportBtn, &QPushButton::clicked, this, &TMainForm::ExportBtnClick);
    connect(ChartBtn, &QPushButton::clicked, this, &TMainForm::ChartBtnClick);
    connect(ReportGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TMainForm::ReportGridTitleClick);
}
