#pragma once

// Mouse clicks on the parts of an item view's row, for tests that drive
// lists and trees as an operator does.

#include <QAbstractItemView>
#include <QApplication>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

// The centre of the row's check box, as the view's style lays it out.
inline QPoint CheckBoxCentre(QAbstractItemView &view, const QModelIndex &index)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = view.visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    option.checkState = Qt::CheckState(index.data(Qt::CheckStateRole).toInt());
    const QRect box = view.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view);
    return box.center();
}

inline void ClickCheckBox(QAbstractItemView &view, const QModelIndex &index)
{
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, CheckBoxCentre(view, index));
}

// A click on the row's text, away from its check box.
inline void ClickRow(QAbstractItemView &view, const QModelIndex &index)
{
    const QRect r = view.visualRect(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.right() - 4, r.center().y()));
}

inline void DoubleClickRow(QAbstractItemView &view, const QModelIndex &index)
{
    const QRect r = view.visualRect(index);
    const QPoint at(r.right() - 4, r.center().y());
    // QTest's double click sends only the second press; an operator's sends a whole click first.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
}
