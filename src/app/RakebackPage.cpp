// The "Rakeback" page: the period, the basis and the rates, the statement grid,
// and its CSV and PDF files.
#include "app/RakebackPage.h"

#include "app/Controls.h"
#include "app/MessageBoxes.h"
#include "app/Pickers.h"
#include "app/QueryWait.h"
#include "app/RakebackModel.h"
#include "app/WindowParts.h"
#include "db/RakeDatabase.h"
#include "pdf/RakebackPdf.h"
#include "platform/Busy.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "platform/ui/BusyCursor.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// The statement is usually made for the month just gone.
QDate PreviousMonthFirst()
{
    const QDate today = Clock::Today();
    return QDate(today.year(), today.month(), 1).addMonths(-1);
}

// Checked: the pickers show the given moment; unchecked: they look empty.
void SetUpPickers(QCheckBox* box, TPicker* date, TPicker* time, QDate day, QTime at)
{
    date->setEnabled(box->isChecked());
    time->setEnabled(box->isChecked());
    if (box->isChecked()) {
        date->setDate(day);
        time->setTime(at);
        date->ShowWithFormat(QStringLiteral("yyyy-MM-dd"));
        time->ShowWithFormat(QStringLiteral("HH:mm:ss"));
    } else {
        date->SetBlank();
        time->SetBlank();
    }
}

TReportLimit Limit(const QCheckBox* box, const TPicker* date, const TPicker* time)
{
    return {box->isChecked(), date->date(), time->time()};
}

QChar DecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front() : QChar(u'.');
}

// A rate as the user reads it: "12.5" with the locale's decimal point.
QString LocaleRateText(double percent)
{
    return RateText(percent).replace(u'.', DecimalPoint());
}

void WriteFileBytes(const QByteArray& bytes, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TError(QStringLiteral("Cannot create file \"%1\". %2").arg(shown, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw TError(QStringLiteral("Cannot write file \"%1\". %2").arg(shown, file.errorString()));
}
} // namespace

TRakebackPage::TRakebackPage(TWindowParts& parts) : TPage(parts), FModel(new TRakebackModel(this))
{
    BuildControls();
    RakebackGrid->setModel(FModel);
    const int widths[] = {220, 70, 100, 70, 90};
    for (int c = 0; c < TRakebackModel::ColumnCount; ++c)
        RakebackGrid->setColumnWidth(c, widths[c]);
    // After the edit has ended: the recalculation resets the model, which must
    // not happen under the editor that is still committing.
    FModel->PercentEdited = [this](const QString& player, const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, player, text] { PercentEdited(player, text); }, Qt::QueuedConnection);
    };
    FLastFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (FLastFolder.isEmpty())
        FLastFolder = QDir::homePath();
    ConnectHandlers();
    RBStartCBClick();
    RBEndCBClick();
}

TRakebackPage::~TRakebackPage() = default;

