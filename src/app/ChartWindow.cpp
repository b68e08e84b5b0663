#include "app/ChartWindow.h"

#include "app/MessageBoxes.h"
#include "platform/Error.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {
// The category axis merges equal texts, so repeats get invisible marks.
QStringList UniqueLabels(const std::vector<TChartBar>& bars)
{
    QStringList labels;
    for (const auto& bar : bars) {
        QString label = bar.Label;
        while (labels.contains(label))
            label += QChar(0x200B);
        labels << label;
    }
    return labels;
}
} // namespace

TChartWindow::TChartWindow(const TDataView& view, TChartSource source, TMessageBoxes& boxes,
                           std::function<QString(QWidget*)> askImageFile, QWidget* parent)
    : QDialog(parent), FView(view), FSource(std::move(source)), FBoxes(boxes),
      FAskImageFile(std::move(askImageFile))
{
    setObjectName(QStringLiteral("ChartForm"));
    setWindowTitle(QStringLiteral("Chart - ") + FSource.ReportName);
    resize(760, 700);

    ValueList = new QComboBox;
    ValueList->setObjectName(QStringLiteral("ValueList"));
    for (int column : ChartValueColumns(view))
        ValueList->addItem(view.Column(column).Name, column);
    auto* valueLabel = new QLabel(QStringLiteral("&Value"));
    valueLabel->setBuddy(ValueList);
    SaveImageBtn = new QPushButton(QStringLiteral("Save Image..."));
    SaveImageBtn->setObjectName(QStringLiteral("SaveImageBtn"));
    CloseBtn = new QPushButton(QStringLiteral("Close"));
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));

    ChartView = new QChartView(new QChart);
    ChartView->setObjectName(QStringLiteral("ChartView"));
    ChartView->setAccessibleName(QStringLiteral("Chart"));
    ChartView->setRenderHint(QPainter::Antialiasing);

    auto* bar = new QHBoxLayout;
    bar->addWidget(valueLabel);
    bar->addWidget(ValueList);
    bar->addStretch(1);
    bar->addWidget(SaveImageBtn);
    bar->addWidget(CloseBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(ChartView, 1);

    ValueList->setCurrentIndex(ValueList->findData(DefaultChartValueColumn(view)));
    connect(ValueList, &QComboBox::currentIndexChanged, this, &TChartWindow::ShowChart);
    connect(SaveImageBtn, &QPushButton::clicked, this, &TChartWindow::SaveImageBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
    ShowChart();
}

QChart* TChartWindow::Chart() const
{
    return ChartView->chart();
}

void TChartWindow::ShowChart()
{
    const int column = ValueList->currentData().isValid() ? ValueList->currentData().toInt() : -1;
    const QLocale locale;
    FData = BuildChartData(FView, column, locale);

    auto* chart = new QChart;
    chart->setLocale(locale);
    chart->setLocalizeNumbers(true);
    chart->legend()->hide();
    const QString valueName = column < 0 ? QStringLiteral("No numeric column") : FView.Column(column).Name;
    chart->setTitle(ChartTitle(valueName, FSource.ReportName, FSource.Start, FSource.End, locale));

    auto* set = new QBarSet(valueName);
    auto* categories = new QBarCategoryAxis;
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.2f"));
    QStringList labels = UniqueLabels(FData.Bars);
    FTimeline = nullptr;
    FTimelineRoom = 0;
    if (FData.Axis == TChartAxis::Timeline) {
        for (const auto& bar : FData.Bars)
            *set << bar.Value;
        auto* series = new QBarSeries;
        series->setBarWidth(0.9);
        series->append(set);
        chart->addSeries(series);
        // A value axis in bar units: bar i stands at i, so a mark can fall
        // between two months or inside a week.
        FTimeline = new QCategoryAxis;
        FTimeline->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        FTimeline->setRange(-0.5, double(FData.Bars.size()) - 0.5);
        FTimeline->setStartValue(-1.5);
        FTimeline->setTitleText(FData.Note);
        QFont font = FTimeline->titleFont();
        font.setBold(false);
        FTimeline->setTitleFont(font);
        chart->addAxis(FTimeline, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);
        series->attachAxis(FTimeline);
        series->attachAxis(values);
        // The marks that fit depend on the plot's width, known once laid out.
        connect(chart, &QChart::plotAreaChanged, this,
                [this](const QRectF& area) { ShowTimelineTicks(area.width()); });
        ShowTimelineTicks(ChartView->width() * 0.8);
    } else if (FData.TimeSeries) {
        for (const auto& bar : FData.Bars)
            *set << bar.Value;
        auto* series = new QBarSeries;
        series->setBarWidth(0.9);
        series->append(set);
        chart->addSeries(series);
        categories->append(labels);
        // Many days side by side only fit standing up.
        if (labels.size() > 12)
            categories->setLabelsAngle(-90);
        chart->addAxis(categories, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);
        series->attachAxis(categories);
        series->attachAxis(values);
    } else {
        // The axis runs upwards; the largest bar belongs on top.
        for (auto it = FData.Bars.rbegin(); it != FData.Bars.rend(); ++it)
            *set << it->Value;
        std::reverse(labels.begin(), labels.end());
        auto* series = new QHorizontalBarSeries;
        series->append(set);
        series->setBarWidth(0.7);
        chart->addSeries(series);
        categories->append(labels);
        // A name taller than its bar's share of the axis is elided: twenty-five
        // stacked need a smaller type than the axis default.
        QFont font = categories->labelsFont();
        font.setPixelSize(11);
        categories->setLabelsFont(font);
        chart->addAxis(categories, Qt::AlignLeft);
        chart->addAxis(values, Qt::AlignBottom);
        series->attachAxis(categories);
        series->attachAxis(values);
    }
    if (!FData.Bars.empty())
        values->applyNiceNumbers();
    ChartView->setAccessibleDescription(FData.Note);
    QChart* old = ChartView->chart();
    ChartView->setChart(chart);
    delete old;
}

void TChartWindow::ShowTimelineTicks(double plotWidth)
{
    if (!FTimeline)
        return;
    // Room for the widest mark, a month's or a day's, and an em between neighbours.
    const QLocale locale;
    const QFontMetricsF metrics(FTimeline->labelsFont());
    double widest = metrics.horizontalAdvance(locale.toString(QDate(2000, 12, 28), QLocale::ShortFormat));
    for (int month = 1; month <= 12; ++month)
        widest = std::max(widest, metrics.horizontalAdvance(
                                      locale.toString(QDate(2000, month, 1), QStringLiteral("MMM yyyy"))));
    const int room = std::max(1, int(plotWidth / (widest + metrics.height())));
    if (room == FTimelineRoom)
        return;
    FTimelineRoom = room;
    for (const QString& label : FTimeline->categoriesLabels())
        FTimeline->remove(label);
    for (const TChartTick& tick : TimelineTicks(FData, room, locale))
        FTimeline->append(tick.Label, tick.At);
}

void TChartWindow::SaveImageBtnClick()
{
    // No exception may leave a Qt signal: errors end in the same box as the main window's.
    try {
        const QString fileName = FAskImageFile ? FAskImageFile(this) : AskPngFileName(this);
        if (fileName.isEmpty())
            return;
        SavePngImage(ChartView->grab().toImage(), fileName);
    } catch (const TError& e) {
        FBoxes.UnhandledError(e.Message());
    }
}

QString AskPngFileName(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Save chart as PNG image"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("PNG images (*.png)")});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setObjectName(QStringLiteral("SaveImageDialog"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void SavePngImage(const QImage& image, const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw TError(QStringLiteral("Cannot create file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    if (!image.save(&file, "PNG") || !file.commit())
        throw TError(QStringLiteral("Cannot write file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}
