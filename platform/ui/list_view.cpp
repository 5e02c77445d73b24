#include "platform/ui/list_view.h"

#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/image_list.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/ui.h"
#include "platform/ui/units.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {

struct ListCell
{
    QString text;
    bool bold = false;
    long foreColor = -1;
    QVariant sortValue; // sorts the cell instead of its text when set
};

struct ListRow
{
    QList<ListCell> cells; // 0 is the main text, k the sub-item k
    bool checked = false;
    int pos = 0;       // in the current order, from 0
    int smallIcon = 0; // 1-based in the small-icon list; 0 none
};

// Order of two cells: by their sort values when both carry one of the same
// kind, else by text without regard to case. A cell without a value (a Null
// among numbers) comes before every cell with one, as the server puts Nulls.
static int CompareCells(const ListCell *a, const ListCell *b)
{
    static const ListCell none;
    const ListCell &ca = a ? *a : none;
    const ListCell &cb = b ? *b : none;
    if (ca.sortValue.isValid() != cb.sortValue.isValid())
        return ca.sortValue.isValid() ? 1 : -1;
    if (ca.sortValue.isValid()) {
        const QPartialOrdering order = QVariant::compare(ca.sortValue, cb.sortValue);
        if (order == QPartialOrdering::Less)
            return -1;
        if (order == QPartialOrdering::Greater)
            return 1;
        if (order == QPartialOrdering::Equivalent)
            return 0;
    }
    return vb::StrCompText(ca.text, cb.text);
}

// The order of the sort column; equal cells keep their order.
struct RowLess
{
    int key;
    bool descending;
    bool operator()(const std::unique_ptr<ListRow> &a, const std::unique_ptr<ListRow> &b) const
    {
        const ListCell *ca = key < a->cells.size() ? &a->cells[key] : nullptr;
        const ListCell *cb = key < b->cells.size() ? &b->cells[key] : nullptr;
        return descending ? CompareCells(cb, ca) < 0 : CompareCells(ca, cb) < 0;
    }
};

// The rows in their current order. Rows added are announced to the view in
// one go (settle); in a sorted list they also take their places then.
class ListViewModel : public QAbstractTableModel
{
public:
    struct Column
    {
        QString text;
        QString key;
        double twips = 1440;
    };

    explicit ListViewModel(QObject *parent)
        : QAbstractTableModel(parent)
    {}

