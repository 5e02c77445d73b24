#pragma once

#include <QString>
#include <QTreeView>
#include <QVariant>

#include <memory>

namespace ui {

class ImageList;

class ListView;
class ListViewModel;
struct ListRow;

// A sub-item (1-based) of a row: text, bold and fore colour of one cell.
class ListSubItem
{
public:
    QString Text() const;
    void setText(const QString &text);
    bool Bold() const;
    void setBold(bool bold);
    // BGR; -1 is the list's own colour.
    long ForeColor() const;
    void setForeColor(long bgr);

private:
    friend class ListItem;
    ListSubItem(ListViewModel *model, ListRow *row, int cell)
        : m_model(model)
        , m_row(row)
        , m_cell(cell)
    {}
    ListViewModel *m_model;
    ListRow *m_row;
    int m_cell;
};

// A row of the list: a handle that stays valid, also through sorting, until
// the row is removed. A null handle stands for Nothing; using it raises error 91.
class ListItem
{
public:
    ListItem() = default;
    bool isNull() const { return m_row == nullptr; }
    explicit operator bool() const { return m_row != nullptr; }
    friend bool operator==(const ListItem &a, const ListItem &b) { return a.m_row == b.m_row; }

    // Position in the list's current order, from 1.
    int Index() const;
    QString Text() const;
    void setText(const QString &text);
    // Sub-items are 1 to the number of columns - 1; any other index raises error 35600.
    QString SubItems(int index) const;
    void setSubItems(int index, const QString &text);
    ListSubItem ListSubItems(int index) const;
    // A value that sorts the cell (0 the main text, k the sub-item k) in place
    // of its text: a date, a number. Cells without one sort by text, before
    // the cells with one.
    QVariant SortValue(int index) const;
    void setSortValue(int index, const QVariant &value);
    // The row's image: 1-based in the list's SmallIcons; 0 for none.
    int SmallIcon() const;
    void setSmallIcon(int index);
    bool Checked() const;
    void setChecked(bool checked);
    bool Bold() const;
    void setBold(bool bold);
    long ForeColor() const;
    void setForeColor(long bgr);
    bool Selected() const;
    void setSelected(bool selected);
    void EnsureVisible();

private:
    friend class ListView;
    friend class ListItemCollection;
    ListItem(ListView *view, ListRow *row)
        : m_view(view)
        , m_row(row)
    {}
    ListRow &row() const;
    ListView *m_view = nullptr;
    ListRow *m_row = nullptr;
};

// The rows, addressed from 1 in the list's current order (the sorted order
// when the list is sorted).
class ListItemCollection
{
public:
    // A new last row (or, in a sorted list, the row takes its place in the order).
    ListItem Add(const QString &Text = {});
    void Clear();
    int Count() const;
    ListItem Item(int index) const; // error 35600 outside 1..Count
    ListItem operator()(int index) const { return Item(index); }

private:
    friend class ListView;
    explicit ListItemCollection(ListView *view)
        : m_view(view)
    {}
    ListView *m_view;
};

// A column header: caption, key and width; lengths in twips.
class ColumnHeader
{
public:
    int Index() const { return m_index; }
    QString Text() const;
    void setText(const QString &text);
    QString Key() const;
    // From the list's left edge: the widths of the columns before it.
    double Left() const;
    double Width() const;
    void setWidth(double twips);

private:
    friend class ColumnHeaderCollection;
    ColumnHeader(ListView *view, int index)
        : m_view(view)
        , m_index(index)
    {}
    ListView *m_view;
    int m_index;
};

class ColumnHeaderCollection
{
public:
    // Width in twips; a negative width is the platform's default of 1440.
    ColumnHeader Add(const QString &Text, const QString &Key = {}, double Width = -1);
    void Clear();
    int Count() const;
    ColumnHeader Item(int index) const; // error 35600 outside 1..Count
    ColumnHeader operator()(int index) const { return Item(index); }

private:
    friend class ListView;
    explicit ColumnHeaderCollection(ListView *view)
        : m_view(view)
    {}
    ListView *m_view;
};

enum ListSortOrderConstants : int { lvwAscending = 0, lvwDescending = 1 };

// A report list: one row per record over a table model of plain records (no
// object per cell), column headers, check boxes, one selected row (the first
// row given to an empty list, until something else is selected), sorting by
// text without regard to case. Rows added are shown in one go, when the event
// loop next runs or when something asks for the list's order or selection, so
// many rows go in at the cost of one insertion. Cells cannot be edited and the
// list does no type-ahead of its own.
class ListView : public QTreeView
{
    Q_OBJECT
public:
    explicit ListView(QWidget *parent = nullptr);
    ~ListView() override;

    ListItemCollection &ListItems() { return m_items; }
    ColumnHeaderCollection &ColumnHeaders() { return m_headers; }

    bool Checkboxes() const;
    void setCheckboxes(bool on);

    // The images the rows show in report view (not owned).
    const ImageList *SmallIcons() const;
    void setSmallIcons(const ImageList *images);

    // Sorted sorts the rows by the column SortKey (0 is the main text, k the
    // sub-item k) in SortOrder; changing either while sorted sorts again.
    bool Sorted() const;
    void setSorted(bool sorted);
    int SortKey() const;
    void setSortKey(int key);
    int SortOrder() const;
    void setSortOrder(int order);

    // The selected row; null when none.
    ListItem SelectedItem() const;
    void setSelectedItem(const ListItem &item);

    // Painting held (the window validated) and released (invalidated): while
    // held the list shows nothing new.
    void ValidateRect();
    void InvalidateRect();

signals:
    // Position of the clicked column, from 1.
    void ColumnClick(int position);
    void DblClick();
    // A handler that sets KeyCode to 0 keeps the list from acting on the key.
    void KeyDown(int &KeyCode, int Shift);
    // The character the key types (8 for Backspace), after KeyDown let the key
    // pass; a key that types nothing sends none. A handler that sets it to 0
    // keeps the list from acting on the key.
    void KeyPress(int &KeyAscii);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyboardSearch(const QString &search) override;

private:
    friend class ListItem;
    friend class ListSubItem;
    friend class ListItemCollection;
    friend class ColumnHeader;
    friend class ColumnHeaderCollection;

    void headerResized(int logical, int oldSize, int newSize);
    void applyWidth(int column);
    void toggleSelectedCheck();

    ListViewModel *m_model;
    ListItemCollection m_items{this};
    ColumnHeaderCollection m_headers{this};
    bool m_settingWidth = false;
};

} // namespace ui
