#pragma once

#include "platform/runtime/currency.h"
#include "platform/runtime/variant.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QObject;
class QWidget;

namespace ado {
class Recordset;
}

namespace ui {
class FlexGrid;
class StatusBar;
class TabStrip;
class TextBox;
} // namespace ui

// The library's voucher class. It holds no grid: the caller's form owns the
// entry grids and edit boxes and hands them to every operation that touches
// them; a grid passed as nullptr is absent. Column numbers: voucher/columnas.h.
//
// One header, many files: each group below names the file that defines it.
// Members of lots/ and posting/ are linked only by callers that link those
// libraries, so voucher/ never depends on them.
class ClsCmnCptes
{
public:
    // voucher/cls_cmn_cptes.cpp: reads PIVA and AsientosXStock once.
    ClsCmnCptes();

    // posting/cls_cmn_cptes_asiento.cpp: journal rows of a stock movement, as
    // SQL text (empty when AsientosXStock is off). Per line (SoloRegistro > 0)
    // a line is valued once per voucher, the first call of a voucher taking
    // its entry number; NuevoAsientoStock starts over (a new posting run).
    // AsientoStockIncompleto: the last call stopped without the entry the
    // voucher needs (its register type is missing), so the run has failed.
    QString GeneraAsientoStock(ui::FlexGrid &Grid,
                               QString &eMotivoStock,
                               QString &TC,
                               QString &Suc,
                               QString &Nro,
                               QString &Letra,
                               const QString &Fecha,
                               bool &EsDebito,
                               std::int16_t TipoMov,
                               std::int32_t SoloRegistro,
                               std::int16_t &Secuencia);
    void NuevoAsientoStock();
    bool AsientoStockIncompleto() const { return mAsientoIncompleto; }

    // voucher/cls_cmn_cptes.cpp: the edit box set for the grid column being edited.
    void TextPropiedades(ui::TextBox &Texto, std::int32_t Columna);

    // voucher/cls_cmn_cptes_layout.cpp: lays the four entry grids out for a
    // voucher type; Obj measures the widths (its TextWidth, in twips).
    void InicializaGrids(ui::FlexGrid *MSFlexGrid1,
                         ui::FlexGrid *MSFlexGrid2,
                         ui::FlexGrid *MSFlexGrid3,
                         ui::TextBox *TxtEdit,
                         ui::TextBox *txtEdit2,
                         ui::TextBox *txtEdit3,
                         const QWidget &Obj,
                         const QString &TC,
                         ui::FlexGrid *MSFlexGrid4);

    // voucher/cls_cmn_cptes_acciones.cpp: action trail and related vouchers.
    // ActualizaBuchon: whether the row was written (or, with GeneraSentencia,
    // built); a failed INSERT leaves its errors in the connection's list.
    bool ActualizaBuchon(const QString &TC,
                         const QString &SucNroLetra,
                         const QString &IdComplemento,
                         bool lEsAlta,
                         bool lEsModificacion,
                         bool GeneraSentencia,
                         QString &SentenciaSQL,
                         const QString &NroAsiento);
    void ConsultaComprobante(const QString &TC,
                             QString &Respuesta,
                             const std::optional<QString> &Filtro,
                             QString &IdComplemento,
                             QString &Proveedor);
    Currency ImporteCargosReales(const QString &Cuenta);
    // Sets "Cliente" and "Matricula" on the caller's form and shows it modally.
    void ControlDeCargosReales(QObject &FrmCtrlCargosReales, const QString &Cliente, const QString &Matricula);
    bool EstaRelacionadoAOtroComprobante(const QString &TC,
                                         const QString &SucNroLetra,
                                         const QString &Complemento,
                                         bool TenerEnCuentaAnulados);
    Currency ObtieneImporteCptesAsociados(const QString &TC, const QString &SucNroLetra);

    // posting/cls_cmn_cptes_stock.cpp: stock posting of the article grid; runs
    // the statements now, or appends them to SQLTemp for the caller's transaction.
    void ActualizaStock(ui::FlexGrid &MSFlexGrid2,
                        const QString &TC,
                        const QString &SucNroLetra,
                        const QString &IdComplemento,
                        const QString &Fecha,
                        QString &IdDeposito,
                        QString &IdDepositoDestino,
                        QString &IdMotivoStock,
                        QString &TcOrigen,
                        QString &ComprobanteOrigen,
                        bool EsTransferencia,
                        const QString &Cuenta,
                        bool GeneraSentenciaSQL,
                        QString &SQLTemp,
                        bool &HayError,
                        const QString &IdTecnico,
                        const QString &LoteFijo,
                        const QString &Aduana,
                        const QString &LoteOrigen,
                        std::int16_t SignoRemota,
                        bool MuestraCartel,
                        const QString &IdVendedor);
    // Stock sign of a voucher type (+1 in, -1 out, 0 none), or its VAT-book sign.
    std::int16_t ObtieneSignoComprobante(const QString &TC, bool LibroIVA);

