#pragma once
// The main window on a small history in a temporary data folder, at a pinned clock.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <memory>

#include "AppPaths.h"
#include "AppSettings.h"
#include "AppTestSupport.h"
#include "CHistoryDlg.h"
#include "CHistoryListModel.h"
#include "CSatGraph.h"
#include "CUIInfoLabel.h"
#include "Clock.h"
#include "DialogTemplate.h"
#include "MessageBox.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

inline const QString kA = QStringLiteral("11111111111111111111111111");
inline const QString kB = QStringLiteral("22222222222222222222222222");

// Wednesday 2012-03-15, 10:00: before the noon at which operations are dated.
inline const int64_t kNow = LocalTime(2012, 3, 15, 10, 0, 0);

std::vector<TestOperation> sampleOperations();

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        Clock::pin(kNow);
        CreateDatabase(
            {{kA, QStringLiteral("Konto osobiste")}, {kB, QString::fromUtf8("Oszczędności")}},
            sampleOperations());
        m_store = std::make_unique<SettingsStore>(AppPaths::settingsFile());
        AppSettings::publish(m_store.get());
    }
    void TearDown() override {
        m_dlg.reset();
        AppSettings::publish(nullptr);
        Clock::unpin();
    }

    CHistoryDlg& open() {
        m_dlg = std::make_unique<CHistoryDlg>();
        EXPECT_TRUE(m_dlg->OnInitDialog());
        m_dlg->show();
        return *m_dlg;
    }
    template <class W>
    W* control(int id) const {
        return DialogTemplate::find<W>(m_dlg.get(), id);
    }
    std::vector<QString> column(int index) const {
        std::vector<QString> out;
        const QAbstractItemModel* model = m_dlg->listView()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            out.push_back(model->data(model->index(row, index)).toString());
        }
        return out;
    }
    std::vector<QString> titles() const { return column(CHistoryListModel::kTitle); }
    QString status() const { return m_dlg->statusLabel()->text(); }

    TempAppData m_appData;
    ScopedMessageBoxHandler m_boxes;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<CHistoryDlg> m_dlg;
};

using Titles = std::vector<QString>;

// Types text key by key, Polish letters included, so that every keystroke filters.
void typeText(QWidget* widget, const QString& text);
