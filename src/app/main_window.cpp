#include "app/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include "app/about_box.h"
#include "app/close_question.h"
#include "app/connection_group.h"
#include "app/controls.h"
#include "app/entry_validator.h"
#include "app/grid_view.h"
#include "app/logo_page.h"
#include "app/parameter_page.h"
#include "app/port_devices.h"
#include "app/register_session.h"
#include "app/remembered_folders.h"
#include "app/reports_page.h"
#include "app/tab_bar_style.h"
#include "app/table_edits.h"
#include "app/table_runs.h"
#include "app/toolkit_translations.h"
#include "app/transfer_error_dialog.h"
#include "app/window_font.h"
#include "app/window_layout.h"
#include "app/window_link.h"
#include "catalogue/entry_rule.h"
#include "catalogue/grid_catalogue.h"
#include "catalogue/grid_model.h"
#include "catalogue/model_profile.h"
#include "dialogs/widget_dialogs.h"
#include "link/serial_link.h"
#include "settings/profile_file.h"
#include "settings/startup_settings.h"
#include "settings/verify_setting.h"
#include "text/decimal_number.h"
#include "ui_main_window.h"

namespace tabulon::app {

namespace {

constexpr int kGridHeight = 221;
constexpr int kGridWidth = 745;

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

}  // namespace

MainWindow::MainWindow(Dialogs* dialogs, std::unique_ptr<link::RegisterLink> link, QWidget* parent)
    // A fixed frame with a title bar and no buttons: the program ends with
    // "Закрыть" only. A plain window, not a tool window, so that it keeps its
    // place in the task bar.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::MainWindowForm>()),
      dialogs_(dialogs) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<WidgetDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    folders_ = std::make_unique<RememberedFolders>(*dialogs_);
    dialogs_ = folders_.get();
    if (!link) link = makeWindowLink(QString(), *dialogs_).link;
    ui->setupUi(this);
    session_ = std::make_unique<RegisterSession>(std::move(link), this, *dialogs_);
    setFont(windowFont());
    setFixedSize(size());
    makeTabsNarrow(ui->PageControl1->tabBar());
    const QStringList& captions = tabCaptions();
    for (int tab = 0; tab < kTabCount; ++tab) ui->PageControl1->setTabText(tab, captions[tab]);
    for (int model = 0; model < kModelCount; ++model)
        ui->ComboBox4->addItem(modelName(static_cast<Model>(model)));
    setTextColor(ui->Label3, QColor(255, 0, 0));
    // The buttons pressed most, by the keys every program has for them.
    ui->Button3->setShortcut(QKeySequence::Open);
    ui->Button2->setShortcut(QKeySequence::Save);
    ui->Button10->setShortcut(QKeySequence(Qt::Key_F1));
    // The counter is only read: Tab passes it by.
    ui->Edit1->setFocusPolicy(Qt::NoFocus);
    // The loaded file's name goes here; until then three blanks, which a
    // form cannot hold (it drops a text of blanks only).
    ui->Label5->setText(QStringLiteral("   "));
    edits_ = new TableEdits(this);
    buildGeneratedControls();
    connectHandlers();
    about_ = new AboutBox(this);
    buildSdCard();
}

MainWindow::~MainWindow() {
    // An editor still open in a grid commits its text while the widgets go;
    // a refusal then must not reach a window that is half gone.
    for (GridModel* model : grids_) {
        if (!model) continue;
        model->disconnect(this);
        model->disconnect(edits_);
    }
    if (refusals_) refusals_->disconnect(this);
}

bool MainWindow::isLinkBusy() const {
    return session_->isBusy();
}

void MainWindow::buildGeneratedControls() {
    refusals_ = new EntryRefusals(this);
    for (int tab = 0; tab < kGridTableCount; ++tab) {
        const GridShape& shape = gridShape(tableKindOfTab(tab));
        grids_[tab] = new GridModel(shape.columns, shape.rows, this);
        views_[tab] = new GridView(shape, grids_[tab], refusals_, ui->PageControl1->widget(tab));
        views_[tab]->setGeometry(0, 0, kGridWidth, kGridHeight);
        connect(grids_[tab], &GridModel::entryRefused, this, &MainWindow::showEntryRefusal);
        edits_->watch(grids_[tab], tab);
    }
    parameterPages_ = {ui->TabSheet6, ui->TabSheet7, ui->TabSheet8};
    for (ParameterPage* page : parameterPages_) {
        page->build(parameterSetOfTab(ui->PageControl1->indexOf(page)), refusals_);
        parameterFields_.insert(page->fields());
        edits_->watch(*page, ui->PageControl1->indexOf(page));
    }
}

