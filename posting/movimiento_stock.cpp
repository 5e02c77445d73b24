#include "posting/movimiento_stock.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "lots/lista_pipe.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"
#include "voucher/columnas.h"

#include <QHash>

using namespace GrillaArticulos;

namespace {

// A cell's text as an SQL number (four decimals, "." as decimal point). A
// line's cells are the same for each of its lots: the last texts read are
// kept with their numbers, so a line of thousands of lots reads them once.
QString Numero(const QString &texto)
{
    thread_local QHash<QString, QString> leidos;
    if (const auto en = leidos.constFind(texto); en != leidos.cend())
        return *en;
    if (leidos.size() >= 256)
        leidos.clear();
    const QString numero = gDB().SQLValue(Variant(texto), QStringLiteral("@")).toString();
    leidos.insert(texto, numero);
    return numero;
}
QString Numero(Currency importe)
{
    return NumeroSQL(importe);
}

QString SinComillas(const QString &texto)
{
    return gComponente().QuitaCaracteres(texto, QStringLiteral("'"));
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
    return propio.isEmpty() ? enc.DepositoDefault : CodigoSQL(propio, 4);
}

QString DepositoDeLinea(const ui::FlexGrid &grilla, int fila, const EncabezadoStock &enc)
{
    const QString propio = vb::Trim(grilla.TextMatrix(fila, ColDeposito));
    if (enc.SignoRemota == 1 || propio.isEmpty())
        return DepositoResuelto(grilla, fila, enc.IdDeposito, enc);
    return CodigoSQL(propio, 4);
}

EntradaElegida EligeEntrada(const ItemsDeEntrada &items)
{
    const QString &itemLote = items.ItemLote;
    const QString &itemSerie = items.ItemSerie;
    const auto cantidadDelItem = [&] { return gComponente().ConvierteADouble(Variant(itemSerie)); };
    EntradaElegida e;
    e.Cantidad = items.Cantidad;
    if (items.Signo == 1) {
        e.Lote = CodigoAncho(itemLote, 25);
        e.Serie = CodigoAncho(itemSerie, 25);
        if (items.Perecedero) {
            e.Lote = CodigoAncho(items.Lotes, 25);
        } else if (items.Talle) {
            if (!vb::Trim(itemLote).isEmpty()) {
                SeparaLoteSerie(itemLote, e.Lote, e.Serie);
                e.Lote = CodigoAncho(e.Lote, 25);
                e.Serie.clear();
                e.Cantidad = cantidadDelItem();
                e.DeLaLista = true;
            }
        } else {
            if (vb::Trim(e.Lote).isEmpty() && !vb::Trim(items.LoteFijo).isEmpty())
                e.Lote = CodigoAncho(items.LoteFijo, 25);
            const QString &item = items.Transferencia ? itemLote : itemSerie;
            if (items.Serie && !vb::Trim(item).isEmpty()) {
                SeparaLoteSerie(item, e.Lote, e.Serie);
                e.Lote = CodigoAncho(e.Lote, 25);
                e.Serie = CodigoAncho(e.Serie, 25);
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
                e.Lote = CodigoAncho(e.Lote, 25);
            }
            e.Cantidad = cantidadDelItem();
            e.DeLaLista = true;
        } else if (!vb::Trim(itemLote).isEmpty()) {
            SeparaLoteSerie(itemLote, e.Lote, e.Serie);
            e.Lote = CodigoAncho(e.Lote, 25);
            e.Serie = CodigoAncho(e.Serie, 25);
            e.Cantidad = cantidadDelItem();
            e.DeLaLista = true;
        }
    }
    return e;
}

double CantidadMovimiento(const MovimientoDeLinea &m)
{
    const bool conLote = !vb::Trim(m.lote).isEmpty();
    const bool conSerie = !vb::Trim(m.serie).isEmpty();
    if (m.signo == 1) {
        if (m.talle || !conLote || conSerie || m.reparto)
            return m.entrada;
        return m.entradas > 1 ? 1 : m.linea; // a lot without serial
    }
    if (m.signo == -1)
        return conLote || conSerie || m.entrada > 0 ? m.entrada : m.linea;
    return m.linea;
}

QString CuentaDeFila(const QString &Cuenta, const QString &IdArticulo)
{
    if (!vb::EqualsText(Cuenta, QStringLiteral("PorDefault")))
        return Cuenta;
    const QString propia = vb::Trim(TextoNoNulo(gDB().DatosTabla(QStringLiteral("V_MA_ARTICULOS"),
                                                                 CodigoAncho(IdArticulo, 25),
                                                                 QStringLiteral("CUENTAPROVEEDOR"),
                                                                 QStringLiteral("IDARTICULO"),
                                                                 8,
                                                                 QString(),
                                                                 true)));
    return propia.isEmpty() ? QStringLiteral("NULL") : propia;
}

void ArmaMovimientoStock(ui::FlexGrid &grilla, EncabezadoStock &enc, const MovimientoStock &mov, bool &HayComodato)
{
    const int f = mov.Fila;
    auto celda = [&](int columna) { return grilla.TextMatrix(f, columna); };
    const Currency signo = Currency::fromScaled(std::int64_t(mov.Signo) * 10000);

    gCamposValores.clear();
    AgregaCampo(u"TC", CodigoSQL(enc.TC, 4));
    AgregaCampo(u"IdComprobante", TextoSQL(enc.SucNroLetra));
    if (!enc.EsCompras)
        AgregaCampo(u"IdComplemento", enc.IdComplemento);
    AgregaCampo(u"Secuencia", QString::number(mov.Secuencia));
    AgregaCampo(u"Fecha", TextoSQL(enc.Fecha));
    if (!vb::Trim(gCaja).isEmpty()) {
        gCaja = SinComillas(gCaja);
        AgregaCampo(u"IdCaja", CodigoSQL(gCaja, 4));
    }
    AgregaCampo(u"IdDeposito", mov.Deposito);
    if (enc.EsTransferencia)
        AgregaCampo(u"IDDEPOSITO_DESTINO",
                    vb::Trim(mov.DepositoDestino).isEmpty() ? QStringLiteral("null") : mov.DepositoDestino);
    AgregaCampo(u"IdArticulo", CodigoSQL(celda(ColArticulo), 25));
    AgregaCampo(u"Descripcion", TextoSQL(SinComillas(vb::Left(vb::Trim(celda(ColDescripcion)), 100))));
    AgregaCampo(u"NroLote", TextoSQLoNull(mov.Lote));

    QString controlado = vb::Trim(celda(ControladoPor));
    if (controlado.isEmpty())
        controlado = vb::Trim(SinComillas(celda(Lote_Aduana)));
    if (controlado.isEmpty())
        controlado = vb::Trim(SinComillas(enc.Aduana));
    AgregaCampo(u"ControladoPor", TextoSQL(controlado));

    QString origen = vb::Trim(celda(Lote_Origen));
    if (origen.isEmpty())
        origen = vb::Trim(enc.LoteOrigen);
    if (!origen.isEmpty())
        AgregaCampo(u"IdOrigen", CodigoSQL(origen, 4));

    AgregaCampo(u"NroSerie", TextoSQLoNull(mov.Serie));
    const QString unidad = vb::Trim(celda(ColUnidad));
    AgregaCampo(u"IdUnidad", CodigoSQLoNull(unidad, 4));
    AgregaCampo(u"Cantidad", Numero(Currency::fromDouble(mov.Cantidad * mov.Signo)));

    // The quantity in the base unit, when the line carries one.
    grilla.setTextMatrix(f, ColUnidadEquiv, CodigoAncho(celda(ColUnidadEquiv), 4));
    if (celda(ColAux76).isEmpty())
        grilla.setTextMatrix(f, ColAux76, QStringLiteral("0"));
    const bool pesable = MarcaDeCelda(grilla, f, ColAux76);
    const bool conUnidadBase = !vb::Trim(celda(ColAux41)).isEmpty();
    if ((pesable || !enc.ConfirmaUDEquiv) && conUnidadBase) {
        AgregaCampo(u"CantidadUD", Numero(gComponente().ConvierteACurrency(Variant(celda(ColAux74))) * signo));
        AgregaCampo(u"IdUnidadBase", TextoSQL(celda(ColAux41)));
    } else if (!pesable && enc.ConfirmaUDEquiv) {
        AgregaCampo(u"CantidadUD", Numero(gComponente().ConvierteACurrency(Variant(celda(ColCantidadEquiv))) * signo));
        AgregaCampo(u"IdUnidadBase", TextoSQL(celda(ColUnidadEquiv)));
    }

    const QString cuenta = CuentaDeFila(enc.Cuenta, celda(ColArticulo));
    if (!vb::EqualsText(vb::Trim(cuenta), QStringLiteral("NULL")))
        AgregaCampo(u"CuentaProveedor", TextoSQL(cuenta));

    if (enc.MotivoDeGrilla)
        enc.IdMotivoStock = CodigoSQL(celda(MotivoStock), 4);
    AgregaCampo(u"IdMotivoStock", enc.IdMotivoStock);
    AgregaCampo(u"PrecioVenta", Numero(celda(ColImporte)));
    AgregaCampo(u"Importe_S_Iva", Numero(celda(AuxPrecioSinIVA)));
    AgregaCampo(u"Costo", Numero(celda(ColAux38)));
    AgregaCampo(u"Impuestos", Numero(celda(ColImpuestos)));
    AgregaCampo(u"DtoItem", Numero(celda(ColPorcDto)));
    if (enc.TcOrigenDeGrilla)
        enc.TcOrigen = TextoSQL(vb::Trim(vb::Left(celda(AuxCpteOrigen), 4)));
    AgregaCampo(u"Tc_Origen", enc.TcOrigen);
    if (enc.ComprobanteOrigenDeGrilla)
        enc.ComprobanteOrigen = TextoSQL(vb::Trim(vb::Mid(celda(AuxCpteOrigen), 5, 13)));
    AgregaCampo(u"IdComprobante_Origen", enc.ComprobanteOrigen);
    AgregaCampo(u"Id_Origen", Numero(celda(AuxIdCpteOrigen)));

    const Currency tasa = gComponente().ConvierteACurrency(Variant(celda(AuxTasaIVA)));
    const bool exento = vb::CInt(gComponente().ConvierteACurrency(Variant(celda(AuxEsExento))).toDouble()) == -1;
    AgregaCampo(u"IVARI",
                tasa == Currency() && !exento ? gDB().SQLValue(Variant(enc.PIVA), QStringLiteral("@")).toString()
                                              : Numero(tasa));
    AgregaCampo(u"IVARNI", Numero(celda(ColAux45)));
    if (!vb::EqualsText(vb::Trim(enc.IdTecnico), QStringLiteral("NULL")))
        AgregaCampo(u"IdTecnico", CodigoSQL(enc.IdTecnico, 4));
    if (celda(AuxCoeficiente).isEmpty())
        grilla.setTextMatrix(f, AuxCoeficiente, QStringLiteral("1"));
    AgregaCampo(u"EQUIV_UDBASE", Numero(celda(AuxCoeficiente)));
    AgregaCampo(u"IDINSERT", Numero(celda(ColAux80)));
    AgregaCampo(u"IDCOMPULSA", Numero(celda(ColAux81)));
    AgregaCampo(u"Oferta", Numero(celda(ColAux85)));
    AgregaCampo(u"IdVendedor", TextoSQL(enc.IdVendedor));
    AgregaCampo(u"Importe_Ud", Numero(celda(ColImporteUnidad)));
    AgregaCampo(u"Ud_Pr", CodigoSQL(celda(ColUnidadPrecio), 4));
    AgregaCampo(u"EnComodato", Numero(celda(EnComodato)));

    if (!HayComodato && vb::Val(celda(EnComodato)) == 1)
        HayComodato = true;
}

QString InsertStock()
{
    QString sentencia = QStringLiteral("INSERT INTO V_MV_STOCK");
    ArmaInsert(sentencia, gCamposValores, true);
    return sentencia;
}
