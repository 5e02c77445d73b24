#include "platform/ui/tree_view.h"

#include "platform/runtime/vberror.h"
#include "tests/support/clics_vistas.h"
#include "tests/support/error_provocado.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace ui;

// The tree as the view's model shows it: "text(child, child)" per node.
QString Shape(const QAbstractItemModel &model, const QModelIndex &parent = {})
{
    QStringList parts;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex at = model.index(row, 0, parent);
        QString part = at.data().toString();
        if (model.rowCount(at) > 0)
            part += QLatin1Char('(') + Shape(model, at) + QLatin1Char(')');
        parts << part;
    }
    return parts.join(QLatin1String(", "));
}

// The same through the nodes' own links, from a first sibling.
QString Links(const Node *first)
{
    QStringList parts;
    for (const Node *n = first; n; n = n->Next()) {
        QString part = n->Text();
        if (n->Child())
            part += QLatin1Char('(') + Links(n->Child()) + QLatin1Char(')');
        parts << part;
    }
    return parts.join(QLatin1String(", "));
}

class TreeViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tree.resize(300, 400);
        tree.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    }
    TreeView tree;
};

TEST_F(TreeViewTest, NodesGoNextOrChildAndTheViewShowsTheSameTree)
{
    Nodes &n = tree.nodes();
    n.Add(QStringLiteral("A"), QStringLiteral("raíz"));
    n.Add(QStringLiteral("A"), tvwChild, QStringLiteral("A1"), QStringLiteral("1"));
    n.Add(QStringLiteral("A1"), tvwChild, QStringLiteral("A11"), QStringLiteral("11"));
    n.Add(QStringLiteral("A1"), tvwNext, QStringLiteral("A2"), QStringLiteral("2"));
    // Next of a node that has siblings after it goes right behind it.
    n.Add(QStringLiteral("A1"), tvwNext, QStringLiteral("A15"), QStringLiteral("1.5"));
    n.Add(QStringLiteral("A"), tvwChild, QStringLiteral("A3"), QStringLiteral("3"));

    EXPECT_EQ(Shape(*tree.model()), QStringLiteral("raíz(1(11), 1.5, 2, 3)"));
    EXPECT_EQ(Links(&n.Item(1)), QStringLiteral("raíz(1(11), 1.5, 2, 3)"));

    // Indexes keep the order of addition, whatever the place in the tree.
    ASSERT_EQ(n.Count(), 6);
    QStringList byIndex;
    for (int i = 1; i <= n.Count(); ++i)
        byIndex << n.Item(i).Key();
    EXPECT_EQ(byIndex.join(QLatin1Char(' ')), QStringLiteral("A A1 A11 A2 A15 A3"));
    EXPECT_EQ(n.Item(QStringLiteral("a15")).Parent(), &n.Item(QStringLiteral("A")));
    EXPECT_EQ(n.Item(QStringLiteral("A")).Parent(), nullptr);
    EXPECT_EQ(n.Item(QStringLiteral("A3")).Next(), nullptr);
    EXPECT_EQ(n.Item(QStringLiteral("A11")).Child(), nullptr);
    // The model's parent of each index is the node's parent.
    const QModelIndex a11 = tree.indexOf(n.Item(QStringLiteral("A11")));
    EXPECT_EQ(tree.nodeAt(a11.parent()), &n.Item(QStringLiteral("A1")));
    EXPECT_EQ(tree.nodeAt(a11.parent().parent()), &n.Item(QStringLiteral("A")));
}

