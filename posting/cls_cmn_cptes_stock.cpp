// Members of ClsCmnCptes that posting/ defines: the stock posting of a
// voucher's article lines and the sign of a voucher type.
#include "voucher/cls_cmn_cptes.h"

#include "posting/corrida_stock_p.h"
#include "posting/movimiento_stock.h"
#include "posting/signo_comprobante.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "lots/lista_pipe.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/do_events.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/ui.h"
#include "voucher/columnas.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using namespace GrillaArticulos;

namespace {

bool EsDelGrid(const QString &valor)
{
    return vb::EqualsText(vb::Trim(valor), kElDelGrid);
}

// The plain code an SQL literal stands for; NULL stands for none.
QString CodigoDeLiteral(const QString &literal)
{
    QString codigo = vb::Trim(literal);
    if (vb::EqualsText(codigo, QStringLiteral("NULL")))
        return {};
    codigo = TextoDeLiteral(codigo);
    return vb::Trim(codigo);
}

// The line's quantity in equal shares of four decimals, the last share
// taking what the others leave.
std::vector<double> Reparte(Currency total, std::int32_t partes)
{
    std::vector<double> cuotas;
    const Currency cuota = total / Currency::fromScaled(std::int64_t(partes) * 10000);
    Currency resto = total;
    for (std::int32_t k = 1; k < partes; ++k) {
        cuotas.push_back(cuota.toDouble());
        resto -= cuota;
    }
    cuotas.push_back(resto.toDouble());
    return cuotas;
}

// A movement of a transfer's issue, to be entered into the destination.
struct Traslado
{
    int Fila = 0;
    QString Deposito; // where it left from
    QString Lote;
    QString Serie;
    double Cantidad = 0;
};

// One movement of a line as its lists give it, before it has its number.
struct Entrada
{
    QString Lote;
    QString Serie;
    double Cantidad = 0;
};

// What a line posts in one pass, or why it cannot: its lists are read once,
// and a list that does not read cleanly, or quantities that do not match
// their keys or the line, refuse the voucher rather than post a guess.
struct LineaPlaneada
{
    std::vector<Entrada> Entradas;
    QString Falla;
};

// The items of a list cell; false with the fault told when it does not read cleanly.
bool ListaLegible(const QString &celda, const QString &nombre, QStringList &items, QString &falla)
{
    switch (ListaPipe::LeeItems(celda, items)) {
    case ListaPipe::Lectura::Bien:
        return true;
    case ListaPipe::Lectura::SinCerrar:
        falla = QStringLiteral("tiene la lista de %1 sin cerrar (falta el \"|\" final)").arg(nombre);
        return false;
    case ListaPipe::Lectura::Larga:
        falla = QStringLiteral("tiene la lista de %1 más larga que 32767 caracteres").arg(nombre);
        return false;
    }
    return false;
}

// An entry of a serial article: a whole number of units, each with a
// serial of its own; empty when it is so.
QString FallaDeSeries(double linea, qsizetype items, const std::vector<Entrada> &entradas)
{
    const Currency unidades = Currency::fromDouble(std::fabs(linea));
    if (unidades != vb::Round(unidades, 0))
        return QStringLiteral("es de un artículo con número de serie y su cantidad no es entera");
    if (Currency::fromDouble(double(items)) != unidades)
        return QStringLiteral("tiene %1 números de serie y la línea es de %2").arg(items).arg(vb::CStr(unidades));
    QSet<QString> vistas;
    for (const Entrada &e : entradas) {
        const QString serie = vb::Trim(e.Serie);
        if (serie.isEmpty())
            return QStringLiteral("tiene una unidad sin número de serie");
        const QString clave = serie.toCaseFolded();
        if (vistas.contains(clave))
            return QStringLiteral("tiene el número de serie %1 más de una vez").arg(serie);
        vistas.insert(clave);
    }
    return {};
}

// What the quantities a line's list gives add up to.
struct SumaDeLista
{
    bool deLaLista = false; // some quantity comes from the quantity list
    bool positivas = false;
    bool negativas = false;
    Currency suma;
};

// A line whose quantities come from its list: each key takes its quantity
// from the item at its place, all go one way, the line's, and what the line
// moves is what they add up to. Empty when it is so.
QString FallaDeLista(const SumaDeLista &s, qsizetype lotes, qsizetype cantidades, double linea, Currency total)
{
    if (lotes != cantidades)
        return QStringLiteral("tiene %1 elementos en la lista de lotes y %2 en la de cantidades")
            .arg(lotes)
            .arg(cantidades);
    if (s.positivas && s.negativas)
        return QStringLiteral("tiene cantidades positivas y negativas en sus lotes");
    if (s.negativas && linea > 0)
        return QStringLiteral("tiene cantidades negativas en sus lotes y la línea es positiva");
    if (total < Currency())
        total = -total;
    if (s.suma != total)
        return QStringLiteral("tiene cantidades en sus lotes que suman %1 y la línea es de %2")
            .arg(vb::CStr(s.suma), vb::CStr(total));
    return {};
}

// The journal rows of the run's voucher: of one line, or of all (fila 0).
QString AsientoDeLaCorrida(CorridaStock &corrida,
                           const QString &motivoStock,
                           const QString &TC,
                           const QString &SucNroLetra,
                           const QString &Fecha,
                           std::int16_t tipoMov,
                           std::int32_t fila)
{
    QString motivo = motivoStock;
    QString tc = TC;
    QString suc = vb::Mid(SucNroLetra, 1, 4);
    QString nro = vb::Mid(SucNroLetra, 5, 8);
    QString letra = vb::Mid(SucNroLetra, 13, 1);
    bool debito = true;
    std::int16_t secuenciaAsiento = 1;
    const QString asiento = corrida.Clase.GeneraAsientoStock(
        corrida.Grilla, motivo, tc, suc, nro, letra, Fecha, debito, tipoMov, fila, secuenciaAsiento);
    if (corrida.Clase.AsientoStockIncompleto())
        corrida.HayError = true;
    return asiento;
}

// However the run ends, the banner goes and the operator's input that came
// meanwhile is dropped.
struct CierraAlSalir
{
    ~CierraAlSalir()
    {
        gCartel().Cierra();
        ui::DoEvents();
    }
};

// The header values the caller gets back once the run prepared them.
struct DevuelveAlSalir
{
    const bool &preparado;
    const EncabezadoStock &enc;
    QString &motivo;
    QString &origen;
    QString &comprobante;
    ~DevuelveAlSalir()
    {
        if (!preparado)
            return;
        motivo = enc.IdMotivoStock;
        origen = enc.TcOrigen;
        comprobante = enc.ComprobanteOrigen;
    }
};

// Any failure but a retry that succeeds leaves the posting incomplete.
Steps PasosDeLaCorrida(bool &HayError)
{
    return Steps([&HayError](const ErrObject &err) {
        gCartel().Cierra();
        const int respuesta = gDB().TratamientoErrores(err, std::nullopt, QStringLiteral("ActualizaStock"));
        if (respuesta != Steps::Retry)
            HayError = true;
        return respuesta;
    });
}

// The complement goes unquoted into every row: only a number may.
bool ComplementoValido(Steps &paso, const QString &IdComplemento, bool &HayError)
{
    paso([&] {
        if (!EsNumeroEntero(IdComplemento))
            Raise(vberr::InvalidCall, MensajeComplementoInvalido(IdComplemento));
    });
    if (!EsNumeroEntero(IdComplemento)) {
        HayError = true;
        return false;
    }
    return !paso.leaving();
}

// The caller's header values as the rows write them: SQL literals, NULL for
// a blank, or the grid's sentinel with its flag set on the header.
struct LiteralesEncabezado
{
    QString TcOrigen;
    QString ComprobanteOrigen;
    QString IdDeposito;
    QString IdMotivoStock;
    QString IdDepositoDestino;
};

LiteralesEncabezado PreparaLiterales(EncabezadoStock &enc,
                                     const QString &TcOrigen,
                                     const QString &ComprobanteOrigen,
                                     const QString &IdDeposito,
                                     const QString &IdMotivoStock,
                                     const QString &IdDepositoDestino)
{
    LiteralesEncabezado lit;
    lit.TcOrigen = CodigoAncho(TcOrigen, 4);
    enc.TcOrigenDeGrilla = EsDelGrid(lit.TcOrigen);
    if (!enc.TcOrigenDeGrilla)
        lit.TcOrigen = TextoSQLoNull(lit.TcOrigen);

    lit.ComprobanteOrigen = ComprobanteOrigen;
    enc.ComprobanteOrigenDeGrilla = EsDelGrid(lit.ComprobanteOrigen);
    if (!enc.ComprobanteOrigenDeGrilla)
        lit.ComprobanteOrigen = TextoSQLoNull(lit.ComprobanteOrigen);

    enc.DepositoDefault = CodigoSQL(Cfg(QStringLiteral("DepositoDefault")), 4);
    lit.IdDeposito = IdDeposito;
    if (!EsDelGrid(lit.IdDeposito))
        lit.IdDeposito = vb::Trim(lit.IdDeposito).isEmpty() ? enc.DepositoDefault : CodigoSQL(lit.IdDeposito, 4);

    lit.IdMotivoStock = IdMotivoStock;
    enc.MotivoDeGrilla = EsDelGrid(lit.IdMotivoStock);
    if (!enc.MotivoDeGrilla) {
        if (lit.IdMotivoStock.isEmpty())
            lit.IdMotivoStock = CodigoSQL(Cfg(QStringLiteral("MotivoStockDefault")), 4);
        else
            lit.IdMotivoStock = vb::Trim(lit.IdMotivoStock).isEmpty() ? QStringLiteral("NULL")
                                                                      : CodigoSQL(lit.IdMotivoStock, 4);
    }

    lit.IdDepositoDestino = CodigoSQLoNull(IdDepositoDestino, 4);
    return lit;
}

// The journal rows of the whole voucher, sent or collected with its movements.
void EnviaAsiento(CorridaStock &corrida,
                  bool enComodato,
                  const QString &TC,
                  const QString &SucNroLetra,
                  const QString &Fecha,
                  const QString &Cuenta)
{
    const EncabezadoStock &enc = corrida.Enc;
    const std::int16_t tipoMov = TipoMovimientoStock(TC, CodigoDeLiteral(enc.TcOrigen), enComodato, Cuenta);
    corrida.Salida.Envia(AsientoDeLaCorrida(corrida, enc.IdMotivoStock, TC, SucNroLetra, Fecha, tipoMov, 0));
}

// The reception of a purchase order that the voucher receives.
void MarcaRecepcion(CorridaStock &corrida, const QString &TC, const QString &origenPedido, const QString &Fecha)
{
    const bool recepcionObligatoria = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("IR_Oblig")));
    const bool recibe = vb::EqualsText(vb::Trim(TC), QStringLiteral("FCC"))
                        || vb::EqualsText(vb::Trim(TC), QStringLiteral("RMC"));
    if (recepcionObligatoria || !recibe || !vb::EqualsText(origenPedido, QStringLiteral("OC")))
        return;
    const EncabezadoStock &enc = corrida.Enc;
    corrida.Envia(QStringLiteral("if exists(select * from c_mv_cpte where TC=") + enc.TcOrigen
                  + QStringLiteral(" and IDCOMPROBANTE=") + enc.ComprobanteOrigen
                  + QStringLiteral(" and fecharecepcion is null) ")
                  + QStringLiteral(" UPDATE c_mv_cpte set FechaRecepcion=") + TextoSQL(Fecha)
                  + QStringLiteral(" where TC=") + enc.TcOrigen + QStringLiteral(" and IDCOMPROBANTE=")
                  + enc.ComprobanteOrigen);
}