void TRakebackPage::BuildControls()
{
    setObjectName(QStringLiteral("RakebackPage"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, PageBottomMargin);
    page->setSpacing(0);
    auto* topBar = new QWidget;
    auto* top = new QGridLayout(topBar);
    top->setContentsMargins(8, 6, 8, 6);
    RBStartCB = Named(new QCheckBox(QStringLiteral("Start Date && Time")), "RBStartCB");
    RBEndCB = Named(new QCheckBox(QStringLiteral("End Date && Time")), "RBEndCB");
    RBStartCB->setChecked(true);
    RBEndCB->setChecked(true);
    RBStartDate = Named(new TPicker(TPicker::TKind::Date), "RBStartDate");
    RBStartTime = Named(new TPicker(TPicker::TKind::Time), "RBStartTime");
    RBEndDate = Named(new TPicker(TPicker::TKind::Date), "RBEndDate");
    RBEndTime = Named(new TPicker(TPicker::TKind::Time), "RBEndTime");
    RBStartDate->setAccessibleName(QStringLiteral("Start date"));
    RBStartTime->setAccessibleName(QStringLiteral("Start time"));
    RBEndDate->setAccessibleName(QStringLiteral("End date"));
    RBEndTime->setAccessibleName(QStringLiteral("End time"));
    for (auto* picker : {RBStartDate, RBStartTime, RBEndDate, RBEndTime})
        picker->setFixedWidth(picker == RBStartDate || picker == RBEndDate ? 100 : 80);
    top->addWidget(RBStartCB, 0, 0, 1, 2);
    top->addWidget(RBStartDate, 1, 0);
    top->addWidget(RBStartTime, 1, 1);
    top->addWidget(RBEndCB, 0, 3, 1, 2);
    top->addWidget(RBEndDate, 1, 3);
    top->addWidget(RBEndTime, 1, 4);
    top->setColumnMinimumWidth(2, 16);
    top->setColumnMinimumWidth(5, 16);

    auto* basis = Named(new QGroupBox(QStringLiteral("Basis")), "BasisGroup");
    auto* basisRow = new QHBoxLayout(basis);
    basisRow->setContentsMargins(8, 2, 8, 2);
    ProportionalRB = Named(new QRadioButton(QStringLiteral("Proportional")), "ProportionalRB");
    EqualRB = Named(new QRadioButton(QStringLiteral("Equal")), "EqualRB");
    ProportionalRB->setChecked(true);
    basisRow->addWidget(ProportionalRB);
    basisRow->addWidget(EqualRB);
    top->addWidget(basis, 0, 6, 2, 1);
    top->setColumnStretch(7, 1);

    auto* commands = new QHBoxLayout;
    auto* rateLabel = new QLabel(QStringLiteral("Default rate (%)"));
    DefaultRateEdit = Named(new QLineEdit(QStringLiteral("0")), "DefaultRateEdit");
    DefaultRateEdit->setFixedWidth(60);
    DefaultRateEdit->setMaxLength(10);
    rateLabel->setBuddy(DefaultRateEdit);
    CalculateBtn = MakeButton(QStringLiteral("Calculate"), "CalculateBtn", 75, 25);
    ExportCsvBtn = MakeButton(QStringLiteral("Export CSV..."), "ExportCsvBtn", 95, 25);
    SavePdfBtn = MakeButton(QStringLiteral("Save PDF..."), "SavePdfBtn", 95, 25);
    commands->addWidget(rateLabel);
    commands->addWidget(DefaultRateEdit);
    commands->addSpacing(8);
    commands->addWidget(CalculateBtn);
    commands->addSpacing(8);
    commands->addWidget(ExportCsvBtn);
    commands->addWidget(SavePdfBtn);
    commands->addStretch(1);
    top->addLayout(commands, 2, 0, 1, 8);

    RakebackGrid = MakeGrid("RakebackGrid");
    // A cell, not a row: the Percent cell is edited in place.
    RakebackGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    RakebackGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed);
    RakebackStatus = MakeStatusLine("RakebackStatus");
    page->addWidget(topBar);
    page->addWidget(RakebackGrid, 1);
    page->addWidget(StatusLineBox(RakebackStatus));
    FWait = new TQueryWait(this, FParts, {RakebackStatus}, commands, "RBCancelBtn", 75);
}

void TRakebackPage::ConnectHandlers()
{
    // On the change of state, not the click: the accessibility bus toggles a
    // check box without a click.
    connect(RBStartCB, &QCheckBox::toggled, this, &TRakebackPage::RBStartCBClick);
    connect(RBEndCB, &QCheckBox::toggled, this, &TRakebackPage::RBEndCBClick);
    connect(CalculateBtn, &QPushButton::clicked, this, &TRakebackPage::CalculateBtnClick);
    connect(DefaultRateEdit, &QLineEdit::returnPressed, this, &TRakebackPage::CalculateBtnClick);
    connect(ExportCsvBtn, &QPushButton::clicked, this, &TRakebackPage::ExportCsvBtnClick);
    connect(SavePdfBtn, &QPushButton::clicked, this, &TRakebackPage::SavePdfBtnClick);
}

void TRakebackPage::LoadSettings(TSettingsReader& reader)
{
    FDefaultPercent = ReadDefaultRate(reader);
    DefaultRateEdit->setText(LocaleRateText(FDefaultPercent));
}

void TRakebackPage::SaveSettings(TSettingsWriter& writer) const
{
    // A rate typed but not calculated yet still counts; a bad one keeps the last good.
    double percent = FDefaultPercent;
    try {
        percent = ParseRate(DefaultRateEdit->text().trimmed(), DecimalPoint());
    } catch (const TError&) {
    }
    WriteDefaultRate(writer, percent);
}

void TRakebackPage::RBStartCBClick()
{
    FParts.Guard(
        [this] { SetUpPickers(RBStartCB, RBStartDate, RBStartTime, PreviousMonthFirst(), QTime(0, 0)); });
}

void TRakebackPage::RBEndCBClick()
{
    FParts.Guard([this] {
        const QDate first = PreviousMonthFirst();
        SetUpPickers(RBEndCB, RBEndDate, RBEndTime, first.addDays(first.daysInMonth() - 1),
                     QTime(23, 59, 59));
    });
}

