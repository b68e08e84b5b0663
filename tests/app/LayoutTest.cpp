// Every page at the designed size and maximised: no two controls overlap, every
// caption fits its control, and nothing sits on the window's edge.
#include "WindowFixture.h"
#include "support/QtPrinters.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
bool IsControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           qobject_cast<const QTabBar*>(w);
}

// The controls a person sees: not the inner parts of another control.
QList<QWidget*> VisibleControls(QWidget* form)
{
    QList<QWidget*> controls;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(form) || !IsControl(w))
            continue;
        bool inner = false;
        for (QWidget* up = w->parentWidget(); up && up != form; up = up->parentWidget())
            inner = inner || (IsControl(up) && !qobject_cast<QTabBar*>(up));
        if (!inner)
            controls << w;
    }
    return controls;
}

QString Name(const QWidget* w)
{
    if (!w->objectName().isEmpty())
        return w->objectName();
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return QStringLiteral("label \"%1\"").arg(label->text());
    return QString::fromLatin1(w->metaObject()->className());
}

// What is wrong with one control's caption; empty when it fits.
QString CaptionFault(const QWidget* w)
{
    const int width = w->width();
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        const int need = button->fontMetrics().horizontalAdvance(button->text()) + 8;
        return need > width ? QStringLiteral("caption needs %1 px of %2").arg(need).arg(width) : QString();
    }
    if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QString text = tabs->tabText(i);
            if (tabs->fontMetrics().horizontalAdvance(text) + 8 > tabs->tabRect(i).width())
                return QStringLiteral("tab \"%1\" cut").arg(text);
        }
        return {};
    }
    const auto* label = qobject_cast<const QLabel*>(w);
    const bool captioned = qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
                           (label && !label->text().isEmpty() && !label->wordWrap());
    if (captioned && w->sizeHint().width() > width)
        return QStringLiteral("needs %1 px of %2").arg(w->sizeHint().width()).arg(width);
    return {};
}

QStringList Faults(TMainForm& form)
{
    QStringList faults;
    const QList<QWidget*> controls = VisibleControls(&form);
    QVector<QRect> rects;
    for (QWidget* w : controls)
        rects << QRect(w->mapTo(&form, QPoint(0, 0)), w->size());
    for (int i = 0; i < controls.size(); ++i) {
        if (const QString fault = CaptionFault(controls[i]); !fault.isEmpty())
            faults << Name(controls[i]) + ": " + fault;
        if (!form.rect().contains(rects[i]))
            faults << Name(controls[i]) + ": outside the window";
        else if (controls[i]->accessibleDescription() == controls[i]->objectName() &&
                 rects[i].bottom() >= form.height() - 2)
            faults << Name(controls[i]) + ": on the window's bottom edge";
        for (int j = i + 1; j < controls.size(); ++j) {
            const bool nested =
                controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]);
            if (!nested && rects[i].intersects(rects[j]))
                faults << Name(controls[i]) + " overlaps " + Name(controls[j]);
        }
    }
    return faults;
}
} // namespace

TEST(Layout, EveryPageFitsAtTheDesignedSizeAndMaximised)
{
    TWindowFixture f;
    TMainForm& form = f.Open();
    f.Show();
    // The longest report name chosen, as a user may.
    form.ReportPage().ReportList->setCurrentIndex(
        form.ReportPage().ReportList->findText(QStringLiteral("Proportional Rake by Table & Player")));
    ASSERT_GE(form.ReportPage().ReportList->currentIndex(), 0);
    struct Page
    {
        QWidget* Top;
        QWidget* Sub;
    };
    for (const bool maximised : {false, true}) {
        maximised ? form.showMaximized() : form.showNormal();
        if (!maximised)
            form.resize(TMainForm::MainDesignedSize);
        for (const Page& page : {Page{&form.HandHistoryPage(), &form.HandHistoryPage().LocalPage()},
                                 Page{&form.HandHistoryPage(), &form.HandHistoryPage().RemotePage()},
                                 Page{&form.DataPage(), nullptr}, Page{&form.ReportPage(), nullptr},
                                 Page{&form.RakebackPage(), nullptr}}) {
            form.PageControl1->setCurrentWidget(page.Top);
            if (page.Sub)
                form.HandHistoryPage().PageControl2->setCurrentWidget(page.Sub);
            QCoreApplication::processEvents();
            SCOPED_TRACE(QStringLiteral("%1 %2 at %3x%4")
                             .arg(page.Top->objectName(), page.Sub ? page.Sub->objectName() : QString())
                             .arg(form.width())
                             .arg(form.height())
                             .toStdString());
            EXPECT_EQ(Faults(form), QStringList());
            if (page.Sub != &form.HandHistoryPage().RemotePage())
                continue;
            for (QWidget* field :
                 {form.HandHistoryPage().RemotePage().FilePort, form.HandHistoryPage().RemotePage().APIPath,
                  form.HandHistoryPage().RemotePage().APIPW})
                EXPECT_EQ(field->mapTo(&form, QPoint()).y(),
                          form.HandHistoryPage().RemotePage().ServerIP->mapTo(&form, QPoint()).y())
                    << Name(field).toStdString() << " lines up with the other fields";
        }
    }
}
