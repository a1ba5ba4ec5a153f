// SPDX-License-Identifier: GPL-3.0-or-later
#include "CHistoryDlg.h"
#include "FirstPaintProbe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "AppIcon.h"
#include "AppPaths.h"
#include "CHistoryListModel.h"
#include "CPluginLoader.h"
#include "CSatGraph.h"
#include "CUIInfoLabel.h"
#include "CWndConsole.h"
#include "Clock.h"
#include "ClosingDownloadUi.h"
#include "DatePicker.h"
#include "DialogTemplate.h"
#include "DownloadWorker.h"
#include "LargeBuffers.h"
#include "MessageBox.h"
#include "OperationKinds.h"
#include "StorageFailure.h"

namespace {

const QString kCaption = QStringLiteral("Tavro History");

const ControlSpec kTemplate[] = {
    {1050, ControlKind::GroupBox, QStringLiteral("Filtrowanie operacji"), {3, 10, 320, 98}},
    {1044, ControlKind::Label, QStringLiteral("Poszukiwany ciąg znaków:"), {11, 23, 88, 8}},
    {1002, ControlKind::Edit, {}, {11, 34, 196, 13}},
    {1056, ControlKind::CheckBox, QStringLiteral("Nie zawierające ciągu"), {120, 23, 87, 10}},
    {1045, ControlKind::Label, QStringLiteral("Operacje:"), {211, 23, 34, 8}},
    {1004, ControlKind::DropDownList, {}, {211, 34, 108, 347}},
    {1046, ControlKind::Label, QStringLiteral("Czas:"), {11, 50, 20, 8}},
    {1005, ControlKind::DropDownList, {}, {10, 61, 90, 343}},
    {1047, ControlKind::Label, QStringLiteral("Od:"), {107, 50, 13, 8}},
    {1006, ControlKind::DateTimePicker, {}, {107, 61, 100, 13}},
    {1048, ControlKind::Label, QStringLiteral("Do:"), {211, 50, 13, 8}},
    {1007, ControlKind::DateTimePicker, {}, {211, 61, 108, 13}},
    {1049, ControlKind::Label, QStringLiteral("Rachunki:"), {11, 79, 34, 8}},
    {1009, ControlKind::DropDownList, {}, {11, 90, 196, 252}},
    {1067, ControlKind::Label, QStringLiteral("Typ operacji:"), {211, 79, 44, 8}},
    {1065, ControlKind::DropDownList, {}, {211, 90, 108, 224}},
    {1053, ControlKind::Label, QStringLiteral("Wyświetl:"), {11, 119, 32, 8}},
    {1068, ControlKind::DropDownList, {}, {47, 117, 272, 12}},
    {1069, ControlKind::PushButton, QStringLiteral("&Drukuj ..."), {327, 34, 59, 18}},
    {1008, ControlKind::PushButton, QStringLiteral("&Szczegóły ..."), {327, 70, 59, 18}},
    {1001, ControlKind::PushButton, QStringLiteral("Po&bierz"), {327, 90, 59, 18}},
    // Placed at run time by the layout.
    {1000, ControlKind::ListView, {}, {0, 0, 0, 0}},
};

const char16_t* const kOperationItems[] = {u"Wszystkie", u"Uznania", u"Obciążenia"};
const char16_t* const kTimeItems[] = {u"Całość",         u"Dziś",           u"Wczoraj",
                                      u"Obecny miesiąc", u"Zeszły miesiąc", u"Obecny rok",
                                      u"Zeszły rok",     u"Dwa lata temu",  u"Parametry Ręczne"};
const char16_t* const kViewItems[] = {u"Listę operacji", u"Graficzne zestawienie"};
constexpr int kManualRange = 8;
constexpr int kGraphView = 1;

template <size_t N>
void fillCombo(QComboBox* combo, const char16_t* const (&items)[N]) {
    for (const char16_t* item : items) {
        combo->addItem(QString::fromUtf16(item));
    }
}

struct MenuItem {
    const char16_t* text;  // null: a separator
    int command;
    bool enabled;
};

// The start-up failure line, then why and what the user can do.
QString databaseFailureText(int sqliteCode) {
    QString text = QStringLiteral("Exeption, Quitting\r\n\r\n") +
                   QString::fromStdU16String(StorageFailure::Reason(sqliteCode));
    const QString file = QString::fromStdU16String(AppPaths::databaseFileU16());
    if (StorageFailure::IsDamage(sqliteCode)) {
        return text + QStringLiteral(
                          "\r\nProgram nie zmienił pliku '%1': zachowaj jego kopię, "
                          "aby odzyskać zapisaną historię.")
                          .arg(file);
    }
    if (StorageFailure::IsBusy(sqliteCode)) {
        return text + QStringLiteral(
                          "\r\nZamknij program, który go używa, i uruchom Tavro "
                          "ponownie.");
    }
    return text + QStringLiteral("\r\nPlik: '%1'.").arg(file);
}

}  // namespace