    std::vector<std::unique_ptr<ListRow>> rows;
    std::vector<Column> columns;
    int announced = 0; // rows the view knows of
    int inOrder = 0;   // rows [0, inOrder) stand in the sort order
    bool checkboxes = false;
    bool sorted = false;
    int sortKey = 0;
    int sortOrder = lvwAscending;
    bool held = false;
    bool flushQueued = false;
    const ImageList *smallIcons = nullptr;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : announced; }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(columns.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= announced)
            return {};
        const ListRow &row = *rows[size_t(index.row())];
        const int c = index.column();
        if (role == Qt::CheckStateRole)
            return (checkboxes && c == 0) ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
        if (role == Qt::DecorationRole) {
            if (c != 0 || !smallIcons || row.smallIcon < 1 || row.smallIcon > smallIcons->Count())
                return {};
            return smallIcons->ListImages(row.smallIcon).Picture;
        }
        if (c >= row.cells.size())
            return {};
        const ListCell &cell = row.cells[c];
        switch (role) {
        case Qt::DisplayRole:
            return cell.text;
        case Qt::FontRole:
            if (cell.bold) {
                QFont f;
                f.setBold(true);
                return f;
            }
            return {};
        case Qt::ForegroundRole:
            return cell.foreColor >= 0 ? QVariant(QBrush(FromBGR(cell.foreColor))) : QVariant();
        default:
            return {};
        }
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        // Only the user's tick reaches the model this way; cells are not editable.
        if (role != Qt::CheckStateRole || !checkboxes || index.column() != 0 || index.row() >= announced)
            return false;
        rows[size_t(index.row())]->checked = value.toInt() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (checkboxes && index.column() == 0)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < int(columns.size()))
            return columns[size_t(section)].text;
        return {};
    }

    // ---- rows ----

    ListRow *append(const QString &text)
    {
        auto row = std::make_unique<ListRow>();
        row->cells.append(ListCell{text, false, -1, {}});
        row->pos = int(rows.size());
        rows.push_back(std::move(row));
        if (!sorted)
            inOrder = int(rows.size());
        scheduleFlush();
        return rows.back().get();
    }

    void clearRows()
    {
        beginResetModel();
        rows.clear();
        announced = 0;
        inOrder = 0;
        endResetModel();
    }

    void announce()
    {
        if (announced >= int(rows.size()))
            return;
        beginInsertRows({}, announced, int(rows.size()) - 1);
        announced = int(rows.size());
        endInsertRows();
    }

    // The rows in order and known to the view.
    void settle()
    {
        announce();
        if (sorted && inOrder < int(rows.size()))
            relayout([this] {
                // A few new rows find their places; many are sorted in with the rest.
                if (int(rows.size()) - inOrder > 16) {
                    sortKeyed();
                    return;
                }
                for (auto at = rows.begin() + inOrder; at != rows.end(); ++at) {
                    auto place = std::upper_bound(rows.begin(), at, *at, less());
                    std::rotate(place, at, at + 1);
                }
            });
        inOrder = int(rows.size());
    }

    void sortAll()
    {
        announce();
        relayout([this] { sortKeyed(); });
        inOrder = int(rows.size());
    }

    void scheduleFlush()
    {
        if (flushQueued || held)
            return;
        flushQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                flushQueued = false;
                settle();
            },
            Qt::QueuedConnection);
    }

    void cellChanged(const ListRow &row, int cell, int role)
    {
        if (held || row.pos >= announced || cell >= int(columns.size()))
            return;
        const QModelIndex i = index(row.pos, cell);
        emit dataChanged(i, i, {role});
    }

    // ---- columns ----

    void addColumn(Column column)
    {
        const int at = int(columns.size());
        beginInsertColumns({}, at, at);
        columns.push_back(std::move(column));
        endInsertColumns();
    }

    void clearColumns()
    {
        if (columns.empty())
            return;
        beginRemoveColumns({}, 0, int(columns.size()) - 1);
        columns.clear();
        endRemoveColumns();
    }

    void setCheckboxes(bool on)
    {
        if (on == checkboxes)
            return;
        checkboxes = on;
        if (announced > 0 && !columns.empty())
            emit dataChanged(index(0, 0), index(announced - 1, 0), {Qt::CheckStateRole});
    }

private:
    RowLess less() const { return RowLess{sortKey, sortOrder == lvwDescending}; }

    // The whole list in the order of RowLess, each text folded once rather
    // than at every comparison.
    void sortKeyed()
    {
        std::vector<QString> keys;
        keys.reserve(rows.size());
        bool values = false; // some cell of the column sorts by its value
        for (const auto &row : rows) {
            const bool has = sortKey < row->cells.size();
            keys.push_back(has ? row->cells[sortKey].text.toCaseFolded() : QString());
            values = values || (has && row->cells[sortKey].sortValue.isValid());
        }
        std::vector<size_t> order(rows.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        const bool descending = sortOrder == lvwDescending;
        const RowLess byCells = less();
        if (values)
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return byCells(rows[a], rows[b]); });
        else
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
                return descending ? keys[b] < keys[a] : keys[a] < keys[b];
            });
        std::vector<std::unique_ptr<ListRow>> sortedRows;
        sortedRows.reserve(rows.size());
        for (size_t i : order)
            sortedRows.push_back(std::move(rows[i]));
        rows = std::move(sortedRows);
    }

    template<typename Reorder>
    void relayout(Reorder reorder)
    {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        std::vector<std::pair<ListRow *, int>> kept;
        kept.reserve(size_t(before.size()));
        for (const QModelIndex &i : before)
            kept.emplace_back(i.isValid() ? rows[size_t(i.row())].get() : nullptr, i.column());
        reorder();
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i]->pos = int(i);
        QModelIndexList after;
        after.reserve(before.size());
        for (const auto &[row, column] : kept)
            after.append(row ? index(row->pos, column) : QModelIndex());
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
};