bool EsDeCompras(const QString &TC)
{
    return vb::EqualsText(gDB()
                              .DatosTabla(QStringLiteral("V_TA_CPTE"),
                                          TC,
                                          QStringLiteral("SISTEMA"),
                                          QStringLiteral("Codigo"),
                                          8,
                                          QString(),
                                          true)
                              .toString(),
                          QStringLiteral("COMPRAS"));
}

// A production order's new movements follow the ones it already has.
std::int16_t SecuenciaDeProduccion(const QString &TC, const QString &SucNroLetra)
{
    QString consulta = QStringLiteral("SELECT MAX(SECUENCIA) AS MAX_SECUENCIA FROM V_MV_STOCK WHERE TC = ")
                       + CodigoSQL(TC, 4) + QStringLiteral(" AND IDCOMPROBANTE = ") + TextoSQL(SucNroLetra);
    ado::Recordset rs;
    gDB().AbrirRecordset(consulta, rs);
    std::int16_t maximo = vb::CInt(gComponente().ConvierteADouble(CampoValor(rs, 0)));
    gDB().CierraRecordset(&rs);
    if (maximo != 0)
        maximo = vb::CInt(double(maximo) + 1);
    return maximo;
}

// The passes of a run and the sign of each: a transfer issues then enters,
// a production order enters what it makes then issues its inputs.
struct Pasadas
{
    std::int16_t Signo = 0; // the type's
    bool Transferencia = false;
    bool Produccion = false;

