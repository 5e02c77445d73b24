#pragma once

#include <QAbstractTableModel>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace ui {

// Column alignments, the control's numbers.
enum FlexAlignment : int {
    flexAlignLeftTop = 0,
    flexAlignLeftCenter = 1,
    flexAlignLeftBottom = 2,
    flexAlignCenterTop = 3,
    flexAlignCenterCenter = 4,
    flexAlignCenterBottom = 5,
    flexAlignRightTop = 6,
    flexAlignRightCenter = 7,
    flexAlignRightBottom = 8,
    flexAlignGeneral = 9, // texts left, numbers right, vertically centred
};

// The grid of text cells that the voucher entry forms and the lot dialogs
// drive. It needs no window: posting and the tests use it bare; FlexGridView
// shows it. Sizes are in twips, colours in the suite's BGR numbers.
//
// As a Qt model it offers the cells below the first fixed row (that row is the
// horizontal header), so a QTableView keeps the titles in sight.
class FlexGrid : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Run-time errors of an invalid current cell.
    static constexpr int InvalidRowValue = 30009;
    static constexpr int InvalidColValue = 30010;
    static constexpr int DefaultColWidth = 960;
    static constexpr int DefaultRowHeight = 240;

    explicit FlexGrid(QObject *parent = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString &name) { setObjectName(name); }

    // Growing or shrinking keeps the cells that survive, with their colours.
    int Rows() const { return m_rows; }
    void setRows(int rows);
    int Cols() const { return m_cols; }
    void setCols(int cols);
    int FixedRows() const { return m_fixedRows; }
    void setFixedRows(int rows);
    int FixedCols() const { return m_fixedCols; }
    void setFixedCols(int cols);

    // The current cell. Moving it (from code, a click or a key) raises
    // LeaveCell first, unless the cell stays the same; an invalid row raises
    // error 30009, an invalid column 30010, and nothing moves.
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);
    void MoveTo(int row, int col);

    // First non-fixed row in sight; kept between the fixed rows and the last row.
    int TopRow() const { return m_topRow; }
    void setTopRow(int row);

    // A cell outside the grid is the subscript error (9).
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // The same cells by row * Cols + col.
    QString TextArray(int index) const;
    void setTextArray(int index, const QString &text);
    // The current cell's text.
    QString Text() const;
    void setText(const QString &text);

    // Width 0 hides the column; its texts stay.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // Colours of the current cell; 0 when none was given.
    long CellBackColor() const;
    void setCellBackColor(long bgr);
    long CellForeColor() const;
    void setCellForeColor(long bgr);

    // The current cell's rectangle inside the grid.
    int CellLeft() const { return cellRect().left(); }
    int CellTop() const { return cellRect().top(); }
    int CellWidth() const { return cellRect().width(); }
    int CellHeight() const { return cellRect().height(); }

    // Every text and every cell colour goes; sizes, widths and the current cell stay.
    void Clear();
    // Repaints the view now.
    void Refresh();

    // The view that shows the grid tells where a cell stands on screen (in
    // twips); without one the rectangle follows from the widths and heights.
    using CellGeometry = std::function<QRect(int row, int col)>;
    void setCellGeometry(CellGeometry geometry) { m_geometry = std::move(geometry); }

    // Qt model (the rows below the header row).
    int headerRows() const { return m_fixedRows > 0 ? 1 : 0; }
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // Before the current cell changes.
    void LeaveCell();
    // After it changed.
    void RowColChange();
    void TopRowChanged(int row);
    void ColumnsChanged();
    void RefreshRequested();

private:
    struct Cell
    {
        QString text;
        std::optional<long> back;
        std::optional<long> fore;
    };
    Cell &cell(int row, int col) { return m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)]; }
    const Cell &cell(int row, int col) const
    {
        return m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)];
    }
    void checkCell(int row, int col) const;
    void resize(int rows, int cols);
    void cellChanged(int row, int col);
    QRect cellRect() const;

    int m_rows = 2;
    int m_cols = 2;
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_row = 1;
    int m_col = 1;
    int m_topRow = 1;
    std::vector<Cell> m_cells;
    std::vector<int> m_widths; // -1: the default width
    std::vector<int> m_alignments;
    CellGeometry m_geometry;
};

} // namespace ui