void TRakebackPage::Calculate()
{
    const double percent = ParseRate(DefaultRateEdit->text().trimmed(), DecimalPoint());
    const TReportLimit start = Limit(RBStartCB, RBStartDate, RBStartTime);
    const TReportLimit end = Limit(RBEndCB, RBEndDate, RBEndTime);
    const TRakebackBasis basis = EqualRB->isChecked() ? TRakebackBasis::Equal : TRakebackBasis::Proportional;
    SetStatus(RakebackStatus, QStringLiteral("Calculating"));
    TRakebackStatement statement;
    try {
        const TBusyScope busy(WaitCursorHook());
        RunWaiting(FWait->Hook(), [&] {
            statement = BuildRakebackStatement(*FParts.RakeDatabase, start, end, basis, percent);
        });
    } catch (const TCancelled&) {
        // The statement shown before stays, with what it was calculated for.
        SetStatus(RakebackStatus, QStringLiteral("Query cancelled"));
        return;
    }
    FDefaultPercent = percent;
    FShownStart = start;
    FShownEnd = end;
    FShownBasis = basis;
    FShownPercent = percent;
    FModel->SetStatement(statement);
    const qsizetype players = statement.Rows.size();
    SetStatus(RakebackStatus, QStringLiteral("%1 %2, rakeback %3")
                                  .arg(players)
                                  .arg(players == 1 ? QStringLiteral("player") : QStringLiteral("players"))
                                  .arg(CentsText(statement.Cents).replace(u'.', DecimalPoint())));
}

void TRakebackPage::CalculateBtnClick()
{
    FParts.Guard([this] {
        try {
            Calculate();
        } catch (const TError& e) {
            if (e.Message() != QLatin1String(RateRefusal))
                throw;
            FParts.Boxes.Error(e.Message());
            DefaultRateEdit->setFocus();
            DefaultRateEdit->selectAll();
        }
    });
}

void TRakebackPage::PercentEdited(const QString& player, const QString& text)
{
    FParts.Guard([&] {
        const QString typed = text.trimmed();
        if (typed.isEmpty()) {
            UnsetRakebackRate(*FParts.RakeDatabase, player); // back to the default rate
        } else {
            double percent = 0;
            try {
                percent = ParseRate(typed, DecimalPoint());
            } catch (const TError& e) {
                FParts.Boxes.Error(e.Message());
                return;
            }
            SetRakebackRate(*FParts.RakeDatabase, player, percent);
        }
        CalculateBtnClick();
    });
}

QString TRakebackPage::AskFile(const QString& suffix)
{
    if (!FModel->HasStatement()) {
        FParts.Boxes.Error(QStringLiteral("Calculate the statement first"));
        return {};
    }
    const QString proposed = QDir(FLastFolder).filePath(RakebackFileStem(FShownStart, FShownEnd) + suffix);
    const QString path = FParts.Places.AskStatementFile ? FParts.Places.AskStatementFile(window(), proposed)
                                                        : AskStatementFileName(window(), proposed);
    if (!path.isEmpty())
        FLastFolder = QFileInfo(path).absolutePath();
    return path;
}

void TRakebackPage::ExportCsvBtnClick()
{
    FParts.Guard([this] {
        const QString path = AskFile(QStringLiteral(".csv"));
        if (path.isEmpty())
            return;
        WriteFileBytes(RakebackCsv(FModel->Statement()), path);
        SetStatus(RakebackStatus, QStringLiteral("Rakeback statement saved"));
    });
}

void TRakebackPage::SavePdfBtnClick()
{
    FParts.Guard([this] {
        const QString path = AskFile(QStringLiteral(".pdf"));
        if (path.isEmpty())
            return;
        const TBusyScope busy(WaitCursorHook());
        WriteRakebackPdf(FModel->Statement(),
                         {RakebackPeriodText(FShownStart, FShownEnd), RakebackBasisText(FShownBasis),
                          FShownPercent, QDateTime::currentDateTime()},
                         path);
        SetStatus(RakebackStatus, QStringLiteral("Rakeback statement saved"));
    });
}

QString AskStatementFileName(QWidget* parent, const QString& proposed)
{
    const bool pdf = proposed.endsWith(QLatin1String(".pdf"));
    QFileDialog dialog(parent, pdf ? QStringLiteral("Save rakeback statement as PDF")
                                   : QStringLiteral("Export rakeback statement to CSV file"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({pdf ? QStringLiteral("PDF files (*.pdf)") : QStringLiteral("CSV files (*.csv)"),
                           QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(pdf ? QStringLiteral("pdf") : QStringLiteral("csv"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setObjectName(QStringLiteral("SaveStatementDialog"));
    dialog.setDirectory(QFileInfo(proposed).absolutePath());
    dialog.selectFile(QFileInfo(proposed).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