namespace {

[[noreturn]] void outOfBounds()
{
    Raise(vberr::IndexOutOfBounds);
}

int toPixels(double twips)
{
    return TwipsToPixels(int(std::lround(twips)));
}

} // namespace

// ---- ListSubItem ----

QString ListSubItem::Text() const
{
    const QList<ListCell> &cells = m_row->cells; // read without a detach check
    return m_cell < cells.size() ? cells[m_cell].text : QString();
}

void ListSubItem::setText(const QString &text)
{
    while (m_row->cells.size() <= m_cell)
        m_row->cells.append(ListCell{});
    m_row->cells[m_cell].text = text;
    m_model->cellChanged(*m_row, m_cell, Qt::DisplayRole);
}

bool ListSubItem::Bold() const
{
    return m_cell < m_row->cells.size() && m_row->cells[m_cell].bold;
}

void ListSubItem::setBold(bool bold)
{
    while (m_row->cells.size() <= m_cell)
        m_row->cells.append(ListCell{});
    m_row->cells[m_cell].bold = bold;
    m_model->cellChanged(*m_row, m_cell, Qt::FontRole);
}

long ListSubItem::ForeColor() const
{
    return m_cell < m_row->cells.size() ? m_row->cells[m_cell].foreColor : -1;
}

void ListSubItem::setForeColor(long bgr)
{
    while (m_row->cells.size() <= m_cell)
        m_row->cells.append(ListCell{});
    m_row->cells[m_cell].foreColor = bgr;
    m_model->cellChanged(*m_row, m_cell, Qt::ForegroundRole);
}

// ---- ListItem ----

ListRow &ListItem::row() const
{
    if (!m_row)
        Raise(vberr::ObjectNotSet);
    return *m_row;
}

int ListItem::Index() const
{
    ListRow &r = row();
    m_view->m_model->settle();
    return r.pos + 1;
}

QString ListItem::Text() const
{
    return ListSubItems(0).Text();
}
void ListItem::setText(const QString &text)
{
    ListSubItems(0).setText(text);
}

ListSubItem ListItem::ListSubItems(int index) const
{
    ListRow &r = row();
    // Cell 0 is the main text; sub-items run from 1 to the last column.
    if (index < 0 || (index > 0 && index >= int(m_view->m_model->columns.size())))
        outOfBounds();
    return ListSubItem(m_view->m_model, &r, index);
}

QString ListItem::SubItems(int index) const
{
    if (index < 1)
        outOfBounds();
    return ListSubItems(index).Text();
}

void ListItem::setSubItems(int index, const QString &text)
{
    if (index < 1)
        outOfBounds();
    ListSubItems(index).setText(text);
}

QVariant ListItem::SortValue(int index) const
{
    ListRow &r = row();
    if (index < 0 || index >= r.cells.size())
        return {};
    return r.cells[index].sortValue;
}

void ListItem::setSortValue(int index, const QVariant &value)
{
    ListRow &r = row();
    if (index < 0 || index >= int(m_view->m_model->columns.size()))
        outOfBounds();
    while (r.cells.size() <= index)
        r.cells.append(ListCell());
    r.cells[index].sortValue = value;
}

int ListItem::SmallIcon() const
{
    return row().smallIcon;
}

void ListItem::setSmallIcon(int index)
{
    ListRow &r = row();
    r.smallIcon = index;
    m_view->m_model->cellChanged(r, 0, Qt::DecorationRole);
}