    int Cuantas() const { return Transferencia || Produccion ? 2 : 1; }
    // A transfer's second pass enters what the first issued.
    bool Replica() const { return Transferencia && !Produccion; }
    std::int16_t SignoDe(int pasada) const
    {
        std::int16_t s = Signo;
        if (Transferencia)
            s = pasada == 1 ? -1 : 1;
        if (Produccion)
            s = pasada == 1 ? 1 : -1;
        return s;
    }
};

// Each pass's plan of each grid line that it posts.
using Planes = std::vector<std::vector<std::optional<LineaPlaneada>>>;

class Posteo
{
public:
    Posteo(CorridaStock &corrida, bool muestraCartel, const QString &loteFijo)
        : m_corrida(corrida)
        , m_grilla(corrida.Grilla)
        , m_muestraCartel(muestraCartel)
        , m_loteFijo(loteFijo)
    {}

    bool EnComodato = false;

    // The movements of one line with the pass's sign, read from its lists.
    LineaPlaneada Planea(int fila);
    // Sends the movements planned for one line in one pass. Issues of a
    // transfer are kept in `traslados`.
    void Linea(int fila, int pasada, const LineaPlaneada &plan, std::vector<Traslado> *traslados);
    // A transfer's issue entered into its destination.
    void Entra(const Traslado &t);
    // Every pass's lines read before anything is sent; false when a line
    // cannot be read, the operator told why.
    bool PlaneaPasadas(const Pasadas &pasadas, Planes &planes);
    // Sends every pass's planned movements.
    void PosteaPasadas(const Pasadas &pasadas, const Planes &planes);

private:
    // Refuses the voucher: the operator is told why, nothing is sent.
    void Rechaza(const QString &motivo);
    // Why a transfer's line cannot move between its deposits; empty when it can.
    QString FallaDeTraslado(int fila);
    // Whether a grid row is a line the pass posts.
    bool EsLinea(int fila, int pasada, bool produccion);
    // Builds, shows and sends one movement.
    void Emite(MovimientoStock mov);

