#include "platform/ui/tree_view.h"

#include "platform/runtime/vberror.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QMouseEvent>

#include <functional>

namespace ui {

// The view's model over the tree's node records.
class TreeModel : public QAbstractItemModel
{
public:
    explicit TreeModel(TreeView *tree)
        : QAbstractItemModel(tree)
        , m_tree(tree)
    {}

    QModelIndex indexOf(const Node &node) const { return createIndex(node.m_row, 0, quintptr(node.m_index)); }
    Node *nodeAt(const QModelIndex &index) const
    {
        if (!index.isValid() || index.model() != this)
            return nullptr;
        return m_tree->m_nodes.m_nodes[index.internalId()].get();
    }
    const std::vector<int> &childrenOf(const QModelIndex &parent) const
    {
        if (const Node *node = nodeAt(parent))
            return node->m_children;
        return m_tree->m_nodes.m_top;
    }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override
    {
        if (column != 0 || row < 0)
            return {};
        const std::vector<int> &children = childrenOf(parent);
        if (row >= int(children.size()))
            return {};
        return createIndex(row, 0, quintptr(children[row]));
    }
    QModelIndex parent(const QModelIndex &child) const override
    {
        const Node *node = nodeAt(child);
        if (!node || node->m_parent < 0)
            return {};
        return indexOf(*m_tree->m_nodes.m_nodes[node->m_parent]);
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        if (parent.column() > 0)
            return 0;
        return int(childrenOf(parent).size());
    }
    int columnCount(const QModelIndex & = {}) const override { return 1; }
    bool hasChildren(const QModelIndex &parent = {}) const override { return rowCount(parent) > 0; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const Node *node = nodeAt(index);
        if (!node)
            return {};
        if (role == Qt::DisplayRole)
            return node->m_text;
        if (role == Qt::CheckStateRole && m_tree->m_checkboxes)
            return node->m_checked ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (m_tree->m_checkboxes)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }
    // Only the view writes check states through here: the operator's tick.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        Node *node = nodeAt(index);
        if (!node || role != Qt::CheckStateRole || !m_tree->m_checkboxes)
            return false;
        const bool on = value.toInt() == Qt::Checked;
        if (on == node->m_checked)
            return true;
        node->m_checked = on;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        emit m_tree->NodeCheck(node);
        return true;
    }

    void nodeChanged(const Node &node, int role)
    {
        if (m_tree->m_held)
            return;
        const QModelIndex at = indexOf(node);
        emit dataChanged(at, at, {role});
    }
    void allChanged()
    {
        for (const auto &node : m_tree->m_nodes.m_nodes)
            nodeChanged(*node, Qt::CheckStateRole);
    }

