// SPDX-License-Identifier: GPL-3.0-or-later
#include "CListBoxST.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;

QString itemText(const QModelIndex& index) {
    QString text = index.data(Qt::DisplayRole).toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool itemDisabled(const QModelIndex& index, const QStyleOptionViewItem& option) {
    return (index.data(CListBoxST::FlagsRole).toInt() & CListBoxST::DisabledFlag) != 0 ||
           !(option.state & QStyle::State_Enabled);
}

// Draws the items and gives their heights; the geometry comes from the list it belongs to.
class ItemDelegate : public QStyledItemDelegate {
public:
    explicit ItemDelegate(CListBoxST* list) : QStyledItemDelegate(list), m_list(list) {}

    // Width of the text beside the icon column.
    int textWidth(int itemWidth) const {
        const int column = m_list->hasImages() ? m_list->imageSize().width() + 6 : 0;
        return std::max(1, itemWidth - column);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int itemWidth = m_list->viewport()->width();
        const QFontMetrics metrics(option.font);
        int height = metrics
                         .boundingRect(QRect(0, 0, textWidth(itemWidth), 1 << 20), kTextFlags,
                                       itemText(index))
                         .height();
        if (m_list->hasImages()) {
            height = std::max(height, m_list->imageSize().height() + 4);
        }
        return QSize(itemWidth, height + 4);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool disabled = itemDisabled(index, option);
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QPalette& palette = option.palette;
        const QRect item = option.rect;
        QColor background = palette.color(QPalette::Base);
        QColor foreground = palette.color(QPalette::Text);
        if (disabled) {
            foreground = palette.color(QPalette::Disabled, QPalette::Text);
        } else if (selected) {
            background = palette.color(QPalette::Highlight);
            foreground = QColor::fromRgb(~foreground.rgb() & 0xFFFFFF);
        }

        painter->save();
        QRect textArea = item;
        if (m_list->hasImages()) {
            const QSize size = m_list->imageSize();
            const QRect column(item.left(), item.top(), size.width() + 6, item.height());
            painter->fillRect(column, selected && !disabled ? palette.color(QPalette::Highlight)
                                                            : palette.color(QPalette::Base));
            textArea.setLeft(column.right() + 1);
            const int image = index.data(CListBoxST::ImageRole).toInt();
            if (image >= 0 && image < m_list->images().size()) {
                m_list->images().at(image).paint(
                    painter, QRect(QPoint(column.left() + 3, item.top() + 2), size),
                    Qt::AlignCenter, disabled ? QIcon::Disabled : QIcon::Normal);
            }
        }
        painter->fillRect(textArea, background);

        const QString text = itemText(index);
        const int flags = kTextFlags | index.data(CListBoxST::TextFormatRole).toInt();
        painter->setFont(option.font);
        const QRect block = painter->fontMetrics().boundingRect(textArea, flags, text);
        QRect textBox = textArea;
        textBox.moveTop(item.top() + (item.height() - block.height()) / 2);
        painter->setPen(foreground);
        painter->drawText(textBox, flags, text);

        if ((option.state & QStyle::State_HasFocus) && !disabled) {
            QStyleOptionFocusRect focus;
            focus.initFrom(m_list);
            focus.rect = item;
            focus.backgroundColor = background;
            m_list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_list);
        }
        painter->restore();
    }

private:
    CListBoxST* m_list;
};

}  // namespace

CListBoxST::CListBoxST(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new ItemDelegate(this));
    setUniformItemSizes(false);
    setWordWrap(true);
    setResizeMode(QListView::Adjust);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int CListBoxST::AddString(const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setData(ImageRole, 0);
    item->setData(TextFormatRole, 0);
    item->setData(FlagsRole, 0);
    addItem(item);
    return row(item);
}

void CListBoxST::SetImageList(const QList<QIcon>& images, const QSize& iconSize) {
    m_images = images;
    m_imageSize = images.isEmpty() ? QSize(0, 0) : iconSize;
    doItemsLayout();
    viewport()->update();
}

void CListBoxST::DeleteAll() {
    clear();
}

void CListBoxST::SetItemImage(int row, int image) {
    if (QListWidgetItem* entry = item(row)) {
        entry->setData(ImageRole, image);
    }
}

void CListBoxST::SetItemFlags(int row, int flags) {
    if (QListWidgetItem* entry = item(row)) {
        entry->setData(FlagsRole, flags);
    }
}

bool CListBoxST::isRowDisabled(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry && ((entry->data(FlagsRole).toInt() & DisabledFlag) != 0 ||
                     !(entry->flags() & Qt::ItemIsEnabled));
}

void CListBoxST::mouseDoubleClickEvent(QMouseEvent* event) {
    const QListWidgetItem* entry = itemAt(event->position().toPoint());
    if (entry && isRowDisabled(row(entry))) {
        event->accept();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void CListBoxST::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    // Item heights depend on the width the text wraps in.
    doItemsLayout();
}
