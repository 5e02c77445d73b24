#pragma once

#include "lots/dialogo_grilla.h"

#include <QString>

#include <cstdint>

// From which warehouse positions (and lots) of one deposit a voucher article
// line takes its quantity. The grid (lots/posiciones_grilla.h) lists the
// balances in the line's unit; the operator types CANT. per row. Accept gives
// the answer as pipe lists: Posiciones (position "*" quantity) and Lotes, item
// k of one going with item k of the other.
//
// Used through its default instance: the caller sets the public variables,
// calls CargaDatos, shows it modally, reads Posiciones and Lotes and unloads
// it. Cancel and closing the window give back the earlier lists.
class FrmLoteyPosicion : public DialogoGrilla
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

    // Controls: those of DialogoGrilla; its toolbar has a third button, to propose.

    void CargaDatos();
    bool ValidaCantidadCantidadPedida();
    void CompletaTodoIgual() override;
    void InicializaGrid();
    void VerificaAnteriores();
    double SumaFilas(std::int32_t MenosCual);

    void CmdAceptar_Click() override;
    void CmdCancelar_Click() override;
    void Toolbar1_ButtonClick(int Index) override;

    // Whether the last VerificaAnteriores added the deposit row.
    bool HayFilaDeposito() const { return m_hayDeposito; }

protected:
    void reject() override;

private:
    QString RechazoDeCantidad(const QString &texto, Steps &paso) override;
    bool AceptaEdicion(int Col) const override;
    bool PreparaAntesDeRechazar() const override { return false; }
    bool EsColumnaCantidad(int Col) const override;
    int UltimaColumnaEditable() const override;
    void EnterEnLaUltimaFila(ui::FlexGrid &grilla) override;
    int ColumnaTrasUltima() const override;
    bool AvanzaConEnter() const override { return EsPosicionYLote; }
    int ColumnaTrasEnter() const override { return -1; }
    bool SaltaError(int Numero) const override;

    bool m_hayDeposito = false;
};
