// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a large history: reading the operations into the list (the first open
// and later reloads, painted), each filter's keystrokes with the paint of the visible rows, and
// the peak memory. The reloads are set against a bare SQLite loop (their floor), the keystrokes
// against one memmem pass over the lowered titles (their floor) and SQLite filtering with LIKE
// (the SQL alternative), all measured in the same run.
//
//   tavro_bench_history [operations [folder]] [--runs N] [--fill-only] [--step-loop[-nomutex]]
// operations defaults to 1 000 000 (5 accounts over 10 years). With a folder, the database is
// kept there and reused by the next run with that folder. --fill-only only makes the database;
// --step-loop only runs the bare SQLite loop once (the start-up script's baseline);
// --step-loop-nomutex the same on a connection without SQLite's per-call mutex.
// Lines "name: value" are meant for scripts.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "AppSettings.h"
#include "BenchDatabase.h"
#include "CHistoryDlg.h"
#include "Clock.h"
#include "DialogTemplate.h"
#include "HistoryPreload.h"
#include "LargeBuffers.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

using Clock_ = std::chrono::steady_clock;

double msSince(Clock_::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock_::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::u16string u16(const std::string& text) {
    return BenchDatabase::U16(text);
}

struct Counterparty {
    std::u16string account;
    std::u16string name;
};

std::vector<Counterparty> makeCounterparties(std::mt19937& random) {
    const char* stems[] = {"Sklep",    "Biedronka", "Orlen",    "Ślęża",      "Żabka",
                           "Gazownia", "Energa",    "Kowalski", "Nowak",      "Wiśniewska",
                           "Allegro",  "Urząd",     "Apteka",   "Księgarnia", "Łódzkie"};
    std::vector<Counterparty> out;
    for (int i = 0; i < 3000; ++i) {
        std::string account;
        for (int d = 0; d < 26; ++d) {
            account += static_cast<char>('0' + random() % 10);
        }
        const std::string name = std::string(stems[random() % std::size(stems)]) + " " +
                                 std::to_string(random() % 1000) + " Sp. z o.o.";
        out.push_back({u16(account), u16(name)});
    }
    return out;
}

void fillDatabase(int operations) {
    const auto start = Clock_::now();
    std::mt19937 random(2012);
    std::vector<BenchDatabase::Account> accounts;
    for (int a = 0; a < 5; ++a) {
        accounts.push_back({u16(std::string(24, '1' + static_cast<char>(a)) + "00"),
                            u16("Konto " + std::to_string(a + 1))});
    }
    const std::vector<Counterparty> parties = makeCounterparties(random);
    const char* titles[] = {"Faktura FV/%d/%05d za usługi",   "Zakupy kartą %d nr %05d",
                            "Przelew własny %d/%05d",         "Wynagrodzenie za miesiąc %d-%05d",
                            "Opłata za prąd %d pozycja %05d", "Zwrot pożyczki %d, rata %05d"};
    const int64_t end = 1330000000;  // March 2012
    const int64_t span = 3652LL * 86400;
    BenchDatabase::Fill(AppPaths::databaseFile(), accounts, operations, [&](int64_t i) {
        const Counterparty& party = parties[random() % parties.size()];
        char title[128];
        std::snprintf(title, sizeof title, titles[random() % std::size(titles)],
                      2002 + static_cast<int>(random() % 10), static_cast<int>(random() % 100000));
        const bool credit = random() % 4 == 0;
        const double amount = (credit ? 1 : -1) * static_cast<double>(random() % 500000) / 100.0;
        // Noon of a day, as the bank module dates operations.
        const int64_t day = end - span + i * span / operations;
        const int64_t date = day - day % 86400 + 11 * 3600;
        return BenchDatabase::Row{party.account,
                                  party.name,
                                  u16(title),
                                  amount,
                                  static_cast<int32_t>(i),
                                  credit ? 1 : 0,
                                  date,
                                  date,
                                  accounts[static_cast<size_t>(i) % accounts.size()].number,
                                  static_cast<int>(random() % 20)};
    });
    std::printf("database filled with %d operations in %.0f ms\n", operations, msSince(start));
}

// Filling runs in a child process, so that its memory does not count in the peak.
void fillInChild(int operations) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        fillDatabase(operations);
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

// The floor of a reload: a bare loop stepping the table and reading every column in its
// stored type, texts in the file's encoding (UTF-16 for files the program makes) without
// copying or converting them. SQLite's default connection locks a mutex around every call; the
// program's read-ahead connection does not (withoutMutex), which makes the same loop faster;
// that one also reads with the read-ahead's small page cache.
double stepLoopMs(bool withoutMutex = false) {
    const auto start = Clock_::now();
    sqlite3* db = nullptr;
    const std::u16string path = AppPaths::databaseFileU16();
    const int opened = withoutMutex
                           ? sqlite3_open_v2(AppPaths::databaseFile().string().c_str(), &db,
                                             SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr)
                           : sqlite3_open16(path.c_str(), &db);
    if (opened != SQLITE_OK) {
        sqlite3_close(db);
        return 0.0;
    }
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA encoding", -1, &stmt, nullptr);
    const bool utf8 =
        sqlite3_step(stmt) == SQLITE_ROW &&
        std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) == "UTF-8";
    sqlite3_finalize(stmt);
    if (withoutMutex) {
        sqlite3_exec(db, HistoryPreload::kReadCache, nullptr, nullptr, nullptr);
    }
    sqlite3_prepare_v2(db, "SELECT * FROM transactions", -1, &stmt, nullptr);
    size_t sink = 0;
    while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(stmt);
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                    sink += static_cast<size_t>(sqlite3_column_int64(stmt, c));
                    break;
                case SQLITE_FLOAT:
                    sink += static_cast<size_t>(sqlite3_column_double(stmt, c));
                    break;
                case SQLITE_TEXT:
                    if (utf8) {
                        const auto* text = sqlite3_column_text(stmt, c);
                        sink += static_cast<size_t>(sqlite3_column_bytes(stmt, c)) + text[0];
                    } else {
                        const auto* text =
                            static_cast<const char16_t*>(sqlite3_column_text16(stmt, c));
                        sink += static_cast<size_t>(sqlite3_column_bytes16(stmt, c)) + text[0];
                    }
                    break;
                default:
                    break;
            }
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    const double ms = msSince(start);
    if (sink == 1) {
        std::printf(" ");
    }
    return ms;
}

