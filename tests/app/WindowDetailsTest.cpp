// Small rules of the window that a style or a platform default would break:
// the password mask, the bold title's font, the save dialog's last filter.
#include "WindowFixture.h"
#include "support/QtPrinters.h"

#include "app/Controls.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(WindowDetails, ThePasswordShowsOneStarPerCharacter)
{
    TWindowFixture f;
    TMainForm& form = f.Open();
    f.Show();
    form.HandHistoryPage().RemotePage().APIPW->setText(QStringLiteral("s3cr3t"));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().APIPW->displayText(), QStringLiteral("******"));
    EXPECT_EQ(form.HandHistoryPage().RemotePage().APIPW->text(), QStringLiteral("s3cr3t"));
}

TEST(WindowDetails, TheBoldTitleIsTheGridsFontMadeBold)
{
    // A style may give headers a font of their own; the sorted title must not take it.
    const QFont headerFont(QStringLiteral("DejaVu Serif"), 15);
    QApplication::setFont(headerFont, "QHeaderView");
    TWindowFixture f;
    TMainForm& form = f.Open();
    form.DataPage().DBOpenBtn->click();
    const QFont bold =
        form.DataPage().MasterGrid->model()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>();
    QApplication::setFont(QApplication::font(), "QHeaderView");
    QFont expected = form.DataPage().MasterGrid->font();
    expected.setBold(true);
    EXPECT_EQ(bold, expected);
    EXPECT_NE(bold.family(), headerFont.family());
}

// "All files (*.*)" shows every file, also those whose name has no dot.
TEST(WindowDetails, TheLastSaveFilterShowsFilesWithoutADot)
{
    QTemporaryDir dir;
    for (const char* name : {"README", "a.csv", "b.txt"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList csvShown, allShown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(dir.path());
        auto* model = dialog->findChild<QFileSystemModel*>();
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_TRUE(model && combo);
        const auto shown = [&] {
            QStringList names;
            const QModelIndex root = model->index(dir.path());
            for (int row = 0; row < model->rowCount(root); ++row)
                names << model->index(row, 0, root).data().toString();
            names.sort();
            return names;
        };
        (void)QTest::qWaitFor([&] { return !shown().isEmpty(); });
        csvShown = shown();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_End); // as the user picks the last filter
        EXPECT_EQ(combo->currentText(), QStringLiteral("All files (*.*)"));
        (void)QTest::qWaitFor([&] { return shown().size() == 3; });
        allShown = shown();
        dialog->reject();
    });
    EXPECT_EQ(AskCsvFileName(nullptr), QString());
    EXPECT_EQ(csvShown, QStringList{"a.csv"});
    EXPECT_EQ(allShown, (QStringList{"README", "a.csv", "b.txt"}));
}

// A new status text repaints its line and nothing else: an import writes one
// per file, and a repaint of the whole window for each cost more than the
// status itself.
TEST(WindowDetails, ANewStatusRepaintsItsLineOnly)
{
    TWindowFixture f;
    TMainForm& form = f.Open();
    f.Show();
    QLabel* line = form.HandHistoryPage().HHStatus;
    struct TPaints : QObject
    {
        QStringList Painted;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                Painted << watched->objectName();
            return false;
        }
    } paints;
    QTest::qWait(200); // the first paints after the show are done
    for (const QString& text : {QStringLiteral("Loading (1 of 2):  HH2026-11-03 Oak.txt"),
                                QStringLiteral("Loading (2 of 2):  ") + QString(300, u'x')}) {
        QCoreApplication::processEvents();
        qApp->installEventFilter(&paints);
        SetStatus(line, text);
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&paints);
        EXPECT_EQ(paints.Painted, QStringList{QStringLiteral("HHStatus")}) << qPrintable(text);
        paints.Painted.clear();
    }
    EXPECT_LE(form.width(), 800) << "a long status does not widen the window";
}
