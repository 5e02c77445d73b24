#include "platform/ui/list_view.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/ui.h"
#include "platform/ui/units.h"
#include "tests/support/error_provocado.h"
#include "tests/support/impresion_qt.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace ui;

// A shown list with three columns and the rows given as (main text, sub 1, sub 2).
class ListaVisible : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list.resize(400, 300);
        list.ColumnHeaders().Add(QStringLiteral("Codigo"), {}, 1200);
        list.ColumnHeaders().Add(QStringLiteral("Nombre"), {}, 2400);
        list.ColumnHeaders().Add(QStringLiteral("Precio"), {}, 900);
        list.show();
        list.activateWindow();
        list.setFocus();
        QApplication::processEvents();
    }
    void rows(const std::vector<std::array<const char *, 3>> &cells)
    {
        for (const auto &c : cells) {
            ListItem item = list.ListItems().Add(QString::fromUtf8(c[0]));
            item.setSubItems(1, QString::fromUtf8(c[1]));
            item.setSubItems(2, QString::fromUtf8(c[2]));
        }
        QApplication::processEvents();
    }
    QStringList column(int sub) const
    {
        QStringList out;
        auto &items = const_cast<ListView &>(list).ListItems();
        for (int i = 1; i <= items.Count(); ++i)
            out << (sub == 0 ? items.Item(i).Text() : items.Item(i).SubItems(sub));
        return out;
    }
    void key(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&list, Qt::Key(qtKey), mods);
        QApplication::processEvents();
    }
    ListView list;
};

TEST_F(ListaVisible, ColumnWidthsReadBackTheTwipsSetUntilTheUserDragsThem)
{
    // Widths that are no whole number of pixels still read back as set.
    const double widths[] = {1000, 1234.5, 7, 0, 1440};
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(list.ColumnHeaders().Item(k).Left(), k == 1 ? 0 : (k == 2 ? 1200 : 3600));
    for (double w : widths) {
        list.ColumnHeaders().Item(2).setWidth(w);
        EXPECT_EQ(list.ColumnHeaders().Item(2).Width(), w);
        EXPECT_EQ(list.ColumnHeaders().Item(3).Left(), 1200 + w);
        EXPECT_EQ(list.header()->sectionSize(1), TwipsToPixels(int(std::lround(w))));
    }
    // The user drags the column: its width is what the screen shows.
    list.header()->resizeSection(1, 100);
    EXPECT_DOUBLE_EQ(list.ColumnHeaders().Item(2).Width(), PixelsToTwips(100));
    EXPECT_EQ(RaisedNumber([&] { list.ColumnHeaders().Item(4); }), vberr::IndexOutOfBounds);
    EXPECT_EQ(RaisedNumber([&] { list.ColumnHeaders().Item(1).setWidth(-1); }), vberr::InvalidPropertyValue);
}

struct SortCase
{
    const char *nombre;
    int key;
    int order;
    QStringList codes; // main texts in the expected order
    friend void PrintTo(const SortCase &c, std::ostream *os) { *os << c.nombre; }
};

class SortByText : public ListaVisible, public ::testing::WithParamInterface<SortCase>
{};

TEST_P(SortByText, IgnoresCaseKeepsEqualTextsInOrderAndAddressesRowsInTheNewOrder)
{
    const SortCase &c = GetParam();
    rows({{"c3", "beta", "10"}, {"A1", "Alpha", "9"}, {"b2", "gamma", "100"}, {"a0", "ALPHA", "09"}, {"C4", "", "1"}});
    list.setSortKey(c.key);
    list.setSortOrder(c.order);
    list.setSorted(true);
    EXPECT_EQ(column(0), c.codes);
    // Item(i) and Index() agree with the order.
    for (int i = 1; i <= list.ListItems().Count(); ++i)
        EXPECT_EQ(list.ListItems().Item(i).Index(), i);
}