void MainWindow::FormCanResize(int width, int height) {
    const MainWindowLayout layout = mainWindowLayout(width, height);
    views_[0]->resize(layout.goodsGridWidth, views_[0]->height());
    for (int kind = 0; kind < kGridTableCount; ++kind)
        for (int column = 0; column < layout.columnWidths[kind].size(); ++column)
            views_[kind]->setGridColumnWidth(column, layout.columnWidths[kind][column]);

    const auto moveTo = [](QWidget* control, int top) { control->move(control->x(), top); };
    moveTo(ui->GroupBox1, layout.connectionGroupTop);
    moveTo(ui->ProgressBar1, layout.progressTop);
    moveTo(ui->Edit1, layout.counterTop);
    for (QWidget* button : {ui->Button6, ui->Button9, ui->Button14})
        moveTo(button, layout.firstButtonRowTop);
    for (QWidget* button : {ui->Button4, ui->Button8, ui->Button3, ui->Button15})
        moveTo(button, layout.secondButtonRowTop);
    for (QWidget* button : {ui->Button1, ui->Button2, ui->Button16, ui->Button10})
        moveTo(button, layout.thirdButtonRowTop);
}

void MainWindow::connectHandlers() {
    connect(ui->Button1, &QPushButton::clicked, this, &MainWindow::Button1Click);
    connect(ui->Button10, &QPushButton::clicked, this, &MainWindow::Button10Click);
    // Only a pick by the user applies a profile; start-up selects silently.
    connect(ui->ComboBox4, &QComboBox::activated, this, &MainWindow::ComboBox4Change);
    connection_ = new ConnectionGroup(
        *this,
        {ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4, ui->Label3, ui->Button5},
        Connected, RegisterNumber, this);
    watchPortDevices(ui->ComboBox1);
    connect(ui->Button3, &QPushButton::clicked, this, &MainWindow::Button3Click);
    connect(ui->Button2, &QPushButton::clicked, this, &MainWindow::Button2Click);
    new TableRuns(*this,
                  {ui->Button4, ui->Button9, ui->Button8, ui->Button6, ui->Button16, ui->CheckBox1,
                   ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit1, ui->ProgressBar1, views_,
                   ui->ButtonCompare, ui->ComboBoxWriteRows},
                  *edits_, parameterValues_, this);
    // The box set from Tabulon.ini at start-up is not written back: only a
    // click of the user's is kept.
    connect(ui->CheckBoxVerify, &QCheckBox::toggled, this,
            [this](bool verify) { session_->setVerifyWrites(verify); });
    connect(ui->CheckBoxVerify, &QCheckBox::clicked, this, &MainWindow::CheckBoxVerifyClick);
    ui->TabSheet9->attach(*this, ui->ProgressBar1);
    ui->TabSheet10->attach(*this);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!programTabChange_) PageControl1Change();
    });
    // Entry refusals come out of key and paste handling; the box is shown
    // once that handling has finished.
    connect(refusals_, &EntryRefusals::refused, this, &MainWindow::showEntryRefusal,
            Qt::QueuedConnection);
}

int MainWindow::activeTab() const {
    return ui->PageControl1->currentIndex();
}