    CorridaStock &m_corrida;
    ui::FlexGrid &m_grilla;
    bool m_muestraCartel;
    QString m_loteFijo;
};

LineaPlaneada Posteo::Planea(int fila)
{
    auto celda = [&](int columna) { return m_grilla.TextMatrix(fila, columna); };
    const std::int16_t signo = m_corrida.Signo;
    const bool transferencia = m_corrida.Enc.EsTransferencia;
    LineaPlaneada plan;
    m_corrida.Paso([&] {
        plan = {};
        const double linea = gComponente().ConvierteACurrency(Variant(celda(ColCantidad))).toDouble();
        if (signo == -1 && vb::Trim(celda(AuxPideTalle)).isEmpty())
            m_grilla.setTextMatrix(fila, AuxPideTalle, QStringLiteral("0"));
        const bool talle = MarcaDeCelda(m_grilla, fila, AuxPideTalle);
        const bool serie = MarcaDeCelda(m_grilla, fila, AuxPideSerie);
        const QString lotes = celda(ColNroLote);
        const QString series = celda(ColNroSerie);
        QStringList itemsLote;
        QStringList itemsSerie;
        const QString nombreSeries = signo == -1 || talle || (serie && transferencia) ? QStringLiteral("cantidades")
                                                                                      : QStringLiteral("series");
        if (!ListaLegible(lotes, QStringLiteral("lotes"), itemsLote, plan.Falla)
            || !ListaLegible(series, nombreSeries, itemsSerie, plan.Falla))
            return;

        std::int32_t entradas = 0;
        std::int32_t movimientos = 1;
        std::vector<double> cuotas; // the shares of a line whose list gives its movements
        if (signo == 1) {
            if (talle || (serie && transferencia))
                entradas = ListaPipe::Cuenta_Series_Lotes(lotes, QString(), false);
            else if (serie)
                entradas = ListaPipe::Cuenta_Series_Lotes(series, lotes, true);
            else
                entradas = ListaPipe::Cuenta_Series_Lotes(series, lotes, false);
            if (talle || serie) {
                movimientos = std::max<std::int32_t>(1, entradas);
            } else if (entradas > 1) {
                // One movement per item of the list that gives the count,
                // each with its share of the line.
                movimientos = std::int32_t(series.isEmpty() ? itemsLote.size() : itemsSerie.size());
                cuotas = Reparte(gComponente().ConvierteACurrency(Variant(celda(ColCantidad))), movimientos);
            }
        } else if (signo == -1) {
            entradas = ListaPipe::Cuenta_Series_Lotes(lotes, QString(), false);
            movimientos = std::max<std::int32_t>(1, entradas);
        }

        ItemsDeEntrada items;
        items.Signo = signo;
        items.Talle = talle;
        items.Serie = serie;
        items.Transferencia = transferencia;
        const QString perecedero = vb::Trim(celda(Auxesperecedero));
        items.Perecedero = ConvierteBooleano(perecedero.isEmpty() ? QStringLiteral("0") : perecedero);
        items.Lotes = lotes;
        items.LoteFijo = m_loteFijo;
        items.Cantidad = gComponente().ConvierteADouble(Variant(celda(ColCantidad)));

        // A blank cell of the dialog names no lot and no serial. A unit of an
        // entry left without its lot goes without one, or with the fixed
        // lot, unless the article keeps its stock by lot.
        const bool entradaDeUnidades = signo == 1 && !talle && !items.Perecedero;
        const bool listaDeSeries = signo == 1 && !talle && !(serie && transferencia);
        if (entradaDeUnidades && vb::Trim(m_loteFijo).isEmpty() && MarcaDeCelda(m_grilla, fila, AuxPidelote)
            && std::any_of(itemsLote.cbegin(), itemsLote.cend(), ListaPipe::EsItemEnBlanco)) {
            plan.Falla = QStringLiteral("tiene una unidad sin número de lote");
            return;
        }
        for (QString &item : itemsLote)
            if (ListaPipe::EsItemEnBlanco(item))
                item.clear();
        if (listaDeSeries)
            for (QString &item : itemsSerie)
                if (ListaPipe::EsItemEnBlanco(item))
                    item.clear();

        // Every movement goes the line's way: a list gives magnitudes, or
        // quantities that all carry the line's sign.
        const double direccion = linea < 0 ? -1 : 1;
        SumaDeLista lista;
        for (std::int32_t k = 1; k <= movimientos; ++k) {
            items.ItemLote = itemsLote.value(k - 1);
            items.ItemSerie = itemsSerie.value(k - 1);
            EntradaElegida e = EligeEntrada(items);
            if (signo == 1 && !cuotas.empty())
                e.Cantidad = cuotas[std::size_t(k - 1)];
            lista.deLaLista = lista.deLaLista || e.DeLaLista;
            if (e.DeLaLista) {
                lista.positivas = lista.positivas || e.Cantidad > 0;
                lista.negativas = lista.negativas || e.Cantidad < 0;
            }
            if (e.DeLaLista && e.Cantidad == 0)
                continue; // nothing taken from that item: its number goes to the next movement
            const double cantidad = std::fabs(CantidadMovimiento({.signo = signo,
                                                                  .talle = signo == 1 && talle,
                                                                  .lote = e.Lote,
                                                                  .serie = e.Serie,
                                                                  .entrada = e.Cantidad,
                                                                  .linea = linea,
                                                                  .entradas = entradas,
                                                                  .reparto = !cuotas.empty()}))
                                    * direccion;
            lista.suma += Currency::fromDouble(std::fabs(cantidad));
            plan.Entradas.push_back({e.Lote, e.Serie, cantidad});
        }

        if (signo == 1 && serie && !talle && !transferencia) {
            plan.Falla = FallaDeSeries(linea, itemsSerie.size(), plan.Entradas);
            if (!plan.Falla.isEmpty())
                return;
        }
        if (lista.deLaLista)
            plan.Falla = FallaDeLista(lista,
                                      itemsLote.size(),
                                      itemsSerie.size(),
                                      linea,
                                      gComponente().ConvierteACurrency(Variant(celda(ColCantidad))));
    });
    return plan;
}

