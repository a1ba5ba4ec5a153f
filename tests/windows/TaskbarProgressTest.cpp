#include "CUIDialog.h"
#include "TaskbarProgress.h"

#include <gtest/gtest.h>

#include <QDBusConnection>

namespace {

QDBusConnection noBus() {
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tavro-bus"),
                                         QStringLiteral("tavro-no-bus"));
}

TEST(TaskbarProgress, WithoutABusEveryCallFails) {
    TaskbarProgress taskbar(noBus());
    EXPECT_FALSE(taskbar.isAvailable());
    EXPECT_FALSE(taskbar.setState(TaskbarProgress::Normal));
    EXPECT_FALSE(taskbar.setProgress(40));
    EXPECT_DOUBLE_EQ(0.4, taskbar.progress());
    EXPECT_TRUE(taskbar.progressVisible());
    taskbar.setState(TaskbarProgress::NoProgress);
    EXPECT_FALSE(taskbar.progressVisible());
    taskbar.setProgress(250);
    EXPECT_DOUBLE_EQ(1.0, taskbar.progress());
}

TEST(TaskbarProgress, DialogWithoutTaskbarOrAfterItEndedReturnsFalse) {
    CUIDialog dialog;
    dialog.setTaskbarProgress(std::make_unique<TaskbarProgress>(noBus()));
    EXPECT_FALSE(dialog.SetTaskbarProgress(10));
    EXPECT_FALSE(dialog.SetTaskbarProgressState(TaskbarProgress::Normal));
    dialog.setTaskbarProgress(nullptr);
    EXPECT_FALSE(dialog.SetTaskbarProgress(10));
    dialog.done(0);
    EXPECT_FALSE(dialog.SetTaskbarProgress(10));
    EXPECT_FALSE(dialog.SetTaskbarProgressState(TaskbarProgress::NoProgress));
}

}  // namespace
