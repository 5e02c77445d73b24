#include "platform/ui/flex_grid.h"

#include "platform/runtime/vberror.h"
#include "platform/ui/units.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace ui {

FlexGrid::FlexGrid(QObject *parent)
    : QAbstractTableModel(parent)
{
    m_cells.resize(std::size_t(m_rows) * std::size_t(m_cols));
    m_widths.assign(std::size_t(m_cols), -1);
    m_alignments.assign(std::size_t(m_cols), flexAlignGeneral);
}

void FlexGrid::resize(int rows, int cols)
{
    if (rows < 0 || cols < 0)
        Raise(vberr::InvalidCall);
    if (rows == m_rows && cols == m_cols)
        return;
    // Rows added below: the cells are stored row by row, so the ones there stay
    // where they are and a loop that adds a row per line never copies the grid.
    if (cols == m_cols && rows > m_rows && m_rows > 0) {
        const int header = headerRows();
        beginInsertRows({}, m_rows - header, rows - header - 1);
        m_cells.resize(std::size_t(rows) * std::size_t(cols));
        m_rows = rows;
        endInsertRows();
        return;
    }
    beginResetModel();
    std::vector<Cell> cells(std::size_t(rows) * std::size_t(cols));
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            cells[std::size_t(r) * std::size_t(cols) + std::size_t(c)] = std::move(cell(r, c));
    m_cells = std::move(cells);
    m_widths.resize(std::size_t(cols), -1);
    m_alignments.resize(std::size_t(cols), flexAlignGeneral);
    m_rows = rows;
    m_cols = cols;
    m_fixedRows = std::min(m_fixedRows, rows);
    m_fixedCols = std::min(m_fixedCols, cols);
    // The current cell stays on the grid without leaving a cell the operator sees.
    m_row = std::clamp(m_row, 0, std::max(rows - 1, 0));
    m_col = std::clamp(m_col, 0, std::max(cols - 1, 0));
    m_topRow = std::clamp(m_topRow, m_fixedRows, std::max(rows - 1, m_fixedRows));
    endResetModel();
    emit ColumnsChanged();
}

void FlexGrid::setRows(int rows)
{
    resize(rows, m_cols);
}

void FlexGrid::setCols(int cols)
{
    resize(m_rows, cols);
}

void FlexGrid::setFixedRows(int rows)
{
    if (rows < 0 || rows > m_rows)
        Raise(vberr::InvalidCall);
    if (rows == m_fixedRows)
        return;
    beginResetModel();
    m_fixedRows = rows;
    m_topRow = std::clamp(m_topRow, m_fixedRows, std::max(m_rows - 1, m_fixedRows));
    endResetModel();
    emit ColumnsChanged();
}

void FlexGrid::setFixedCols(int cols)
{
    if (cols < 0 || cols > m_cols)
        Raise(vberr::InvalidCall);
    if (cols == m_fixedCols)
        return;
    beginResetModel();
    m_fixedCols = cols;
    endResetModel();
}

void FlexGrid::MoveTo(int row, int col)
{
    if (row < 0 || row >= m_rows)
        Raise(InvalidRowValue, QStringLiteral("Invalid Row value"));
    if (col < 0 || col >= m_cols)
        Raise(InvalidColValue, QStringLiteral("Invalid Col value"));
    if (row == m_row && col == m_col)
        return;
    emit LeaveCell();
    // A handler may have moved the cell itself; the move asked for still wins.
    m_row = row;
    m_col = col;
    emit RowColChange();
}

void FlexGrid::setRow(int row)
{
    MoveTo(row, m_col);
}

void FlexGrid::setCol(int col)
{
    MoveTo(m_row, col);
}

void FlexGrid::setTopRow(int row)
{
    const int top = std::clamp(row, m_fixedRows, std::max(m_rows - 1, m_fixedRows));
    if (top == m_topRow)
        return;
    m_topRow = top;
    emit TopRowChanged(top);
}

void FlexGrid::checkCell(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        Raise(vberr::SubscriptOutOfRange);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkCell(row, col);
    return cell(row, col).text;
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    checkCell(row, col);
    cell(row, col).text = text;
    cellChanged(row, col);
}

QString FlexGrid::TextArray(int index) const
{
    if (m_cols == 0 || index < 0)
        Raise(vberr::SubscriptOutOfRange);
    return TextMatrix(index / m_cols, index % m_cols);
}

void FlexGrid::setTextArray(int index, const QString &text)
{
    if (m_cols == 0 || index < 0)
        Raise(vberr::SubscriptOutOfRange);
    setTextMatrix(index / m_cols, index % m_cols, text);
}

QString FlexGrid::Text() const
{
    return TextMatrix(m_row, m_col);
}