bool ListItem::Checked() const
{
    return row().checked;
}

void ListItem::setChecked(bool checked)
{
    ListRow &r = row();
    r.checked = checked;
    m_view->m_model->cellChanged(r, 0, Qt::CheckStateRole);
}

bool ListItem::Bold() const
{
    return ListSubItems(0).Bold();
}
void ListItem::setBold(bool bold)
{
    ListSubItems(0).setBold(bold);
}
long ListItem::ForeColor() const
{
    return ListSubItems(0).ForeColor();
}
void ListItem::setForeColor(long bgr)
{
    ListSubItems(0).setForeColor(bgr);
}

bool ListItem::Selected() const
{
    return m_view->SelectedItem() == *this;
}

void ListItem::setSelected(bool selected)
{
    row();
    if (selected) {
        m_view->setSelectedItem(*this);
    } else if (Selected()) {
        m_view->selectionModel()->clearSelection();
    }
}

void ListItem::EnsureVisible()
{
    ListRow &r = row();
    m_view->m_model->settle();
    m_view->scrollTo(m_view->m_model->index(r.pos, 0));
}

// ---- ListItemCollection ----

ListItem ListItemCollection::Add(const QString &Text)
{
    return ListItem(m_view, m_view->m_model->append(Text));
}

void ListItemCollection::Clear()
{
    m_view->m_model->clearRows();
}

int ListItemCollection::Count() const
{
    return int(m_view->m_model->rows.size());
}

ListItem ListItemCollection::Item(int index) const
{
    ListViewModel &m = *m_view->m_model;
    if (index < 1 || index > int(m.rows.size()))
        outOfBounds();
    m.settle();
    return ListItem(m_view, m.rows[size_t(index - 1)].get());
}

// ---- Column headers ----

QString ColumnHeader::Text() const
{
    return m_view->m_model->columns.at(size_t(m_index - 1)).text;
}

void ColumnHeader::setText(const QString &text)
{
    m_view->m_model->columns.at(size_t(m_index - 1)).text = text;
    emit m_view->m_model->headerDataChanged(Qt::Horizontal, m_index - 1, m_index - 1);
}

QString ColumnHeader::Key() const
{
    return m_view->m_model->columns.at(size_t(m_index - 1)).key;
}

double ColumnHeader::Left() const
{
    double left = 0;
    for (int c = 0; c < m_index - 1; ++c)
        left += m_view->m_model->columns[size_t(c)].twips;
    return left;
}

double ColumnHeader::Width() const
{
    return m_view->m_model->columns.at(size_t(m_index - 1)).twips;
}

void ColumnHeader::setWidth(double twips)
{
    if (twips < 0)
        Raise(vberr::InvalidPropertyValue);
    m_view->m_model->columns.at(size_t(m_index - 1)).twips = twips;
    m_view->applyWidth(m_index - 1);
}

ColumnHeader ColumnHeaderCollection::Add(const QString &Text, const QString &Key, double Width)
{
    m_view->m_model->addColumn({Text, Key, Width < 0 ? 1440.0 : Width});
    const int count = int(m_view->m_model->columns.size());
    m_view->applyWidth(count - 1);
    return ColumnHeader(m_view, count);
}

void ColumnHeaderCollection::Clear()
{
    m_view->m_model->clearColumns();
}

int ColumnHeaderCollection::Count() const
{
    return int(m_view->m_model->columns.size());
}

ColumnHeader ColumnHeaderCollection::Item(int index) const
{
    if (index < 1 || index > Count())
        outOfBounds();
    return ColumnHeader(m_view, index);
}

// ---- ListView ----

