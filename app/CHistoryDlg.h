// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CUIDialog.h"
#include "CWndConsole.h"
#include "CWndProgress.h"
#include "CWndWarnings.h"
#include "DatabaseCheck.h"
#include "HistoryList.h"
#include "HistoryPreload.h"
#include "Schema.h"
#include "sqlite3x.h"

class CHistoryListModel;
class CPluginLoader;
class ClosingDownloadUi;
class DownloadWorker;
class TrayIcon;
struct DownloadRun;
class CSatGraph;
class CUIInfoLabel;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTableView;

// The main window: the operation list with its filters and totals, the monthly graph, the
// menu, and the life of the database connection and the module loader.
//
// Units: CHistoryDlg.cpp (controls, initialisation and closing), CHistoryDlgList.cpp (reload and
// filters), CHistoryDlgLayout.cpp (layout, column widths, placement), CHistoryDlgCommands.cpp
// (menu and button commands, timers).
class CHistoryDlg : public CUIDialog {
    Q_OBJECT
public:
    // Control and command numbers.
    enum Id {
        kList = 1000,
        kDownloadButton = 1001,
        kSearchEdit = 1002,
        kOperationsCombo = 1004,
        kTimeCombo = 1005,
        kFromPicker = 1006,
        kToPicker = 1007,
        kDetailsButton = 1008,
        kAccountCombo = 1009,
        kNegateCheck = 1056,
        kStatusLabel = 1062,
        kGraph = 1064,
        kKindCombo = 1065,
        kViewCombo = 1068,
        kPrintButton = 1069,
        kCmdClose = 32771,
        kCmdShowConsole = 32772,
        kCmdClearList = 32773,
        kCmdAccountManager = 32774,
        kCmdAbout = 32775,
        kCmdDownload = 32776,
        kCmdExport = 32777,
        kCmdReportBug = 32778,
        kCmdCheckNumber = 32779,
        kCmdReloadList = 32780,
        kCmdSmsOptions = 32782,
        kCmdForum = 32783,
        kCmdOptions = 32785,
        kCmdImport = 32786,
        kCmdUndoImport = 32787,
    };
    static constexpr int kMinimumWidth = 700;
    static constexpr int kMinimumHeight = 540;
    static constexpr int kScheduleTimerMs = 60000;
    // How often a slot that waits for open windows looks whether they have closed.
    static constexpr int kSlotWaitPollMs = 200;

    explicit CHistoryDlg(QWidget* parent = nullptr);
    ~CHistoryDlg() override;
    // The full list read ahead, taken by the first reading of the full list.
    void setPreload(std::unique_ptr<HistoryPreload> preload) { m_preload = std::move(preload); }

    // The folder whose banki/ holds the modules; the program's own folder when never set.
    // Takes effect at OnInitDialog.
    void setProgramFolder(std::filesystem::path folder) { m_programFolder = std::move(folder); }

    // The initialisation sequence. False when the database could not be opened or prepared:
    // the window then has no list columns, and the program ends with exit code 2.
    bool OnInitDialog();
    // The whole-file check, once the list has painted, found the file damaged: the window
    // closed and the program ends with exit code 2.
    bool databaseDamaged() const { return m_damaged; }
    // The check has found the file sound (databaseSound() has been sent).
    bool databaseSoundKnown() const { return m_sound; }

signals:
    // The whole-file check found the file sound: writing may begin.
    void databaseSound();

public:
    // The closing sequence: stores placement and column widths, releases the companion
    // windows, the loader and the database. Runs once; the destructor runs it if needed.
    void OnDestroy();

    // Rebuilds the entries from the database with the query, then ApplyFilters.
    void ReloadHistory(const char* query = Schema::kSelectHistory);
    // Refills "Rachunki:" and selects "Wszystkie"; does not filter.
    void FillAccountCombo();
    // Rebuilds the visible list, the totals line, the graph and its caption.
    void ApplyFilters();

    // What the commands and the auxiliary windows borrow from the window.
    sqlite3x::connection& connection() { return m_con; }
    CPluginLoader* loader() const { return m_loader.get(); }
    CWndConsole* console() const { return m_console; }
    CWndProgress* progress() const { return m_progress; }
    CWndWarnings* warnings() const { return m_warnings; }
    const HistoryEntries& entries() const { return m_history.entries(); }
    // The list's rows as entry indexes, in list order.
    const std::vector<int32_t>& listedEntries() const;
    // Entry index of the list item that is selected and focused, or -1.
    int32_t selectedEntry() const;
    // The current values of the filter controls.
    FilterValues filterValues() const;
    // The last filter pass (totals and months), for the export and the tests.
    const FilterResult& lastFilterResult() const { return m_history.result(); }
    // The download worker calls this when it ends: the list is reloaded 100 ms later, on the
    // window's thread.
    void StartReloadTimer() { m_reloadTimer.start(100); }
    // Appends a line to the console window.
    void ConsoleLine(const QString& line);
    void ConsoleLine(const std::u16string& line);

    // The fixed schedule of the automatic download.
    const std::vector<QString>& schedule() const { return m_schedule; }

    // Downloads (CHistoryDlgDownload.cpp). Both start nothing when there is no account or a
    // download runs already: one worker at a time.
    void StartDownload();
    void StartScheduledDownload();
    bool downloadRunning() const;
    // The schedule entry due at a local time, "%02d%02d" of hour and minute; empty if none.
    QString ScheduleSlotAt(int64_t seconds) const;

