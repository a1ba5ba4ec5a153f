// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QPainter;

// Monthly income and outgo as pairs of bars with a value scale, a title line and, while the
// mouse is over a bar, a line with that month's figures.
class CSatGraph : public QWidget {
    Q_OBJECT
public:
    struct Point {
        float income = 0;
        float outgo = 0;
        QString label;
        // Written by each painting (empty before), read by the mouse tracking.
        QRect incomeRect;
        QRect outgoRect;
    };

    static constexpr int kGap = 7;
    static constexpr int kOutgoOffset = 3;
    static constexpr int kLeftMargin = 64;
    static constexpr int kRightMargin = 5;
    static constexpr int kTopMargin = 45;
    static constexpr int kBottomMargin = 5;

    explicit CSatGraph(QWidget* parent = nullptr);

    void Clear();
    void AddPoint(float income, float outgo, const QString& label);
    // The title line (the window text of the control).
    void SetTitle(const QString& title);
    QString title() const { return m_title; }

    const std::vector<Point>& points() const { return m_points; }
    int hoveredPoint() const { return m_hovered; }
    QString hoverText() const;
    // The value scale, bottom up: "%.1f" with a decimal comma, one per grid line (none when
    // nothing is drawn).
    QStringList scaleTexts() const;
    // Width of a month slot for the current size and points (0 without points).
    float slotWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void paintBackground(QPainter& painter) const;
    void paintBars(QPainter& painter, float maximum, bool income);
    void paintTexts(QPainter& painter) const;
    bool hasBars() const;
    float maximum() const;

    std::vector<Point> m_points;
    QString m_title;
    int m_hovered = -1;
};
