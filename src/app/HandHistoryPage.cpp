// The "Hand Histories" page: Refresh, View and Import run alike for every file
// source; each source brings its listing, its fetch, its checks and its words.
#include "app/HandHistoryPage.h"

#include "app/ImportAside.h"

#include "app/Controls.h"
#include "app/LocalFileSource.h"
#include "app/MessageBoxes.h"
#include "app/RemoteFileSource.h"
#include "app/WindowParts.h"
#include "import/ImportLog.h"
#include "platform/Error.h"
#include "platform/ui/BusyCursor.h"
#include "viewer/HHView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

THandHistoryPage::THandHistoryPage(TWindowParts& parts) : TPage(parts)
{
    setObjectName(QStringLiteral("HandHistoryPage"));
    auto* hh = new QGridLayout(this);
    hh->setContentsMargins(6, 6, 6, PageBottomMargin);

    PageControl2 = Named(new QTabWidget, "PageControl2");
    PageControl2->setDocumentMode(true);
    PageControl2->setStyleSheet(QStringLiteral("QTabBar::tab { width: 175px; padding: 4px 0px; }"));
    FLocalPage = new TLocalFileSource(parts);
    AddSource(FLocalPage);
    FRemotePage = new TRemoteFileSource(parts);
    AddSource(FRemotePage);

    RefreshBtn = MakeButton(QStringLiteral("Get Hand History List"), "RefreshBtn", 146, 38);
    LoadHHBtn = MakeButton(QStringLiteral("View Selected File"), "LoadHHBtn", 146, 38);
    SelectAllBtn = MakeButton(QStringLiteral("Select All Files"), "SelectAllBtn", 146, 38);
    SelectNewBtn = MakeButton(QStringLiteral("Select New Files"), "SelectNewBtn", 146, 38);
    ImportBtn = MakeButton(QStringLiteral("Import Selected Files"), "ImportBtn", 146, 38);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 24, 0, 0);
    buttons->setSpacing(10);
    for (auto* b : {RefreshBtn, LoadHHBtn, SelectAllBtn, SelectNewBtn, ImportBtn})
        buttons->addWidget(b);
    buttons->addStretch(1);

    ShowRing = Named(new QRadioButton(QStringLiteral("Show Ring Games")), "ShowRing");
    ShowTrny = Named(new QRadioButton(QStringLiteral("Show Tournaments")), "ShowTrny");
    ShowBoth = Named(new QRadioButton(QStringLiteral("Show Both")), "ShowBoth");
    ShowRing->setChecked(true);
    auto* filters = new QHBoxLayout;
    filters->addWidget(ShowRing);
    filters->addSpacing(12);
    filters->addWidget(ShowTrny);
    filters->addSpacing(12);
    filters->addWidget(ShowBoth);
    filters->addStretch(1);

    HHStatus = MakeStatusLine("HHStatus");
    hh->addWidget(PageControl2, 0, 0);
    hh->addLayout(buttons, 0, 1);
    hh->addLayout(filters, 1, 0, 1, 2);
    hh->addWidget(StatusLineBox(HHStatus), 2, 0, 1, 2);
    hh->setRowStretch(0, 1);
    hh->setColumnStretch(0, 1);
    PageControl2->setCurrentWidget(FLocalPage);
    ConnectHandlers();
}

void THandHistoryPage::AddSource(TFileSource* source)
{
    FSources.append(source);
    PageControl2->addTab(source, source->Caption());
    connect(source->List(), &QListWidget::itemDoubleClicked, this, &THandHistoryPage::LoadHHBtnClick);
}

void THandHistoryPage::ConnectHandlers()
{
    connect(RefreshBtn, &QPushButton::clicked, this, &THandHistoryPage::RefreshBtnClick);
    connect(LoadHHBtn, &QPushButton::clicked, this, &THandHistoryPage::LoadHHBtnClick);
    connect(SelectAllBtn, &QPushButton::clicked, this, &THandHistoryPage::SelectAllBtnClick);
    connect(SelectNewBtn, &QPushButton::clicked, this, &THandHistoryPage::SelectNewBtnClick);
    connect(ImportBtn, &QPushButton::clicked, this, &THandHistoryPage::ImportBtnClick);
    // On the change of state, not the click: the accessibility bus toggles a
    // radio button without a click.
    const auto whenChecked = [this](void (THandHistoryPage::*handler)()) {
        return [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        };
    };
    connect(ShowRing, &QRadioButton::toggled, this, whenChecked(&THandHistoryPage::ShowRingClick));
    connect(ShowTrny, &QRadioButton::toggled, this, whenChecked(&THandHistoryPage::ShowTrnyClick));
    connect(ShowBoth, &QRadioButton::toggled, this, whenChecked(&THandHistoryPage::ShowBothClick));
    connect(PageControl2, &QTabWidget::currentChanged, this, &THandHistoryPage::PageControl2Change);
}

void THandHistoryPage::LoadSettings(TSettingsReader& reader)
{
    // Last tab first: the server's fields have always come before the
    // remembered folder, and a value that fails to read ends the load there.
    for (auto source = FSources.crbegin(); source != FSources.crend(); ++source)
        (*source)->LoadSettings(reader);
}