void Posteo::Linea(int fila, int pasada, const LineaPlaneada &plan, std::vector<Traslado> *traslados)
{
    for (const Entrada &e : plan.Entradas) {
        if (m_corrida.Terminada || m_corrida.Paso.leaving())
            return;
        m_corrida.Paso([&] {
            const std::int16_t secuencia = m_corrida.SiguienteSecuencia();
            m_corrida.Eventos();
            MovimientoStock mov;
            mov.Fila = fila;
            mov.Signo = m_corrida.Signo;
            mov.Secuencia = secuencia;
            mov.Deposito = pasada == 1
                               ? DepositoDeLinea(m_grilla, fila, m_corrida.Enc)
                               : DepositoResuelto(m_grilla, fila, m_corrida.Enc.IdDepositoDestino, m_corrida.Enc);
            mov.DepositoDestino = m_corrida.Enc.IdDepositoDestino;
            mov.Lote = e.Lote;
            mov.Serie = e.Serie;
            mov.Cantidad = e.Cantidad;
            if (traslados)
                traslados->push_back({fila, mov.Deposito, mov.Lote, mov.Serie, mov.Cantidad});
            Emite(mov);
        });
    }
}

void Posteo::Entra(const Traslado &t)
{
    m_corrida.Paso([&] {
        MovimientoStock mov;
        mov.Fila = t.Fila;
        mov.Signo = 1;
        mov.Secuencia = m_corrida.SiguienteSecuencia();
        m_corrida.Eventos();
        mov.Deposito = DepositoResuelto(m_grilla, t.Fila, m_corrida.Enc.IdDepositoDestino, m_corrida.Enc);
        mov.DepositoDestino = t.Deposito;
        mov.Lote = t.Lote;
        mov.Serie = t.Serie;
        mov.Cantidad = t.Cantidad;
        Emite(mov);
    });
}

