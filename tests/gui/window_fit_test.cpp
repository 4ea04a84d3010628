// Every caption of the windows is whole and clear of its neighbours, in the
// font the program loads: the places and sizes are fixed pixels, so a caption
// that grows (another font, a longer text) would be cut off or run under the
// next control without anything else noticing.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/table_runs.h"
#include "app/window_font.h"
#include "dialogs/widget_dialogs.h"
#include "sdcard/sales_window.h"
#include "support/file_bytes.h"
#include "support/window_fixture.h"

using tabulon::testing::WindowFixture;
using tabulon::testing::writeFile;

namespace {

QString nameOf(const QWidget* widget) {
    return widget->objectName().isEmpty() ? widget->metaObject()->className()
                                          : widget->objectName();
}

int textWidth(const QWidget* widget, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, widget->fontMetrics().horizontalAdvance(line));
    return widest;
}

int textHeight(const QWidget* widget, const QString& text) {
    return int(text.count(QLatin1Char('\n'))) * widget->fontMetrics().lineSpacing() +
           widget->fontMetrics().height();
}

// A part of a group box: its title, or the area its title and frame lines
// leave free (SC_GroupBoxContents).
QRect groupPart(const QGroupBox* group, QStyle::SubControl part) {
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = group->alignment();
    return group->style()->subControlRect(QStyle::CC_GroupBox, &option, part, group);
}

// Checks the visible controls of one window as it stands and lists what does
// not fit.
class FitCheck {
public:
    QStringList problems;

    void window(QWidget* top) {
        for (QWidget* widget : top->findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->isWindow()) continue;
            control(widget);
        }
    }

private:
    void problem(const QWidget* widget, const QString& what) {
        const QString entry = nameOf(widget) + ": " + what;
        if (!problems.contains(entry)) problems << entry;
    }

    void control(QWidget* widget) {
        QWidget* parent = widget->parentWidget();
        // Inside a tab page the page itself is the limit; pages, scroll areas
        // and the parts of the composite controls are the toolkit's business.
        const bool ownControl = !widget->objectName().isEmpty() &&
                                !widget->objectName().startsWith(QLatin1String("qt_"));
        if (ownControl && parent && !parent->rect().contains(widget->geometry()))
            problem(widget, "runs past its parent " + nameOf(parent));

        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->text().isEmpty()) return;
            if (label->text().contains(u'\n')) problem(label, "\"" + label->text() + "\" wraps");
            if (label->wordWrap())
                wrapped(label);
            else
                text(widget, label->text(), 0);
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            text(widget, box->text(), box->sizeHint().width() - textWidth(box, box->text()));
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            // Two pixels clear of the frame on either side.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            if (textWidth(button, button->text()) + 4 > inside.width())
                problem(button, "caption \"" + button->text() + "\" is cut off");
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            groupBox(group);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            if (combo->sizeHint().width() > combo->width())
                problem(combo, QString("an entry needs %1, has %2")
                                   .arg(combo->sizeHint().width())
                                   .arg(combo->width()));
        } else if (auto* bar = qobject_cast<QTabBar*>(widget)) {
            tabBar(bar);
        } else if (auto* view = qobject_cast<QTableView*>(widget); view) {
            grid(view);
        }
    }

    // A caption that starts at the control's left edge after `lead` pixels
    // (a check box's square): it must lie inside the control and clear of
    // every other control beside it.
    void text(QWidget* widget, const QString& caption, int lead) {
        const QRect extent(widget->pos(),
                           QSize(lead + textWidth(widget, caption), textHeight(widget, caption)));
        if (extent.width() > widget->width() || extent.height() > widget->height())
            problem(widget, QString("\"%1\" needs %2 x %3, has %4 x %5")
                                .arg(caption)
                                .arg(extent.width())
                                .arg(extent.height())
                                .arg(widget->width())
                                .arg(widget->height()));
        QWidget* parent = widget->parentWidget();
        for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (sibling != widget && sibling->isVisible() && sibling->geometry().intersects(extent))
                problem(widget, "\"" + caption + "\" runs under " + nameOf(sibling));
        if (auto* group = qobject_cast<QGroupBox*>(parent);
            group && !groupPart(group, QStyle::SC_GroupBoxContents).contains(extent))
            problem(widget, "\"" + caption + "\" touches the frame or title of " + nameOf(group));
    }

    // A label that breaks its text into lines at its width: the lines must
    // fit its height.
    void wrapped(QLabel* label) {
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 100000),
                                                               Qt::TextWordWrap, label->text());
        if (needed.height() > label->fontMetrics().height())
            problem(label, "\"" + label->text() + "\" wraps");
        if (needed.width() > label->width() || needed.height() > label->height())
            problem(label, QString("\"%1\" needs %2 x %3 in its lines, has %4 x %5")
                               .arg(label->text())
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(label->width())
                               .arg(label->height()));
    }

    void groupBox(QGroupBox* group) {
        const QRect title = groupPart(group, QStyle::SC_GroupBoxLabel);
        if (textWidth(group, group->title()) > title.width() || title.right() >= group->width())
            problem(group, "title \"" + group->title() + "\" is cut off");
        for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible() &&
                !groupPart(group, QStyle::SC_GroupBoxContents).contains(child->geometry()))
                problem(child, "touches the frame or title of " + nameOf(group));
    }

    void tabBar(QTabBar* bar) {
        const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            if (!bar->rect().contains(tab))
                problem(bar, QString("tab %1 lies outside the bar").arg(i));
            if (textWidth(bar, bar->tabText(i)) + padding > tab.width())
                problem(bar, "tab \"" + bar->tabText(i) + "\" is cut off");
        }
        if (bar->parentWidget() && bar->geometry().right() >= bar->parentWidget()->width())
            problem(bar, "runs past its tab control");
        for (QToolButton* arrow : bar->findChildren<QToolButton*>())
            if (arrow->isVisible()) problem(bar, "shows scroll arrows");
    }

    void grid(QTableView* view) {
        QHeaderView* columns = view->horizontalHeader();
        const int margin = 2 * view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view);
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            const QString caption = view->model()->headerData(c, Qt::Horizontal).toString();
            if (textWidth(columns, caption) + margin > columns->sectionSize(c))
                problem(view, "column header \"" + caption + "\" is cut off");
        }
        // The label column: the corner caption and the widest row label.
        QHeaderView* rows = view->verticalHeader();
        QString widest;
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            const QString label = view->model()->headerData(r, Qt::Vertical).toString();
            if (textWidth(rows, label) > textWidth(rows, widest)) widest = label;
        }
        if (auto* corner = view->findChild<QAbstractButton*>())
            if (textWidth(rows, corner->text()) > textWidth(rows, widest)) widest = corner->text();
        if (textWidth(rows, widest) + margin > rows->width())
            problem(view, "row label \"" + widest + "\" is cut off");
    }
};

}  // namespace

class WindowFitTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowsUseTheTahomaMetricFont();
    void everyWindowShowsItsCaptionsWhole();
    void allTenTabsShowSideBySide();
    void captionsTakeTheWidthsTheFormsAreDrawnFor_data();
    void captionsTakeTheWidthsTheFormsAreDrawnFor();
};

void WindowFitTest::theWindowsUseTheTahomaMetricFont() {
    WindowFixture f;
    // Where fonts-wine is installed (the install script sees to it) its
    // Tahoma is the windows' font, 11 pixels as 8 points at 96 dpi.
#ifndef Q_OS_WIN
    // (Windows has Tahoma of its own.)
    QVERIFY(!tabulon::app::tahomaFontFile().isEmpty());
#endif
    QCOMPARE(f.window().font().family(), QString("Tahoma"));
    QCOMPARE(f.window().font().pixelSize(), 11);
    QCOMPARE(f.control<QPushButton>("Button4")->font().family(), QString("Tahoma"));
    QCOMPARE(f.control<QPushButton>("Button4")->font().pixelSize(), 11);

    // The font file is whatever the package's file list names, if it is there.
    QTemporaryDir dir;
    const QString font = dir.filePath("fonts/tahoma.ttf");
    QVERIFY(QDir().mkpath(dir.filePath("fonts")));
    writeFile(font, "");
    const QString list = dir.filePath("fonts-wine.list");
    writeFile(list, ("/.\n/usr/share/wine/fonts/tahomabd.ttf\n" + font + "\n").toUtf8());
    QCOMPARE(tabulon::app::tahomaFontFile(list), font);
    writeFile(list, ("/.\n" + dir.filePath("elsewhere/tahoma.ttf") + "\n").toUtf8());
    QCOMPARE(tabulon::app::tahomaFontFile(list), QString());
    QCOMPARE(tabulon::app::tahomaFontFile(dir.filePath("no.list")), QString());
}

