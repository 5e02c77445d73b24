#pragma once

#include <QTableView>

namespace ui {

class FlexGrid;

// The window of a FlexGrid: the first fixed row as the header, fixed cells in
// the header colour, cell colours, the current cell selected. A click or an
// arrow key moves the grid's current cell (so LeaveCell fires first); a typed
// character is offered to KeyPress and nothing is edited in place.
class FlexGridView : public QTableView
{
    Q_OBJECT
public:
    explicit FlexGridView(FlexGrid &grid, QWidget *parent = nullptr);

    FlexGrid &grid() const { return m_grid; }

    // Place on the form, in twips.
    int Left() const;
    void setLeft(int twips);
    int Top() const;
    void setTop(int twips);
    int Width() const;
    void setWidth(int twips);
    int Height() const;
    void setHeight(int twips);

signals:
    // A typed character (Enter 13, Escape 27, the blank 32 included); a
    // handler may change it or cancel it with 0.
    void KeyPress(int &KeyAscii);
    void GotFocus();
    // The grid's own LeaveCell, repeated here for handlers that hold the view.
    void LeaveCell();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void applyColumns();
    void showCurrentCell();
    QRect cellGeometry(int row, int col) const;

    FlexGrid &m_grid;
    bool m_syncing = false;
};

} // namespace ui
