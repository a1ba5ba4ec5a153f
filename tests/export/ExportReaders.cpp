#include "ExportReaders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>

namespace {

// Standard output, and standard error with a note when the program failed or is missing.
std::pair<QByteArray, QByteArray> run(const char* program, const QStringList& args) {
    const QString path = QStandardPaths::findExecutable(program);
    QProcess process;
    process.start(path, args);
    const bool ok = !path.isEmpty() && process.waitForFinished(60000) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return {process.readAllStandardOutput(),
            process.readAllStandardError() +
                (ok ? "" : QByteArray("\nERROR: ") + program + " failed or is not installed")};
}

}  // namespace

OfxDump RunOfxDump(const std::string& file) {
    const auto [out, err] = run("ofxdump", {QString::fromStdString(file)});
    OfxDump report;
    report.ran = !out.isEmpty();
    OfxDump::Block* block = nullptr;
    for (const QByteArray& line : out.split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (line.startsWith("ofx_proc_")) {
            block = line == "ofx_proc_transaction():" ? &report.transactions.emplace_back()
                    : line == "ofx_proc_statement():" ? &report.statement
                                                      : nullptr;
        } else if (block && colon > 0) {
            (*block)[line.left(colon).trimmed().toStdString()] = line.mid(colon + 2).toStdString();
        }
    }
    for (const QByteArray& line : err.split('\n')) {
        if (line.contains("ERROR") || (line.contains("WARNING") &&
                                       !line.contains("OpenSP cannot process an UTF-8 XML file"))) {
            report.problems.push_back(line.toStdString());
        }
    }
    return report;
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& file, std::string& error) {
    const char* script =
        "import csv, json, sys\n"
        "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
        "    json.dump(list(csv.reader(f, delimiter=';', strict=True)), sys.stdout)\n";
    const auto [out, err] = run("python3", {"-c", script, QString::fromStdString(file)});
    error = err.toStdString();
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : QJsonDocument::fromJson(out).array()) {
        rows.emplace_back();
        for (const auto& field : row.toArray()) {
            rows.back().push_back(field.toString().toStdString());
        }
    }
    return rows;
}