void THandHistoryPage::SaveSettings(TSettingsWriter& writer) const
{
    for (auto source = FSources.crbegin(); source != FSources.crend(); ++source)
        (*source)->SaveSettings(writer);
}

TFileSource& THandHistoryPage::ActiveSource() const
{
    return *FSources.at(PageControl2->currentIndex());
}

TFileFilter THandHistoryPage::Filter() const
{
    return ShowRing->isChecked()   ? TFileFilter::Ring
           : ShowTrny->isChecked() ? TFileFilter::Trny
           : ShowBoth->isChecked() ? TFileFilter::Both
                                   : TFileFilter::None;
}

void THandHistoryPage::RefreshBtnClick()
{
    FParts.Guard([this] { ListFiles(ActiveSource()); });
}

void THandHistoryPage::LoadHHBtnClick()
{
    FParts.Guard([this] { ViewFile(ActiveSource()); });
}

void THandHistoryPage::SelectAllBtnClick()
{
    FParts.Guard([this] { ActiveSource().List()->selectAll(); });
}

void THandHistoryPage::SelectNewBtnClick()
{
    FParts.Guard([this] {
        // The files a catch-up run would take: never imported, or changed since.
        TFileSource& source = ActiveSource();
        const TImportLog log(*FParts.RakeDatabase);
        QListWidget* list = source.List();
        for (int row = 0; row < list->count(); ++row)
            list->item(row)->setSelected(source.IsNewEntry(log, list->item(row)->text()));
    });
}

void THandHistoryPage::ImportBtnClick()
{
    FParts.Guard([this] { ImportFiles(ActiveSource()); });
}

void THandHistoryPage::ShowRingClick()
{
    FParts.Guard([this] { ShowFileList(); });
}

void THandHistoryPage::ShowTrnyClick()
{
    FParts.Guard([this] { ShowFileList(); });
}

void THandHistoryPage::ShowBothClick()
{
    FParts.Guard([this] { ShowFileList(); });
}

void THandHistoryPage::PageControl2Change()
{
    FParts.Guard([this] { ShowFileList(); });
}

int THandHistoryPage::ShowFileList()
{
    return ActiveSource().ShowFileList(Filter());
}

void THandHistoryPage::ListFiles(TFileSource& source)
{
    source.ClearListing();
    if (!source.ListFiles(HHStatus))
        return;
    HHStatus->setText(QString());
    if (source.ShowFileList(Filter()) == 0)
        FParts.Boxes.Information(QStringLiteral("No files found"));
}

void THandHistoryPage::ImportFiles(TFileSource& source)
{
    const QStringList entries = source.SelectedEntries();
    if (entries.isEmpty()) {
        FParts.Boxes.Error(QStringLiteral("No history files selected"));
        return;
    }
    if (!source.ImportChecksPass())
        return;
    // What the run needs of the page is read here, on the window's thread.
    const QString verb = source.ImportVerb();
    const TFetchEntry fetch = source.EntryFetcher();
    TRakeDatabase& database = *FParts.RakeDatabase;
    TImportFront frontEnd(*this);
    RunImportAside(FParts, this, frontEnd,
                   [&](TImportFrontEnd& relay) { return RunImport(database, entries, verb, fetch, relay); });
}

THandHistoryPage::TImportFront::TImportFront(THandHistoryPage& page) : FPage(page), FBusy(WaitCursorHook()) {}

void THandHistoryPage::TImportFront::SetStatus(const QString& text)
{
    ::SetStatus(FPage.HHStatus, text);
}

void THandHistoryPage::TImportFront::ShowError(const QString& text)
{
    FPage.FParts.Boxes.Error(text);
}

void THandHistoryPage::TImportFront::CloseViews()
{
    FPage.CloseViews();
}

void THandHistoryPage::TImportFront::ShowPlain(const QString& text)
{
    FPage.FParts.Boxes.Plain(text);
}

void THandHistoryPage::TImportFront::SetBusy(bool busy)
{
    FBusy(busy);
}

void THandHistoryPage::TImportFront::KeepDrawn()
{
    // Drawn while the run goes on aside, with no click taken until it ends.
    // A round of events also answers the accessibility bus, whose clients may
    // ask a great deal, so it runs at most ten times a second: often enough to
    // stay drawn, rare enough to cost nothing next to the import. The status
    // line itself is repainted at once for every new text either way.
    if (FSinceDrawn.isValid() && FSinceDrawn.elapsed() < 100)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    FSinceDrawn.start();
}

void THandHistoryPage::ViewFile(TFileSource& source)
{
    if (!source.ViewChecksPass())
        return;
    const std::optional<QString> entry = source.CurrentEntry();
    if (!entry) {
        FParts.Boxes.Error(QStringLiteral("No hand history file selected in list"));
        return;
    }
    QStringList lines;
    try {
        lines = source.EntryFetcher()(*entry).Lines;
    } catch (const TError& e) {
        FParts.Boxes.Error(e.Message());
        return;
    }
    FParts.HHViewForm->ShowLines(*entry, lines);
}
