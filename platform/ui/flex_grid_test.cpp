#include "platform/ui/flex_grid.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/text_box.h"
#include "platform/ui/units.h"
#include "tests/support/error_provocado.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using namespace ui;

// A grid of 6 rows and 5 columns (one fixed row, one fixed column) shown in a
// window, standing on row 2, column 2.
struct GridOnScreen
{
    FlexGrid grid;
    FlexGridView view{grid};
    std::vector<std::pair<int, int>> left; // the cell current at each LeaveCell

    GridOnScreen()
    {
        grid.setRows(6);
        grid.setCols(5);
        view.resize(600, 300);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        grid.MoveTo(2, 2);
        QObject::connect(&grid, &FlexGrid::LeaveCell, [this] { left.emplace_back(grid.Row(), grid.Col()); });
    }
    QPoint centreOf(int row, int col) const
    {
        return view.visualRect(grid.index(row - grid.headerRows(), col)).center();
    }
};

struct MoveCase
{
    const char *nombre;
    std::pair<int, int> from;
    std::function<void(GridOnScreen &)> move;
    int leaveCalls;
    std::pair<int, int> endsOn;
    int error;
    friend void PrintTo(const MoveCase &c, std::ostream *os) { *os << c.nombre; }
};

class GridMoves : public ::testing::TestWithParam<MoveCase>
{};

TEST_P(GridMoves, LeaveCellFiresOnceBeforeTheCellChanges)
{
    const MoveCase &c = GetParam();
    GridOnScreen s;
    s.grid.MoveTo(c.from.first, c.from.second);
    s.left.clear();
    const int error = RaisedNumber([&] { c.move(s); });
    EXPECT_EQ(error, c.error);
    ASSERT_EQ(int(s.left.size()), c.leaveCalls);
    for (const auto &cell : s.left)
        EXPECT_EQ(cell, c.from);
    EXPECT_EQ(std::make_pair(s.grid.Row(), s.grid.Col()), c.endsOn);
    // The view shows the grid's current cell.
    const QModelIndex current = s.view.currentIndex();
    EXPECT_EQ(current.row() + 1, c.endsOn.first);
    EXPECT_EQ(current.column(), c.endsOn.second);
}

INSTANTIATE_TEST_SUITE_P(
    Moves,
    GridMoves,
    ::testing::Values(
        MoveCase{"click",
                 {2, 2},
                 [](GridOnScreen &s) { QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.centreOf(4, 3)); },
                 1,
                 {4, 3},
                 0},
        MoveCase{"click_same_cell",
                 {2, 2},
                 [](GridOnScreen &s) { QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.centreOf(2, 2)); },
                 0,
                 {2, 2},
                 0},
        MoveCase{"click_fixed_column",
                 {2, 2},
                 [](GridOnScreen &s) { QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.centreOf(3, 0)); },
                 0,
                 {2, 2},
                 0},
        MoveCase{"arrow_down", {2, 2}, [](GridOnScreen &s) { QTest::keyClick(&s.view, Qt::Key_Down); }, 1, {3, 2}, 0},
        MoveCase{"arrow_right", {2, 2}, [](GridOnScreen &s) { QTest::keyClick(&s.view, Qt::Key_Right); }, 1, {2, 3}, 0},
        MoveCase{"arrow_up_to_first_line",
                 {2, 2},
                 [](GridOnScreen &s) { QTest::keyClick(&s.view, Qt::Key_Up); },
                 1,
                 {1, 2},
                 0},
        MoveCase{"arrow_up_stops_at_titles",
                 {1, 2},
                 [](GridOnScreen &s) { QTest::keyClick(&s.view, Qt::Key_Up); },
                 0,
                 {1, 2},
                 0},
        MoveCase{"arrow_down_on_last_row",
                 {5, 3},
                 [](GridOnScreen &s) { QTest::keyClick(&s.view, Qt::Key_Down); },
                 0,
                 {5, 3},
                 0},
        MoveCase{"row_by_code", {2, 2}, [](GridOnScreen &s) { s.grid.setRow(5); }, 1, {5, 2}, 0},
        MoveCase{"col_by_code", {2, 2}, [](GridOnScreen &s) { s.grid.setCol(4); }, 1, {2, 4}, 0},
        MoveCase{"row_by_code_same_row", {2, 2}, [](GridOnScreen &s) { s.grid.setRow(2); }, 0, {2, 2}, 0},
        MoveCase{"invalid_col", {2, 2}, [](GridOnScreen &s) { s.grid.setCol(5); }, 0, {2, 2}, FlexGrid::InvalidColValue},
        MoveCase{"negative_col", {2, 2}, [](GridOnScreen &s) { s.grid.setCol(-1); }, 0, {2, 2}, FlexGrid::InvalidColValue},
        MoveCase{"invalid_row", {2, 2}, [](GridOnScreen &s) { s.grid.setRow(6); }, 0, {2, 2}, FlexGrid::InvalidRowValue}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(FlexGrid, ALeaveCellHandlerWritesTheCellBeingLeft)
{
    // The lot dialogs' editor commits its text on LeaveCell: the text lands
    // in the old cell, not in the new one.
    FlexGrid grid;
    grid.setRows(4);
    grid.setCols(3);
    grid.MoveTo(1, 1);
    QObject::connect(&grid, &FlexGrid::LeaveCell, [&] { grid.setText(QStringLiteral("7")); });
    grid.setRow(3);
    EXPECT_EQ(grid.TextMatrix(1, 1), "7");
    EXPECT_EQ(grid.TextMatrix(3, 1), "");
}