    // voucher/cls_cmn_cptes_saldos.cpp (over stock/): what of the article the
    // voucher still has to move through stock.
    double CantRepartoPend(const QString &TC, const QString &SucNroLetra, const QString &IdArticulo);

    // voucher/cls_cmn_cptes_carga.cpp: a stored voucher into the grids; the
    // header recordset goes to LrcsCpte when one is given.
    void AsignarDatosComprobante(const QString &TC,
                                 const QString &SucNroLetra,
                                 const QString &IdComplemento,
                                 ui::FlexGrid *MSFlexGrid1,
                                 ui::FlexGrid *MSFlexGrid2,
                                 ui::FlexGrid *MSFlexGrid3,
                                 const Variant &Inicializar,
                                 ado::Recordset *LrcsCpte,
                                 bool Compras,
                                 const QString &Proveedor,
                                 std::int16_t &IdRepartoRM);

    // lots/cls_cmn_cptes_lotes.cpp: the pipe-list codec (lots/lista_pipe.h).
    // Arrays come back with one empty slot after the items.
    QString StrSerieLote(const QString &Serie_Lote);
    void DescomponeSerieLote(const QString &Serie_Lote, QStringList &Arreglo);
    void DescomponePosicionCantidadLote(const QString &Posicion_Lote,
                                        const QString &PIPELotes,
                                        QStringList &ArrPosiciones,
                                        QStringList &ArrCantidades,
                                        QStringList &ArrLote);
    std::int32_t Cuenta_Series_Lotes(const QString &PipeSeries, const QString &PIPELotes, bool SinConsolidar);
    QString ExtraeSerieLote(const QString &Serie_Lote, std::int16_t QuePosicion);
    std::int32_t Cantidad_Series_Lotes(const QString &Pipes);
    QString InsertaCHR255(const QString &iPipe);

    // lots/cls_cmn_cptes_lotes.cpp: lot, serial and position requests.
    void PideSerieLote(const QString &Articulo,
                       double Cantidad,
                       const QString &SerieAnt,
                       const QString &LoteAnt,
                       QString &SerieNvo,
                       QString &LoteNvo,
                       bool Serie,
                       bool Lote,
                       bool Talle);
    void PideSerieLote_Salidas(ui::FlexGrid &Grilla,
                               const QString &Articulo,
                               const QString &Descripcion,
                               double &Cantidad,
                               const QString &SeriesLoteAnt,
                               const QString &CantidadANT,
                               QString &SeriesLoteNvo,
                               QString &CantidadesNvo,
                               bool Lote,
                               bool Serie,
                               bool Talle,
                               QString &Deposito,
                               bool MostrarForm);
    // The lists the article's lines hold, joined; FilaExcluida (-1: none) is
    // a row left out, the line being asked for.
    void CuentaLotesEnGrilla(const ui::FlexGrid &Grilla,
                             const QString &Articulo,
                             QString &LotesEnGrid,
                             QString &CantidadesEnGrid,
                             std::int32_t FilaExcluida = -1);
    // lots/cls_cmn_cptes_posiciones.cpp: Cantidad comes back as the sum of
    // the rows when the operator agreed to adjust it.
    void PidePosicionLote(const QString &Articulo,
                          const QString &IdUnidad,
                          double &Cantidad,
                          const QString &Deposito,
                          const QString &PosicionAnt,
                          const QString &LoteAnt,
                          QString &PosicionNVO,
                          QString &LoteNvo,
                          bool Posicion,
                          bool Lote);

    // voucher/cls_cmn_cptes_saldos.cpp (over stock/): stock in the base and in
    // an equivalent unit; a filtered balance ("Ignorar" resolves IdDeposito
    // and IdUnidad).
    void ObtieneStockxEquiv(const QString &IdDeposito,
                            const QString &IdArticulo,
                            QString &UdBase,
                            const QString &udEquivBuscada,
                            double &StockUdBase,
                            double &StockEquiv);
    double ObtieneStock(const QString &IdArticulo,
                        QString &IdDeposito,
                        const QString &NroLote,
                        const QString &NroSerie,
                        const QString &IdPosicion,
                        QString &IdUnidad);

