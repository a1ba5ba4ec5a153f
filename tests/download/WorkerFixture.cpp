// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerFixture.h"

#include <cstdio>
#include <sstream>

#include "NotifyMessenger.h"

WorkerFixture::WorkerFixture()
    : m_settings(m_folder.path() / "TavroHistory.config"),
      m_loader([this](const std::u16string& line) { m_ui.consoleLine(line); }, m_folder.path()) {
    m_folder.addModule("scripted");
    m_loader.ScanModules();
    Schema::OpenDatabase(m_db, (m_folder.path() / "masterDatabase.sq3").u16string(),
                         [](const std::u16string&) {});
    m_settings.SetInt(u"UseTondle", 1);
    MessengerNotifier recorder = [this](const std::u16string& title, const std::u16string& text) {
        m_notes.emplace_back(title, text);
    };
    DownloadServices services{m_db, m_loader, m_settings, m_ui, nullptr};
    services.messenger = [this, recorder](const std::u16string& title, const std::u16string& text) {
        if (m_realMessenger) {
            NotifyMessenger(title, text);
        } else {
            recorder(title, text);
        }
    };
    m_worker = std::make_unique<DownloadWorker>(services);
}

WorkerFixture::~WorkerFixture() {
    m_worker.reset();
}

void WorkerFixture::script(const std::string& user, const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) {
        content += line + "\n";
    }
    m_folder.write("banki/script-" + user + ".txt", content);
}

std::string WorkerFixture::op(int32_t tid, double amount, const std::string& name,
                              const std::string& title, const std::string& cpAccount) {
    char amountText[64];
    std::snprintf(amountText, sizeof amountText, "%.2f", amount);
    std::ostringstream line;
    line << "op\t" << tid << '\t' << (amount >= 0 ? 1 : 0) << "\t3\t" << amountText << '\t'
         << 1700000000 + tid << '\t' << 1700086400 + tid << '\t' << cpAccount << '\t' << name
         << '\t' << title;
    return line.str();
}

DownloadJob WorkerFixture::job(const std::u16string& user, std::vector<std::u16string> accounts,
                               std::vector<std::u16string> names) {
    DownloadJob job;
    job.user = user;
    job.password = u"hasło";
    job.accounts = std::move(accounts);
    job.names = std::move(names);
    job.days = 30;
    return job;
}

void WorkerFixture::download(std::vector<DownloadJob> jobs) {
    ASSERT_TRUE(m_worker->start(DownloadRun{std::move(jobs)}));
    m_worker->join();
    ASSERT_FALSE(m_worker->isRunning());
}

std::vector<StoredRow> WorkerFixture::rows() {
    std::vector<StoredRow> out;
    sqlite3x::command select(m_db, "SELECT * FROM transactions ORDER BY t_to_acc, t_tid");
    sqlite3x::reader r = select.execute_reader();
    while (r.read()) {
        StoredRow row;
        row.id = r.get_int64(u"t_id");
        row.fromAcc = r.get_string(u"t_from_acc");
        row.fromName = r.get_string(u"t_from_name");
        row.desc = r.get_string(u"t_desc");
        row.amount = r.get_double(u"t_amount");
        row.toAcc = r.get_string(u"t_to_acc");
        row.tid = r.get_int(u"t_tid");
        row.tio = r.get_int(u"t_tio");
        row.date1 = r.get_int64(u"t_date1");
        row.date2 = r.get_int64(u"t_date2");
        row.kind = r.get_int(u"t_class");
        row.user = r.get_string(u"t_user");
        out.push_back(row);
    }
    return out;
}

std::vector<std::string> WorkerFixture::calls() {
    std::vector<std::string> out;
    std::istringstream log(m_folder.read("banki/calls.log"));
    for (std::string line; std::getline(log, line);) {
        out.push_back(line);
    }
    return out;
}