TEST(FlexGrid, TextArrayAndTextMatrixNameTheSameCells)
{
    FlexGrid grid;
    grid.setRows(3);
    grid.setCols(4);
    grid.setTextArray(0 * 4 + 3, QStringLiteral("título"));
    grid.setTextMatrix(2, 1, QStringLiteral("abajo"));
    EXPECT_EQ(grid.TextMatrix(0, 3), "título");
    EXPECT_EQ(grid.TextArray(2 * 4 + 1), "abajo");
    grid.MoveTo(2, 1);
    EXPECT_EQ(grid.Text(), "abajo");
    // The header row of the view is row 0 of the grid.
    EXPECT_EQ(grid.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "título");
    EXPECT_EQ(grid.data(grid.index(1, 1), Qt::DisplayRole).toString(), "abajo");

    EXPECT_EQ(RaisedNumber([&] { grid.TextMatrix(3, 0); }), 9);
    EXPECT_EQ(RaisedNumber([&] { grid.setTextMatrix(0, 4, QStringLiteral("x")); }), 9);
    EXPECT_EQ(RaisedNumber([&] { grid.TextArray(12); }), 9);
    EXPECT_EQ(RaisedNumber([&] { grid.TextArray(-1); }), 9);
}

TEST(FlexGrid, ColoursOfTheCurrentCellRoundTripAsBGR)
{
    FlexGrid grid;
    grid.setRows(3);
    grid.setCols(3);
    grid.MoveTo(1, 2);
    EXPECT_EQ(grid.CellBackColor(), 0);
    grid.setCellBackColor(0xC0FFFF); // light yellow: red FF, green FF, blue C0
    grid.setCellForeColor(0xFF0000); // blue
    EXPECT_EQ(grid.CellBackColor(), 0xC0FFFF);
    EXPECT_EQ(grid.CellForeColor(), 0xFF0000);
    const QModelIndex at = grid.index(0, 2);
    EXPECT_EQ(grid.data(at, Qt::BackgroundRole).value<QBrush>().color(), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_EQ(grid.data(at, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 0xFF));
    // Other cells keep none.
    grid.setCol(1);
    EXPECT_EQ(grid.CellBackColor(), 0);
    grid.setCol(2);
    EXPECT_EQ(ToBGR(FromBGR(grid.CellBackColor())), 0xC0FFFF);
}

TEST(FlexGrid, HiddenColumnsKeepTheirTexts)
{
    FlexGrid grid;
    FlexGridView view(grid);
    grid.setRows(3);
    grid.setCols(4);
    grid.setTextMatrix(0, 2, QStringLiteral("AuxNroLote"));
    grid.setTextMatrix(1, 2, QStringLiteral("|L1|L2|"));
    grid.setColWidth(2, 0);
    EXPECT_TRUE(view.isColumnHidden(2));
    EXPECT_EQ(grid.ColWidth(2), 0);
    EXPECT_EQ(grid.TextMatrix(1, 2), "|L1|L2|");
    EXPECT_EQ(grid.TextMatrix(0, 2), "AuxNroLote");
    grid.setColWidth(2, 1200);
    EXPECT_FALSE(view.isColumnHidden(2));
    EXPECT_EQ(view.columnWidth(2), TwipsToPixels(1200));
}

TEST(FlexGrid, ClearEmptiesTextsAndColoursAndKeepsTheSizes)
{
    FlexGrid grid;
    grid.setRows(4);
    grid.setCols(3);
    grid.setFixedCols(0);
    grid.setColWidth(1, 500);
    grid.setColAlignment(1, flexAlignLeftCenter);
    grid.setTextMatrix(0, 1, QStringLiteral("Código"));
    grid.MoveTo(2, 1);
    grid.setText(QStringLiteral("A1"));
    grid.setCellBackColor(0x00FF00);
    grid.Clear();
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_EQ(grid.ColWidth(1), 500);
    EXPECT_EQ(grid.ColAlignment(1), flexAlignLeftCenter);
    EXPECT_EQ(grid.TextMatrix(0, 1), "");
    EXPECT_EQ(grid.Text(), "");
    EXPECT_EQ(grid.CellBackColor(), 0);
}

TEST(FlexGrid, ResizingKeepsTheCellsThatSurvive)
{
    FlexGrid grid;
    grid.setRows(3);
    grid.setCols(3);
    grid.setTextMatrix(1, 1, QStringLiteral("b"));
    grid.setTextMatrix(2, 2, QStringLiteral("c"));
    grid.MoveTo(1, 1);
    grid.setCellForeColor(0xFFFFFF);
    grid.setRows(5);
    grid.setCols(6);
    EXPECT_EQ(grid.TextMatrix(1, 1), "b");
    EXPECT_EQ(grid.TextMatrix(2, 2), "c");
    EXPECT_EQ(grid.CellForeColor(), 0xFFFFFF);
    EXPECT_EQ(grid.TextMatrix(4, 5), "");
    grid.setRows(2);
    EXPECT_EQ(grid.TextMatrix(1, 1), "b");
    EXPECT_EQ(RaisedNumber([&] { grid.TextMatrix(2, 2); }), 9);
    // A grid of titles only: the current row stays on the grid.
    grid.MoveTo(1, 2);
    grid.setRows(1);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.rowCount(), 0);
}