    // lots/cls_cmn_cptes_lotes.cpp: place of an item in a pipe list, from 1.
    std::int32_t Busca_Lotes_Series(const QString &PipeSeriesLotes, const QString &QueSerieLote);

    // voucher/cls_cmn_cptes_controles.cpp: line-count and item checks.
    bool ValidaCantidadLineasCpte(const QString &TC,
                                  const QString &Letra,
                                  const ui::FlexGrid *MSFlexGrid1,
                                  const ui::FlexGrid *MSFlexGrid2,
                                  const ui::FlexGrid *MSFlexGrid3,
                                  std::int16_t &CantLineas,
                                  std::int16_t &CantLineasUsadas,
                                  std::int32_t Agragarle,
                                  bool LineasAnteriores);
    std::int32_t CuentaItems(const ui::FlexGrid *MSFlexGrid1,
                             const ui::FlexGrid *MSFlexGrid2,
                             const ui::FlexGrid *MSFlexGrid3,
                             std::int32_t &CantTareas,
                             std::int32_t &CantArticulos,
                             std::int32_t &CantOtrosConceptos,
                             std::int32_t &TotUnidades);

    // voucher/cls_cmn_cptes_totales.cpp: status-bar detail, item totals, colours.
    void MuestraDetalleTareas(const ui::FlexGrid &MSFlexGrid1, ui::StatusBar &StatB);
    void MuestraDetalleArticulos(const ui::FlexGrid &MSFlexGrid2, ui::StatusBar &StatB, std::int32_t Columna);
    void MuestraDetalleOtrosConceptos(const ui::FlexGrid &MSFlexGrid3, ui::StatusBar &StatB);
    void MuestraDetalle(const QString &Detalle, ui::StatusBar &StatB, std::int32_t Columna);
    void TotalizadorControl(const ui::FlexGrid &MSFlexGrid1,
                            const ui::FlexGrid &MSFlexGrid2,
                            const ui::FlexGrid &MSFlexGrid3,
                            ui::FlexGrid &MSFlexGrid4,
                            const ui::TabStrip &SSTab1,
                            bool AbiertoPorRubro,
                            bool AbiertoPorTipo);
    void PintarFila(std::int32_t Fila, ui::FlexGrid &MsFlexGrid, std::int32_t Color);
    // FilaDesde and FilaHasta -1: from the title row, to the last row.
    void PintarColuma(std::int32_t Columna,
                      ui::FlexGrid &MsFlexGrid,
                      std::int32_t FilaDesde,
                      std::int32_t FilaHasta,
                      std::int32_t Color);

    // voucher/cls_cmn_cptes_controles.cpp: repeated codes (FilaEncontrada is
    // set only when one is found) and whole numbers.
    bool TareaRepetida(const ui::FlexGrid &MSFlexGrid1,
                       const QString &Tarea,
                       std::int32_t FilaIgnorar,
                       std::int32_t &FilaEncontrada);
    bool ArticuloRepetido(const ui::FlexGrid &MSFlexGrid2,
                          const QString &Articulo,
                          std::int32_t FilaIgnorar,
                          std::int32_t &FilaEncontrada);
    bool OtrosConceptosRepetidos(const ui::FlexGrid &MSFlexGrid3,
                                 const QString &OtroConcepto,
                                 std::int32_t FilaIgnorar,
                                 std::int32_t &FilaEncontrada);
    bool NumeroEsFraccion(const Variant &Numero);

    // Read at creation (tests and the posting files read them).
    double PIVA() const { return mPIVA; }
    bool AsientosXStock() const { return mAsientosXStock; }

private:
    double mPIVA = 0;                // default VAT rate of the movement rows
    bool mAsientosXStock = false;    // off: GeneraAsientoStock gives no entry
    std::int16_t mNumeroAsiento = 0; // entry number kept between GeneraAsientoStock calls
    // The last entry number this instance gave a whole voucher, by register
    // type, month and period: a collected batch is written only later.
    QHash<QString, std::int16_t> mUltimosAsientos;
    // The voucher being valued line by line, its lines already valued, and
    // whether its entry stopped for good (no further rows nor messages).
    QString mAsientoCpte;
    QList<std::int32_t> mAsientoFilas;
    bool mAsientoDetenido = false;
    bool mAsientoIncompleto = false;
    double mAsientoTotal = 0; // that voucher's entry total, on each of its rows
};
