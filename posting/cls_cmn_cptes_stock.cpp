// Members of ClsCmnCptes that posting/ defines: the stock posting of a
// voucher's article lines and the sign of a voucher type.
#include "voucher/cls_cmn_cptes.h"

#include "posting/corrida_stock_p.h"
#include "posting/movimiento_stock.h"
#include "posting/signo_comprobante.h"

#include "database/builders.h"
#include "database/config.h"
#include "database/conversions.h"
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

#include <algorithm>
#include <optional>
#include <vector>

using namespace GrillaArticulos;

namespace {

QString W4(const QString &codigo)
{
    return gComponente().FormateaCodigo(codigo, 4);
}

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

private:
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
        bool deLaLista = false; // some quantity comes from the quantity list
        Currency suma;
        for (std::int32_t k = 1; k <= movimientos; ++k) {
            items.ItemLote = itemsLote.value(k - 1);
            items.ItemSerie = itemsSerie.value(k - 1);
            EntradaElegida e = EligeEntrada(items);
            if (signo == 1 && !cuotas.empty())
                e.Cantidad = cuotas[std::size_t(k - 1)];
            deLaLista = deLaLista || e.DeLaLista;
            if (e.DeLaLista && e.Cantidad == 0)
                continue; // nothing taken from that item: its number goes to the next movement
            const double cantidad = CantidadMovimiento(signo,
                                                       signo == 1 && talle,
                                                       e.Lote,
                                                       e.Serie,
                                                       e.Cantidad,
                                                       linea,
                                                       entradas,
                                                       !cuotas.empty());
            suma += Currency::fromDouble(cantidad);
            plan.Entradas.push_back({e.Lote, e.Serie, cantidad});
        }

