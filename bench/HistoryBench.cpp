// The main window on a large history: how long reading the operations takes, how long one
// keystroke's filtering takes, and how much memory the process needs.
//
//   tavro_bench_history [operations [folder]]
// operations defaults to 1 000 000 (5 accounts over 10 years). With a folder, the database is
// kept there and reused by the next run with that folder.
#include <sys/resource.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "AppSettings.h"
#include "CHistoryDlg.h"
#include "Clock.h"
#include "DialogTemplate.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

using Clock_ = std::chrono::steady_clock;

double msSince(Clock_::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock_::now() - start).count();
}

std::u16string u16(const std::string& text) {
    return QString::fromStdString(text).toStdU16String();
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
    sqlite3x::connection con;
    Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    sqlite3x::transaction tx(con);
    std::vector<std::u16string> own;
    {
        sqlite3x::command insert(con, Schema::kInsertAccount);
        for (int a = 0; a < 5; ++a) {
            own.push_back(u16(std::string(24, '1' + static_cast<char>(a)) + "00"));
            insert.bind_text(1, own.back());
            insert.bind_text(2, u"user");
            insert.bind_text(3, u16("Konto " + std::to_string(a + 1)));
            insert.bind_text(4, u"secret");
            insert.bind_int(5, 0);
            insert.execute();
        }
    }
    const std::vector<Counterparty> parties = makeCounterparties(random);
    const char* titles[] = {"Faktura FV/%d/%05d za usługi",   "Zakupy kartą %d nr %05d",
                            "Przelew własny %d/%05d",         "Wynagrodzenie za miesiąc %d-%05d",
                            "Opłata za prąd %d pozycja %05d", "Zwrot pożyczki %d, rata %05d"};
    const int64_t end = 1330000000;  // March 2012
    const int64_t span = 3652LL * 86400;
    sqlite3x::command insert(con, Schema::kInsertOperation);
    for (int i = 0; i < operations; ++i) {
        const Counterparty& party = parties[random() % parties.size()];
        char title[128];
        std::snprintf(title, sizeof title, titles[random() % std::size(titles)],
                      2002 + static_cast<int>(random() % 10), static_cast<int>(random() % 100000));
        const bool credit = random() % 4 == 0;
        const double amount = (credit ? 1 : -1) * static_cast<double>(random() % 500000) / 100.0;
        // Noon of a day, as the bank module dates operations.
        const int64_t day = end - span + static_cast<int64_t>(i) * span / operations;
        const int64_t date = day - day % 86400 + 11 * 3600;
        insert.bind_text(1, party.account);
        insert.bind_text(2, party.name);
        insert.bind_text(3, u16(title));
        insert.bind_double(4, amount);
        insert.bind_int(5, i);
        insert.bind_int(6, credit ? 1 : 0);
        insert.bind_int64(7, date);
        insert.bind_int64(8, date);
        insert.bind_text(9, own[static_cast<size_t>(i) % own.size()]);
        insert.bind_text(10, u"");
        insert.bind_int(11, static_cast<int>(random() % 20));
        insert.execute();
    }
    tx.commit();
    std::printf("database filled with %d operations in %.0f ms\n", operations, msSince(start));
}

// The share of the reload that SQLite itself takes: the same query, every column read.
void timeQueryAlone() {
    const auto start = Clock_::now();
    sqlite3x::connection con;
    con.open(AppPaths::databaseFileU16());
    sqlite3x::command cmd(con, Schema::kSelectHistory);
    sqlite3x::reader reader = cmd.execute_reader();
    size_t characters = 0;
    while (reader.read()) {
        for (int column = 0; column < reader.column_count(); ++column) {
            characters += reader.get_string(column).size();
        }
    }
    std::printf("the sorted query alone, in SQLite (every column read as text): %.0f ms\n", msSince(start));
}

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int operations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    qputenv("appdata", folder.toLocal8Bit());
    AppPaths::ensureDataFolder();
    if (!std::filesystem::exists(AppPaths::databaseFile())) {
        fillDatabase(operations);
    }
    std::printf("peak memory after filling: %ld MB\n", peakMegabytes());

    timeQueryAlone();
    CHistoryDlg dlg;
    auto start = Clock_::now();
    if (!dlg.OnInitDialog()) {
        std::fprintf(stderr, "the database could not be opened\n");
        return 1;
    }
    dlg.show();
    QApplication::processEvents();
    std::printf("window initialised (first ReloadHistory included) in %.0f ms\n", msSince(start));

    start = Clock_::now();
    dlg.ReloadHistory();
    QApplication::processEvents();
    std::printf("ReloadHistory: %.0f ms, %zu entries\n", msSince(start), dlg.entries().size());

    // Keystrokes in the search field, each followed by the repaint the user waits for.
    auto* search = DialogTemplate::find<QLineEdit>(&dlg, CHistoryDlg::kSearchEdit);
    std::vector<double> times;
    const QString typed = QStringLiteral("wiśniewska");
    for (qsizetype n = 1; n <= typed.size(); ++n) {
        start = Clock_::now();
        search->setText(typed.left(n));
        QApplication::processEvents();
        times.push_back(msSince(start));
        std::printf("  keystroke \"%s\": %.1f ms, %zu listed\n", typed.left(n).toUtf8().constData(),
                    times.back(), dlg.listedEntries().size());
    }
    std::sort(times.begin(), times.end());
    std::printf("ApplyFilters per keystroke: median %.1f ms, worst %.1f ms\n",
                times[times.size() / 2], times.back());

    start = Clock_::now();
    search->clear();
    QApplication::processEvents();
    std::printf("ApplyFilters with no filter (all listed): %.1f ms\n", msSince(start));
    std::printf("peak memory (ru_maxrss): %ld MB\n", peakMegabytes());
    dlg.OnDestroy();
    return 0;
}
