#include "ExportReaders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <ctime>

namespace {

struct Run {
    bool ok = false;
    QByteArray out, err;
};

Run run(const char* program, const QStringList& args) {
    Run result;
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
    if (path.isEmpty()) {
        result.err = QByteArray(program) + " is not installed (scripts/setup-deps.sh)";
        return result;
    }
    QProcess process;
    process.start(path, args);
    result.ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
                process.exitCode() == 0;
    result.out = process.readAllStandardOutput();
    result.err += process.readAllStandardError();
    return result;
}

const char* const kPythonCsv =
    "import csv, json, sys\n"
    "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
    "    rows = list(csv.reader(f, delimiter=';', strict=True))\n"
    "json.dump(rows, sys.stdout)\n";

}  // namespace

OfxDump RunOfxDump(const std::string& file) {
    const Run dump = run("ofxdump", {QString::fromStdString(file)});
    OfxDump report;
    report.ran = dump.ok;
    OfxDump::Block* block = nullptr;
    for (const QByteArray& raw : dump.out.split('\n')) {
        const std::string line = raw.toStdString();
        if (line == "ofx_proc_transaction():") {
            block = &report.transactions.emplace_back();
        } else if (line == "ofx_proc_statement():") {
            block = &report.statement;
        } else if (line.rfind("ofx_proc_", 0) == 0) {
            block = nullptr;
        } else if (const size_t colon = line.find(": "); block && colon != std::string::npos) {
            std::string key = line.substr(0, colon);
            key.erase(0, key.find_first_not_of(' '));
            key.erase(key.find_last_not_of(' ') + 1);
            (*block)[key] = line.substr(colon + 2);
        }
    }
    for (const QByteArray& raw : dump.err.split('\n')) {
        const bool error = raw.contains("ERROR") || !dump.ok;
        const bool warning =
            raw.contains("WARNING") && !raw.contains("OpenSP cannot process an UTF-8 XML file");
        if ((error || warning) && !raw.isEmpty()) {
            report.problems.push_back(raw.toStdString());
        }
    }
    return report;
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& file, std::string& error) {
    const Run python = run("python3", {"-c", kPythonCsv, QString::fromStdString(file)});
    std::vector<std::vector<std::string>> rows;
    if (!python.ok) {
        error = python.err.toStdString();
        return rows;
    }
    for (const auto& row : QJsonDocument::fromJson(python.out).array()) {
        std::vector<std::string>& fields = rows.emplace_back();
        for (const auto& field : row.toArray()) {
            fields.push_back(field.toString().toStdString());
        }
    }
    return rows;
}

std::string OfxDumpTime(long long seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y %Z", &local));
}