ListView::ListView(QWidget *parent)
    : QTreeView(parent)
    , m_model(new ListViewModel(this))
{
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView *h = header();
    h->setStretchLastSection(false);
    h->setSectionsMovable(false);
    h->setSectionsClickable(true);
    h->setMinimumSectionSize(0);
    h->setSectionResizeMode(QHeaderView::Interactive);
    connect(h, &QHeaderView::sectionResized, this, &ListView::headerResized);
    connect(h, &QHeaderView::sectionClicked, this, [this](int logical) { emit ColumnClick(logical + 1); });
    // As the common control does, the first row an empty list is given
    // becomes the selected one; a sort later takes the selection along.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int) {
        if (first == 0 && !selectionModel()->hasSelection())
            selectionModel()->setCurrentIndex(m_model->index(0, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
}

ListView::~ListView() = default;

bool ListView::Checkboxes() const
{
    return m_model->checkboxes;
}
void ListView::setCheckboxes(bool on)
{
    m_model->setCheckboxes(on);
}

const ImageList *ListView::SmallIcons() const
{
    return m_model->smallIcons;
}

void ListView::setSmallIcons(const ImageList *images)
{
    m_model->smallIcons = images;
    viewport()->update();
}

bool ListView::Sorted() const
{
    return m_model->sorted;
}

void ListView::setSorted(bool sorted)
{
    m_model->sorted = sorted;
    if (sorted)
        m_model->sortAll();
}

int ListView::SortKey() const
{
    return m_model->sortKey;
}

void ListView::setSortKey(int key)
{
    if (key < 0)
        Raise(vberr::InvalidPropertyValue);
    m_model->sortKey = key;
    if (m_model->sorted)
        m_model->sortAll();
}

int ListView::SortOrder() const
{
    return m_model->sortOrder;
}

void ListView::setSortOrder(int order)
{
    if (order != lvwAscending && order != lvwDescending)
        Raise(vberr::InvalidPropertyValue);
    m_model->sortOrder = order;
    if (m_model->sorted)
        m_model->sortAll();
}

ListItem ListView::SelectedItem() const
{
    m_model->settle();
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return {};
    return ListItem(const_cast<ListView *>(this), m_model->rows[size_t(rows.first().row())].get());
}

void ListView::setSelectedItem(const ListItem &item)
{
    m_model->settle();
    if (item.isNull()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex i = m_model->index(item.m_row->pos, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::ValidateRect()
{
    if (m_model->held)
        return;
    m_model->held = true;
    viewport()->setUpdatesEnabled(false);
}

void ListView::InvalidateRect()
{
    if (!m_model->held)
        return;
    m_model->held = false;
    viewport()->setUpdatesEnabled(true);
    m_model->scheduleFlush();
    // Cells changed while held were not told one by one.
    if (m_model->announced > 0 && !m_model->columns.empty())
        emit m_model->dataChanged(m_model->index(0, 0),
                                  m_model->index(m_model->announced - 1, int(m_model->columns.size()) - 1));
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    const KeyOutcome key = DispatchKey(
        *event,
        [this](int &code, int shift) { emit KeyDown(code, shift); },
        [this](int &ascii) { emit KeyPress(ascii); });
    if (key.cancelled)
        return;
    switch (event->key()) {
    case Qt::Key_Space:
        if (Checkboxes())
            toggleSelectedCheck();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The list's own handler decides what Enter does; it goes no further.
        event->accept();
        return;
    default:
        QTreeView::keyPressEvent(event);
    }
}

void ListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void ListView::keyboardSearch(const QString &) {}

void ListView::toggleSelectedCheck()
{
    ListItem item = SelectedItem();
    if (item)
        item.setChecked(!item.Checked());
}

void ListView::headerResized(int logical, int, int newSize)
{
    if (m_settingWidth || logical < 0 || logical >= int(m_model->columns.size()))
        return;
    m_model->columns[size_t(logical)].twips = PixelsToTwips(newSize);
}

void ListView::applyWidth(int column)
{
    m_settingWidth = true;
    header()->resizeSection(column, toPixels(m_model->columns[size_t(column)].twips));
    m_settingWidth = false;
}

} // namespace ui
