// SPDX-License-Identifier: GPL-3.0-or-later
// Renders every window of the program with sample data, so that their look can be reviewed
// without a display:
//   tavro-screens [output folder]        (default <build>/screens)
//   tavro-screens --database FILE [output folder]
//                                        the same with the history of a database file (a copy;
//                                        the README's pictures come from the demo's history)
//   tavro-screens --grab-screen FILE     a picture of the whole screen of a running display
//                                        (for checking the demo under xvfb-run)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <random>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include "AppIcon.h"
#include "AppPaths.h"
#include "CAboutDlg.h"
#include "CBanner.h"
#include "CHistoryDlg.h"
#include "CHistoryListModel.h"
#include "CWndAccountManager.h"
#include "CWndConsole.h"
#include "CWndCsvProfile.h"
#include "CWndDetails.h"
#include "CWndExport.h"
#include "CWndImport.h"
#include "CWndImportPage.h"
#include "CWndImportUndo.h"
#include "CWndNRBCalc.h"
#include "CWndOptions.h"
#include "CWndProgress.h"
#include "CWndSelector.h"
#include "CWndWarnings.h"
#include "Clock.h"
#include "DialogTemplate.h"
#include "PolishLocale.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

namespace {

int64_t localNoon(int year, int month, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&t));
}

void fillSampleDatabase() {
    sqlite3x::connection con;
    Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    sqlite3x::transaction tx(con);
    const std::u16string accounts[][2] = {{u"12114020040000300201355387", u"Konto osobiste"},
                                          {u"40105000997603123456789123", u"Oszczędności"}};
    for (const auto& account : accounts) {
        sqlite3x::command cmd(con, Schema::kInsertAccount);
        cmd.bind_text(1, account[0]);
        cmd.bind_text(2, u"jan.kowalski");
        cmd.bind_text(3, account[1]);
        cmd.bind_text(4, u"haslo");
        cmd.bind_int(5, 0);
        cmd.execute();
    }
    struct Sample {
        const char16_t* name;
        const char16_t* title;
        double low;
        double high;
        int kind;
    };
    const Sample samples[] = {
        {u"Ślęża Sp. z o.o.", u"Wynagrodzenie za miesiąc", 4200, 4800, 1},
        {u"Dyskont Oszczędek Wrocław", u"Zakupy kartą", -260, -18, 9},
        {u"Błękitny Płomień Gaz", u"Rachunek za gaz", -190, -80, 2},
        {u"Odrzańska Energia", u"Opłata za energię elektryczną", -210, -120, 2},
        {u"Bankomaty Dukat", u"Wypłata gotówki", -400, -100, 10},
        {u"Jan Nowak", u"Zwrot za bilety do kina", 40, 90, 1},
        {u"Mewa Telekom", u"Doładowanie telefonu", -50, -25, 13},
        {u"Wspólnota Mieszkaniowa", u"Czynsz za mieszkanie", -780, -780, 3},
        {u"Prowizja", u"Opłata za prowadzenie rachunku", -9, -9, 11},
    };
    std::mt19937 random(5);
    int tid = 1000;
    for (int month = 0; month < 14; ++month) {
        const int year = 2011 + (month + 1) / 12;
        const int monthOfYear = (month + 1) % 12 + 1;
        for (int i = 0; i < 9; ++i) {
            const Sample& s = samples[random() % std::size(samples)];
            const double amount =
                s.low + (s.high - s.low) * static_cast<double>(random() % 1000) / 1000.0;
            const int64_t date = localNoon(year, monthOfYear, 1 + static_cast<int>(random() % 14));
            sqlite3x::command cmd(con, Schema::kInsertOperation);
            cmd.bind_text(1, u"76102010420000310200123456");
            cmd.bind_text(2, s.name);
            cmd.bind_text(3, s.title);
            cmd.bind_double(4, static_cast<double>(static_cast<int64_t>(amount * 100)) / 100.0);
            cmd.bind_int(5, tid++);
            cmd.bind_int(6, amount > 0 ? 1 : 0);
            cmd.bind_int64(7, date);
            cmd.bind_int64(8, date);
            cmd.bind_text(9, accounts[random() % 2][0]);
            cmd.bind_text(10, u"");
            cmd.bind_int(11, s.kind);
            cmd.execute();
        }
    }
    tx.commit();
}