void Posteo::Emite(MovimientoStock mov)
{
    const int fila = mov.Fila;
    ArmaMovimientoStock(m_grilla, m_corrida.Enc, mov, EnComodato);
    QString sentencia = InsertStock();
    m_corrida.Eventos();
    if (m_muestraCartel)
        gCartel().Actualiza(0,
                            QStringLiteral("Grabando Stock..."),
                            vb::Trim(m_grilla.TextMatrix(fila, ColArticulo)) + QStringLiteral("  ")
                                + m_grilla.TextMatrix(fila, ColDescripcion),
                            QString::number(fila) + QStringLiteral(" de ") + QString::number(m_grilla.Rows() - 1));
    QString asiento;
    if (!m_corrida.Salida.Devuelve()) {
        // Each movement runs with its own journal rows, once it was written.
        const EncabezadoStock &enc = m_corrida.Enc;
        asiento = AsientoDeLaCorrida(m_corrida, enc.IdMotivoStock, enc.TC, enc.SucNroLetra, enc.Fecha, 0, fila);
    }
    m_corrida.Secuencia = mov.Secuencia;
    if (m_corrida.Envia(sentencia) && !m_corrida.Salida.Devuelve()) {
        if (!asiento.isEmpty())
            m_corrida.Envia(asiento);
        m_corrida.Eventos();
    }
}

bool Posteo::EsLinea(int fila, int pasada, bool produccion)
{
    bool es = false;
    m_corrida.Paso([&] {
        // A row whose code is blank is no line.
        es = gComponente().ConvierteACurrency(Variant(m_grilla.TextMatrix(fila, ColCantidad))) != Currency()
             && !vb::Trim(m_grilla.TextMatrix(fila, ColArticulo)).isEmpty();
        if (es && produccion) {
            const bool producido = vb::Trim(m_grilla.TextMatrix(fila, AuxCantidadInsumo)) == QLatin1String("-1");
            es = producido == (pasada == 1);
        }
    });
    return es;
}