CHistoryDlg::CHistoryDlg(QWidget* parent) : CUIDialog(parent) {
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon::program());
    createControls();
    createMenu();
    connectControls();
    m_scheduleTimer.setInterval(kScheduleTimerMs);
    connect(&m_scheduleTimer, &QTimer::timeout, this, &CHistoryDlg::OnScheduleTimer);
    m_reloadTimer.setSingleShot(true);
    connect(&m_reloadTimer, &QTimer::timeout, this, &CHistoryDlg::OnReloadTimer);
    m_slotWaitTimer.setInterval(kSlotWaitPollMs);
    connect(&m_slotWaitTimer, &QTimer::timeout, this, &CHistoryDlg::OnSlotWaitTimer);
    createTrayIcon();
    setAcceptDrops(true);
}

CHistoryDlg::~CHistoryDlg() {
    OnDestroy();
}

template <class W>
W* CHistoryDlg::control(int id) const {
    return DialogTemplate::find<W>(m_client, id);
}

void CHistoryDlg::createControls() {
    setFont(DialogUnits::windowFont());
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    m_menuBar = new QMenuBar(this);
    frame->setMenuBar(m_menuBar);
    m_client = new QWidget(this);
    frame->addWidget(m_client);

    DialogTemplate tpl(m_client);
    tpl.add(kTemplate);
    m_graph = tpl.place(new CSatGraph(m_client), kGraph, {0, 0, 0, 0});
    m_status = tpl.place(new CUIInfoLabel(kCaption, m_client), kStatusLabel, {0, 0, 0, 0});
    m_graph->hide();
    m_client->installEventFilter(this);

    m_list = control<QTableView>(kList);
    m_search = control<QLineEdit>(kSearchEdit);
    m_negate = control<QCheckBox>(kNegateCheck);
    m_operations = control<QComboBox>(kOperationsCombo);
    m_time = control<QComboBox>(kTimeCombo);
    m_accounts = control<QComboBox>(kAccountCombo);
    m_kinds = control<QComboBox>(kKindCombo);
    m_view = control<QComboBox>(kViewCombo);
    m_from = control<QDateTimeEdit>(kFromPicker);
    m_to = control<QDateTimeEdit>(kToPicker);
    m_details = control<QPushButton>(kDetailsButton);
    control<QPushButton>(kPrintButton)->setEnabled(false);
    fillCombo(m_operations, kOperationItems);
    fillCombo(m_time, kTimeItems);
    for (const std::u16string& kind : OperationKinds::FilterItems()) {
        m_kinds->addItem(QString::fromStdU16String(kind));
    }
    fillCombo(m_view, kViewItems);
    m_accounts->addItem(QStringLiteral("Wszystkie"));
    for (QDateTimeEdit* picker : {m_from, m_to}) {
        picker->setMinimumDateTime(QDateTime::fromSecsSinceEpoch(0));
        picker->setEnabled(false);
    }

    // The template's size, then at least the window's minimum.
    const QSize client = tpl.clientSize(390, 335);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(client.width(), client.height() + m_menuBar->sizeHint().height());
}