// The SQL alternative to the program's filters, not a floor: what a keystroke would cost if
// SQLite filtered with LIKE over the same two columns, for every prefix of the typed text; the
// worst prefix in ms.
double likeWorstMs(const QString& typed) {
    sqlite3x::connection con;
    con.open(AppPaths::databaseFileU16());
    sqlite3x::command cmd(con,
                          "SELECT COUNT(*) FROM transactions WHERE t_from_name LIKE ?1 OR "
                          "t_desc LIKE ?1");
    double worst = 0.0;
    for (qsizetype n = 1; n <= typed.size(); ++n) {
        const auto start = Clock_::now();
        cmd.bind_text(1, (QLatin1Char('%') + typed.left(n) + QLatin1Char('%')).toStdU16String());
        cmd.execute_int();
        worst = std::max(worst, msSince(start));
    }
    return worst;
}

// The keystroke's floor: one plain pass of memmem over the lowered titles of the whole history
// (made once, not timed), counting where the typed text stands; in ms.
double memmemPassMs(const HistoryEntries& entries, const QString& typed) {
    std::string titles;
    for (const StoredOperation& op : entries) {
        titles += QString::fromStdU16String(op.title).toLower().toStdString();
        titles += '\n';
    }
    const std::string needle = typed.toLower().toStdString();
    const auto start = Clock_::now();
    size_t found = 0;
    const char* at = titles.data();
    const char* const end = titles.data() + titles.size();
    while (const void* hit = memmem(at, size_t(end - at), needle.data(), needle.size())) {
        ++found;
        at = static_cast<const char*>(hit) + needle.size();
    }
    const double ms = msSince(start);
    if (found == size_t(-1)) {
        std::printf(" ");  // keeps the count, so the pass is not optimised away
    }
    return ms;
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Counts the paints of one widget.
class PaintCount : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// The paint the user waits for: the events the change posted, which paint the list's visible
// rows and whatever else changed (graph, totals) once. Should they not have painted the list,
// it is painted here, so that no figure goes without it.
void paintNow(QTableView* list) {
    static PaintCount* count = nullptr;
    if (count == nullptr) {
        count = new PaintCount;
        count->setParent(list);
        list->viewport()->installEventFilter(count);
    }
    const int before = count->paints;
    QApplication::processEvents();
    if (count->paints == before) {
        list->viewport()->repaint();
    }
}

// One filter: each step changes one control; the time from the change to the painted list.
struct FilterCase {
    const char* name;
    std::function<void()> prepare;  // untimed, before the steps
    std::vector<std::function<void()>> steps;
    std::function<void()> finish;  // untimed, back to no filter
};

double worstOf(CHistoryDlg& dlg, QTableView* list, const FilterCase& filter, bool verbose) {
    filter.prepare();
    paintNow(list);
    double worst = 0.0;
    for (const auto& step : filter.steps) {
        const auto start = Clock_::now();
        step();
        paintNow(list);
        const double ms = msSince(start);
        worst = std::max(worst, ms);
        if (verbose) {
            std::printf("    %s: %.1f ms, %zu listed\n", filter.name, ms,
                        dlg.listedEntries().size());
        }
    }
    filter.finish();
    paintNow(list);
    return worst;
}

std::vector<std::function<void()>> typing(QLineEdit* search, const QString& typed) {
    std::vector<std::function<void()>> steps;
    for (qsizetype n = 1; n <= typed.size(); ++n) {
        steps.push_back([search, text = typed.left(n)] { search->setText(text); });
    }
    // And back, one character at a time.
    for (qsizetype n = typed.size() - 1; n >= 0; --n) {
        steps.push_back([search, text = typed.left(n)] { search->setText(text); });
    }
    return steps;
}

std::vector<std::function<void()>> choosing(QComboBox* combo, int last) {
    std::vector<std::function<void()>> steps;
    for (int i = 1; i <= std::min(last, combo->count() - 1); ++i) {
        steps.push_back([combo, i] { combo->setCurrentIndex(i); });
    }
    steps.push_back([combo] { combo->setCurrentIndex(0); });
    return steps;
}

std::vector<FilterCase> filterCases(CHistoryDlg& dlg) {
    auto* search = DialogTemplate::find<QLineEdit>(&dlg, CHistoryDlg::kSearchEdit);
    auto* negate = DialogTemplate::find<QCheckBox>(&dlg, CHistoryDlg::kNegateCheck);
    auto* operations = DialogTemplate::find<QComboBox>(&dlg, CHistoryDlg::kOperationsCombo);
    auto* time = DialogTemplate::find<QComboBox>(&dlg, CHistoryDlg::kTimeCombo);
    auto* accounts = DialogTemplate::find<QComboBox>(&dlg, CHistoryDlg::kAccountCombo);
    auto* kinds = DialogTemplate::find<QComboBox>(&dlg, CHistoryDlg::kKindCombo);
    const QString typed = QStringLiteral("wiśniewska");
    const auto nothing = [] {};
    return {
        {"search", nothing, typing(search, typed), [search] { search->clear(); }},
        {"search_negated", [negate] { negate->click(); }, typing(search, typed),
         [search, negate] {
             search->clear();
             negate->click();
         }},
        {"direction", nothing, choosing(operations, 2), nothing},
        // "Czas:" up to the last fixed range; the free range needs its date fields.
        {"time", nothing, choosing(time, 7), nothing},
        {"account", nothing, choosing(accounts, 5), nothing},
        {"kind", nothing, choosing(kinds, 30), nothing},
    };
}

int64_t startOfTheBenchmarkData() {
    // The generated history ends in March 2012: "now" is put there, so the time ranges
    // select something.
    return 1330000000;
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> positional;
    bool fillOnly = false;
    bool stepOnly = false;
    bool stepWithoutMutex = false;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fill-only") {
            fillOnly = true;
        } else if (arg == "--step-loop") {
            stepOnly = true;
        } else if (arg == "--step-loop-nomutex") {
            stepOnly = true;
            stepWithoutMutex = true;
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            positional.push_back(arg);
        }
    }
    // As the program does.
    LargeBuffers::returnToTheSystemWhenFreed();
    const int operations = !positional.empty() ? std::max(1, std::stoi(positional[0])) : 1000000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir temporary;
    const QString folder =
        positional.size() > 1 ? QString::fromStdString(positional[1]) : temporary.path();
    qputenv("appdata", folder.toLocal8Bit());
    AppPaths::ensureDataFolder();
    if (!std::filesystem::exists(AppPaths::databaseFile())) {
        fillInChild(operations);
    }
    if (fillOnly) {
        return 0;
    }
    if (stepOnly) {
        std::printf("step_ms: %.1f\n", stepLoopMs(stepWithoutMutex));
        return 0;
    }
    QApplication application(argc, argv);
    Clock::pin(startOfTheBenchmarkData());

    CHistoryDlg dlg;
    auto start = Clock_::now();
    if (!dlg.OnInitDialog()) {
        std::fprintf(stderr, "the database could not be opened\n");
        return 1;
    }
    dlg.show();
    auto* list = dlg.findChild<QTableView*>();
    paintNow(list);
    // The file is in the page cache: it was just written, or read by the previous run.
    const double firstOpen = msSince(start);
    std::printf("first open (window initialised, list read and painted): %.0f ms, %zu entries\n",
                firstOpen, dlg.entries().size());
    // The whole-file check runs once the list has painted: the figures below are taken after it.
    QEventLoop checked;
    QObject::connect(&dlg, &CHistoryDlg::databaseSound, &checked, &QEventLoop::quit);
    QTimer::singleShot(60000, &checked, &QEventLoop::quit);
    if (!dlg.databaseSoundKnown()) {
        checked.exec();
    }

    std::vector<double> reloads;
    std::vector<double> baselines;
    for (int run = 0; run < runs; ++run) {
        baselines.push_back(stepLoopMs());
        start = Clock_::now();
        dlg.ReloadHistory();
        paintNow(list);
        reloads.push_back(msSince(start));
        std::printf("  run %d: reload %.0f ms, bare step loop %.0f ms\n", run + 1, reloads.back(),
                    baselines.back());
    }

    // The worst step of each filter, as the median over the runs.
    const std::vector<FilterCase> cases = filterCases(dlg);
    std::map<std::string, std::vector<double>> worst;
    for (int run = 0; run < runs; ++run) {
        for (const FilterCase& filter : cases) {
            worst[filter.name].push_back(worstOf(dlg, list, filter, run == 0));
        }
    }
    const long peak = peakKilobytes();
    std::vector<double> likes;
    std::vector<double> floors;
    for (int run = 0; run < runs; ++run) {
        likes.push_back(likeWorstMs(QStringLiteral("wiśniewska")));
        floors.push_back(memmemPassMs(dlg.entries(), QStringLiteral("wiśniewska")));
    }

    const double reload = median(reloads);
    const double baseline = median(baselines);
    std::printf("operations: %d\n", operations);
    std::printf("first_open_ms: %.1f\n", firstOpen);
    std::printf("reload_ms: %.1f\n", reload);
    std::printf("reload_baseline_ms: %.1f\n", baseline);
    std::printf("reload_ratio: %.3f\n", reload / baseline);
    double worstAll = 0.0;
    for (const FilterCase& filter : cases) {
        const double value = median(worst[filter.name]);
        worstAll = std::max(worstAll, value);
        std::printf("keystroke_worst_ms.%s: %.1f\n", filter.name, value);
    }
    std::printf("keystroke_worst_ms: %.1f\n", worstAll);
    std::printf("keystroke_floor_memmem_ms: %.1f\n", median(floors));
    std::printf("keystroke_ratio: %.3f\n", worstAll / median(floors));
    std::printf("keystroke_sql_like_ms: %.1f\n", median(likes));
    std::printf("keystroke_ratio_to_sql_like: %.3f\n", worstAll / median(likes));
    std::printf("peak_rss_mb: %.1f\n", peak / 1024.0);
    std::printf("bytes_per_operation: %.0f\n", peak * 1024.0 / operations);
    dlg.OnDestroy();
    return 0;
}
