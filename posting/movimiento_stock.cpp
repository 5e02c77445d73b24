#include "posting/movimiento_stock.h"

#include "database/builders.h"
#include "database/config.h"
#include "database/conversions.h"
#include "database/db_dll.h"
#include "database/globals.h"
#include "lots/lista_pipe.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"
#include "voucher/columnas.h"

using namespace GrillaArticulos;

namespace {

QString W4(const QString &codigo)
{
    return gComponente().FormateaCodigo(codigo, 4);
}
QString W25(const QString &codigo)
{
    return gComponente().FormateaCodigo(codigo, 25);
}

// A cell's text as an SQL number (four decimals, "." as decimal point).
QString Numero(const QString &texto)
{
    return gDB().SQLValue(Variant(texto), QStringLiteral("@")).toString();
}
QString Numero(Currency importe)
{
    return NumeroSQL(Variant(importe));
}

// A code quoted, or NULL when it is blank.
QString TextoONull(const QString &texto)
{
    return vb::Trim(texto).isEmpty() ? QStringLiteral("NULL") : TextoSQL(texto);
}

QString SinComillas(const QString &texto)
{
    return gComponente().QuitaCaracteres(texto, QStringLiteral("'"));
}

void Agrega(const char *columna, const QString &valor)
{
    gCamposValores.push_back({QString::fromLatin1(columna), valor});
}

// A lot key: the lot before CHR(255), the serial after it. An item without
// the separator leaves both as they were.
void SeparaLoteSerie(const QString &item, QString &lote, QString &serie)
{
    const qsizetype en = item.indexOf(ListaPipe::SeparadorLoteSerie());
    if (en < 0)
        return;
    lote = item.left(en);
    serie = item.mid(en + 1);
}

} // namespace

bool MarcaDeCelda(const ui::FlexGrid &grilla, int fila, int columna)
{
    return ConvierteBooleano(vb::Trim(grilla.TextMatrix(fila, columna)));
}

QString DepositoResuelto(const ui::FlexGrid &grilla, int fila, const QString &deposito, const EncabezadoStock &enc)
{
    if (!vb::EqualsText(vb::Trim(deposito), kElDelGrid))
        return deposito;
    const QString propio = vb::Trim(grilla.TextMatrix(fila, ColDeposito));
    return propio.isEmpty() ? enc.DepositoDefault : TextoSQL(W4(propio));
}

QString DepositoDeLinea(const ui::FlexGrid &grilla, int fila, const EncabezadoStock &enc)
{
    const QString propio = vb::Trim(grilla.TextMatrix(fila, ColDeposito));
    if (enc.SignoRemota == 1 || propio.isEmpty())
        return DepositoResuelto(grilla, fila, enc.IdDeposito, enc);
    return TextoSQL(W4(propio));
}

EntradaElegida EligeEntrada(const ItemsDeEntrada &items)
{
    const QString &itemLote = items.ItemLote;
    const QString &itemSerie = items.ItemSerie;
    const auto cantidadDelItem = [&] { return gComponente().ConvierteADouble(Variant(itemSerie)); };
    EntradaElegida e;
    e.Cantidad = items.Cantidad;
    if (items.Signo == 1) {
        e.Lote = W25(vb::Trim(itemLote));
        e.Serie = W25(vb::Trim(itemSerie));
        if (items.Perecedero) {
            e.Lote = W25(vb::Trim(items.Lotes));
        } else if (items.Talle) {
            if (!vb::Trim(itemLote).isEmpty()) {
                SeparaLoteSerie(itemLote, e.Lote, e.Serie);
                e.Lote = W25(vb::Trim(e.Lote));
                e.Serie.clear();
                e.Cantidad = cantidadDelItem();
                e.DeLaLista = true;
            }
        } else {
            if (vb::Trim(e.Lote).isEmpty() && !vb::Trim(items.LoteFijo).isEmpty())
                e.Lote = W25(vb::Trim(items.LoteFijo));
            const QString &item = items.Transferencia ? itemLote : itemSerie;
            if (items.Serie && !vb::Trim(item).isEmpty()) {
                SeparaLoteSerie(item, e.Lote, e.Serie);
                e.Lote = W25(vb::Trim(e.Lote));
                e.Serie = W25(vb::Trim(e.Serie));
                e.DeLaLista = items.Transferencia;
                e.Cantidad = items.Transferencia ? cantidadDelItem() : 1;
            }
        }
    } else if (items.Signo == -1) {
        if (items.Talle) {
            // A size's key closes with the separator and no serial: the lot
            // is what stands before it.
            if (!vb::Trim(itemLote).isEmpty()) {
                QString sinSerie;
                e.Lote = itemLote;
                SeparaLoteSerie(itemLote, e.Lote, sinSerie);
                e.Lote = W25(vb::Trim(e.Lote));
            }
            e.Cantidad = cantidadDelItem();
            e.DeLaLista = true;
        } else if (!vb::Trim(itemLote).isEmpty()) {
            SeparaLoteSerie(itemLote, e.Lote, e.Serie);
            e.Lote = W25(vb::Trim(e.Lote));
            e.Serie = W25(vb::Trim(e.Serie));
            e.Cantidad = cantidadDelItem();
            e.DeLaLista = true;
        }
    }
    return e;
}

