#pragma once

#include "platform/runtime/strings.h"

#include <QHash>
#include <QString>
#include <QTreeView>

#include <memory>
#include <vector>

namespace ui {

class TreeView;
class TreeModel;

// Where Nodes.Add puts a node, relative to another one.
enum TreeRelationship { tvwNext = 2, tvwChild = 4 };
// LineStyle: lines between siblings only, or also to the root nodes.
enum TreeLineStyle { tvwTreeLines = 0, tvwRootLines = 1 };
// Style: which parts a node shows (7: tree lines, plus/minus, picture and text).
enum TreeStyle { tvwTextOnly = 0, tvwPlusMinusText = 2, tvwTreelinesPlusMinusPictureText = 7 };

// One node. Owned by its tree; valid until the tree is cleared.
class Node
{
public:
    int Index() const { return m_index + 1; } // 1-based, in order of addition
    const QString &Key() const { return m_key; }
    const QString &Text() const { return m_text; }
    void setText(const QString &text);

    Node *Parent() const;
    Node *Child() const; // the first child
    Node *Next() const;  // the next sibling

    bool Checked() const { return m_checked; }
    // A tick set in code raises no NodeCheck.
    void setChecked(bool on);
    bool Selected() const;
    void setSelected(bool on);
    bool Expanded() const;
    void setExpanded(bool on);
    // Expands every ancestor and scrolls the node into view.
    void EnsureVisible();

private:
    friend class TreeModel;
    friend class TreeView;
    friend class Nodes;
    Node(TreeView *tree, int index, int parent, QString key, QString text)
        : m_tree(tree)
        , m_index(index)
        , m_parent(parent)
        , m_key(std::move(key))
        , m_text(std::move(text))
    {}
    TreeView *m_tree;
    int m_index;
    int m_parent;  // -1: a top-level node
    int m_row = 0; // position among its siblings
    std::vector<int> m_children;
    QString m_key;
    QString m_text;
    bool m_checked = false;
    bool m_expanded = false; // asked for while the tree's updates were held
};

// The tree's nodes, by 1-based index in order of addition or by key (keys
// are unique without regard to case).
class Nodes
{
public:
    int Count() const { return int(m_nodes.size()); }
    Node &Item(int index) const;          // error 35601 when out of range
    Node &Item(const QString &key) const; // error 35601 when no node has the key
    Node *Find(const QString &key) const; // nullptr when no node has the key
    // An empty relative adds a top-level node. Error 35602 for a key that
    // is already there (the tree is left as it was), 35601 for a relative
    // that does not exist, 5 for a relationship other than next and child.
    Node &Add(const QString &Relative, int Relationship, const QString &Key, const QString &Text);
    Node &Add(const QString &Key, const QString &Text) { return Add({}, 0, Key, Text); }
    // The same relative to a node in hand (no look-up of its key).
    Node &Add(const Node &Relative, int Relationship, const QString &Key, const QString &Text);
    // Room for this many nodes, for a caller that knows how many will come.
    void Reserve(int count);
    void Clear();

private:
    friend class TreeView;
    friend class TreeModel;
    friend class Node;
    explicit Nodes(TreeView *tree)
        : m_tree(tree)
    {}
    TreeView *m_tree;
    std::vector<std::unique_ptr<Node>> m_nodes;
    Node &add(int parent, int position, const QString &Key, const QString &Text);

public:
    // A key compared without regard to case, hashed without folding a copy.
    struct CaseBlindKey
    {
        QString text;
        friend bool operator==(const CaseBlindKey &a, const CaseBlindKey &b) noexcept
        {
            return vb::EqualsText(a.text, b.text);
        }
        friend size_t qHash(const CaseBlindKey &key, size_t seed) noexcept;
    };

private:
    std::vector<int> m_top; // the top-level nodes, in their order
    QHash<CaseBlindKey, int> m_byKey;
};

// A tree of keyed nodes with optional check boxes, over Qt's model/view
// (the nodes are plain records, so a tree of many thousand codes fills fast).
class TreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit TreeView(QWidget *parent = nullptr);
    ~TreeView() override;

    Nodes &nodes() { return m_nodes; }
    const Nodes &nodes() const { return m_nodes; }
    Node *SelectedItem() const;

    bool Checkboxes() const { return m_checkboxes; }
    void setCheckboxes(bool on);
    int LineStyle() const { return m_lineStyle; }
    void setLineStyle(int style);
    int Style() const { return m_style; }
    void setStyle(int style);

    // The node shown at an index of the view (nullptr for none).
    Node *nodeAt(const QModelIndex &index) const;
    QModelIndex indexOf(const Node &node) const;

    // While held, nodes added and expanded are not shown; releasing shows the
    // whole tree in one go (many nodes fill much faster so).
    void HoldUpdates();
    void ReleaseUpdates();

signals:
    void DblClick();
    // The operator ticked or cleared a node (mouse or Space); never for a
    // tick set in code.
    void NodeCheck(ui::Node *node);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    friend class Node;
    friend class Nodes;
    friend class TreeModel;
    void applyDecoration();

    Nodes m_nodes;
    TreeModel *m_model;
    bool m_checkboxes = false;
    bool m_held = false;
    int m_lineStyle = tvwTreeLines;
    int m_style = tvwTreelinesPlusMinusPictureText;
};

} // namespace ui