void Posteo::Rechaza(const QString &motivo)
{
    gCartel().Cierra();
    ui::MsgBox(QStringLiteral("No se grabó el comprobante: ") + motivo + QLatin1Char('.'),
               ui::vbCritical,
               QStringLiteral("Aviso al operador"));
    m_corrida.HayError = true;
}

QString Posteo::FallaDeTraslado(int fila)
{
    // A transfer moves stock between two deposits: to none it would leave
    // every balance, to the one it leaves it would move nothing.
    const QString destino = CodigoDeLiteral(m_corrida.Enc.IdDepositoDestino);
    if (destino.isEmpty())
        return QStringLiteral("sale por traslado sin depósito de destino");
    const QString origen = CodigoDeLiteral(DepositoDeLinea(m_grilla, fila, m_corrida.Enc));
    if (vb::EqualsText(origen, destino))
        return QStringLiteral("sale por traslado hacia el mismo depósito %1").arg(origen);
    return {};
}

bool Posteo::PlaneaPasadas(const Pasadas &pasadas, Planes &planes)
{
    Steps &paso = m_corrida.Paso;
    planes.assign(std::size_t(pasadas.Cuantas() + 1), {});
    for (int pasada = 1; pasada <= pasadas.Cuantas() && !paso.leaving(); ++pasada) {
        if (pasadas.Replica() && pasada == 2)
            break;
        m_corrida.Signo = pasadas.SignoDe(pasada);
        const int filas = m_grilla.Rows();
        planes[std::size_t(pasada)].resize(std::size_t(std::max(filas, 0)));
        for (int fila = 1; fila < filas && !paso.leaving(); ++fila) {
            if (!EsLinea(fila, pasada, pasadas.Produccion))
                continue;
            LineaPlaneada plan;
            if (pasadas.Replica())
                paso([&] { plan.Falla = FallaDeTraslado(fila); });
            if (plan.Falla.isEmpty() && !paso.leaving())
                plan = Planea(fila);
            if (!plan.Falla.isEmpty()) {
                Rechaza(QStringLiteral("el artículo ") + vb::Trim(m_grilla.TextMatrix(fila, ColArticulo))
                        + QStringLiteral(" (línea ") + QString::number(fila) + QStringLiteral(") ") + plan.Falla);
                return false;
            }
            planes[std::size_t(pasada)][std::size_t(fila)] = std::move(plan);
        }
    }
    return true;
}

void Posteo::PosteaPasadas(const Pasadas &pasadas, const Planes &planes)
{
    Steps &paso = m_corrida.Paso;
    std::vector<Traslado> traslados;
    for (int pasada = 1; pasada <= pasadas.Cuantas() && !m_corrida.Terminada && !paso.leaving(); ++pasada) {
        m_corrida.Signo = pasadas.SignoDe(pasada);
        if (pasadas.Replica() && pasada == 2) {
            // The destination receives exactly what the issue took.
            for (const Traslado &t : traslados) {
                if (m_corrida.Terminada || paso.leaving())
                    break;
                Entra(t);
            }
            continue;
        }
        const std::vector<std::optional<LineaPlaneada>> &delPaso = planes[std::size_t(pasada)];
        for (std::size_t fila = 1; fila < delPaso.size() && !m_corrida.Terminada && !paso.leaving(); ++fila) {
            if (delPaso[fila])
                Linea(int(fila), pasada, *delPaso[fila], pasadas.Replica() ? &traslados : nullptr);
        }
    }
}

} // namespace

std::int16_t CorridaStock::SiguienteSecuencia() const
{
    if (Secuencia == INT16_MAX)
        Raise(vberr::Overflow);
    return std::int16_t(Secuencia + 1);
}

bool CorridaStock::Envia(const QString &sentencia)
{
    if (Salida.Envia(sentencia))
        return true;
    const ado::Errors &errores = gDB().gCnn().errors();
    ui::MsgBox(errores.Count() > 0 ? errores.Item(0).Description : QString(),
               ui::vbCritical,
               QStringLiteral("Aviso al operador"));
    HayError = true;
    Terminada = true;
    return false;
}

