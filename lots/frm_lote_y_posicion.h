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

// From which warehouse positions (and lots) of one deposit a voucher article
// line takes its quantity. The grid (lots/posiciones_grilla.h) lists the
// balances in the line's unit; the operator types CANT. per row. Accept gives
// the answer as pipe lists: Posiciones (position "*" quantity) and Lotes, item
// k of one going with item k of the other.
//
// Used through its default instance: the caller sets the public variables,
// calls CargaDatos, shows it modally, reads Posiciones and Lotes and unloads
// it. Cancel and closing the window give back the earlier lists.
class FrmLoteyPosicion : public QDialog, private ReglasEditor
{
    Q_OBJECT
public:
    explicit FrmLoteyPosicion(QWidget *parent = nullptr);
    ~FrmLoteyPosicion() override;

    // Public variables.
    QString Deposito;
    QString IUNIDAD;
    bool MostrarForm = false;
    bool EsConsultaDePosicionLote = false;
    bool EsPosicion = false;
    bool EsLote = false;
    bool EsPosicionYLote = false;
    double Cantidad1 = 0;
    QString Articulo;
    QString ArticuloDescripcion;
    QString PosicionesAnteriores;
    QString LotesAnteriores;
    QString Posiciones;
    QString Lotes;

    // Controls.
    ui::FlexGrid MSFlexGrid1;
    ui::FlexGridView *VistaMSFlexGrid1 = nullptr;
    ui::TextBox *TxtEdit = nullptr;
    QLabel *lblArticulo = nullptr;
    ui::ImageList ImageList1;
    ui::Toolbar *Toolbar1 = nullptr;
    QPushButton *CmdAceptar = nullptr;
    QPushButton *CmdCancelar = nullptr;

    void CargaDatos();
    void CampoValida(ui::TextBox &Texto) override;
    bool ValidaCantidadCantidadPedida();
    void CompletaTodoIgual();
    void InicializaGrid();
    void VerificaAnteriores();
    double SumaFilas(std::int32_t MenosCual);
    void Text_Propiedades(ui::TextBox &Texto, std::int32_t Col);
    void EditKeyCode(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyCode, int Shift);
    void MsflexGridEdt(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyAscii);

    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void Toolbar1_ButtonClick(int Index);

    // Whether the last VerificaAnteriores added the deposit row.
    bool HayFilaDeposito() const { return m_hayDeposito; }

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void Form_Load();
    void AjustaTamano();

    bool AceptaEdicion(int Col) const override;
    bool PreparaAntesDeRechazar() const override { return false; }
    bool EsColumnaCantidad(int Col) const override;
    int UltimaColumnaEditable() const override;
    void EnterEnLaUltimaFila(ui::FlexGrid &grilla) override;
    int ColumnaTrasUltima() const override;
    bool AvanzaConEnter() const override { return EsPosicionYLote; }
    int ColumnaTrasEnter() const override { return -1; }
    bool SaltaError(int Numero) const override;
    bool Cancelado() const override { return m_cancelado; }

    std::unique_ptr<EditorCeldas> m_editor;
    bool m_cancelado = false;
    bool m_hayDeposito = false;
};