// Every page of the main window on each model, every window of the program
// and the message boxes, each at the size it opens with.
void WindowFitTest::everyWindowShowsItsCaptionsWhole() {
    WindowFixture f;
    FitCheck check;  // each problem once, wherever it shows
    auto* models = f.control<QComboBox>("ComboBox4");
    auto* pages = f.control<QTabWidget>("PageControl1");
    for (int model = 0; model < models->count(); ++model) {
        models->setCurrentIndex(model);
        emit models->activated(model);
        for (int tab = 0; tab < pages->count(); ++tab) {
            f.window().showTab(tab);
            check.window(&f.window());
            if (model == 0) f.screenshot(QString("tab%1").arg(tab));
        }
    }
    QStringList checked;
    f.dialogs().onModal = [&](QDialog& dialog) {
        check.window(&dialog);
        checked << dialog.objectName();
        f.screenshot(dialog.objectName(), &dialog);
        return 0;
    };
    // Every window of the program is a child of the main window.
    for (QDialog* dialog : f.window().findChildren<QDialog*>()) f.dialogs().showModal(*dialog);
    QCOMPARE(checked.size(), 3);
    QCOMPARE(f.control<QLabel>("AboutLine1")->text(),
             QString("Tabulon " TABULON_VERSION " — программирование ЭККА"));

    // The boxes the window shows: not connected, a missing card file, success.
    f.window().findChild<tabulon::app::TableRuns*>()->Button4Click();
    f.dialogs().showModal(*f.window().findChild<tabulon::sdcard::SalesWindow*>());
    f.window().findChild<tabulon::sdcard::SalesWindow*>()->Button1Click();
    f.control<QPushButton>("Button18")->click();
    f.control<QPushButton>("Button19")->click();
    QVERIFY(f.waitForLink());
    tabulon::WidgetDialogs screen(&f.window());
    for (const auto& shown : f.dialogs().messages()) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            check.window(box);
            f.screenshot("box " + shown.caption, box);
            // Windows' title bar: the icon, the caption in bold and the
            // close button, 46 pixels wide, with a margin at each end.
            QFont bold = box->font();
            bold.setBold(true);
            const int title = 16 + QFontMetrics(bold).horizontalAdvance(shown.caption) + 46 + 24;
            if (box->width() < title)
                check.problems << "title \"" + shown.caption + "\" is cut off";
            box->done(0);
        });
        screen.message(shown.text, shown.caption, shown.icon, shown.buttons);
    }
    QCOMPARE(f.dialogs().messages().size(), 3);
    QVERIFY2(check.problems.isEmpty(), qPrintable(check.problems.join('\n')));
}

void WindowFitTest::allTenTabsShowSideBySide() {
    WindowFixture f;
    QTabBar* bar = f.control<QTabWidget>("PageControl1")->tabBar();
    QCOMPARE(bar->count(), 10);
    const QRect last = bar->tabRect(9);
    QVERIFY(bar->tabRect(0).left() >= 0);
    QVERIFY2(last.right() < 753, qPrintable(QString::number(last.right())));
    for (int i = 1; i < 10; ++i) QCOMPARE(bar->tabRect(i).top(), bar->tabRect(0).top());
    qInfo("ten tabs take %d of 753 pixels", last.right() + 1);
}

// The widths in pixels of the longest captions in the windows' font, the
// same on every system: letters rounded wider one by one (the full hinting of
// Windows' own font engines) push the tenth tab out of the bar and cut the
// longest button captions.
void WindowFitTest::captionsTakeTheWidthsTheFormsAreDrawnFor_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::newRow("tab 1") << "Товары" << 38;
    QTest::newRow("tab 2") << "Операторы" << 56;
    QTest::newRow("tab 3") << "Типы оплат" << 59;
    QTest::newRow("tab 4") << "Отделы" << 39;
    QTest::newRow("tab 5") << "Загол. и рекл. текст" << 101;
    QTest::newRow("tab 6") << "Параметры кассы" << 89;
    QTest::newRow("tab 7") << "Параметры чека" << 83;
    QTest::newRow("tab 8") << "Служебная" << 55;
    QTest::newRow("tab 9") << "Логотип" << 41;
    QTest::newRow("tab 10") << "Отчеты" << 37;
    QTest::newRow("SD card button") << "Чтение SD карты (Neon)" << 124;
    QTest::newRow("about button") << "О программе" << 66;
}

void WindowFitTest::captionsTakeTheWidthsTheFormsAreDrawnFor() {
    QFETCH(QString, caption);
    QFETCH(int, width);
    QCOMPARE(QFontMetrics(tabulon::app::windowFont()).horizontalAdvance(caption), width);
}

QTEST_MAIN(WindowFitTest)
#include "window_fit_test.moc"