TEST(FlexGrid, RowsAddedOneByOneReachTheViewWithWhatStoodAbove)
{
    FlexGrid grid;
    grid.setCols(3);
    grid.setColWidth(1, 800);
    FlexGridView view(grid);
    for (int row = 1; row < 40; ++row) {
        grid.setTextMatrix(row, 1, QString::number(row));
        grid.MoveTo(row, 1);
        grid.setCellForeColor(row);
        grid.setRows(grid.Rows() + 1);
    }
    EXPECT_EQ(grid.Rows(), 41);
    EXPECT_EQ(view.verticalHeader()->count(), 40); // the view was told of every row
    EXPECT_EQ(view.columnWidth(1), TwipsToPixels(800));
    for (int row = 1; row < 40; ++row) {
        EXPECT_EQ(view.model()->index(row - 1, 1).data().toString(), QString::number(row));
        grid.MoveTo(row, 1);
        EXPECT_EQ(grid.CellForeColor(), row);
    }
    EXPECT_EQ(grid.TextMatrix(40, 1), QString());
}

TEST(FlexGrid, CellRectangleFollowsWidthsAndTheTopRow)
{
    FlexGrid grid;
    grid.setRows(10);
    grid.setCols(4);
    grid.setColWidth(0, 300);
    grid.setColWidth(1, 0);
    grid.setColWidth(2, 700);
    grid.MoveTo(3, 3);
    EXPECT_EQ(grid.CellLeft(), 300 + 0 + 700);
    EXPECT_EQ(grid.CellTop(), 3 * FlexGrid::DefaultRowHeight);
    EXPECT_EQ(grid.CellWidth(), FlexGrid::DefaultColWidth);
    EXPECT_EQ(grid.CellHeight(), FlexGrid::DefaultRowHeight);
    grid.setTopRow(2);
    EXPECT_EQ(grid.CellTop(), 2 * FlexGrid::DefaultRowHeight);
    grid.setTopRow(0); // kept below the fixed row
    EXPECT_EQ(grid.TopRow(), 1);
}

