#include "posting/consumo_insumos.h"

#include "posting/corrida_stock_p.h"
#include "posting/movimiento_stock.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "platform/component/component.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"
#include "stock/ast.h"
#include "stock/numeracion_stock.h"
#include "voucher/columnas.h"

#include <optional>

std::vector<TipoArticuloCantidad> gInsumos;

using namespace GrillaArticulos;

namespace {

Currency Importe(const Variant &valor)
{
    return gComponente().ConvierteACurrency(valor);
}
QString Numero(Currency importe)
{
    return NumeroSQL(importe);
}

QString DatoDelArticulo(const QString &articulo, const char *campo)
{
    return TextoNoNulo(gDB().DatosTabla(QStringLiteral("V_MA_ARTICULOS"),
                                        CodigoAncho(articulo, 25),
                                        QString::fromLatin1(campo),
                                        QStringLiteral("IDARTICULO"),
                                        8,
                                        QString(),
                                        true));
}

// One consumption row: the product row offsets the line's article, a
// component row consumes a component (from one of its lots, or without lot).
struct FilaConsumo
{
    int Fila = 0;
    bool Producto = false;
    QString Articulo;            // the component (or the line's article)
    QString Unidad;              // the component's unit
    std::optional<QString> Lote; // set for a row made from a lot record
    Currency Cantidad;           // with its sign
    QString ArticuloDeLaCuenta;  // whose supplier account it carries
};

class Consumo
{
public:
    explicit Consumo(CorridaStock &corrida)
        : m_corrida(corrida)
        , m_grilla(corrida.Grilla)
    {}

    void Corre();

private:
    void Linea(int fila);
    // Writes (or collects) one row; a row that moves nothing is not written.
    void Escribe(const FilaConsumo &f);
    QString Deposito(int fila) const;