void CHistoryDlg::createMenu() {
    struct Menu {
        const char16_t* title;
        std::vector<MenuItem> items;
    };
    const Menu menus[] = {
        {u"&Plik",
         {{u"&Pokaz konsolę", kCmdShowConsole, true},
          {nullptr, 0, false},
          {u"Pobierz historię operacji...", kCmdDownload, true},
          {u"Eksportuj...", kCmdExport, true},
          {u"Importuj wyciąg...", kCmdImport, true},
          {nullptr, 0, false},
          {u"&Zamknij", kCmdClose, true}}},
        {u"&Opcje",
         {{u"Edytuj listę kont ...", kCmdAccountManager, true},
          {nullptr, 0, false},
          {u"Opcje SMS ...", kCmdSmsOptions, false},
          {u"Opcje ...", kCmdOptions, true}}},
        {u"&Narzędzia",
         {{u"Sprawdź numer konta ...", kCmdCheckNumber, true},
          {nullptr, 0, false},
          {u"Cofnij import...", kCmdUndoImport, true},
          {u"Wyczyść listę transakcji...", kCmdClearList, true},
          {u"Przełąduj liste transakcji z bazy", kCmdReloadList, true}}},
        {u"Po&moc",
         {{u"Zgłoś błąd / propozycję", kCmdReportBug, false},
          {u"Forum ...", kCmdForum, false},
          {nullptr, 0, false},
          {u"O programie ...", kCmdAbout, true}}},
    };
    const std::pair<int, void (CHistoryDlg::*)()> handlers[] = {
        {kCmdShowConsole, &CHistoryDlg::OnShowConsole},
        {kCmdDownload, &CHistoryDlg::OnStartDownload},
        {kCmdExport, &CHistoryDlg::OnExport},
        {kCmdImport, &CHistoryDlg::OnImport},
        {kCmdUndoImport, &CHistoryDlg::OnUndoImport},
        {kCmdClose, &CHistoryDlg::OnCloseCommand},
        {kCmdAccountManager, &CHistoryDlg::OnAccountManager},
        {kCmdOptions, &CHistoryDlg::OnOptions},
        {kCmdCheckNumber, &CHistoryDlg::OnCheckNumber},
        {kCmdClearList, &CHistoryDlg::OnClearList},
        {kCmdReloadList, &CHistoryDlg::OnReloadList},
        {kCmdAbout, &CHistoryDlg::OnAbout},
    };
    for (const Menu& menu : menus) {
        QMenu* popup = m_menuBar->addMenu(QString::fromUtf16(menu.title));
        for (const MenuItem& item : menu.items) {
            if (item.text == nullptr) {
                popup->addSeparator();
                continue;
            }
            QAction* action = popup->addAction(QString::fromUtf16(item.text));
            action->setObjectName(QString::number(item.command));
            action->setEnabled(item.enabled);
            for (const auto& [command, handler] : handlers) {
                if (command == item.command) {
                    connect(action, &QAction::triggered, this, handler);
                }
            }
        }
    }
}

void CHistoryDlg::connectControls() {
    const auto filter = [this] {
        if (!m_filling) {
            ApplyFilters();
        }
    };
    for (QComboBox* combo : {m_operations, m_accounts, m_kinds}) {
        connect(combo, &QComboBox::currentIndexChanged, this, filter);
    }
    connect(m_search, &QLineEdit::textChanged, this, filter);
    connect(m_negate, &QCheckBox::clicked, this, filter);
    connect(m_from, &QDateTimeEdit::dateTimeChanged, this, filter);
    connect(m_to, &QDateTimeEdit::dateTimeChanged, this, filter);
    connect(m_time, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling) {
            OnTimeRangeChanged();
        }
    });
    connect(m_view, &QComboBox::currentIndexChanged, this, &CHistoryDlg::OnViewChanged);
    connect(m_details, &QPushButton::clicked, this, &CHistoryDlg::OnDetails);
    connect(control<QPushButton>(kDownloadButton), &QPushButton::clicked, this,
            &CHistoryDlg::OnStartDownload);
    connect(m_list, &QTableView::doubleClicked, this, &CHistoryDlg::OnDetails);
}

bool CHistoryDlg::OnInitDialog() {
    m_schedule = {QStringLiteral("1230"), QStringLiteral("1300"), QStringLiteral("1530"),
                  QStringLiteral("1600"), QStringLiteral("1845"), QStringLiteral("1915"),
                  QStringLiteral("1000"), QStringLiteral("2100"), QStringLiteral("0800")};
    m_scheduleTimer.start();

    m_filling = true;
    m_from->setDateTime(QDateTime::fromSecsSinceEpoch(0));
    m_to->setDateTime(QDateTime::fromSecsSinceEpoch(Clock::now()));
    // Until the user picks a start date, the calendar opens near today rather than in 1970.
    control<DatePicker>(kFromPicker)->setStartValue(m_from->dateTime());
    m_filling = false;

    // Companion windows, hidden until they have something to show.
    m_warnings = new CWndWarnings(this);
    m_status->SetInfoIcon();
    m_console = new CWndConsole(this);
    ConsoleLine(QStringLiteral("Start Aplikacji"));
    m_progress = new CWndProgress(this);

    if (const QString failure = openDatabase(); !failure.isEmpty()) {
        MessageBox::show(this, failure);
        return false;
    }
    initModules();
    setWindowIcon(AppIcon::program());
    createColumns();
    ReloadHistory(Schema::kSelectHistory);
    if (m_listReadFailed) {
        // A list that cannot be read may be a damaged file: the verdict decides, here.
        if (const int damage = m_check.result(); damage != 0) {
            m_model->reset([this] { m_history.clear(); });
            m_con.close();
            MessageBox::show(this, databaseFailureText(damage));
            return false;
        }
    }
    finishAfterPaint();
    FillAccountCombo();
    OnTimeRangeChanged();
    restorePlacement();
    m_view->setCurrentIndex(0);
    m_initialised = true;
    return true;
}