void MainWindow::showTab(int tab) {
    programTabChange_ = true;
    ui->PageControl1->setCurrentIndex(tab);
    programTabChange_ = false;
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!laidOut_) {
        laidOut_ = true;
        const QSize outer = designedOuterSize();
        FormCanResize(outer.width(), outer.height());
        if (QScreen* display = screen())
            move(display->availableGeometry().center() - rect().center());
    }
    if (initialised_) return;
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

    applyCommandStates();
    // Numbers cross to registers and files with "." whatever the desktop's
    // regional settings say: they are written and read without a locale, so
    // the toolkit's may be Russian.
    useRussianLocale();
    showTab(0);
    setCaption("Программирование Datecs MP-550T");
    ui->ComboBox3->setCurrentIndex(0);
    ui->ComboBox4->setCurrentIndex(0);
    writeFixedCells();
    // The service tab's last field has no caption and stays hidden until a
    // model shows it.
    presentField({"Label42", QString(), "Edit37", false});
    LogoPresent = false;
    ui->ComboBox1->setCurrentIndex(0);

    const settings::StartupSettings stored = settings::loadStartupSettings(
        QDir::currentPath(), comboItems(ui->ComboBox2), comboItems(ui->ComboBox1), kModelCount);
    ui->TabSheet10->showStoredNames(stored.reportFiles, stored.reportDirectory);
    ui->CheckBoxVerify->setChecked(stored.verifyWrites);
    ui->ComboBox2->setCurrentIndex(stored.speedIndex);
    ui->ComboBox1->setCurrentIndex(stored.portIndex);
    if (!stored.modelIndex) {
        dialogs_->message(text::invalidIntegerMessage(stored.ecrText), messageCaption(),
                          MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    ui->ComboBox4->setCurrentIndex(*stored.modelIndex);
    // Saving and writing work with the restored model, so the window shows
    // that model's rows and fields: otherwise values hidden from the user
    // would go into files and records, or be left out of them unseen. The
    // first model's layout is the start-up layout already.
    if (*stored.modelIndex != 0) ComboBox4Change();
}

void MainWindow::CheckBoxVerifyClick(bool verify) {
    settings::keepVerifyWrites(settings::ProfileFile(settings::workingSettingsFile()), verify);
}

void MainWindow::Button1Click() {
    close();
}

void MainWindow::showTraceFile(const QString& path) {
    about_->showTraceFile(path);
}

void MainWindow::Button10Click() {
    dialogs_->showModal(*about_);
}

void MainWindow::PageControl1Change() {
    // The coding interval is the goods table's; another tab drops its use.
    if (activeTab() != 0) ui->CheckBox1->setChecked(false);
    applyCommandStates();
}

void MainWindow::setJob(LinkJob job) {
    job_ = job;
    applyCommandStates();
}

void MainWindow::applyCommandStates(bool pageWorkEnded) {
    const CommandStates on =
        commandStates({activeTab(), Connected, job_, LogoPresent, pageWorkEnded});
    EnabledStates states{
        {ui->Button4, on.write},
        {ui->Button9, on.read},
        {ui->Button8, on.clearRegister},
        {ui->Button6, on.stop},
        {ui->Button3, on.openAndSave},
        {ui->Button2, on.openAndSave},
        {ui->Button5, on.connect},
        {ui->Button16, on.clearGrid},
        {ui->GroupBox2, on.goodsOnly},
        {ui->Button15, on.goodsOnly},
        {ui->ButtonCompare, on.compare},
        {ui->ComboBoxWriteRows, on.writeRows},
        {ui->LabelWriteRows, on.writeRows},
    };
    for (QWidget* box : {ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4})
        states.emplace_back(box, on.connectionBoxes);
    ui->TabSheet9->addCommandStates(on, states);
    ui->TabSheet10->addCommandStates(on, states);
    applyEnabled(states);
    // Busy but working: the window still takes "Стоп", scrolling and the
    // tabs while the link is at work.
    if (job_ == LinkJob::None)
        unsetCursor();
    else
        setCursor(Qt::BusyCursor);
}

// The logo transfers and the report download share the link with the table
// runs and connecting: one at a time, and nothing else on the link's
// buttons meanwhile.
bool MainWindow::linkFree() const {
    return job_ == LinkJob::None;
}

void MainWindow::beginJob(LinkJob job) {
    if (job == LinkJob::Connecting)
        for (GridModel* grid : grids_)
            grid->settleMarks([](RowMarks& marks) { marks.connected(); });
    // A skip of the report download ends it: there are no later records.
    session_->errorDialog().beginJob(job != LinkJob::ReportDownload);
    setJob(job);
}

void MainWindow::endJob() {
    setJob(LinkJob::None);
}

void MainWindow::connectionChanged() {
    applyCommandStates();
}

transfer::Connection MainWindow::linkConnection() const {
    return connection_->linkConnection();
}

void MainWindow::endPageWork() {
    job_ = LinkJob::None;
    applyCommandStates(true);
}

QString MainWindow::chosenRegisterText() const {
    return ui->ComboBox3->currentText();
}

void MainWindow::logoPresent() {
    LogoPresent = true;
    applyCommandStates();
}

void MainWindow::ComboBox4Change() {
    const auto model = modelFromIndex(ui->ComboBox4->currentIndex());
    if (!model) return;
    const ModelProfile& profile = modelProfile(*model);
    setCaption(profile.windowCaption);
    ui->GroupBox1->setTitle(profile.groupCaption);
    grid(TableKind::Goods)->setVisibleRows(profile.goodsRows);
    grid(TableKind::PaymentTypes)->setVisibleRows(profile.paymentRows);
    grid(TableKind::HeaderText)->setVisibleRows(profile.headerTextRows);
    ui->Edit3->setText(profile.codingEnd);

    GridModel& header = *grid(TableKind::HeaderText);
    header.setCell(0, 1, gridShape(TableKind::HeaderText).headers.value(1));
    for (int row = 0; row < header.gridRows(); ++row)
        header.setCell(row, 0, profileHeaderTextLabel(row));

    for (const FieldPresentation& field : profile.fields) presentField(field);
}

void MainWindow::presentField(const FieldPresentation& field) {
    for (ParameterPage* page : parameterPages_)
        if (page->present(field)) return;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (agreedToClose(*dialogs_, job_ != LinkJob::None, [this] { return edits_->editedTables(); }))
        event->accept();
    else
        event->ignore();
}

void MainWindow::setCaption(const QString& caption) {
    // Qt shows "*" in place of the mark while the window is modified.
    setWindowTitle(caption + QStringLiteral("[*]"));
}

void MainWindow::showEntryRefusal(const QString& message) {
    dialogs_->message(message, entryRefusalCaption(), MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace tabulon::app
