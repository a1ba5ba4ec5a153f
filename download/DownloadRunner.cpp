// SPDX-License-Identifier: GPL-3.0-or-later
#include "DownloadRunner.h"

#include "CPluginLoader.h"
#include "DownloadTexts.h"
#include "DownloadUi.h"
#include "HostResult.h"
#include "JobPasswords.h"
#include "NotifyMessenger.h"
#include "SettingsStore.h"
#include "TextFormat.h"
#include "sqlite3x.h"

namespace {

// Jobs whose first number is shorter than this are skipped without a trace.
constexpr size_t kShortestAccount = 10;

DownloadRunner* runnerOf(HostContext* context) {
    return context ? static_cast<DownloadRunner*>(context->owner) : nullptr;
}

}  // namespace

// Nothing may leave a callback: it returns into the module's C code.
int32_t StoreOperation(HostContext* context, const OperationRecord* record) {
    DownloadRunner* runner = runnerOf(context);
    if (runner && record) {
        try {
            runner->storeOperation(*context, *record);
        } catch (...) {
        }
    }
    return 0;
}

void ReportProgress(HostContext* context, int32_t percent, const char16_t* text) {
    if (DownloadRunner* runner = runnerOf(context)) {
        try {
            runner->reportProgress(percent, text);
        } catch (...) {
        }
    }
}

DownloadRunner::DownloadRunner(const DownloadServices& services, DownloadRun run)
    : m_services(services),
      m_run(std::move(run)),
      m_store(services.database, [this](const std::u16string& line) { console(line); }) {}

void DownloadRunner::console(const std::u16string& line) {
    m_services.ui.consoleLine(line);
}

void DownloadRunner::run() {
    begin();
    for (size_t i = 0; i < m_run.jobs.size(); ++i) {
        try {
            if (!runJob(i, m_run.jobs[i])) {
                break;
            }
        } catch (const std::exception& e) {
            console(FormatText("\tBłąd pobierania: %s", e.what()));
        }
    }
    if (m_warnings) {
        m_services.ui.showWarnings();
    }
    end();
}

void DownloadRunner::begin() {
    DownloadUi& ui = m_services.ui;
    ui.enableMainWindow(false);
    ui.showProgressWindow(true);
    ui.setTaskbarState(DownloadUi::TaskbarState::Normal);
    m_count = static_cast<int32_t>(m_run.jobs.size());
    m_totalCount = 0;
    m_totalSum = 0.0;
    m_warnings = false;
}

void DownloadRunner::end() {
    DownloadUi& ui = m_services.ui;
    m_count = 0;
    m_index = 0;
    ui.enableMainWindow(true);
    ui.showProgressWindow(false);
    ui.downloadFinished();
    ui.setTaskbarState(DownloadUi::TaskbarState::NoProgress);
}

bool DownloadRunner::runJob(size_t index, const DownloadJob& job) {
    DownloadUi& ui = m_services.ui;
    m_index = static_cast<int32_t>(index);
    ui.enableCancel();
    ui.setProgressText(std::u16string());

    std::vector<const char16_t*> accounts;
    for (const std::u16string& account : job.accounts) {
        accounts.push_back(account.c_str());
    }
    HistoryQuery query{};
    query.size = sizeof(HistoryQuery);
    query.context.owner = this;
    query.user = job.user.c_str();
    query.accounts = accounts.data();
    query.accountCount = static_cast<int32_t>(accounts.size());
    query.onOperation = StoreOperation;
    query.onProgress = ReportProgress;
    query.days = job.days;
    query.options = job.options;

    const std::u16string first = job.accounts.empty() ? std::u16string() : job.accounts.front();
    const int32_t type = job.type > 0 ? job.type : m_services.loader.DetectModuleType(first);
    if (first.size() < kShortestAccount) {
        return true;
    }
    const std::optional<std::u16string> password =
        m_services.passwords ? m_services.passwords->passwordFor(job) : job.password;
    if (!password) {
        // Only this job is left out: the others' log-ons may still be answered.
        ui.addWarning(JobPasswords::MissingText(job.user));
        m_warnings = true;
        return true;
    }
    query.password = password->c_str();
    const int32_t result = runModule(type, query);
    announce(job, query.context);
    if (result < 0) {
        ui.addWarning(WarningText(first, result));
        if (m_storeFailure) {
            ui.addWarning(StorageWarningText(first, *m_storeFailure));
        }
        m_warnings = true;
    }
    if (result == ResultCode::Cancelled && index + 1 < m_run.jobs.size()) {
        return !ui.askYesNo(kCancelQuestion, kQuestionCaption);
    }
    return true;
}

