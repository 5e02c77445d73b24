#pragma once

#include "lots/dialogo_grilla.h"
#include "platform/runtime/currency.h"

#include <QString>

#include <cstdint>

namespace ui {
class KeyPreview;
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
class FrmCargaLotesySeries : public DialogoGrilla
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

    // Controls: those of DialogoGrilla.

    // Public methods, in the order of the form's interface (the grid's edit
    // procedures are DialogoGrilla's).
    void CmdAceptar_Click() override;
    void CargaDatos();
    void InicializaGrid();
    void VerificaAnteriores();
    void VerificaExistenciasEnGrilla();
    void CompletaTodoIgual() override;
    void CompletaCantidades();
    double SumaFilas(std::int32_t MenosCual);
    bool ValidaCantidadCantidadPedida();

    // Whether the accept went through since the dialog was loaded (cancel,
    // closing the window or a refused accept leave it false).
    bool Aceptado() const { return m_aceptado; }

private:
    void Form_KeyDown(int &KeyCode, int Shift);
    void CmdCancelar_Click() override;
    void Toolbar1_ButtonClick(int Index) override;
    void DistribuyeCantidadSolicitada();
    QString RechazoDeCantidad(const QString &texto, Steps &paso) override;

    // An issue of a negative quantity: goods that come back, spread over
    // the lots by what each one gets.
    bool EsDevolucion() const;
    // The quantity the grid's column is to add up to: the magnitude asked.
    Currency CantidadPedida() const;

    // The serials of a serial article stand in column 2: each unit keeps its own.
    bool ColumnaDeSeries() const;
    // A column of the values the dialog returns: the taken quantity when
    // issuing, the lots or serials typed when entering.
    bool ColumnaDeValores(int Col) const;

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

    ui::KeyPreview *m_teclas = nullptr;
    bool m_aceptado = false;
};