        if (!deLaLista)
            return;
        // Each key takes its quantity from the item at its place, and what
        // the line moves is what its quantities add up to.
        if (itemsLote.size() != itemsSerie.size()) {
            plan.Falla = QStringLiteral("tiene %1 elementos en la lista de lotes y %2 en la de cantidades")
                             .arg(itemsLote.size())
                             .arg(itemsSerie.size());
            return;
        }
        Currency total = gComponente().ConvierteACurrency(Variant(celda(ColCantidad)));
        if (total < Currency())
            total = -total;
        if (suma < Currency())
            suma = -suma;
        if (suma != total)
            plan.Falla = QStringLiteral("tiene cantidades en sus lotes que suman %1 y la línea es de %2")
                             .arg(vb::CStr(suma), vb::CStr(total));
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
            ui::DoEvents();
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
        ui::DoEvents();
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
    ui::DoEvents();
    if (m_muestraCartel)
        gCartel().Actualiza(0,
                            QStringLiteral("Grabando Stock..."),
                            vb::Trim(m_grilla.TextMatrix(fila, ColArticulo)) + QStringLiteral("  ")
                                + m_grilla.TextMatrix(fila, ColDescripcion),
                            QString::number(fila) + QStringLiteral(" de ") + QString::number(m_grilla.Rows() - 1));
    QString asiento;
    if (!m_corrida.Salida.Devuelve()) {
        // Each movement runs with its own journal rows, once it was written.
        QString motivo = m_corrida.Enc.IdMotivoStock;
        QString tc = m_corrida.Enc.TC;
        QString suc = vb::Mid(m_corrida.Enc.SucNroLetra, 1, 4);
        QString nro = vb::Mid(m_corrida.Enc.SucNroLetra, 5, 8);
        QString letra = vb::Mid(m_corrida.Enc.SucNroLetra, 13, 1);
        bool debito = true;
        std::int16_t secuenciaAsiento = 1;
        asiento = m_corrida.Clase.GeneraAsientoStock(
            m_grilla, motivo, tc, suc, nro, letra, m_corrida.Enc.Fecha, debito, 0, fila, secuenciaAsiento);
        if (m_corrida.Clase.AsientoStockIncompleto())
            m_corrida.HayError = true;
    }
    m_corrida.Secuencia = mov.Secuencia;
    if (m_corrida.Envia(sentencia) && !m_corrida.Salida.Devuelve()) {
        if (!asiento.isEmpty())
            m_corrida.Envia(asiento);
        ui::DoEvents();
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
    // However the run ends, the banner goes and the operator's input that
    // came meanwhile is dropped.
    struct AlSalir
    {
        ~AlSalir()
        {
            gCartel().Cierra();
            ui::DoEvents();
        }
    } alSalir;

    NuevoAsientoStock();
    // Any failure but a retry that succeeds leaves the posting incomplete.
    Steps paso([&](const ErrObject &err) {
        gCartel().Cierra();
        const int respuesta = gDB().TratamientoErrores(err, std::nullopt, QStringLiteral("ActualizaStock"));
        if (respuesta != Steps::Retry)
            HayError = true;
        return respuesta;
    });
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
    struct Devuelve
    {
        const bool &preparado;
        const EncabezadoStock &enc;
        QString &motivo;
        QString &origen;
        QString &comprobante;
        ~Devuelve()
        {
            if (!preparado)
                return;
            motivo = enc.IdMotivoStock;
            origen = enc.TcOrigen;
            comprobante = enc.ComprobanteOrigen;
        }
    } devuelve{preparado, enc, IdMotivoStock, TcOrigen, ComprobanteOrigen};

    // The complement goes unquoted into every row: only a number may.
    paso([&] {
        if (!EsNumeroEntero(IdComplemento))
            Raise(vberr::InvalidCall, MensajeComplementoInvalido(IdComplemento));
    });
    if (!EsNumeroEntero(IdComplemento)) {
        HayError = true;
        return;
    }
    if (paso.leaving())
        return;

    paso([&] {
        if (MuestraCartel)
            gCartel().Muestra(QStringLiteral("Grabando Stock...."), 0);
    });

    const QString origenPedido = vb::Trim(TcOrigen);
    paso([&] {
        QString origen = W4(vb::Trim(TcOrigen));
        enc.TcOrigenDeGrilla = EsDelGrid(origen);
        if (!enc.TcOrigenDeGrilla)
            origen = vb::Trim(origen).isEmpty() ? QStringLiteral("NULL") : TextoSQL(origen);

        QString comprobante = ComprobanteOrigen;
        enc.ComprobanteOrigenDeGrilla = EsDelGrid(comprobante);
        if (!enc.ComprobanteOrigenDeGrilla)
            comprobante = vb::Trim(comprobante).isEmpty() ? QStringLiteral("NULL") : TextoSQL(comprobante);

        enc.DepositoDefault = TextoSQL(W4(vb::Trim(Cfg(QStringLiteral("DepositoDefault")))));
        QString deposito = IdDeposito;
        if (!EsDelGrid(deposito))
            deposito = vb::Trim(deposito).isEmpty() ? enc.DepositoDefault : TextoSQL(W4(vb::Trim(deposito)));

        QString motivo = IdMotivoStock;
        enc.MotivoDeGrilla = EsDelGrid(motivo);
        if (!enc.MotivoDeGrilla) {
            if (motivo.isEmpty())
                motivo = TextoSQL(W4(Cfg(QStringLiteral("MotivoStockDefault"))));
            else
                motivo = vb::Trim(motivo).isEmpty() ? QStringLiteral("NULL") : TextoSQL(W4(motivo));
        }

        QString destino = vb::Trim(IdDepositoDestino).isEmpty() ? QStringLiteral("NULL")
                                                                : TextoSQL(W4(vb::Trim(IdDepositoDestino)));

        TcOrigen = enc.TcOrigen = origen;
        ComprobanteOrigen = enc.ComprobanteOrigen = comprobante;
        IdDeposito = enc.IdDeposito = deposito;
        IdMotivoStock = enc.IdMotivoStock = motivo;
        IdDepositoDestino = enc.IdDepositoDestino = destino;
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
    std::int16_t signo = 0;
    bool conSigno = true;
    paso([&] { signo = SignoRemota != 0 ? SignoRemota : ::ObtieneSignoComprobante(TC, false, conSigno); });
    if (!conSigno) {
        HayError = true;
        return;
    }
    if (paso.leaving())
        return;
    ui::DoEvents();

    // Every line's movements are read from its lists before anything is
    // sent: a line that cannot be read refuses the whole voucher.
    const bool produccion = vb::EqualsText(TC, QStringLiteral("OP"));
    const int pasadas = EsTransferencia || produccion ? 2 : 1;
    const bool replica = EsTransferencia && !produccion;
    const auto signoDePasada = [&](int pasada) {
        std::int16_t s = signo;
        if (EsTransferencia)
            s = pasada == 1 ? -1 : 1;
        if (produccion)
            s = pasada == 1 ? 1 : -1;
        return s;
    };
    const auto esLinea = [&](int fila, int pasada) {
        bool es = false;
        paso([&] {
            // A row whose code is blank is no line.
            es = gComponente().ConvierteACurrency(Variant(MSFlexGrid2.TextMatrix(fila, ColCantidad))) != Currency()
                 && !vb::Trim(MSFlexGrid2.TextMatrix(fila, ColArticulo)).isEmpty();
            if (es && produccion) {
                const bool producido = vb::Trim(MSFlexGrid2.TextMatrix(fila, AuxCantidadInsumo)) == QLatin1String("-1");
                es = producido == (pasada == 1);
            }
        });
        return es;
    };
    std::vector<std::vector<std::optional<LineaPlaneada>>> planes(std::size_t(pasadas + 1));
    for (int pasada = 1; pasada <= pasadas && !paso.leaving(); ++pasada) {
        if (replica && pasada == 2)
            break;
        corrida.Signo = signoDePasada(pasada);
        const int filas = MSFlexGrid2.Rows();
        planes[std::size_t(pasada)].resize(std::size_t(std::max(filas, 0)));
        for (int fila = 1; fila < filas && !paso.leaving(); ++fila) {
            if (!esLinea(fila, pasada))
                continue;
            LineaPlaneada plan = posteo.Planea(fila);
            if (!plan.Falla.isEmpty()) {
                gCartel().Cierra();
                ui::MsgBox(QStringLiteral("No se grabó el comprobante: el artículo ")
                               + vb::Trim(MSFlexGrid2.TextMatrix(fila, ColArticulo)) + QStringLiteral(" (línea ")
                               + QString::number(fila) + QStringLiteral(") ") + plan.Falla + QLatin1Char('.'),
                           ui::vbCritical,
                           QStringLiteral("Aviso al operador"));
                HayError = true;
                return;
            }
            planes[std::size_t(pasada)][std::size_t(fila)] = std::move(plan);
        }
    }
    if (paso.leaving())
        return;

    // The reception of a purchase order that the voucher receives.
    paso([&] {
        const bool recepcionObligatoria = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("IR_Oblig")));
        const bool recibe = vb::EqualsText(vb::Trim(TC), QStringLiteral("FCC"))
                            || vb::EqualsText(vb::Trim(TC), QStringLiteral("RMC"));
        if (recepcionObligatoria || !recibe || !vb::EqualsText(origenPedido, QStringLiteral("OC")))
            return;
        corrida.Envia(QStringLiteral("if exists(select * from c_mv_cpte where TC=") + enc.TcOrigen
                      + QStringLiteral(" and IDCOMPROBANTE=") + enc.ComprobanteOrigen
                      + QStringLiteral(" and fecharecepcion is null) ")
                      + QStringLiteral(" UPDATE c_mv_cpte set FechaRecepcion=") + TextoSQL(Fecha)
                      + QStringLiteral(" where TC=") + enc.TcOrigen + QStringLiteral(" and IDCOMPROBANTE=")
                      + enc.ComprobanteOrigen);
    });
    if (corrida.Terminada || paso.leaving())
        return;

    paso([&] {
        enc.EsCompras = vb::EqualsText(gDB()
                                           .DatosTabla(QStringLiteral("V_TA_CPTE"),
                                                       TC,
                                                       QStringLiteral("SISTEMA"),
                                                       QStringLiteral("Codigo"),
                                                       8,
                                                       QString(),
                                                       true)
                                           .toString(),
                                       QStringLiteral("COMPRAS"));
    });

    paso([&] {
        if (!produccion)
            return;
        IdDepositoDestino = enc.IdDepositoDestino = enc.IdDeposito;
        // A production order's new movements follow the ones it already has.
        QString consulta = QStringLiteral("SELECT MAX(SECUENCIA) AS MAX_SECUENCIA FROM V_MV_STOCK WHERE TC = ")
                           + TextoSQL(W4(vb::Trim(TC))) + QStringLiteral(" AND IDCOMPROBANTE = ")
                           + TextoSQL(SucNroLetra);
        ado::Recordset rs;
        gDB().AbrirRecordset(consulta, rs);
        std::int16_t maximo = vb::CInt(gComponente().ConvierteADouble(gComponente().ValorNoNulo(rs.Fields(0).Value())));
        gDB().CierraRecordset(&rs);
        if (maximo != 0)
            maximo = vb::CInt(double(maximo) + 1);
        corrida.Secuencia = maximo;
    });

    std::vector<Traslado> traslados;
    for (int pasada = 1; pasada <= pasadas && !corrida.Terminada && !paso.leaving(); ++pasada) {
        corrida.Signo = signoDePasada(pasada);
        if (replica && pasada == 2) {
            // The destination receives exactly what the issue took.
            for (const Traslado &t : traslados) {
                if (corrida.Terminada || paso.leaving())
                    break;
                posteo.Entra(t);
            }
            continue;
        }
        const std::vector<std::optional<LineaPlaneada>> &delPaso = planes[std::size_t(pasada)];
        for (std::size_t fila = 1; fila < delPaso.size() && !corrida.Terminada && !paso.leaving(); ++fila) {
            if (delPaso[fila])
                posteo.Linea(int(fila), pasada, *delPaso[fila], replica ? &traslados : nullptr);
        }
    }
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
    if (GeneraSentenciaSQL) {
        paso([&] {
            QString motivo = enc.IdMotivoStock;
            QString tc = TC;
            QString suc = vb::Mid(SucNroLetra, 1, 4);
            QString nro = vb::Mid(SucNroLetra, 5, 8);
            QString letra = vb::Mid(SucNroLetra, 13, 1);
            bool debito = true;
            std::int16_t secuenciaAsiento = 1;
            const std::int16_t tipoMov
                = TipoMovimientoStock(TC, CodigoDeLiteral(enc.TcOrigen), posteo.EnComodato, Cuenta);
            corrida.Salida.Envia(
                GeneraAsientoStock(MSFlexGrid2, motivo, tc, suc, nro, letra, Fecha, debito, tipoMov, 0, secuenciaAsiento));
            if (AsientoStockIncompleto())
                HayError = true;
        });
        ui::DoEvents();
    }
}

std::int16_t ClsCmnCptes::ObtieneSignoComprobante(const QString &TC, bool LibroIVA)
{
    return ::ObtieneSignoComprobante(TC, LibroIVA);
}