double CantidadMovimiento(std::int16_t signo,
                          bool talle,
                          const QString &lote,
                          const QString &serie,
                          double entrada,
                          double linea,
                          std::int32_t entradas,
                          bool reparto)
{
    const bool conLote = !vb::Trim(lote).isEmpty();
    const bool conSerie = !vb::Trim(serie).isEmpty();
    if (signo == 1) {
        if (talle || !conLote || conSerie || reparto)
            return entrada;
        return entradas > 1 ? 1 : linea; // a lot without serial
    }
    if (signo == -1)
        return conLote || conSerie || entrada > 0 ? entrada : linea;
    return linea;
}

QString CuentaDeFila(const QString &Cuenta, const QString &IdArticulo)
{
    if (!vb::EqualsText(Cuenta, QStringLiteral("PorDefault")))
        return Cuenta;
    const QString propia = vb::Trim(gComponente()
                                        .ValorNoNulo(gDB().DatosTabla(QStringLiteral("V_MA_ARTICULOS"),
                                                                      W25(vb::Trim(IdArticulo)),
                                                                      QStringLiteral("CUENTAPROVEEDOR"),
                                                                      QStringLiteral("IDARTICULO"),
                                                                      8,
                                                                      QString(),
                                                                      true))
                                        .toString());
    return propia.isEmpty() ? QStringLiteral("NULL") : propia;
}