void FlexGrid::setText(const QString &text)
{
    setTextMatrix(m_row, m_col, text);
}

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= m_cols)
        Raise(vberr::SubscriptOutOfRange);
    const int w = m_widths[std::size_t(col)];
    return w < 0 ? DefaultColWidth : w;
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= m_cols)
        Raise(vberr::SubscriptOutOfRange);
    m_widths[std::size_t(col)] = std::max(twips, 0);
    emit ColumnsChanged();
}

int FlexGrid::RowHeight(int row) const
{
    if (row < 0 || row >= m_rows)
        Raise(vberr::SubscriptOutOfRange);
    return DefaultRowHeight;
}

int FlexGrid::ColAlignment(int col) const
{
    if (col < 0 || col >= m_cols)
        Raise(vberr::SubscriptOutOfRange);
    return m_alignments[std::size_t(col)];
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    if (col < 0 || col >= m_cols)
        Raise(vberr::SubscriptOutOfRange);
    if (alignment < flexAlignLeftTop || alignment > flexAlignGeneral)
        Raise(vberr::InvalidCall);
    m_alignments[std::size_t(col)] = alignment;
    if (m_rows > 0)
        emit dataChanged(index(0, col), index(std::max(rowCount() - 1, 0), col), {Qt::TextAlignmentRole});
}

long FlexGrid::CellBackColor() const
{
    checkCell(m_row, m_col);
    return cell(m_row, m_col).back.value_or(0);
}

void FlexGrid::setCellBackColor(long bgr)
{
    checkCell(m_row, m_col);
    cell(m_row, m_col).back = bgr;
    cellChanged(m_row, m_col);
}

long FlexGrid::CellForeColor() const
{
    checkCell(m_row, m_col);
    return cell(m_row, m_col).fore.value_or(0);
}

void FlexGrid::setCellForeColor(long bgr)
{
    checkCell(m_row, m_col);
    cell(m_row, m_col).fore = bgr;
    cellChanged(m_row, m_col);
}

void FlexGrid::Clear()
{
    for (Cell &c : m_cells)
        c = Cell{};
    if (rowCount() > 0 && m_cols > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, m_cols - 1));
    if (headerRows() > 0 && m_cols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
}

void FlexGrid::Refresh()
{
    emit RefreshRequested();
}

void FlexGrid::cellChanged(int row, int col)
{
    if (row < headerRows())
        emit headerDataChanged(Qt::Horizontal, col, col);
    else
        emit dataChanged(index(row - headerRows(), col), index(row - headerRows(), col));
}

QRect FlexGrid::cellRect() const
{
    checkCell(m_row, m_col);
    if (m_geometry)
        return m_geometry(m_row, m_col);
    // Fixed rows and columns first, then the scrolled part from TopRow on.
    auto widthOf = [this](int c) { return ColWidth(c); };
    int left = 0;
    for (int c = 0; c < std::min(m_col, m_fixedCols); ++c)
        left += widthOf(c);
    for (int c = m_fixedCols; c < m_col; ++c)
        left += widthOf(c);
    int top = 0;
    for (int r = 0; r < std::min(m_row, m_fixedRows); ++r)
        top += RowHeight(r);
    for (int r = m_topRow; r < m_row; ++r)
        top += RowHeight(r);
    return QRect(left, top, ColWidth(m_col), RowHeight(m_row));
}

int FlexGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - headerRows();
}

int FlexGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

namespace {

Qt::Alignment QtAlignment(int alignment, const QString &text)
{
    const int horizontal = alignment / 3;
    const int vertical = alignment % 3;
    if (alignment == flexAlignGeneral) {
        bool number = false;
        text.trimmed().toDouble(&number);
        return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    Qt::Alignment a = horizontal == 0 ? Qt::AlignLeft : horizontal == 1 ? Qt::AlignHCenter : Qt::AlignRight;
    a |= vertical == 0 ? Qt::AlignTop : vertical == 1 ? Qt::AlignVCenter : Qt::AlignBottom;
    return a;
}

} // namespace

QVariant FlexGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + headerRows();
    const int col = index.column();
    if (row >= m_rows || col >= m_cols)
        return {};
    const Cell &c = cell(row, col);
    switch (role) {
    case Qt::DisplayRole:
        return c.text;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(QtAlignment(m_alignments[std::size_t(col)], c.text));
    case Qt::BackgroundRole:
        if (c.back)
            return QBrush(FromBGR(*c.back));
        if (row < m_fixedRows || col < m_fixedCols)
            return QGuiApplication::palette().button();
        return {};
    case Qt::ForegroundRole:
        if (c.fore)
            return QBrush(FromBGR(*c.fore));
        return {};
    default:
        return {};
    }
}

QVariant FlexGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || headerRows() == 0 || section < 0 || section >= m_cols)
        return {};
    if (role == Qt::DisplayRole)
        return cell(0, section).text;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(QtAlignment(m_alignments[std::size_t(section)], cell(0, section).text));
    return {};
}

Qt::ItemFlags FlexGrid::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const int row = index.row() + headerRows();
    if (row < m_fixedRows || index.column() < m_fixedCols)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace ui