INSTANTIATE_TEST_SUITE_P(
    ListView,
    SortByText,
    ::testing::Values(SortCase{"main_ascending", 0, lvwAscending, {"a0", "A1", "b2", "c3", "C4"}},
                      SortCase{"main_descending", 0, lvwDescending, {"C4", "c3", "b2", "A1", "a0"}},
                      // "Alpha" and "ALPHA" are equal without case: they keep their order.
                      SortCase{"sub_item_ascending", 1, lvwAscending, {"C4", "A1", "a0", "c3", "b2"}},
                      SortCase{"sub_item_descending", 1, lvwDescending, {"b2", "c3", "A1", "a0", "C4"}},
                      // Text, not number: "09" < "1" < "10" < "100" < "9".
                      SortCase{"numbers_sort_as_text", 2, lvwAscending, {"a0", "C4", "c3", "b2", "A1"}}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(ListaVisible, ARowAddedToASortedListTakesItsPlaceAndTheSelectionFollowsItsRow)
{
    rows({{"m", "", ""}, {"z", "", ""}, {"b", "", ""}});
    ListItem z = list.ListItems().Item(2);
    list.setSelectedItem(z);
    list.setSorted(true);
    EXPECT_EQ(column(0), (QStringList{"b", "m", "z"}));
    EXPECT_EQ(z.Index(), 3);
    EXPECT_EQ(list.SelectedItem(), z);

    ListItem a = list.ListItems().Add(QStringLiteral("A"));
    list.ListItems().Add(QStringLiteral("n"));
    EXPECT_EQ(column(0), (QStringList{"A", "b", "m", "n", "z"}));
    EXPECT_EQ(a.Index(), 1);
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("z"));
    // The view shows the same order.
    QApplication::processEvents();
    EXPECT_EQ(list.model()->index(0, 0).data().toString(), QStringLiteral("A"));
    EXPECT_EQ(list.model()->index(4, 0).data().toString(), QStringLiteral("z"));
    EXPECT_EQ(list.currentIndex().row(), 4);

    // Changing the order while sorted sorts again; leaving Sorted keeps the order.
    list.setSortOrder(lvwDescending);
    EXPECT_EQ(column(0), (QStringList{"z", "n", "m", "b", "A"}));
    list.setSorted(false);
    list.ListItems().Add(QStringLiteral("c"));
    EXPECT_EQ(column(0), (QStringList{"z", "n", "m", "b", "A", "c"}));
}

TEST_F(ListaVisible, ManyRowsAddedToASortedListAreSortedInWithTheRest)
{
    rows({{"m", "", ""}, {"B", "", ""}});
    list.setSorted(true);
    list.setSortOrder(lvwDescending);
    QStringList expected{"m", "B"};
    for (int i = 0; i < 40; ++i) {
        const QString code = QStringLiteral("k%1").arg(i, 2, 10, QLatin1Char('0'));
        list.ListItems().Add(i % 2 ? code.toUpper() : code);
        expected << (i % 2 ? code.toUpper() : code);
    }
    std::stable_sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        return b.compare(a, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(column(0), expected);
    EXPECT_EQ(column(0).first(), QStringLiteral("m"));
    EXPECT_EQ(column(0).last(), QStringLiteral("B"));
}

TEST_F(ListaVisible, ManyRowsReachTheViewInOneInsertion)
{
    QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
    list.ValidateRect();
    for (int i = 0; i < 5000; ++i) {
        ListItem item = list.ListItems().Add(QString::number(i));
        item.setSubItems(1, QStringLiteral("n%1").arg(i));
    }
    EXPECT_EQ(list.ListItems().Count(), 5000);
    list.InvalidateRect();
    QApplication::processEvents();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(list.model()->rowCount(), 5000);
    EXPECT_EQ(list.model()->index(4999, 1).data().toString(), QStringLiteral("n4999"));
}

TEST_F(ListaVisible, CellsCarryBoldAndForeColourAndSubItemsStayInTheColumns)
{
    rows({{"A1", "Tornillo", "5"}});
    ListItem item = list.ListItems().Item(1);
    item.setBold(true);
    item.setForeColor(0x0000FF); // red in BGR
    item.ListSubItems(2).setForeColor(0xFF0000);
    QApplication::processEvents();
    const QModelIndex main = list.model()->index(0, 0);
    EXPECT_TRUE(main.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(main.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(list.model()->index(0, 1).data(Qt::FontRole).isValid());
    EXPECT_EQ(list.model()->index(0, 2).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 255));
    EXPECT_EQ(RaisedNumber([&] { item.SubItems(3); }), vberr::IndexOutOfBounds);
    EXPECT_EQ(RaisedNumber([&] { item.setSubItems(0, {}); }), vberr::IndexOutOfBounds);
    EXPECT_EQ(RaisedNumber([&] { ListItem().Text(); }), vberr::ObjectNotSet);
    EXPECT_EQ(RaisedNumber([&] { list.ListItems().Item(2); }), vberr::IndexOutOfBounds);
}

TEST_F(ListaVisible, SpaceTogglesTheSelectedRowsCheckOnlyInCheckBoxMode)
{
    rows({{"A", "", ""}, {"B", "", ""}});
    ListItem b = list.ListItems().Item(2);
    list.setSelectedItem(b);
    key(Qt::Key_Space);
    EXPECT_FALSE(b.Checked()) << "no check boxes: nothing to tick";
    EXPECT_FALSE(list.model()->index(1, 0).data(Qt::CheckStateRole).isValid());

    list.setCheckboxes(true);
    key(Qt::Key_Space);
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(list.ListItems().Item(1).Checked());
    EXPECT_EQ(list.model()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    key(Qt::Key_Space);
    EXPECT_FALSE(b.Checked());
}

TEST_F(ListaVisible, AConsumedKeyLeavesTheListUntouched)
{
    rows({{"A", "", ""}, {"B", "", ""}, {"C", "", ""}});
    list.setCheckboxes(true);
    list.setSelectedItem(list.ListItems().Item(1));
    QList<std::pair<int, int>> seen;
    bool consume = true;
    QObject::connect(&list, &ListView::KeyDown, [&](int &KeyCode, int Shift) {
        seen.append({KeyCode, Shift});
        if (consume)
            KeyCode = 0;
    });
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("A"));
    EXPECT_FALSE(list.ListItems().Item(1).Checked());
    EXPECT_EQ(seen,
              (QList<std::pair<int, int>>{{vbKeyDown, 0},
                                          {vbKeySpace, 0},
                                          {vbKeyShift, vbShiftMask},
                                          {vbKeyEnd, vbShiftMask}}));

    consume = false;
    key(Qt::Key_Down);
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("B"));
}

TEST_F(ListaVisible, KeyPressCarriesTheTextTypedUnlessTheKeyWasConsumed)
{
    rows({{"A", "", ""}});
    QList<int> typed;
    QObject::connect(&list, &ListView::KeyPress, [&](int &c) {
        typed << c;
        if (c == ' ')
            c = 0;
    });
    list.setCheckboxes(true);
    list.setSelectedItem(list.ListItems().Item(1));
    QObject::connect(&list, &ListView::KeyDown, [&](int &KeyCode, int) {
        if (KeyCode == vbKeyInsert || KeyCode == 'X')
            KeyCode = 0;
    });
    key(Qt::Key_B);
    key(Qt::Key_1, Qt::KeypadModifier);
    QTest::sendKeyEvent(QTest::Click, &list, Qt::Key_Ntilde, QStringLiteral("\u00f1"), Qt::NoModifier);
    key(Qt::Key_X);
    key(Qt::Key_F5);
    key(Qt::Key_Insert);
    key(Qt::Key_Backspace);
    key(Qt::Key_Space);
    EXPECT_EQ(typed, (QList<int>{'b', '1', 0xF1, 8, ' '}));
    EXPECT_FALSE(list.ListItems().Item(1).Checked()) << "a consumed Space ticks nothing";
}

TEST_F(ListaVisible, TypingDoesNotSearchTheListAndCellsCannotBeEdited)
{
    rows({{"Alfa", "", ""}, {"Beta", "", ""}, {"Gama", "", ""}});
    list.setSelectedItem(list.ListItems().Item(1));
    key(Qt::Key_G);
    key(Qt::Key_F2);
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("Alfa"));
    EXPECT_FALSE(list.findChild<QLineEdit *>()) << "no cell editor opened";
    EXPECT_FALSE(list.model()->setData(list.model()->index(0, 0), QStringLiteral("x"), Qt::EditRole));
    EXPECT_EQ(list.ListItems().Item(1).Text(), QStringLiteral("Alfa"));
}

TEST_F(ListaVisible, HeaderClickGivesThePositionAndDoubleClickIsReported)
{
    rows({{"A", "", ""}});
    QSignalSpy clicks(&list, &ListView::ColumnClick);
    QSignalSpy doubles(&list, &ListView::DblClick);
    QHeaderView *h = list.header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(1) + 5, 5));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
    const QRect cell = list.visualRect(list.model()->index(0, 1));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("A"));
}