void ArmaMovimientoStock(ui::FlexGrid &grilla, EncabezadoStock &enc, const MovimientoStock &mov, bool &HayComodato)
{
    const int f = mov.Fila;
    auto celda = [&](int columna) { return grilla.TextMatrix(f, columna); };
    const Currency signo = Currency::fromScaled(std::int64_t(mov.Signo) * 10000);

    gCamposValores.clear();
    Agrega("TC", TextoSQL(W4(enc.TC)));
    Agrega("IdComprobante", TextoSQL(enc.SucNroLetra));
    if (!enc.EsCompras)
        Agrega("IdComplemento", enc.IdComplemento);
    Agrega("Secuencia", QString::number(mov.Secuencia));
    Agrega("Fecha", TextoSQL(enc.Fecha));
    if (!vb::Trim(gCaja).isEmpty()) {
        gCaja = SinComillas(gCaja);
        Agrega("IdCaja", TextoSQL(W4(gCaja)));
    }
    Agrega("IdDeposito", mov.Deposito);
    if (enc.EsTransferencia)
        Agrega("IDDEPOSITO_DESTINO",
               vb::Trim(mov.DepositoDestino).isEmpty() ? QStringLiteral("null") : mov.DepositoDestino);
    Agrega("IdArticulo", TextoSQL(W25(vb::Trim(celda(ColArticulo)))));
    Agrega("Descripcion", TextoSQL(SinComillas(vb::Left(vb::Trim(celda(ColDescripcion)), 100))));
    Agrega("NroLote", TextoONull(mov.Lote));

    QString controlado = vb::Trim(celda(ControladoPor));
    if (controlado.isEmpty())
        controlado = vb::Trim(SinComillas(celda(Lote_Aduana)));
    if (controlado.isEmpty())
        controlado = vb::Trim(SinComillas(enc.Aduana));
    Agrega("ControladoPor", TextoSQL(controlado));

    QString origen = vb::Trim(celda(Lote_Origen));
    if (origen.isEmpty())
        origen = vb::Trim(enc.LoteOrigen);
    if (!origen.isEmpty())
        Agrega("IdOrigen", TextoSQL(W4(origen)));

    Agrega("NroSerie", TextoONull(mov.Serie));
    const QString unidad = vb::Trim(celda(ColUnidad));
    Agrega("IdUnidad", unidad.isEmpty() ? QStringLiteral("NULL") : TextoSQL(W4(unidad)));
    Agrega("Cantidad", Numero(Currency::fromDouble(mov.Cantidad * mov.Signo)));

    // The quantity in the base unit, when the line carries one.
    grilla.setTextMatrix(f, ColUnidadEquiv, W4(vb::Trim(celda(ColUnidadEquiv))));
    if (celda(ColAux76).isEmpty())
        grilla.setTextMatrix(f, ColAux76, QStringLiteral("0"));
    const bool pesable = MarcaDeCelda(grilla, f, ColAux76);
    const bool conUnidadBase = !vb::Trim(celda(ColAux41)).isEmpty();
    if ((pesable || !enc.ConfirmaUDEquiv) && conUnidadBase) {
        Agrega("CantidadUD", Numero(gComponente().ConvierteACurrency(Variant(celda(ColAux74))) * signo));
        Agrega("IdUnidadBase", TextoSQL(celda(ColAux41)));
    } else if (!pesable && enc.ConfirmaUDEquiv) {
        Agrega("CantidadUD", Numero(gComponente().ConvierteACurrency(Variant(celda(ColCantidadEquiv))) * signo));
        Agrega("IdUnidadBase", TextoSQL(celda(ColUnidadEquiv)));
    }

    const QString cuenta = CuentaDeFila(enc.Cuenta, celda(ColArticulo));
    if (!vb::EqualsText(vb::Trim(cuenta), QStringLiteral("NULL")))
        Agrega("CuentaProveedor", TextoSQL(cuenta));

    if (enc.MotivoDeGrilla)
        enc.IdMotivoStock = TextoSQL(W4(celda(MotivoStock)));
    Agrega("IdMotivoStock", enc.IdMotivoStock);
    Agrega("PrecioVenta", Numero(celda(ColImporte)));
    Agrega("Importe_S_Iva", Numero(celda(AuxPrecioSinIVA)));
    Agrega("Costo", Numero(celda(ColAux38)));
    Agrega("Impuestos", Numero(celda(ColImpuestos)));
    Agrega("DtoItem", Numero(celda(ColPorcDto)));
    if (enc.TcOrigenDeGrilla)
        enc.TcOrigen = TextoSQL(vb::Trim(vb::Left(celda(AuxCpteOrigen), 4)));
    Agrega("Tc_Origen", enc.TcOrigen);
    if (enc.ComprobanteOrigenDeGrilla)
        enc.ComprobanteOrigen = TextoSQL(vb::Trim(vb::Mid(celda(AuxCpteOrigen), 5, 13)));
    Agrega("IdComprobante_Origen", enc.ComprobanteOrigen);
    Agrega("Id_Origen", Numero(celda(AuxIdCpteOrigen)));

    const Currency tasa = gComponente().ConvierteACurrency(Variant(celda(AuxTasaIVA)));
    const bool exento = vb::CInt(gComponente().ConvierteACurrency(Variant(celda(AuxEsExento))).toDouble()) == -1;
    Agrega("IVARI",
           tasa == Currency() && !exento ? gDB().SQLValue(Variant(enc.PIVA), QStringLiteral("@")).toString()
                                         : Numero(tasa));
    Agrega("IVARNI", Numero(celda(ColAux45)));
    if (!vb::EqualsText(vb::Trim(enc.IdTecnico), QStringLiteral("NULL")))
        Agrega("IdTecnico", TextoSQL(W4(enc.IdTecnico)));
    if (celda(AuxCoeficiente).isEmpty())
        grilla.setTextMatrix(f, AuxCoeficiente, QStringLiteral("1"));
    Agrega("EQUIV_UDBASE", Numero(celda(AuxCoeficiente)));
    Agrega("IDINSERT", Numero(celda(ColAux80)));
    Agrega("IDCOMPULSA", Numero(celda(ColAux81)));
    Agrega("Oferta", Numero(celda(ColAux85)));
    Agrega("IdVendedor", TextoSQL(enc.IdVendedor));
    Agrega("Importe_Ud", Numero(celda(ColImporteUnidad)));
    Agrega("Ud_Pr", TextoSQL(W4(celda(ColUnidadPrecio))));
    Agrega("EnComodato", Numero(celda(EnComodato)));

    if (!HayComodato && vb::Val(celda(EnComodato)) == 1)
        HayComodato = true;
}

QString InsertStock()
{
    QString sentencia = QStringLiteral("INSERT INTO V_MV_STOCK");
    ArmaInsert(sentencia, gCamposValores, true);
    return sentencia;
}
