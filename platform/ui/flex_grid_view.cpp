#include "platform/ui/flex_grid_view.h"

#include "platform/ui/flex_grid.h"
#include "platform/ui/units.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace ui {

FlexGridView::FlexGridView(FlexGrid &grid, QWidget *parent)
    : QTableView(parent)
    , m_grid(grid)
{
    setModel(&grid);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(TwipsToPixels(FlexGrid::DefaultRowHeight));
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setFixedHeight(TwipsToPixels(FlexGrid::DefaultRowHeight));

    connect(&grid, &FlexGrid::LeaveCell, this, &FlexGridView::LeaveCell);
    connect(&grid, &FlexGrid::RowColChange, this, &FlexGridView::showCurrentCell);
    connect(&grid, &FlexGrid::ColumnsChanged, this, &FlexGridView::applyColumns);
    connect(&grid, &QAbstractItemModel::modelReset, this, [this] {
        applyColumns();
        showCurrentCell();
    });
    connect(&grid, &FlexGrid::RefreshRequested, this, [this] { viewport()->repaint(); });
    connect(&grid, &FlexGrid::TopRowChanged, this, [this](int top) {
        if (m_syncing)
            return;
        m_syncing = true;
        verticalScrollBar()->setValue(top - m_grid.headerRows());
        m_syncing = false;
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (m_syncing)
            return;
        m_syncing = true;
        m_grid.setTopRow(value + m_grid.headerRows());
        m_syncing = false;
    });
    grid.setCellGeometry([this](int row, int col) { return cellGeometry(row, col); });
    applyColumns();
    showCurrentCell();
}

int FlexGridView::Left() const
{
    return PixelsToTwips(x());
}
void FlexGridView::setLeft(int twips)
{
    move(TwipsToPixels(twips), y());
}
int FlexGridView::Top() const
{
    return PixelsToTwips(y());
}
void FlexGridView::setTop(int twips)
{
    move(x(), TwipsToPixels(twips));
}
int FlexGridView::Width() const
{
    return PixelsToTwips(width());
}
void FlexGridView::setWidth(int twips)
{
    resize(TwipsToPixels(twips), height());
}
int FlexGridView::Height() const
{
    return PixelsToTwips(height());
}
void FlexGridView::setHeight(int twips)
{
    resize(width(), TwipsToPixels(twips));
}

void FlexGridView::applyColumns()
{
    horizontalHeader()->setVisible(m_grid.headerRows() > 0);
    for (int c = 0; c < m_grid.Cols(); ++c) {
        const int w = m_grid.ColWidth(c);
        setColumnHidden(c, w == 0);
        if (w > 0)
            setColumnWidth(c, TwipsToPixels(w));
    }
}

void FlexGridView::showCurrentCell()
{
    const int row = m_grid.Row() - m_grid.headerRows();
    if (row < 0 || row >= m_grid.rowCount() || m_grid.Col() >= m_grid.Cols()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex at = m_grid.index(row, m_grid.Col());
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
}

QRect FlexGridView::cellGeometry(int row, int col) const
{
    // Inside the grid's own frame, as the editor places its box over the cell.
    QRect px;
    if (row < m_grid.headerRows()) {
        px = QRect(horizontalHeader()->sectionViewportPosition(col), 0, columnWidth(col), horizontalHeader()->height());
    } else {
        const QModelIndex at = m_grid.index(row - m_grid.headerRows(), col);
        px = visualRect(at);
        px.translate(viewport()->geometry().topLeft());
    }
    if (isColumnHidden(col))
        px.setWidth(0);
    return QRect(PixelsToTwips(px.left()),
                 PixelsToTwips(px.top()),
                 PixelsToTwips(px.width()),
                 PixelsToTwips(px.height()));
}

namespace {

bool Movable(const FlexGrid &grid, int row, int col)
{
    return row >= grid.FixedRows() && row < grid.Rows() && col >= grid.FixedCols() && col < grid.Cols();
}

} // namespace

void FlexGridView::keyPressEvent(QKeyEvent *event)
{
    const int rows = m_grid.Rows();
    const int cols = m_grid.Cols();
    int row = m_grid.Row();
    int col = m_grid.Col();
    auto nextVisible = [&](int from, int step) {
        for (int c = from + step; c >= m_grid.FixedCols() && c < cols; c += step)
            if (m_grid.ColWidth(c) > 0)
                return c;
        return from;
    };
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(0)));
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(row - 1, m_grid.FixedRows());
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, rows - 1);
        break;
    case Qt::Key_PageUp:
        row = std::max(row - page, m_grid.FixedRows());
        break;
    case Qt::Key_PageDown:
        row = std::min(row + page, rows - 1);
        break;
    case Qt::Key_Left:
        col = nextVisible(col, -1);
        break;
    case Qt::Key_Right:
        col = nextVisible(col, +1);
        break;
    case Qt::Key_Home:
        col = nextVisible(m_grid.FixedCols() - 1, +1);
        break;
    case Qt::Key_End:
        col = nextVisible(cols, -1);
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QWidget::keyPressEvent(event);
        return;
    default: {
        const QString text = event->text();
        if (!text.isEmpty()) {
            int keyAscii = text.at(0).unicode();
            emit KeyPress(keyAscii);
        }
        event->accept();
        return;
    }
    }
    event->accept();
    if (Movable(m_grid, row, col) && (row != m_grid.Row() || col != m_grid.Col())) {
        m_grid.MoveTo(row, col);
        scrollTo(m_grid.index(row - m_grid.headerRows(), col));
    }
}

void FlexGridView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
        const int row = at.row() + m_grid.headerRows();
        if (Movable(m_grid, row, at.column()))
            m_grid.MoveTo(row, at.column());
    }
    event->accept();
}

void FlexGridView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    emit GotFocus();
}

} // namespace ui
