#pragma once

#include "app/Page.h"
#include "reports/Rakeback.h"

#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class TPicker;
class TRakebackModel;
class TQueryWait;

// The "Rakeback" page: a period, a basis and a default rate make a statement
// of what each player gets back; a player's own rate is set in the grid; the
// statement goes out as CSV or PDF.
class TRakebackPage : public TPage
{
    Q_OBJECT
public:
    explicit TRakebackPage(TWindowParts& parts);
    ~TRakebackPage() override;

    QString Caption() const override { return QStringLiteral("Rakeback"); }
    void LoadSettings(TSettingsReader& reader) override;
    void SaveSettings(TSettingsWriter& writer) const override;

    // Handlers.
    void RBStartCBClick();
    void RBEndCBClick();
    void CalculateBtnClick();
    void ExportCsvBtnClick();
    void SavePdfBtnClick();
    void PercentEdited(const QString& player, const QString& text);

    TRakebackModel& Model() const { return *FModel; }

    QCheckBox *RBStartCB, *RBEndCB;
    TPicker *RBStartDate, *RBStartTime, *RBEndDate, *RBEndTime;
    QRadioButton *ProportionalRB, *EqualRB;
    QLineEdit* DefaultRateEdit;
    QPushButton *CalculateBtn, *ExportCsvBtn, *SavePdfBtn;
    QTableView* RakebackGrid;
    QLabel* RakebackStatus;

private:
    void BuildControls();
    void ConnectHandlers();
    // Builds the statement from the controls and shows it; raises on a bad default rate.
    void Calculate();
    // The file the user picked for the shown statement, starting at the last
    // folder used; empty when cancelled or when nothing was calculated yet.
    QString AskFile(const QString& suffix);

    TRakebackModel* FModel;
    TQueryWait* FWait; // its Cancel button stands after Save PDF while a statement is calculated
    // What the shown statement was built from, for its files' names and facts.
    TReportLimit FShownStart, FShownEnd;
    TRakebackBasis FShownBasis = TRakebackBasis::Proportional;
    double FShownPercent = 0;
    double FDefaultPercent = 0; // the last valid default rate
    QString FLastFolder;        // kept for the run only
};

// The real save dialog of the page, opened on the proposed file; empty when cancelled.
QString AskStatementFileName(QWidget* parent, const QString& proposed);
