#pragma once

#include "lots/editor_celdas.h"
#include "platform/runtime/currency.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/image_list.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class Steps;

namespace ui {
class FlexGridView;
class TextBox;
class Toolbar;
} // namespace ui

// The window both lot dialogs share: a toolbar to fill and blank cells, the
// article's label, the grid with the edit box that floats over it, and Accept
// and Cancel with no default button. A dialog gives its name, title, grid
// columns and Accept text, adds what else it has, and ends its constructor
// with AjustaTamano and Form_Load.
//
// The check of an edited value is shared too: a text typed on the first row
// fills the blank rows below it, a quantity goes through the dialog's own
// reasons to refuse it.
class DialogoGrilla : public QDialog, protected ReglasEditor
{
    Q_OBJECT
public:
    ~DialogoGrilla() override;

    // Controls.
    ui::FlexGrid MSFlexGrid1;
    ui::FlexGridView *VistaMSFlexGrid1 = nullptr;
    ui::TextBox *TxtEdit = nullptr;
    QLabel *lblArticulo = nullptr;
    ui::ImageList ImageList1;
    ui::Toolbar *Toolbar1 = nullptr;
    QPushButton *CmdAceptar = nullptr;
    QPushButton *CmdCancelar = nullptr;

    virtual void CmdAceptar_Click() = 0;
    void CampoValida(ui::TextBox &Texto) final;
    // Copies the first row's value into the blank rows of the dialog's text column.
    virtual void CompletaTodoIgual() = 0;
    void Text_Propiedades(ui::TextBox &Texto, std::int32_t Col);
    void EditKeyCode(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyCode, int Shift);
    void MsflexGridEdt(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyAscii);

    void setVisible(bool visible) override;

protected:
    DialogoGrilla(
        const QString &nombre, const QString &titulo, int columnas, const QString &textoAceptar, QWidget *parent);

    virtual void CmdCancelar_Click() = 0;
    virtual void Toolbar1_ButtonClick(int Index) = 0;

    void Form_Load();
    // Why the dialog refuses a typed quantity (empty: it passes). What may
    // fail runs in paso; a failure that leaves refuses nothing.
    virtual QString RechazoDeCantidad(const QString &texto, Steps &paso) = 0;
    // Accept with a grid's sum other than the quantity asked: the operator may
    // take the sum as the new quantity. A smaller sum in a dialog not shown
    // only gets menorSinMostrar. False: the accept stops.
    bool AjustaCantidadPedida(Currency suma, double &cantidad, bool mostrarForm, const QString &menorSinMostrar);
    // Widens the columns shown to their titles and fits the grid's window to them.
    void AjustaTamano();

    void closeEvent(QCloseEvent *event) override;
    void reject() override;

    bool Cancelado() const override { return m_cancelado; }

    std::unique_ptr<EditorCeldas> m_editor;
    bool m_cancelado = false;
};