    CorridaStock &m_corrida;
    ui::FlexGrid &m_grilla;
    QString m_id; // the consumption voucher: type PE, one id per run
    QString m_sucursal = QStringLiteral("0001");
    QString m_letra = QStringLiteral("X");
    std::vector<TipoArticuloCantidad> m_lotes;
};

void Consumo::Corre()
{
    bool descarga = true;
    m_corrida.Paso([&] {
        descarga = !CfgSi(Cfg(QStringLiteral("DescargaInsumosProduccion")))
                   && !vb::EqualsText(m_corrida.Enc.TC, QStringLiteral("OP"));
    });
    if (!descarga || m_corrida.Paso.leaving())
        return;
    m_corrida.Secuencia = 0;
    const int filas = m_grilla.Rows();
    for (int fila = 1; fila < filas && !m_corrida.Terminada && !m_corrida.Paso.leaving(); ++fila)
        Linea(fila);
    if (m_corrida.Terminada || m_corrida.Paso.leaving())
        return;

    m_corrida.Paso([&] {
        if (m_corrida.Secuencia <= 0 || vb::Trim(m_id).isEmpty())
            return;
        // The book goes past the number used, in the caller's transaction.
        QString letra = vb::Mid(m_id, 13, 1);
        QString sentencia;
        ActualizaNumeracionComprobante(QStringLiteral("PE"),
                                       QStringLiteral("STOCK"),
                                       vb::Mid(m_id, 1, 4),
                                       vb::Str(vb::Val(vb::Mid(m_id, 5, 8)) + 1),
                                       letra,
                                       true,
                                       sentencia,
                                       false);
        m_corrida.SQLTemp += QLatin1Char('\r') + sentencia;
    });
}

void Consumo::Linea(int fila)
{
    auto celda = [&](int columna) { return m_grilla.TextMatrix(fila, columna); };
    bool tiene = false;
    bool porcentaje = false;
    QString articulo;
    Currency cantidad;
    if (!m_corrida.Paso([&] {
            cantidad = Importe(Variant(celda(ColCantidad)));
            articulo = vb::Trim(celda(ColArticulo));
            if (cantidad == Currency() || articulo.isEmpty())
                return;
            porcentaje = ConvierteBooleano(vb::Trim(celda(Aux_InsumosPorPorcentaje)));
            const Currency base = Importe(Variant(celda(ColAux74)));
            if (porcentaje && base > Currency())
                cantidad = base;
            tiene = IdArticuloTieneInsumos(articulo, gInsumos, false);
        })
        || !tiene)
        return;
    m_corrida.Paso([&] {
        if (m_id.isEmpty())
            m_id = AsignarNumeroComprobante(QStringLiteral("PE"), m_sucursal, m_letra).toString();
    });
    // Without a number the rows would belong to no voucher: the operator has
    // been told why, nothing of the consumption is written and the run ends.
    if (m_id.isEmpty()) {
        m_corrida.HayError = true;
        m_corrida.Terminada = true;
        return;
    }

    const Currency factor = Currency::fromScaled(std::int64_t(m_corrida.Signo) * 10000);
    std::vector<FilaConsumo> filas;
    if (porcentaje) {
        FilaConsumo producto;
        producto.Fila = fila;
        producto.Producto = true;
        producto.Articulo = articulo;
        producto.ArticuloDeLaCuenta = articulo;
        m_corrida.Paso([&] { producto.Cantidad = -(Importe(Variant(celda(ColCantidad))) * factor); });
        filas.push_back(producto);
    }
    const std::vector<TipoArticuloCantidad> insumos = gInsumos;
    for (const TipoArticuloCantidad &insumo : insumos) {
        m_corrida.Paso([&] {
            const QString componente = NormalizaCaracteres(Variant(insumo.Codigo.text()));
            if (componente.isEmpty())
                return;
            Currency necesaria = cantidad * Currency::fromDouble(insumo.Cantidad);
            if (porcentaje)
                necesaria = necesaria / Currency::fromScaled(100 * 10000);
            FilaConsumo fc;
            fc.Fila = fila;
            fc.Articulo = componente;
            fc.Unidad = NormalizaCaracteres(Variant(insumo.Unidad.text()));
            fc.ArticuloDeLaCuenta = porcentaje ? articulo : componente;
            // The lots of the deposit the row moves stock from.
            if (ArticuloTieneLotes(componente, Deposito(fila), m_lotes, necesaria.toDouble())) {
                for (const TipoArticuloCantidad &lote : m_lotes) {
                    fc.Lote = lote.Codigo.text();
                    fc.Cantidad = Currency::fromDouble(lote.Cantidad) * factor;
                    filas.push_back(fc);
                }
            } else {
                fc.Cantidad = necesaria * factor;
                filas.push_back(fc);
            }
        });
        if (m_corrida.Paso.leaving())
            return;
    }
    for (const FilaConsumo &f : filas) {
        if (m_corrida.Terminada || m_corrida.Paso.leaving())
            return;
        m_corrida.Paso([&] { Escribe(f); });
    }
}

QString Consumo::Deposito(int fila) const
{
    const QString propio = vb::Trim(m_grilla.TextMatrix(fila, ColDeposito));
    if (!propio.isEmpty())
        return CodigoSQL(propio, 4);
    return DepositoResuelto(m_grilla, fila, m_corrida.Enc.IdDeposito, m_corrida.Enc);
}

void Consumo::Escribe(const FilaConsumo &f)
{
    if (f.Cantidad == Currency())
        return;
    auto celda = [&](int columna) { return m_grilla.TextMatrix(f.Fila, columna); };
    const EncabezadoStock &enc = m_corrida.Enc;
    const std::int16_t secuencia = m_corrida.SiguienteSecuencia();

    gCamposValores.clear();
    AgregaCampo(u"TC", CodigoSQL(QStringLiteral("PE"), 4));
    AgregaCampo(u"IdComprobante", TextoSQL(m_id));
    if (!enc.EsCompras)
        AgregaCampo(u"IdComplemento", enc.IdComplemento);
    AgregaCampo(u"Secuencia", QString::number(secuencia));
    AgregaCampo(u"Fecha", TextoSQL(enc.Fecha));
    AgregaCampo(u"IdDeposito", Deposito(f.Fila));
    AgregaCampo(u"IdArticulo", CodigoSQL(f.Articulo, 25));
    if (f.Producto) {
        AgregaCampo(u"Descripcion", TextoSQL(vb::Left(vb::Trim(celda(ColDescripcion)), 100)));
    } else {
        const QString descripcion = gComponente().QuitaCaracteres(vb::Trim(DatoDelArticulo(f.Articulo, "DESCRIPCION")),
                                                                  QStringLiteral("'"));
        AgregaCampo(u"Descripcion", TextoSQL(vb::Left(descripcion, 100)));
    }
    if (f.Lote) {
        // The lot as the lot table holds it; the shortfall has none.
        const QString lote = vb::RTrim(QString(*f.Lote).remove(QChar(0)));
        AgregaCampo(u"NroLote", TextoSQLoNull(lote));
    }
    if (f.Producto)
        AgregaCampo(u"IdUnidad", CodigoSQL(celda(ColUnidad), 4));
    else
        AgregaCampo(u"IdUnidad", f.Unidad.isEmpty() ? QStringLiteral("NULL") : CodigoSQL(f.Unidad, 4));
    if (f.Producto) {
        const Currency factor = Currency::fromScaled(-std::int64_t(m_corrida.Signo) * 10000);
        if (MarcaDeCelda(m_grilla, f.Fila, ColAux76)) {
            AgregaCampo(u"CantidadUD", Numero(Importe(Variant(celda(ColAux74))) * factor));
            AgregaCampo(u"IdUnidadBase", TextoSQL(celda(ColAux41)));
        } else if (enc.ConfirmaUDEquiv) {
            AgregaCampo(u"CantidadUD", Numero(Importe(Variant(celda(ColCantidadEquiv))) * factor));
            AgregaCampo(u"IdUnidadBase", TextoSQL(celda(ColUnidadEquiv)));
        }
    }
    AgregaCampo(u"Cantidad", Numero(f.Cantidad));
    const QString cuenta = CuentaDeFila(vb::Trim(enc.Cuenta), f.ArticuloDeLaCuenta);
    if (!vb::EqualsText(vb::Trim(cuenta), QStringLiteral("NULL")))
        AgregaCampo(u"CuentaProveedor", TextoSQL(cuenta));
    AgregaCampo(u"IdMotivoStock", enc.MotivoDeGrilla ? CodigoSQL(celda(MotivoStock), 4) : enc.IdMotivoStock);
    AgregaCampo(u"PrecioVenta", QStringLiteral("0"));
    AgregaCampo(u"Importe_S_iva", QStringLiteral("0"));
    AgregaCampo(u"Costo",
                f.Producto ? Numero(Importe(Variant(celda(ColAux38))))
                           : Numero(Importe(Variant(DatoDelArticulo(f.Articulo, "Costo")))));
    AgregaCampo(u"Tc_Origen", TextoSQL(enc.TC));
    AgregaCampo(u"IdComprobante_Origen", TextoSQL(enc.SucNroLetra));
    AgregaCampo(u"ControladoPor", TextoSQL(vb::Trim(celda(ColArticulo))));
    if (enc.TcOrigenDeGrilla)
        m_corrida.Enc.TcOrigen = TextoSQL(vb::Trim(vb::Left(celda(AuxCpteOrigen), 4)));

    const QString sentencia = InsertStock();
    m_corrida.Secuencia = secuencia;
    m_corrida.Envia(sentencia);
}

} // namespace

void ConsumeInsumos(CorridaStock &corrida)
{
    Consumo(corrida).Corre();
}