// Operations delivered before a module failure are kept; a storage failure keeps nothing of
// the job, so no operation is left deleted without its new copy.
int32_t DownloadRunner::runModule(int32_t type, HistoryQuery& query) {
    m_store.reset();
    m_storeFailure.reset();
    int32_t result = HostResult::NoModule;
    try {
        sqlite3x::transaction transaction(m_services.database);
        m_services.loader.RunQueryHistory(type, &query, &result);
        if (!m_store.failed()) {
            transaction.commit();
            return result;
        }
        m_storeFailure = m_store.failureCode();
        console(u"\tWycofuję operacje konta " + OperationStore::AccountOf(query));
        transaction.rollback();
    } catch (const std::exception& e) {
        // A failed commit (disk full, I/O error, lock) is rolled back by the transaction.
        console(FormatText("\tBłąd bazy danych: %s", e.what()));
        if (!m_storeFailure) {
            const auto* database = dynamic_cast<const sqlite3x::database_error*>(&e);
            m_storeFailure = database ? database->code() : 0;
        }
    }
    query.context.newCount = 0;
    query.context.newSum = 0.0;
    return result < 0 ? result : HostResult::StoreFailed;
}

void DownloadRunner::announce(const DownloadJob& job, const HostContext& context) {
    const std::u16string name = job.names.empty() ? std::u16string() : job.names.front();
    const bool messenger = m_services.settings.GetInt(u"UseTondle", 0) != 0;
    if (context.newCount != 0 && messenger) {
        const std::u16string title = JobTitle(name);
        const std::u16string text = CountText(context.newCount, context.newSum);
        if (m_services.messenger) {
            m_services.messenger(title, text);
        } else {
            NotifyMessenger(title, text);
        }
        m_totalCount += context.newCount;
        m_totalSum += context.newSum;
    }
    if (m_totalCount != 0) {
        m_services.ui.showBalloon(RunTitle(), CountText(m_totalCount, m_totalSum));
    }
}

void DownloadRunner::storeOperation(HostContext& context, const OperationRecord& record) {
    // A record of another layout would be read past its end.
    if (record.size != static_cast<int32_t>(sizeof(OperationRecord))) {
        console(FormatText("\tOdrzucam rekord o rozmiarze %d", record.size));
        return;
    }
    const std::u16string account = OperationStore::AccountOf(*QueryFromContext(&context));
    if (m_store.store(account, record)) {
        context.newCount += 1;
        context.newSum += record.amount;
    }
}

void DownloadRunner::reportProgress(int32_t percent, const char16_t* text) {
    DownloadUi& ui = m_services.ui;
    ui.setUpperBar(percent);
    ui.setProgressText(text ? FormatText("Postęp: %d%%, ", percent) + text
                            : FormatText("Postęp: %d%%", percent));
    const int32_t overall = OverallProgress(m_index, m_count, percent);
    ui.setLowerBar(overall);
    ui.setTaskbarValue(overall);
}

int32_t DownloadRunner::OverallProgress(int32_t index, int32_t count, int32_t percent) {
    if (count <= 0) {
        return 0;
    }
    const int32_t step = 100 / count;
    return index * step + step * percent / 100;
}