QString CHistoryDlg::openDatabase() {
    try {
        Schema::OpenDatabase(
            m_con, AppPaths::databaseFileU16(),
            [this](const std::u16string& line) { ConsoleLine(line); }, &m_check);
        return {};
    } catch (const std::exception& error) {
        ConsoleLine(QStringLiteral("\t%1").arg(QString::fromLocal8Bit(error.what())));
        m_con.close();
        const auto* database = dynamic_cast<const sqlite3x::database_error*>(&error);
        return databaseFailureText(database ? database->code() : 0);
    }
}

void CHistoryDlg::finishAfterPaint() {
    m_check.guardWrites(m_con);
    FirstPaintProbe::whenPainted(m_list, false, [this] {
        m_history.prepareSearch();
        m_check.start([this](int damage) {
            QMetaObject::invokeMethod(
                this, [this, damage] { onDatabaseChecked(damage); }, Qt::QueuedConnection);
        });
        // Beside the check, which runs on a thread of its own. Loading the modules takes some
        // 15 ms: what the paint left queued goes first.
        QTimer::singleShot(0, this, [this] {
            // The heap kept ready for the first showing gives back what it did not use.
            LargeBuffers::returnToTheSystemWhenFreed();
            modules();
        });
    });
}

void CHistoryDlg::onDatabaseChecked(int damage) {
    if (m_damaged) {
        return;
    }
    if (damage == 0) {
        m_sound = true;
        emit databaseSound();
        return;
    }
    m_damaged = true;
    stopDownload();
    m_model->reset([this] { m_history.clear(); });
    m_con.close();
    MessageBox::show(this, databaseFailureText(damage));
    done(QDialog::Rejected);
}

void CHistoryDlg::initModules() {
    ConsoleLine(QStringLiteral("Inicjuje interface wtyczek ..."));
    const auto console = [this](const std::u16string& line) { ConsoleLine(line); };
    m_loader = m_programFolder.empty() ? std::make_unique<CPluginLoader>(console)
                                       : std::make_unique<CPluginLoader>(console, m_programFolder);
    m_progress->setLoader(m_loader.get());
}

// Loading every module takes a start-up some 15 ms: it waits until the list has painted, or
// until something needs the modules first.
CPluginLoader& CHistoryDlg::modules() {
    if (!m_modulesScanned) {
        m_modulesScanned = true;
        m_loader->ScanModules();
    }
    return *m_loader;
}

void CHistoryDlg::OnDestroy() {
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    m_scheduleTimer.stop();
    m_slotWaitTimer.stop();
    stopDownload();
    m_reloadTimer.stop();
    storePlacement();
    storeColumnWidths();
    delete m_console.data();
    delete m_progress.data();
    m_loader.reset();
    m_con.close();
    delete m_warnings.data();
}

void CHistoryDlg::ConsoleLine(const QString& line) {
    if (m_console) {
        m_console->AddLine(line);
    }
}

void CHistoryDlg::ConsoleLine(const std::u16string& line) {
    ConsoleLine(QString::fromStdU16String(line));
}

void CHistoryDlg::OnTimeRangeChanged() {
    const bool manual = m_time->currentIndex() == kManualRange;
    m_from->setEnabled(manual);
    m_to->setEnabled(manual);
    ApplyFilters();
}

void CHistoryDlg::OnViewChanged() {
    const bool graph = m_view->currentIndex() == kGraphView;
    m_list->setVisible(!graph);
    m_graph->setVisible(graph);
    m_details->setEnabled(!graph);
}

FilterValues CHistoryDlg::filterValues() const {
    FilterValues values;
    values.operations = m_operations->currentIndex();
    values.timeRange = m_time->currentIndex();
    values.kind = m_kinds->currentIndex();
    values.search = m_search->text();
    values.negate = m_negate->isChecked();
    values.from = m_from->dateTime().toSecsSinceEpoch();
    values.to = m_to->dateTime().toSecsSinceEpoch();
    if (m_accounts->currentIndex() > 0) {
        // "number - name": the number is the text before the first space.
        const QString item = m_accounts->currentText();
        const qsizetype space = item.indexOf(QLatin1Char(' '));
        values.accountActive = true;
        values.account = space < 0 ? item : item.left(space);
    }
    return values;
}

void CHistoryDlg::keyPressEvent(QKeyEvent* event) {
    // Enter ends the window as its OK command would, wherever the focus is.
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            accept();
            return;
        }
    }
    CUIDialog::keyPressEvent(event);
}

bool CHistoryDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize) {
        layoutControls();
    }
    return CUIDialog::eventFilter(watched, event);
}