TEST_F(TreeViewTest, BadAddsRaiseAndLeaveTheTreeAsItWas)
{
    Nodes &n = tree.nodes();
    n.Add(QStringLiteral("A"), QStringLiteral("raíz"));
    n.Add(QStringLiteral("A"), tvwChild, QStringLiteral("Ab"), QStringLiteral("b"));

    struct Case
    {
        const char *nombre;
        QString relative;
        int relationship;
        QString key;
        int error;
    };
    const Case cases[] = {
        {"repeated key", QStringLiteral("A"), tvwChild, QStringLiteral("Ab"), vberr::KeyNotUnique},
        {"repeated key in another case", QStringLiteral("A"), tvwChild, QStringLiteral("AB"), vberr::KeyNotUnique},
        {"repeated root key as next", QStringLiteral("Ab"), tvwNext, QStringLiteral("A"), vberr::KeyNotUnique},
        {"unknown relative", QStringLiteral("Z"), tvwChild, QStringLiteral("Z1"), vberr::ElementNotFound},
        {"unknown relationship", QStringLiteral("A"), 1, QStringLiteral("A9"), vberr::InvalidCall},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(RaisedNumber([&] { n.Add(c.relative, c.relationship, c.key, QStringLiteral("x")); }), c.error);
        EXPECT_EQ(n.Count(), 2);
        EXPECT_EQ(Shape(*tree.model()), QStringLiteral("raíz(b)"));
    }
    EXPECT_EQ(RaisedNumber([&] { n.Item(3); }), vberr::ElementNotFound);
    EXPECT_EQ(RaisedNumber([&] { n.Item(0); }), vberr::ElementNotFound);
    EXPECT_EQ(RaisedNumber([&] { n.Item(QStringLiteral("Ac")); }), vberr::ElementNotFound);

    n.Clear();
    EXPECT_EQ(n.Count(), 0);
    EXPECT_EQ(tree.model()->rowCount(), 0);
    // A cleared key can be used again.
    n.Add(QStringLiteral("Ab"), QStringLiteral("otra vez"));
    EXPECT_EQ(Shape(*tree.model()), QStringLiteral("otra vez"));
}

TEST_F(TreeViewTest, OnlyTheOperatorsTickRaisesNodeCheck)
{
    tree.setCheckboxes(true);
    Nodes &n = tree.nodes();
    n.Add(QStringLiteral("A"), QStringLiteral("raíz"));
    n.Add(QStringLiteral("A"), tvwChild, QStringLiteral("A1"), QStringLiteral("uno"));
    n.Item(QStringLiteral("A")).setExpanded(true);
    QSignalSpy checks(&tree, &TreeView::NodeCheck);
    Node &uno = n.Item(QStringLiteral("A1"));

    // Code: no event.
    uno.setChecked(true);
    EXPECT_TRUE(uno.Checked());
    EXPECT_EQ(tree.indexOf(uno).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    uno.setChecked(false);
    EXPECT_EQ(checks.count(), 0);

    // Mouse on the check box: ticked, then cleared; one event each, after the change.
    bool seenChecked = false;
    QObject::connect(&tree, &TreeView::NodeCheck, &tree, [&](Node *node) { seenChecked = node->Checked(); });
    ClickCheckBox(tree, tree.indexOf(uno));
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks.at(0).at(0).value<Node *>(), &uno);
    EXPECT_TRUE(uno.Checked());
    EXPECT_TRUE(seenChecked);
    ClickCheckBox(tree, tree.indexOf(uno));
    EXPECT_EQ(checks.count(), 2);
    EXPECT_FALSE(uno.Checked());

    // Space on the current node.
    uno.setSelected(true);
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Space);
    EXPECT_EQ(checks.count(), 3);
    EXPECT_TRUE(uno.Checked());

    // A click on the text selects without ticking.
    ClickRow(tree, tree.indexOf(n.Item(QStringLiteral("A"))));
    EXPECT_EQ(checks.count(), 3);
    EXPECT_EQ(tree.SelectedItem(), &n.Item(QStringLiteral("A")));
    EXPECT_FALSE(n.Item(QStringLiteral("A")).Checked());
}

