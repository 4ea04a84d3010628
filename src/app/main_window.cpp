#include "app/main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "app/about_box.h"
#include "app/controls.h"
#include "app/entry_validator.h"
#include "app/grid_view.h"
#include "app/pages.h"
#include "catalogue/entry_rule.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "catalogue/model.h"
#include "catalogue/model_profile.h"
#include "dialogs/widget_dialogs.h"
#include "link/serial_link.h"
#include "settings/port_map.h"
#include "settings/startup_settings.h"

namespace tabulon::app {

namespace {

constexpr int kClientWidth = 769;
constexpr int kClientHeight = 511;

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

}  // namespace

MainWindow::MainWindow(Dialogs* dialogs, std::unique_ptr<link::RegisterLink> link, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      dialogs_(dialogs),
      link_(std::move(link)) {
    if (!link_) {
        // The settings file is looked up when a port opens, in the working
        // directory of that moment, as the rest of the settings are.
        link_ = link::makeSerialLink([](int port) {
            return settings::portDevice(settings::settingsFilePath(QDir::currentPath()), port);
        });
    }
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<WidgetDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    setObjectName("Form1");
    setWindowTitle("Tabulon");
    // The controls sit at fixed pixel places sized for a small dialog font;
    // the desktop's larger default would clip their captions.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    setStyleSheet("* { font-size: 11px; } QPushButton { font-size: 10px; }");
    setFixedSize(kClientWidth, kClientHeight);
    buildControls();
    connectHandlers();
    about_ = new AboutBox(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    validator_ = new EntryValidator(this);

    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    pages_->setGeometry(8, 8, 753, 249);
    const QStringList& captions = tabCaptions();
    for (int tab = 0; tab < kTabCount; ++tab) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("TabSheet%1").arg(tab + 1));
        pages_->addTab(page, captions[tab]);
        if (isGridTab(tab)) {
            const GridShape& shape = gridShape(tableKindOfTab(tab));
            grids_[tab] = new GridModel(shape.columns, shape.rows, this);
            auto* view = new GridView(shape, grids_[tab], validator_, page);
            view->setGeometry(0, 0, 745, 221);
            connect(grids_[tab], &GridModel::entryRefused, this, &MainWindow::showEntryRefusal);
        } else if (isParameterTab(tab)) {
            buildParameterPage(page, parameterSetOfTab(tab), validator_);
        } else if (tab == kLogoTab) {
            buildLogoPage(page);
        } else {
            buildReportsPage(page);
        }
    }
    applyColumnWidths();

    makeLabel(this, "Label5", "   ", 16, 268)->setFixedWidth(745);

    auto* coding = new QGroupBox("Интервал кодирования", this);
    coding->setObjectName("GroupBox2");
    coding->setGeometry(16, 288, 745, 49);
    buildCodingIntervalGroup(coding);

    auto* connection = new QGroupBox("Подключить Datecs MP-550T", this);
    connection->setObjectName("GroupBox1");
    connection->setGeometry(8, 344, 273, 161);
    buildConnectionGroup(connection);

    auto* progress = new QProgressBar(this);
    progress->setObjectName("ProgressBar1");
    progress->setGeometry(288, 352, 377, 16);
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setTextVisible(false);
    makeEdit(this, "Edit1", 672, 349, 89)->setReadOnly(true);

    makeButton(this, "Button15", "Запись SD карты (Neon)", 288, 384, 137, 25);
    makeButton(this, "Button14", "Чтение SD карты (Neon)", 288, 424, 137, 25);
    makeButton(this, "Button16", "Очистить таблицу", 288, 464, 137, 25);
    makeButton(this, "Button6", "Стоп", 432, 384, 75, 25)->setEnabled(false);
    makeButton(this, "Button3", "Открыть", 432, 424, 75, 25);
    makeButton(this, "Button2", "Сохранить", 432, 464, 75, 25);
    makeButton(this, "Button4", "Записать в ЭККА", 512, 384, 137, 25)->setEnabled(false);
    makeButton(this, "Button9", "Прочитать из ЭККА", 512, 424, 137, 25)->setEnabled(false);
    makeButton(this, "Button8", "Очистить", 656, 384, 75, 25)->setEnabled(false);
    makeButton(this, "Button10", "О программе", 600, 480, 75, 25);
    makeButton(this, "Button1", "Закрыть", 680, 480, 75, 25);
}

void MainWindow::applyColumnWidths() {
    // Proportions of the goods grid's width, as the window has always had them.
    static const std::array<QVector<int>, kGridTableCount> shares{{
        {30, 46, 135, 51, 55, 40, 40, 40, 27, 24, 70},
        {60, 100, 270, 100},
        {40, 86, 107, 194, 65, 65},
        {40, 500},
        {90, 450},
    }};
    const int gridWidth = kClientWidth * 577 / 601;
    for (int tab = 0; tab < kGridTableCount; ++tab) {
        auto* view = findChild<GridView*>(gridShape(tableKindOfTab(tab)).objectName);
        for (int column = 0; column < shares[tab].size(); ++column)
            view->setGridColumnWidth(column, gridWidth * shares[tab][column] / 580);
    }
}

void MainWindow::connectHandlers() {
    connect(findChild<QPushButton*>("Button1"), &QPushButton::clicked, this,
            &MainWindow::Button1Click);
    connect(findChild<QPushButton*>("Button10"), &QPushButton::clicked, this,
            &MainWindow::Button10Click);
    // Only a pick by the user applies a profile; start-up selects silently.
    connect(findChild<QComboBox*>("ComboBox4"), &QComboBox::activated, this,
            &MainWindow::ComboBox4Change);
    connect(findChild<QPushButton*>("Button5"), &QPushButton::clicked, this,
            &MainWindow::Button5Click);
    connect(findChild<QPushButton*>("Button3"), &QPushButton::clicked, this,
            &MainWindow::Button3Click);
    connect(findChild<QPushButton*>("Button2"), &QPushButton::clicked, this,
            &MainWindow::Button2Click);
    connect(pages_, &QTabWidget::currentChanged, this, [this] {
        if (!programTabChange_) PageControl1Change();
    });
    // Entry refusals come out of key and paste handling; the box is shown
    // once that handling has finished.
    connect(validator_, &EntryValidator::refused, this, &MainWindow::showEntryRefusal,
            Qt::QueuedConnection);
}

int MainWindow::activeTab() const {
    return pages_->currentIndex();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (initialised_) return;
    if (QScreen* display = screen()) move(display->availableGeometry().center() - rect().center());
    // Without a window manager a window is never activated; the
    // initialisation then runs once the window is on the screen.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void MainWindow::writeFixedCells() {
    for (int tab = 0; tab < kGridTableCount; ++tab) {
        const TableKind kind = tableKindOfTab(tab);
        const GridShape& shape = gridShape(kind);
        GridModel& model = *grids_[tab];
        GridModel::BulkUpdate bulk(model);
        for (int column = 0; column < shape.columns; ++column)
            model.setCell(0, column, shape.headers.value(column));
        for (int row = 1; row < shape.rows; ++row)
            model.setCell(row, 0, startupRowLabel(kind, row));
    }
}

void MainWindow::FormActivate() {
    if (initialised_) return;
    initialised_ = true;

    findChild<QPushButton*>("Button2")->setEnabled(true);
    findChild<QPushButton*>("Button3")->setEnabled(true);
    // Numbers cross to registers and files with "." whatever the desktop's
    // regional settings say.
    QLocale::setDefault(QLocale::c());
    programTabChange_ = true;
    pages_->setCurrentIndex(0);
    programTabChange_ = false;
    setWindowTitle("Программирование Datecs MP-550T");
    auto* port = findChild<QComboBox*>("ComboBox1");
    auto* speed = findChild<QComboBox*>("ComboBox2");
    auto* model = findChild<QComboBox*>("ComboBox4");
    findChild<QComboBox*>("ComboBox3")->setCurrentIndex(0);
    model->setCurrentIndex(0);
    writeFixedCells();
    findChild<QLabel*>("Label42")->setText(QString());
    findChild<QLineEdit*>("Edit37")->setVisible(false);
    LogoPresent = false;
    port->setCurrentIndex(0);

    const settings::StartupSettings stored = settings::loadStartupSettings(
        QDir::currentPath(), comboItems(speed), comboItems(port), kModelCount);
    const char* reportFields[] = {"Edit38", "Edit39", "Edit40", "Edit42",
                                  "Edit43", "Edit44", "Edit45"};
    for (int i = 0; i < 7; ++i)
        findChild<QLineEdit*>(reportFields[i])->setText(stored.reportFiles.value(i));
    findChild<QLineEdit*>("DirectoryEdit1")->setText(stored.reportDirectory);
    speed->setCurrentIndex(stored.speedIndex);
    port->setCurrentIndex(stored.portIndex);
    if (!stored.modelIndex) {
        dialogs_->message(Dialogs::notAnIntegerText(stored.ecrText), "Tabulon", MessageIcon::Stop,
                          MessageButtons::Ok);
        return;
    }
    // Set from here, the model list keeps the start-up layout: the profile is
    // applied only when the user picks a model.
    model->setCurrentIndex(*stored.modelIndex);
}

void MainWindow::Button1Click() {
    close();
}

void MainWindow::Button10Click() {
    dialogs_->showModal(*about_);
}

void MainWindow::PageControl1Change() {
    const int tab = activeTab();
    const bool runActive = findChild<QPushButton*>("Button6")->isEnabled();
    const bool transfers = Connected && !runActive;

    const bool goods = tab == 0;
    findChild<QGroupBox*>("GroupBox2")->setEnabled(goods);
    findChild<QPushButton*>("Button15")->setEnabled(goods);
    if (!goods) findChild<QCheckBox*>("CheckBox1")->setChecked(false);

    auto* clearGrid = findChild<QPushButton*>("Button16");
    auto* clearRegister = findChild<QPushButton*>("Button8");
    auto* write = findChild<QPushButton*>("Button4");
    auto* read = findChild<QPushButton*>("Button9");
    clearGrid->setEnabled(isGridTab(tab));
    clearRegister->setEnabled(isGridTab(tab) && transfers);
    write->setEnabled(transfers);
    read->setEnabled(transfers);
    if (tab == kLogoTab) {
        write->setEnabled(false);
        read->setEnabled(false);
        findChild<QPushButton*>("Button7")->setEnabled(true);
        findChild<QPushButton*>("Button12")->setEnabled(true);
        findChild<QPushButton*>("Button11")->setEnabled(LogoPresent);
        findChild<QPushButton*>("Button13")->setEnabled(LogoPresent);
    }
}

void MainWindow::ComboBox4Change() {
    const auto model = modelFromIndex(findChild<QComboBox*>("ComboBox4")->currentIndex());
    if (!model) return;
    const ModelProfile& profile = modelProfile(*model);
    setWindowTitle(profile.windowCaption);
    findChild<QGroupBox*>("GroupBox1")->setTitle(profile.groupCaption);
    grid(TableKind::Goods)->setVisibleRows(profile.goodsRows);
    grid(TableKind::PaymentTypes)->setVisibleRows(profile.paymentRows);
    grid(TableKind::HeaderText)->setVisibleRows(profile.headerTextRows);
    findChild<QLineEdit*>("Edit3")->setText(profile.codingEnd);

    GridModel& header = *grid(TableKind::HeaderText);
    header.setCell(0, 1, gridShape(TableKind::HeaderText).headers.value(1));
    for (int row = 0; row < header.gridRows(); ++row)
        header.setCell(row, 0, profileHeaderTextLabel(row));

    for (const FieldPresentation& field : profile.fields) {
        findChild<QLabel*>(field.label)->setText(field.text);
        findChild<QLineEdit*>(field.edit)->setVisible(field.visible);
    }
}

void MainWindow::showEntryRefusal(const QString& message) {
    dialogs_->message(message, entryRefusalCaption(), MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace tabulon::app