bool save(QWidget* widget, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = folder.filePath(name);
    const bool saved = widget->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", path.toUtf8().constData());
    return saved;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A bank's CSV history in the layout with separate debit and credit columns.
QByteArray bankCsv() {
    return QStringLiteral(
               "Numer rachunku/karty,Data transakcji,Data rozliczenia,Rodzaj transakcji,"
               "Na konto/Z konta,Odbiorca/Zleceniodawca,Opis,Obciążenia,Uznania,Saldo,Waluta\n"
               "27114020040000300201355387,2012-04-02,2012-04-02,Przelew,"
               "76102010420000310200123456,Wspólnota Mieszkaniowa,Czynsz za kwiecień,-780.00,,"
               "4375.80,PLN\n"
               "27114020040000300201355387,2012-04-05,2012-04-06,Płatność kartą,,"
               "Dyskont Oszczędek Wrocław,Zakupy,-126.45,,4249.35,PLN\n"
               "27114020040000300201355387,2012-04-10,2012-04-10,Przelew przychodzący,"
               "40105000997603123456789123,Jan Nowak,Zwrot za bilety,,64.00,4313.35,PLN\n")
        .toUtf8();
}

// The import window over a small statement and a bank's CSV of another account (only
// previewed: the database is never changed), the CSV profile window and the list of imports.
template <class Render>
bool saveImportWindows(CHistoryDlg& dlg, const Render& render) {
    QTemporaryDir dir;
    const QString csvPath = dir.filePath(QStringLiteral("historia-2012-04.csv"));
    QFile file(dir.filePath(QStringLiteral("wyciag-2012-03.sta")));
    if (!writeFile(csvPath, bankCsv()) || !file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(QStringLiteral(":20:2012/03\r\n:25:/PL27114020040000300201355387\r\n"
                              ":28C:3/1\r\n:60F:C120301PLN1520,00\r\n"
                              ":61:1203050305D84,20NMSCNONREF\r\n"
                              ":86:~20Zakupy w sklepie~32Dyskont Oszczędek Wrocław\r\n"
                              ":61:1203100310C4500,00NMSCNONREF\r\n"
                              ":86:~20Wynagrodzenie za marzec~32Ślęża Sp. z o.o.\r\n"
                              ":61:1203150315D780,00NMSCNONREF\r\n"
                              ":86:~20Czynsz za mieszkanie~32Wspólnota Mieszkaniowa\r\n"
                              ":62F:C120331PLN5155,80\r\n-\r\n")
                   .toUtf8());
    file.close();
    CWndImport import(dlg.connection(),
                      dir.filePath(QStringLiteral("CsvProfiles.json")).toStdString(), &dlg);
    if (import.addFiles({file.fileName(), csvPath}) != 2 || !import.page(1)->profile()) {
        return false;
    }
    render(import, "import.png");
    DialogTemplate::find<QTabWidget>(&import, CWndImport::kTabs)->setCurrentIndex(1);
    render(import, "import-csv.png");
    CWndCsvProfile profile(
        *import.page(1)->profile(), bankCsv().toStdString(),
        [](const CsvProfile&) { return std::nullopt; }, &dlg);
    render(profile, "csv-profile.png");
    CWndImportUndo undo(dlg.connection(), &dlg);
    render(undo, "import-undo.png");
    return true;
}

// The companions and the auxiliary windows, each with what it shows in use.
bool saveWindows(CHistoryDlg& dlg, SettingsStore& settings, const QDir& out) {
    bool ok = true;
    const auto render = [&](QWidget& window, const char* name) {
        window.show();
        ok &= save(&window, out, QString::fromLatin1(name));
        window.hide();
    };
    CWndAccountManager manager(dlg.connection(), dlg.loader(), &dlg);
    render(manager, "account-manager.png");
    const HistoryEntries& entries = dlg.entries();
    if (!entries.empty()) {
        CWndDetails details(CWndDetails::FromEntry(entries.at(0)), &dlg);
        render(details, "details.png");
    }
    CWndExport exportWindow(&dlg);
    render(exportWindow, "export.png");
    CWndSelector selector(dlg.connection(), settings, &dlg);
    render(selector, "selector.png");
    ok &= saveImportWindows(dlg, render);
    CWndNRBCalc check(&dlg);
    render(check, "nrb-check.png");
    CWndOptions options(settings, &dlg);
    render(options, "options.png");

    CWndProgress* progress = dlg.progress();
    progress->show();
    progress->setUpperBar(40);
    progress->setLowerBar(20);
    progress->setText(QStringLiteral("Postęp: 40%, Pobieranie szczegółów operacji 12 z 30"));
    ok &= save(progress, out, QStringLiteral("progress.png"));
    progress->hide();

    CWndWarnings* warnings = dlg.warnings();
    const QString warning = QStringLiteral(
        "OSTRZEŻENIE: Podczas próby pobrania historii operacji z konta\r\n'%1' wystąpił "
        "błąd o kodzie %2, co oznacza:\r\n%3");
    warnings->addWarning(
        warning.arg(QStringLiteral("12114020040000300201355387"))
            .arg(4)
            .arg(QStringLiteral("błąd logowania (nieprawidłowe dane autoryzacji)")));
    warnings->addWarning(warning.arg(QStringLiteral("40105000997603123456789123"))
                             .arg(8)
                             .arg(QStringLiteral("użytkownik przerwał operację")));
    warnings->show();
    ok &= save(warnings, out, QStringLiteral("warnings.png"));
    warnings->hide();
    return ok;
}

// Under a real display server: the whole screen as it is now.
int grabScreen(int argc, char* argv[], const QString& file) {
    QGuiApplication application(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fprintf(stderr, "no screen\n");
        return 1;
    }
    const bool saved = screen->grabWindow(0).save(file);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", file.toUtf8().constData());
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--grab-screen") {
        return grabScreen(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(AppIcon::program());
    PolishLocale::install(application);
    QStringList arguments = QApplication::arguments().mid(1);
    QString database;
    if (arguments.size() >= 2 && arguments.front() == QStringLiteral("--database")) {
        database = arguments.at(1);
        arguments = arguments.mid(2);
    }
    const QDir out(arguments.isEmpty() ? QStringLiteral(TAVRO_SCREENS_DIR) : arguments.front());
    QDir().mkpath(out.path());
    QTemporaryDir appData;
    qputenv("appdata", appData.path().toLocal8Bit());
    AppPaths::ensureDataFolder();
    if (database.isEmpty()) {
        fillSampleDatabase();
        Clock::pin(localNoon(2012, 3, 15));
    } else if (!QFile::copy(database, QString::fromStdString(AppPaths::databaseFile().string()))) {
        std::fprintf(stderr, "cannot copy %s\n", database.toUtf8().constData());
        return 1;
    }
    SettingsStore settings(AppPaths::settingsFile());

    bool ok = true;
    CHistoryDlg dlg;
    if (!dlg.OnInitDialog()) {
        std::fprintf(stderr, "the sample database could not be opened\n");
        return 1;
    }
    dlg.show();
    ok &= save(&dlg, out, QStringLiteral("main-list.png"));
    DialogTemplate::find<QComboBox>(&dlg, CHistoryDlg::kViewCombo)->setCurrentIndex(1);
    ok &= save(&dlg, out, QStringLiteral("main-graph.png"));

    DialogTemplate::find<QComboBox>(&dlg, CHistoryDlg::kViewCombo)->setCurrentIndex(0);

    dlg.OnShowConsole();
    ok &= save(dlg.console(), out, QStringLiteral("console.png"));
    dlg.console()->hide();
    ok &= saveWindows(dlg, settings, out);

    CAboutDlg about(&dlg);
    about.show();
    ok &= save(&about, out, QStringLiteral("about.png"));
    CBanner banner;
    banner.resize(about.width(), 60);
    banner.show();
    ok &= save(&banner, out, QStringLiteral("banner.png"));
    dlg.OnDestroy();
    return ok ? 0 : 1;
}
