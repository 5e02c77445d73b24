#pragma once

#include "lots/editor_celdas.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/image_list.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;

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
    // Fits the grid's window to the columns the mode shows.
    void AjustaTamano();

    void closeEvent(QCloseEvent *event) override;
    void reject() override;

    bool Cancelado() const override { return m_cancelado; }

    std::unique_ptr<EditorCeldas> m_editor;
    bool m_cancelado = false;
};
