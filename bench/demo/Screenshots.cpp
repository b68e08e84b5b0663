// Makes the README's pictures from the real window: imports the demo folder
// through the local page, opens the browser, runs a report, charts two, works
// out November's rakeback (and prints its PDF's first page), views a file, and
// charts a generated archive of three years over a month, a year and all of it.
// Run under a real X server: xvfb-run -a build/kestrum_screenshots demo/HandHistory docs
#include "BenchRakeDb.h"
#include "FixedPicker.h"
#include "app/ChartWindow.h"
#include "app/DatabasePage.h"
#include "app/HandHistoryPage.h"
#include "app/LocalFileSource.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/Pickers.h"
#include "app/RakebackPage.h"
#include "app/RemoteFileSource.h"
#include "app/ReportsPage.h"
#include "platform/Clock.h"
#include "reports/Rakeback.h"
#include "viewer/HHView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {
class TQuietBoxes : public TMessageBoxes
{
public:
    void Error(const QString& t) override { std::printf("error: %s\n", qPrintable(t)); }
    void Information(const QString& t) override { std::printf("information: %s\n", qPrintable(t)); }
    bool Confirm(const QString&) override { return false; }
    void Plain(const QString& t) override { std::printf("%s\n", qPrintable(t)); }
    void UnhandledError(const QString& t) override { std::printf("unhandled: %s\n", qPrintable(t)); }
};

void Save(QWidget* widget, const QString& path)
{
    QTest::qWait(300);
    widget->grab().save(path);
    std::printf("saved %s\n", qPrintable(path));
}
// Loads a catalogue report and saves its chart window as the user sees it,
// in the given size when there is one.
void SaveChart(TMainForm& form, const QString& report, const QString& path, QSize size = {})
{
    form.ReportPage().ReportList->setCurrentIndex(form.ReportPage().ReportList->findText(report));
    form.ReportPage().LoadSQLBtn->click();
    QTimer::singleShot(0, [path, size] {
        if (auto* chart = qobject_cast<TChartWindow*>(QApplication::activeModalWidget())) {
            (void)QTest::qWaitForWindowExposed(chart);
            if (size.isValid()) {
                chart->move(0, 0);
                chart->resize(size);
            }
            Save(chart, path);
            chart->close();
        }
    });
    form.ReportPage().ChartBtn->click();
}