    TrayIcon* trayIcon() const { return m_tray; }

    CHistoryListModel* listModel() const { return m_model; }
    QTableView* listView() const { return m_list; }
    CSatGraph* graph() const { return m_graph; }
    CUIInfoLabel* statusLabel() const { return m_status; }
    QMenuBar* menuBar() const { return m_menuBar; }

public slots:
    // Commands (CHistoryDlgCommands.cpp).
    void OnShowConsole();
    void OnStartDownload();
    void OnExport();
    // Statement files (CHistoryDlgImport.cpp).
    void OnImport();
    void OnUndoImport();
    // The import window over the files; the list reloads and the console gets the counts when
    // something was imported.
    void OpenImport(const QStringList& paths);
    void OnCloseCommand();
    void OnAccountManager();
    void OnOptions();
    void OnCheckNumber();
    void OnClearList();
    void OnReloadList();
    void OnAbout();
    void OnDetails();
    void OnScheduleTimer();
    void OnSlotWaitTimer();
    void OnReloadTimer();

    // The tray icon was double-clicked (CHistoryDlgTray.cpp).
    void RestoreFromTray();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Statement files dropped on the window open the import window (CHistoryDlgImport.cpp).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

public:
    // Hiding in the tray must not end the window's modal loop, as hiding a dialog normally does.
    void setVisible(bool visible) override;
    // Takes the placement before the window leaves the screen.
    void done(int result) override;

private:
    // CHistoryDlg.cpp
    void createControls();
    void createMenu();
    void connectControls();
    // Empty when the database is open, else what the user is told.
    QString openDatabase();
    void initModules();
    // The loader with the modules scanned.
    CPluginLoader& modules();
    // Once the list has painted: starts the whole-file check (a damaged file ends the program),
    // lowering the titles for the search and loading the modules.
    void finishAfterPaint();
    void onDatabaseChecked(int damage);
    void OnTimeRangeChanged();
    void OnViewChanged();

    // CHistoryDlgList.cpp
    void createColumns();
    void readEntries(const char* query);
    // While the list (of about `rows`) is still being read ahead: lays the window out, draws it
    // once off the screen, makes its system window and readies the memory for showing the list,
    // so that showing the filled list costs little.
    void prepareWhileReading(size_t rows);
    void showFilterResult(FilterResult pass, const FilterValues& values, int64_t now);

    // CHistoryDlgLayout.cpp
    void layoutControls();
    void restoreColumnWidths();
    void storeColumnWidths();
    void restorePlacement();
    void capturePlacement();
    void followWindowState(Qt::WindowStates old);
    void storePlacement();

    template <class W>
    W* control(int id) const;

    // CHistoryDlgDownload.cpp
    bool startRun(DownloadRun run);
    bool otherWindowOpen() const;
    bool ensureWorker();
    void stopDownload();
    // Runs a command; a database error (or any other) is shown instead of ending the program.
    void runGuarded(const std::function<void()>& body);

    // CHistoryDlgTray.cpp
    void createTrayIcon();
    void hideInTray();

    // Owned resources.
    sqlite3x::connection m_con;
    // Runs once start-up has painted the list; nothing is written before it has said the file
    // is sound.
    DatabaseCheck m_check;
    bool m_damaged = false;
    bool m_sound = false;
    bool m_listReadFailed = false;  // the last ReloadHistory could not read the list
    std::unique_ptr<HistoryPreload> m_preload;
    std::unique_ptr<CPluginLoader> m_loader;
    bool m_modulesScanned = false;
    // The entries, their index and what the list shows.
    HistoryList m_history;
    std::vector<QString> m_schedule;
    QTimer m_scheduleTimer;
    QTimer m_reloadTimer;
    QTimer m_slotWaitTimer;
    QString m_waitingSlot;  // a due slot that waits for the open windows to close
    bool m_initialised = false;
    bool m_destroyed = false;
    bool m_filling = false;  // set while controls are filled, so that they do not filter
    std::filesystem::path m_programFolder;
    // The worker uses the windows until its very end: it goes first.
    std::unique_ptr<ClosingDownloadUi> m_downloadUi;
    std::unique_ptr<DownloadWorker> m_worker;
    // The placement last seen on the screen: frame position and client size.
    struct Placement {
        QRect normal;  // not while maximised
        bool maximised = false;
        bool taken = false;  // false until the window has been seen on the screen
    };
    Placement m_placement;
    QRect m_normalAfterMaximised;  // the stored placement of a window restored maximised
    bool m_maximisedBeforeTray = false;
    bool m_inTray = false;
    bool m_hidingInTray = false;  // only this hide keeps the modal loop running

    // Parent-owned widgets.
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    QTableView* m_list = nullptr;
    CHistoryListModel* m_model = nullptr;
    CSatGraph* m_graph = nullptr;
    CUIInfoLabel* m_status = nullptr;
    QLineEdit* m_search = nullptr;
    QCheckBox* m_negate = nullptr;
    QComboBox* m_operations = nullptr;
    QComboBox* m_time = nullptr;
    QComboBox* m_accounts = nullptr;
    QComboBox* m_kinds = nullptr;
    QComboBox* m_view = nullptr;
    QDateTimeEdit* m_from = nullptr;
    QDateTimeEdit* m_to = nullptr;
    QPushButton* m_details = nullptr;
    TrayIcon* m_tray = nullptr;
    QPointer<CWndConsole> m_console;
    QPointer<CWndProgress> m_progress;
    QPointer<CWndWarnings> m_warnings;
};