TEST_F(ListaVisible, ClearingRowsDropsTheSelection)
{
    rows({{"A", "", ""}});
    list.setSelectedItem(list.ListItems().Item(1));
    list.ListItems().Clear();
    EXPECT_EQ(list.ListItems().Count(), 0);
    EXPECT_TRUE(list.SelectedItem().isNull());
    EXPECT_EQ(list.model()->rowCount(), 0);
}

TEST_F(ListaVisible, TheFirstRowGivenToAnEmptyListIsSelected)
{
    // Rows added while the painting is held reach the view together.
    list.ValidateRect();
    rows({{"m", "", ""}, {"b", "", ""}});
    list.InvalidateRect();
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("m"));
    EXPECT_EQ(list.currentIndex().row(), 0);
    rows({{"a", "", ""}});
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("m")) << "later rows leave the selection";

    // A sort takes it along; a list emptied and given rows again starts on its first.
    list.setSorted(true);
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("m"));
    list.ListItems().Clear();
    rows({{"z", "", ""}, {"c", "", ""}});
    EXPECT_EQ(list.SelectedItem().Text(), QStringLiteral("z"));

    // Ctrl+click takes the selection away, and rows added then give none back.
    list.setSorted(false);
    const QRect r = list.visualRect(list.model()->index(list.SelectedItem().Index() - 1, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    EXPECT_TRUE(list.SelectedItem().isNull());
    rows({{"d", "", ""}});
    EXPECT_TRUE(list.SelectedItem().isNull());
}

} // namespace