// Charts a generated archive of 2024 to 2026 by date over a month (with the
// days the server was down), a year and all three, and by month over all
// three, at the designed size and maximised.
void SaveChartsOverYears(TMessageBoxes& boxes, const QString& out)
{
    QTemporaryDir places;
    BenchRakeDb::GenerateDays(places.path(), QStringLiteral("2024-01-01"), 1096);
    TMainFormPlaces where;
    where.DatabaseFolder = places.path();
    where.SettingsFile = places.filePath(QStringLiteral("Kestrum.ini"));
    TMainForm form(boxes, where);
    form.resize(TMainForm::MainDesignedSize);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    form.PageControl1->setCurrentWidget(&form.ReportPage());
    TReportsPage& page = form.ReportPage();
    page.StartCB->click();
    page.EndCB->click();
    const QSize maximised = form.screen()->availableGeometry().size();
    struct TShot
    {
        const char* Report;
        QDate Start, End;
        const char* Name;
    };
    const TShot shots[] = {
        {"Rake by Date", QDate(2024, 7, 1), QDate(2024, 7, 31), "chart-date-month"},
        {"Rake by Date", QDate(2025, 1, 1), QDate(2025, 12, 31), "chart-date-year"},
        {"Rake by Date", QDate(2024, 1, 1), QDate(2026, 12, 31), "chart-date-3years"},
        {"Rake by Month", QDate(2024, 1, 1), QDate(2026, 12, 31), "chart-month-3years"},
    };
    for (const TShot& shot : shots) {
        page.StartDate->setDate(shot.Start);
        page.EndDate->setDate(shot.End);
        const QString path = out + QLatin1Char('/') + QLatin1String(shot.Name);
        SaveChart(form, QLatin1String(shot.Report), path + QStringLiteral(".png"),
                  TMainForm::MainDesignedSize);
        SaveChart(form, QLatin1String(shot.Report), path + QStringLiteral("-max.png"), maximised);
    }
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: kestrum_screenshots <hand history folder> <output folder>\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString out = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir places;
    TQuietBoxes boxes;
    TMainFormPlaces where;
    where.DatabaseFolder = places.path();
    where.SettingsFile = places.filePath(QStringLiteral("Kestrum.ini"));
    where.NewFolderPicker = [folder] { return std::make_unique<TFixedPicker>(folder); };
    const QString pdf = places.filePath(QStringLiteral("rakeback.pdf"));
    where.AskStatementFile = [pdf](QWidget*, const QString&) { return pdf; };
    // The demo's hands are of November 2026: the Rakeback page opens on it.
    Clock::SetTodaySource([] { return QDate(2026, 12, 10); });
    TMainForm form(boxes, where);
    form.resize(TMainForm::MainDesignedSize);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);

    form.HandHistoryPage().ShowBoth->click();
    form.HandHistoryPage().RefreshBtn->click();
    form.HandHistoryPage().LocalPage().HHLocalList->item(1)->setSelected(true);
    form.HandHistoryPage().LocalPage().HHLocalList->item(4)->setSelected(true);
    form.HandHistoryPage().RemotePage().APIPW->setText(QStringLiteral("secret"));
    form.HandHistoryPage().RemotePage().RememberPW->setChecked(true);
    const auto hhPages = [&](const QString& suffix) {
        form.HandHistoryPage().PageControl2->setCurrentWidget(&form.HandHistoryPage().RemotePage());
        Save(&form, out + QStringLiteral("/remote") + suffix + QStringLiteral(".png"));
        form.HandHistoryPage().PageControl2->setCurrentWidget(&form.HandHistoryPage().LocalPage());
        Save(&form, out + QStringLiteral("/main-window") + suffix + QStringLiteral(".png"));
    };
    hhPages(QString());
    form.HandHistoryPage().SelectAllBtn->click();
    form.HandHistoryPage().ImportBtn->click();

    form.PageControl1->setCurrentWidget(&form.DataPage());
    form.DataPage().DBOpenBtn->click();
    form.DataPage().MasterGrid->selectRow(3);
    Save(&form, out + QStringLiteral("/browser.png"));

    form.PageControl1->setCurrentWidget(&form.ReportPage());
    form.ReportPage().ReportList->setCurrentIndex(
        form.ReportPage().ReportList->findText(QStringLiteral("Proportional Rake by Table & Player")));
    form.ReportPage().LoadSQLBtn->click();
    Save(&form, out + QStringLiteral("/reports.png"));
    // A read that never ends, pictured after two seconds with its Cancel button, then stopped.
    const QString reportSql = form.ReportPage().SQLMemo->toPlainText();
    form.ReportPage().SQLMemo->setPlainText(QStringLiteral(
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT COUNT(*) FROM c"));
    QTimer::singleShot(2300, &form, [&form, out] {
        Save(&form, out + QStringLiteral("/reports-waiting.png"));
        form.ReportPage().findChild<QPushButton*>(QStringLiteral("ReportCancelBtn"))->click();
    });
    form.ReportPage().LoadSQLBtn->click();
    form.ReportPage().SQLMemo->setPlainText(reportSql);
    SaveChart(form, QStringLiteral("Rake by Date"), out + QStringLiteral("/chart-rake-by-date.png"));
    SaveChart(form, QStringLiteral("Proportional Rake by Player"),
              out + QStringLiteral("/chart-rake-by-player.png"));
    form.ReportPage().ReportList->setCurrentIndex(
        form.ReportPage().ReportList->findText(QStringLiteral("Proportional Rake by Table & Player")));
    form.ReportPage().LoadSQLBtn->click();

    form.PageControl1->setCurrentWidget(&form.RakebackPage());
    form.RakebackPage().DefaultRateEdit->setText(QStringLiteral("20"));
    form.RakebackPage().CalculateBtn->click();
    // One player with a rate of their own, as a house usually has.
    SetRakebackRate(form.RakeDatabase(),
                    form.RakebackPage().RakebackGrid->model()->index(2, 0).data().toString(), 35);
    form.RakebackPage().CalculateBtn->click();
    form.RakebackPage().SavePdfBtn->click();
    Save(&form, out + QStringLiteral("/rakeback.png"));
    // The printed statement's first page, as pdftoppm (poppler-utils) draws it.
    if (QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                           QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                           QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                           out + QStringLiteral("/rakeback-pdf")}) != 0)
        std::printf("pdftoppm failed: no rakeback-pdf.png\n");

    // The same pages maximised, to show how they grow.
    // Without a window manager (Xvfb) maximising does nothing; the work area's size stands in.
    form.resize(form.screen()->availableGeometry().size());
    form.move(0, 0);
    QCoreApplication::processEvents();
    Save(&form, out + QStringLiteral("/reports-max.png"));
    form.PageControl1->setCurrentWidget(&form.RakebackPage());
    Save(&form, out + QStringLiteral("/rakeback-max.png"));
    form.PageControl1->setCurrentWidget(&form.DataPage());
    Save(&form, out + QStringLiteral("/browser-max.png"));
    form.PageControl1->setCurrentWidget(&form.HandHistoryPage());
    hhPages(QStringLiteral("-max"));
    form.showNormal();

    THHViewForm& viewer = form.HHViewForm();
    viewer.LoadLines(form.HandHistoryPage().LocalPage().HHLocalList->item(0)->text(), [&] {
        QStringList lines;
        QFile file(folder + QLatin1Char('/') +
                   form.HandHistoryPage().LocalPage().HHLocalList->item(0)->text());
        if (file.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        return lines;
    }());
    viewer.show();
    (void)QTest::qWaitForWindowExposed(&viewer);
    Save(&viewer, out + QStringLiteral("/viewer.png"));
    viewer.hide();

    SaveChartsOverYears(boxes, out);
    return 0;
}
