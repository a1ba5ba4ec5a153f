// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

// The band at the top of the about box: the program icon, the title with the version and a
// notice line, on a near-white background.
class CBanner : public QWidget {
    Q_OBJECT
public:
    static const QString kDefaultTitle;  // "Tavro History 2.7.0"
    static const QString kDefaultNotice;

    // Without an icon the application's window icon is shown.
    explicit CBanner(QWidget* parent = nullptr);
    CBanner(const QString& title, const QString& notice, const QIcon& icon,
            QWidget* parent = nullptr);

    QString title() const { return m_title; }
    QString notice() const { return m_notice; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QString m_notice;
    QIcon m_icon;
};