    void insert(int parent, int position, int node)
    {
        std::vector<int> &siblings = parent < 0 ? m_tree->m_nodes.m_top : m_tree->m_nodes.m_nodes[parent]->m_children;
        const bool shown = !m_tree->m_held;
        if (shown)
            beginInsertRows(parent < 0 ? QModelIndex() : indexOf(*m_tree->m_nodes.m_nodes[parent]), position, position);
        siblings.insert(siblings.begin() + position, node);
        for (int row = position; row < int(siblings.size()); ++row)
            m_tree->m_nodes.m_nodes[siblings[row]]->m_row = row;
        if (shown)
            endInsertRows();
    }
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void reset(const std::function<void()> &change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    TreeView *m_tree;
};

// --- Node ---

void Node::setText(const QString &text)
{
    m_text = text;
    m_tree->m_model->nodeChanged(*this, Qt::DisplayRole);
}

Node *Node::Parent() const
{
    return m_parent < 0 ? nullptr : m_tree->m_nodes.m_nodes[m_parent].get();
}

Node *Node::Child() const
{
    return m_children.empty() ? nullptr : m_tree->m_nodes.m_nodes[m_children.front()].get();
}

Node *Node::Next() const
{
    const std::vector<int> &siblings = m_parent < 0 ? m_tree->m_nodes.m_top
                                                    : m_tree->m_nodes.m_nodes[m_parent]->m_children;
    const int next = m_row + 1;
    return next < int(siblings.size()) ? m_tree->m_nodes.m_nodes[siblings[next]].get() : nullptr;
}

void Node::setChecked(bool on)
{
    if (on == m_checked)
        return;
    m_checked = on;
    m_tree->m_model->nodeChanged(*this, Qt::CheckStateRole);
}

bool Node::Selected() const
{
    return !m_tree->m_held && m_tree->selectionModel()->isSelected(m_tree->indexOf(*this));
}

void Node::setSelected(bool on)
{
    if (m_tree->m_held)
        return;
    const QModelIndex at = m_tree->indexOf(*this);
    if (on)
        m_tree->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    else
        m_tree->selectionModel()->select(at, QItemSelectionModel::Deselect);
}

bool Node::Expanded() const
{
    return m_tree->m_held ? m_expanded : m_tree->isExpanded(m_tree->indexOf(*this));
}

void Node::setExpanded(bool on)
{
    m_expanded = on;
    if (!m_tree->m_held)
        m_tree->setExpanded(m_tree->indexOf(*this), on);
}

void Node::EnsureVisible()
{
    for (Node *up = Parent(); up; up = up->Parent())
        up->setExpanded(true);
    if (!m_tree->m_held)
        m_tree->scrollTo(m_tree->indexOf(*this));
}

// --- Nodes ---

Node &Nodes::Item(int index) const
{
    if (index < 1 || index > Count())
        Raise(vberr::ElementNotFound);
    return *m_nodes[index - 1];
}

size_t qHash(const Nodes::CaseBlindKey &key, size_t seed) noexcept
{
    size_t h = 1469598103934665603ull ^ seed;
    for (QChar c : key.text) {
        const char16_t u = c.unicode();
        const char16_t f = u < 128 ? char16_t(u >= 'a' && u <= 'z' ? u - 32 : u) : c.toCaseFolded().toUpper().unicode();
        h = (h ^ f) * 1099511628211ull;
    }
    return h;
}

Node *Nodes::Find(const QString &key) const
{
    const auto it = m_byKey.constFind(CaseBlindKey{key});
    return it == m_byKey.cend() ? nullptr : m_nodes[size_t(*it)].get();
}

void Nodes::Reserve(int count)
{
    if (count <= 0)
        return;
    m_nodes.reserve(size_t(count));
    m_byKey.reserve(size_t(count));
}

Node &Nodes::Item(const QString &key) const
{
    Node *node = Find(key);
    if (!node)
        Raise(vberr::ElementNotFound);
    return *node;
}

Node &Nodes::Add(const QString &Relative, int Relationship, const QString &Key, const QString &Text)
{
    if (Relative.isEmpty())
        return add(-1, int(m_top.size()), Key, Text);
    return Add(Item(Relative), Relationship, Key, Text);
}

Node &Nodes::Add(const Node &relative, int Relationship, const QString &Key, const QString &Text)
{
    if (Relationship == tvwChild)
        return add(relative.m_index, int(relative.m_children.size()), Key, Text);
    if (Relationship == tvwNext)
        return add(relative.m_parent, relative.m_row + 1, Key, Text);
    Raise(vberr::InvalidCall);
}

Node &Nodes::add(int parent, int position, const QString &Key, const QString &Text)
{
    const int index = Count();
    if (!Key.isEmpty()) {
        const auto before = m_byKey.size();
        int &slot = m_byKey[CaseBlindKey{Key}];
        if (m_byKey.size() == before)
            Raise(vberr::KeyNotUnique);
        slot = index;
    }
    m_nodes.push_back(std::unique_ptr<Node>(new Node(m_tree, index, parent, Key, Text)));
    m_tree->m_model->insert(parent, position, index);
    return *m_nodes.back();
}

void Nodes::Clear()
{
    auto clear = [this] {
        m_nodes.clear();
        m_top.clear();
        m_byKey.clear();
    };
    // A held tree is inside a reset already.
    if (m_tree->m_held)
        clear();
    else
        m_tree->m_model->reset(clear);
}

// --- TreeView ---

TreeView::TreeView(QWidget *parent)
    : QTreeView(parent)
    , m_nodes(this)
    , m_model(new TreeModel(this))
{
    setModel(m_model);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    applyDecoration();
}

TreeView::~TreeView() = default;

void TreeView::HoldUpdates()
{
    if (m_held)
        return;
    // The view forgets its expanded nodes when the model is reset: keep them.
    for (const auto &node : m_nodes.m_nodes)
        node->m_expanded = isExpanded(indexOf(*node));
    m_model->beginReset();
    m_held = true;
}

void TreeView::ReleaseUpdates()
{
    if (!m_held)
        return;
    m_held = false;
    m_model->endReset();
    for (const auto &node : m_nodes.m_nodes)
        if (node->m_expanded)
            setExpanded(indexOf(*node), true);
}

Node *TreeView::nodeAt(const QModelIndex &index) const
{
    return m_model->nodeAt(index);
}

QModelIndex TreeView::indexOf(const Node &node) const
{
    return m_model->indexOf(node);
}

Node *TreeView::SelectedItem() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : nodeAt(selected.constFirst());
}

void TreeView::setCheckboxes(bool on)
{
    if (on == m_checkboxes)
        return;
    m_checkboxes = on;
    m_model->allChanged();
}

void TreeView::setLineStyle(int style)
{
    m_lineStyle = style;
    applyDecoration();
}

void TreeView::setStyle(int style)
{
    m_style = style;
    applyDecoration();
}

void TreeView::applyDecoration()
{
    // Plus/minus signs are styles 2, 3, 6 and 7; root lines show them on top-level nodes too.
    const bool plusMinus = (m_style & 2) != 0;
    setRootIsDecorated(plusMinus && m_lineStyle == tvwRootLines);
}

void TreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    emit DblClick();
}

} // namespace ui
