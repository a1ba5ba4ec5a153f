// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>
#include <QListWidget>
#include <QSize>

// A list box whose items carry an icon from an image list and wrap over several lines; each item
// is as tall as its wrapped text (or its icon) plus 4 pixels. Items flagged disabled are drawn
// greyed and ignore double clicks.
class CListBoxST : public QListWidget {
    Q_OBJECT
public:
    // The item record, kept in the item's data.
    enum Role { ImageRole = Qt::UserRole + 100, TextFormatRole, FlagsRole };
    enum Flag { DisabledFlag = 0x1 };

    explicit CListBoxST(QWidget* parent = nullptr);

    // Adds the text at the end (or in sorted place when sorting) with image 0, no extra text
    // format and no flags; returns its row.
    int AddString(const QString& text);
    // The icons are copied; an empty list means the items have no icons (size 0 x 0).
    void SetImageList(const QList<QIcon>& images, const QSize& iconSize);
    // Empties the list.
    void DeleteAll();

    void SetItemImage(int row, int image);
    void SetItemFlags(int row, int flags);

    bool hasImages() const { return !m_images.isEmpty(); }
    const QList<QIcon>& images() const { return m_images; }
    QSize imageSize() const { return m_imageSize; }
    // Whether a row is drawn disabled (its flag, or the item itself disabled).
    bool isRowDisabled(int row) const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QList<QIcon> m_images;
    QSize m_imageSize{0, 0};
};