TEST_F(TreeViewTest, WithoutCheckBoxesNoClickOrKeyTicks)
{
    Nodes &n = tree.nodes();
    n.Add(QStringLiteral("A"), QStringLiteral("raíz"));
    QSignalSpy checks(&tree, &TreeView::NodeCheck);
    const QModelIndex at = tree.indexOf(n.Item(1));
    EXPECT_FALSE(at.data(Qt::CheckStateRole).isValid());
    ClickCheckBox(tree, at);
    n.Item(1).setSelected(true);
    QTest::keyClick(&tree, Qt::Key_Space);
    EXPECT_EQ(checks.count(), 0);
    EXPECT_FALSE(n.Item(1).Checked());
}

TEST_F(TreeViewTest, SelectionExpansionAndDoubleClick)
{
    Nodes &n = tree.nodes();
    n.Add(QStringLiteral("A"), QStringLiteral("raíz"));
    n.Add(QStringLiteral("A"), tvwChild, QStringLiteral("A1"), QStringLiteral("uno"));
    n.Add(QStringLiteral("A1"), tvwChild, QStringLiteral("A11"), QStringLiteral("once"));
    EXPECT_EQ(tree.SelectedItem(), nullptr);
    EXPECT_FALSE(n.Item(QStringLiteral("A")).Expanded());

    Node &once = n.Item(QStringLiteral("A11"));
    once.EnsureVisible();
    EXPECT_TRUE(n.Item(QStringLiteral("A")).Expanded());
    EXPECT_TRUE(n.Item(QStringLiteral("A1")).Expanded());
    EXPECT_FALSE(once.Expanded());
    once.setSelected(true);
    EXPECT_TRUE(once.Selected());
    EXPECT_EQ(tree.SelectedItem(), &once);
    EXPECT_EQ(tree.currentIndex(), tree.indexOf(once));

    QSignalSpy doubles(&tree, &TreeView::DblClick);
    DoubleClickRow(tree, tree.indexOf(n.Item(QStringLiteral("A1"))));
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(tree.SelectedItem(), &n.Item(QStringLiteral("A1")));

    once.setSelected(false);
    n.Item(QStringLiteral("A1")).setSelected(false);
    EXPECT_EQ(tree.SelectedItem(), nullptr);
}

TEST_F(TreeViewTest, AHeldTreeIsShownWholeOnRelease)
{
    Nodes &n = tree.nodes();
    n.Add(QStringLiteral("X"), QStringLiteral("antes"));
    n.Item(1).setExpanded(true);
    tree.HoldUpdates();
    n.Clear();
    n.Reserve(4);
    Node &root = n.Add(QStringLiteral("A"), QStringLiteral("raíz"));
    root.setExpanded(true);
    Node &one = n.Add(root, tvwChild, QStringLiteral("Añ1"), QStringLiteral("1"));
    n.Add(one, tvwNext, QStringLiteral("A2"), QStringLiteral("2"));
    n.Add(one, tvwChild, QStringLiteral("A11"), QStringLiteral("11"));
    EXPECT_TRUE(root.Expanded());
    EXPECT_EQ(RaisedNumber([&] { n.Add(root, tvwChild, QStringLiteral("aÑ1"), QStringLiteral("otra")); }),
              vberr::KeyNotUnique);
    EXPECT_EQ(tree.model()->rowCount(), 1); // what the view knew before holding
    tree.ReleaseUpdates();
    EXPECT_EQ(Shape(*tree.model()), QStringLiteral("raíz(1(11), 2)"));
    EXPECT_TRUE(root.Expanded());
    EXPECT_FALSE(one.Expanded());
    EXPECT_EQ(n.Find(QStringLiteral("AÑ1")), &one);
    // Keys equal without regard to case hash alike, also outside ASCII.
    EXPECT_EQ(qHash(Nodes::CaseBlindKey{QStringLiteral("ÁrbolK")}, 7),
              qHash(Nodes::CaseBlindKey{QStringLiteral("áRBOL\u212A")}, 7));
}

} // namespace
