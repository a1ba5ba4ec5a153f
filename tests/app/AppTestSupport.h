#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "LocalTime.h"

// A QApplication for the whole test program (the offscreen platform comes from the environment).
void EnsureApplication();

// Points "appdata" at a fresh temporary folder for the lifetime of the object.
class TempAppData {
public:
    TempAppData();
    ~TempAppData();
    std::filesystem::path root() const;
    std::filesystem::path dataFolder() const;  // root/TavroHistory (not created)

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

struct TestAccount {
    QString number;
    QString name;
};

struct TestOperation {
    QString counterpartyAccount;
    QString counterpartyName;
    QString title;
    double amount = 0;
    QString ownAccount;
    int32_t tid = 0;
    int32_t direction = 0;
    int64_t operationDate = 0;
    int64_t bookingDate = 0;
    int32_t kind = 0;
};

// Creates the data folder and a database with both tables and the given rows.
void CreateDatabase(const std::vector<TestAccount>& accounts,
                    const std::vector<TestOperation>& operations);