TEST(FlexGridView, CellRectangleOnScreenMatchesWhereTheCellIsDrawn)
{
    GridOnScreen s;
    s.grid.MoveTo(3, 2);
    const QRect drawn = s.view.visualRect(s.grid.index(2, 2)).translated(s.view.viewport()->geometry().topLeft());
    EXPECT_NEAR(s.grid.CellLeft(), PixelsToTwips(drawn.left()), 15);
    EXPECT_NEAR(s.grid.CellTop(), PixelsToTwips(drawn.top()), 15);
    EXPECT_NEAR(s.grid.CellWidth(), PixelsToTwips(drawn.width()), 15);
    // The first fixed row is the header, drawn above the lines.
    EXPECT_TRUE(s.view.horizontalHeader()->isVisible());
    EXPECT_GT(s.grid.CellTop(), 0);
}

TEST(FlexGridView, TypedCharactersReachKeyPressAndMayBeChanged)
{
    GridOnScreen s;
    std::vector<int> seen;
    QObject::connect(&s.view, &FlexGridView::KeyPress, [&](int &k) {
        seen.push_back(k);
        k = 0;
    });
    int focus = 0;
    QObject::connect(&s.view, &FlexGridView::GotFocus, [&] { ++focus; });
    s.view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.view));
    s.view.clearFocus();
    s.view.setFocus();
    QApplication::processEvents();
    QTest::keyClick(&s.view, Qt::Key_7);
    QTest::keyClick(&s.view, Qt::Key_Return);
    QTest::keyClick(&s.view, Qt::Key_Space);
    EXPECT_EQ(seen, (std::vector<int>{'7', 13, 32}));
    EXPECT_EQ(s.left.size(), 0u); // typing moves nothing
    EXPECT_GE(focus, 1);
}

TEST(TextBox, PropertiesKeyPressAndKeyDown)
{
    TextBox box;
    box.setName(QStringLiteral("TxtEdit"));
    box.setMaxLength(0);
    box.setText(QString(300, QChar('a')));
    EXPECT_EQ(box.Text().size(), 300); // 0 is no limit
    box.setMaxLength(4);
    box.setText(QStringLiteral("abcdefg"));
    EXPECT_EQ(box.Text(), "abcd");
    EXPECT_EQ(box.MaxLength(), 4);
    box.setMaxLength(0);
    box.setText(QStringLiteral("5"));
    box.setSelStart(1000);
    EXPECT_EQ(box.SelStart(), 1);

    std::vector<std::pair<int, int>> downs;
    QObject::connect(&box, &TextBox::KeyDown, [&](int &code, int shift) {
        if (code != 16) // the Shift key itself
            downs.emplace_back(code, shift);
    });
    QObject::connect(&box, &TextBox::KeyPress, [&](int &k) {
        if (k == 'x')
            k = 0; // cancelled
        else if (k == 'a')
            k = 'A'; // changed
    });
    box.show();
    QTest::keyClicks(&box, QStringLiteral("axb"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Down);
    QTest::keyClick(&box, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(box.Text(), "5Ab");
    const std::vector<std::pair<int, int>> expected{{65, 0}, {88, 0}, {66, 0}, {13, 0}, {40, 0}, {113, 1}};
    EXPECT_EQ(downs, expected);
}

TEST(TextWidth, GrowsWithTheTextAndTheFont)
{
    QWidget form;
    const int four = TextWidth(form, QStringLiteral("XXXX"));
    EXPECT_GT(four, TextWidth(form, QStringLiteral("XX")));
    QFont big = form.font();
    big.setPointSizeF(big.pointSizeF() * 2);
    form.setFont(big);
    EXPECT_GT(TextWidth(form, QStringLiteral("XXXX")), four);
}

} // namespace
