#pragma once

#include <QObject>

namespace ui {
class FlexGrid;
class FlexGridView;
class TextBox;
} // namespace ui

// What a lot dialog supplies to the cell editor of its grid: which cells take
// an edit, where Enter goes, which errors of a move are passed over, and its
// own check of the typed value.
class ReglasEditor
{
public:
    virtual ~ReglasEditor() = default;

    // Whether a character typed on the grid opens an edit in the column.
    virtual bool AceptaEdicion(int Col) const = 0;
    // True: the box is set up for the column before the refusal test, so a
    // refused column still leaves its settings on the box.
    virtual bool PreparaAntesDeRechazar() const = 0;
    // A quantity column: field "Cantidad", no length limit.
    virtual bool EsColumnaCantidad(int Col) const = 0;

    // Enter: the last editable column of a row; on it Enter goes down one row.
    virtual int UltimaColumnaEditable() const = 0;
    // Enter on the last editable column of the last row.
    virtual void EnterEnLaUltimaFila(ui::FlexGrid &grilla) = 0;
    // The column after Enter on the last editable column (-1: it stays).
    virtual int ColumnaTrasUltima() const = 0;
    // Enter on another column moves one column right (never past the last).
    virtual bool AvanzaConEnter() const = 0;
    // The column after every Enter (-1: it stays).
    virtual int ColumnaTrasEnter() const = 0;
    // Errors of a move that skip the failing step without a word.
    virtual bool SaltaError(int Numero) const = 0;

    // The dialog's check of the edited value; a refusal shows its message and
    // raises the cancel flag.
    virtual void CampoValida(ui::TextBox &Texto) = 0;
    virtual bool Cancelado() const = 0;
};

// The edit box that floats over the current cell of a lot dialog's grid: a
// character typed on the grid opens it, Enter, Up and Down commit the value
// the dialog accepts and move on, Escape leaves the cell as it was. Every
// commit passes the dialog's check first (a key, a click on the grid, the
// grid getting the focus, a change of cell); a refused value is not written
// and the box stays open on its cell.
//
// The grid's view and the box are children of the same window; the box is
// placed over the cell in the window's coordinates.
class EditorCeldas : public QObject
{
    Q_OBJECT
public:
    EditorCeldas(ui::FlexGridView &MSFlexGrid1, ui::TextBox &TxtEdit, ReglasEditor &reglas, QObject *parent = nullptr);

    // Starts an edit of the current cell with the key typed on the grid.
    void MsflexGridEdt(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyAscii);
    // The box set up for the column: a text of up to 25 characters, or a quantity.
    void Text_Propiedades(ui::TextBox &Texto, int Col);
    // Ends the edit with the key and moves the cursor; Shift is not used.
    void EditKeyCode(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyCode, int Shift);

    // Whether the box is open over a cell.
    bool Editando() const;
    // Commits an open edit through the dialog's check: false when it refused
    // (the box stays open and takes the focus back). True when nothing was open.
    bool ConfirmaEdicion();

    // Event handlers of the grid and the box.
    void MSFlexGrid1_KeyPress(int &KeyAscii);
    void MSFlexGrid1_GotFocus();
    void MSFlexGrid1_LeaveCell();
    void TxtEdit_KeyPress(int &KeyAscii);
    void TxtEdit_KeyDown(int &KeyCode, int Shift);

protected:
    // A click on the grid commits first; a refused value keeps the click away.
    // The grid getting the focus back with its window is no commit.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Gives the grid the focus and lets pending events run; an edit the focus
    // did not commit (a window not active) is committed here.
    void FocoALaGrilla(ui::FlexGridView &MsFlexGrid);
    bool Confirma(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt);
    static void MuestraCeldaEntera(ui::FlexGridView &MsFlexGrid);

    ui::FlexGridView &m_vista;
    ui::TextBox &m_caja;
    ReglasEditor &m_reglas;
    // The open value passed the dialog's check by the key that ends the edit.
    bool m_validado = false;
    // A commit was refused since the last click reached the grid.
    bool m_rechazada = false;
};