void ClsCmnCptes::ActualizaStock(ui::FlexGrid &MSFlexGrid2,
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
                                 const QString &IdVendedor)
{
    const CierraAlSalir alSalir;

    NuevoAsientoStock();
    Steps paso = PasosDeLaCorrida(HayError);
    CorridaStock corrida(*this,
                         MSFlexGrid2,
                         Sentencias::Segun(GeneraSentenciaSQL, SQLTemp, QStringLiteral("\r")),
                         SQLTemp,
                         HayError,
                         paso);
    EncabezadoStock &enc = corrida.Enc;
    Posteo posteo(corrida, MuestraCartel, LoteFijo);
    // With the grid flags the parameters end with the last posted line's values.
    bool preparado = false;
    const DevuelveAlSalir devuelve{preparado, enc, IdMotivoStock, TcOrigen, ComprobanteOrigen};

    if (!ComplementoValido(paso, IdComplemento, HayError))
        return;

    paso([&] {
        if (MuestraCartel)
            gCartel().Muestra(QStringLiteral("Grabando Stock...."), 0);
    });

    const QString origenPedido = vb::Trim(TcOrigen);
    paso([&] {
        const LiteralesEncabezado lit
            = PreparaLiterales(enc, TcOrigen, ComprobanteOrigen, IdDeposito, IdMotivoStock, IdDepositoDestino);
        TcOrigen = enc.TcOrigen = lit.TcOrigen;
        ComprobanteOrigen = enc.ComprobanteOrigen = lit.ComprobanteOrigen;
        IdDeposito = enc.IdDeposito = lit.IdDeposito;
        IdMotivoStock = enc.IdMotivoStock = lit.IdMotivoStock;
        IdDepositoDestino = enc.IdDepositoDestino = lit.IdDepositoDestino;
        enc.TC = TC;
        enc.SucNroLetra = SucNroLetra;
        enc.IdComplemento = IdComplemento;
        enc.Fecha = Fecha;
        enc.EsTransferencia = EsTransferencia;
        enc.Cuenta = Cuenta;
        enc.IdTecnico = IdTecnico;
        enc.Aduana = Aduana;
        enc.LoteOrigen = LoteOrigen;
        enc.SignoRemota = SignoRemota;
        enc.IdVendedor = IdVendedor;
        enc.PIVA = mPIVA;
        enc.ConfirmaUDEquiv = CfgSi(Cfg(QStringLiteral("ConfirmaUDEquiv")));
        preparado = true;
    });

    // The sign first: a type without its row posts nothing at all.
    Pasadas pasadas;
    pasadas.Transferencia = EsTransferencia;
    pasadas.Produccion = vb::EqualsText(TC, QStringLiteral("OP"));
    bool conSigno = true;
    paso([&] { pasadas.Signo = SignoRemota != 0 ? SignoRemota : ::ObtieneSignoComprobante(TC, false, conSigno); });
    if (!conSigno) {
        HayError = true;
        return;
    }
    if (paso.leaving())
        return;
    ui::DoEvents();

    // Every line's movements are read from its lists before anything is
    // sent: a line that cannot be read refuses the whole voucher.
    Planes planes;
    if (!posteo.PlaneaPasadas(pasadas, planes) || paso.leaving())
        return;

    paso([&] { MarcaRecepcion(corrida, TC, origenPedido, Fecha); });
    if (corrida.Terminada || paso.leaving())
        return;
    paso([&] { enc.EsCompras = EsDeCompras(TC); });
    paso([&] {
        if (!pasadas.Produccion)
            return;
        IdDepositoDestino = enc.IdDepositoDestino = enc.IdDeposito;
        corrida.Secuencia = SecuenciaDeProduccion(TC, SucNroLetra);
    });

    posteo.PosteaPasadas(pasadas, planes);
    if (corrida.Terminada || paso.leaving())
        return;
    ui::DoEvents();

    // A transfer moves the articles themselves between deposits: nothing is
    // made there, so nothing is consumed.
    if (!EsTransferencia)
        ConsumeInsumos(corrida);
    if (corrida.Terminada || paso.leaving())
        return;

    gCartel().Cierra();
    if (corrida.Salida.Devuelve()) {
        paso([&] { EnviaAsiento(corrida, posteo.EnComodato, TC, SucNroLetra, Fecha, Cuenta); });
        ui::DoEvents();
    }
}

std::int16_t ClsCmnCptes::ObtieneSignoComprobante(const QString &TC, bool LibroIVA)
{
    return ::ObtieneSignoComprobante(TC, LibroIVA);
}
