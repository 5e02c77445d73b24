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
class KeyPreview;
class TextBox;
class Toolbar;
} // namespace ui

// The lots, serials or size-colour-sex variants of one voucher article line.
//
// Entry of goods (EsConsultaDeSerieLote false): one row per unit of the
// quantity, the operator types a lot or serial per unit (or both). Issue of
// goods (true): one row per stock row of the article in the depot, the
// dialog proposes how the quantity is taken from them and the operator
// adjusts it. Results come back as pipe lists in Lotes and Series.
//
// Used through its default instance: the caller sets the public variables,
// calls CargaDatos, shows it modally (or, in issue mode, calls
// CmdAceptar_Click on it unseen), reads the results and unloads it.
class FrmCargaLotesySeries : public QDialog, private ReglasEditor
{
    Q_OBJECT
public:
    explicit FrmCargaLotesySeries(QWidget *parent = nullptr);
    ~FrmCargaLotesySeries() override;

    // Public variables, in their declared order.
    QString Deposito;
    bool MostrarForm = false;
    bool EsConsultaDeSerieLote = false;
    bool EsSerie = false;
    bool EsLote = false;
    bool EsSerieYLote = false;
    bool EsTalle = false;
    double Cantidad = 0;
    QString Articulo;
    QString ArticuloDescripcion;
    QString SeriesAnteriores;
    QString LotesAnteriores;
    QString Series;
    QString Lotes;
    QString SeriesExistentes;
    QString LotesExistentes;

    // Controls.
    ui::FlexGrid MSFlexGrid1;
    ui::FlexGridView *VistaMSFlexGrid1 = nullptr;
    ui::TextBox *TxtEdit = nullptr;
    QLabel *lblArticulo = nullptr;
    ui::ImageList ImageList1;
    ui::Toolbar *Toolbar1 = nullptr;
    QPushButton *CmdAceptar = nullptr;
    QPushButton *CmdCancelar = nullptr;

    // Public methods, in the order of the form's interface.
    void CmdAceptar_Click();
    void CargaDatos();
    void InicializaGrid();
    void VerificaAnteriores();
    void VerificaExistenciasEnGrilla();
    void CompletaTodoIgual();
    void Text_Propiedades(ui::TextBox &Texto, std::int32_t Col);
    void EditKeyCode(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyCode, int Shift);
    void MsflexGridEdt(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyAscii);
    void CompletaCantidades();
    void CampoValida(ui::TextBox &Texto) override;
    double SumaFilas(std::int32_t MenosCual);
    bool ValidaCantidadCantidadPedida();

    // Whether the accept went through since the dialog was loaded (cancel,
    // closing the window or a refused accept leave it false).
    bool Aceptado() const { return m_aceptado; }

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void Form_Load();
    void Form_KeyDown(int &KeyCode, int Shift);
    void CmdCancelar_Click();
    void Toolbar1_ButtonClick(int Index);
    void DistribuyeCantidadSolicitada();

    // The serials of a serial article stand in column 2: each unit keeps its own.
    bool ColumnaDeSeries() const;
    // Fits the grid's window to the columns the mode shows.
    void AjustaTamano();

    // The editor's rules for this dialog.
    bool AceptaEdicion(int Col) const override;
    bool PreparaAntesDeRechazar() const override { return true; }
    bool EsColumnaCantidad(int Col) const override;
    int UltimaColumnaEditable() const override;
    void EnterEnLaUltimaFila(ui::FlexGrid &grilla) override;
    int ColumnaTrasUltima() const override;
    bool AvanzaConEnter() const override { return EsSerieYLote; }
    int ColumnaTrasEnter() const override;
    bool SaltaError(int Numero) const override;
    bool Cancelado() const override { return m_cancelado; }

    std::unique_ptr<EditorCeldas> m_editor;
    ui::KeyPreview *m_teclas = nullptr;
    bool m_cancelado = false;
    bool m_aceptado = false;
};
