#include "posting/asiento_stock.h"

#include "posting/signo_comprobante.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/flex_grid.h"
#include "voucher/columnas.h"

#include <QDateTime>
#include <QHash>

#include <cmath>

using namespace GrillaArticulos;

namespace {

QString Importe(double importe)
{
    return gDB().SQLValue(Variant(importe), QStringLiteral("@")).toString();
}

// Kind 0 stands for every movement that does not name its motive: the type
// decides. A row without a motive sets the side alone.
struct ReglaMotivo
{
    std::int16_t TipoMov;
    const char *TC; // nullptr: any type
    const char *Motivo;
    bool Debito;
    bool SinIVA;
};

constexpr ReglaMotivo kReglasMotivo[] = {
    {1, nullptr, "MotivoStockRemito", true, false},
    {2, nullptr, "MotivoStockComodato", true, false},
    {3, nullptr, "MotivoStockTransferencias", true, false},
    {4, nullptr, "MotivoStockTransferencias", false, false},
    {5, nullptr, "MotivoStockRecepcionOC", false, true},
    {0, "RMC", "MotivoStockRecepcionOC", false, true},
    {0, "IR", nullptr, false, false},
    {0, "AJP", nullptr, false, false},
    {0, "SI", nullptr, false, false},
    {0, "VS", nullptr, true, false},
    {0, "AJN", nullptr, true, false},
    {99, "FC", nullptr, true, false},
    {99, "TK", nullptr, true, false},
    {99, "FKFC", nullptr, true, false},
    {99, "FP", nullptr, true, false},
    {99, "ND", nullptr, true, false},
    {99, "NC", nullptr, false, false},
    {99, "NCP", nullptr, false, false},
};

} // namespace

MotivoAsiento EligeMotivoAsiento(std::int16_t tipoMov, const QString &tc, bool grillaDif)
{
    const QString tipo = vb::Trim(tc);
    // Sales take their cost only as such, purchases never here.
    if (tipoMov != 99 && vb::EqualsAnyText(tipo, {"FC", "TK", "FKFC", "FP", "NC", "NCP", "ND"}))
        return {};
    if (vb::EqualsAnyText(tipo, {"FCC", "FPC", "NCC", "NCCP", "NDC"}))
        return {};
    const bool nombraMotivo = (tipoMov >= 1 && tipoMov <= 5) || tipoMov == 99;
    const std::int16_t clase = nombraMotivo ? tipoMov : std::int16_t(0);
    MotivoAsiento eleccion;
    for (const ReglaMotivo &r : kReglasMotivo) {
        if (r.TipoMov != clase || (r.TC && !vb::EqualsText(tipo, QLatin1String(r.TC))))
            continue;
        eleccion.Asienta = true;
        eleccion.ValorSinIVA = r.SinIVA;
        eleccion.EsDebito = r.Motivo && grillaDif ? !r.Debito : r.Debito;
        if (r.Motivo && !grillaDif)
            eleccion.ClaveMotivo = QString::fromLatin1(r.Motivo);
        return eleccion;
    }
    // What enters stock is credited to the motive, what leaves is debited.
    eleccion.Asienta = clase == 0;
    eleccion.PorSigno = eleccion.Asienta;
    return eleccion;
}

bool AplicaMotivoAsiento(const MotivoAsiento &eleccion, const QString &tc, bool &esDebito, QString &motivo)
{
    if (!eleccion.Asienta)
        return false;
    if (eleccion.PorSigno) {
        const std::int16_t signo = ::ObtieneSignoComprobante(tc, false);
        if (signo == 0)
            return false;
        esDebito = signo < 0;
    } else {
        esDebito = eleccion.EsDebito;
    }
    if (!eleccion.ClaveMotivo.isEmpty())
        motivo = Cfg(eleccion.ClaveMotivo);
    return true;
}

bool CuentaDelMotivo(const QString &motivo, bool costoDeVenta, QString &cuenta, QString &detalle)
{
    const QString codigo = CodigoSQL(motivo, 4);
    QString sentencia
        = costoDeVenta
              ? QStringLiteral("SELECT V_TA_MotivoVta.IdMotivoVta, V_TA_MotivoVta.Descripcion, "
                               "V_TA_Input_Ventas.COSTO_MERCADERIA FROM V_TA_Input_Ventas INNER JOIN "
                               "V_TA_MotivoVta ON V_TA_Input_Ventas.IdMotivoVta = V_TA_MotivoVta.IdMotivoVta "
                               "WHERE V_TA_MotivoVta.IdMotivoVta = ")
                    + codigo
              : QStringLiteral("SELECT CUENTACONTABLE, Descripcion FROM V_TA_MOTIVOSTOCK WHERE IDMOTIVOSTOCK = ")
                    + codigo;
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    const bool hay = !rs.Eof();
    if (hay) {
        cuenta = Campo(rs, costoDeVenta ? "COSTO_MERCADERIA" : "CUENTACONTABLE");
        detalle = CampoSinRecortar(rs, "Descripcion");
    }
    gDB().CierraRecordset(&rs);
    return hay && !cuenta.isEmpty();
}

std::vector<ImporteArticulo> ImportesDeArticulos(const ui::FlexGrid &grilla,
                                                 std::int32_t fila,
                                                 int columnaValor,
                                                 bool produccion)
{
    ClsComponente &comp = gComponente();
    std::vector<ImporteArticulo> articulos;
    // Each article's place among those collected, by its code as the text
    // comparison sees it: a long voucher does not walk the list at each line.
    QHash<QString, std::size_t> lugares;
    const auto agrega = [&](int f) {
        const QString codigo = CodigoAncho(grilla.TextMatrix(f, ColArticulo), 25);
        // Quantity by its cost, or by its price without VAT.
        Currency importe = comp.ConvierteACurrency(Variant(grilla.TextMatrix(f, ColCantidad)))
                           * comp.ConvierteACurrency(Variant(grilla.TextMatrix(f, columnaValor)));
        if (produccion && vb::Trim(grilla.TextMatrix(f, AuxCantidadInsumo)) != QLatin1String("-1"))
            importe = -importe;
        const QString clave = codigo.toCaseFolded();
        const auto en = lugares.constFind(clave);
        if (en != lugares.cend()) {
            articulos[*en].Importe += importe;
            return;
        }
        lugares.insert(clave, articulos.size());
        articulos.push_back({codigo, importe});
    };
    if (fila > 0) {
        agrega(fila);
    } else {
        for (int f = 1; f < grilla.Rows(); ++f)
            agrega(f);
    }
    return articulos;
}

std::vector<CuentaStock> CuentasDeArticulos(const std::vector<ImporteArticulo> &articulos)
{
    // Each article's account is read once, then summed in memory.
    std::vector<CuentaStock> cuentas;
    {
        // Past some hundreds of terms a chain of ORs is deeper than an
        // engine parses (the embedded one stops at 1,000): a long voucher
        // names its articles in one list instead.
        constexpr std::size_t kTerminosEncadenados = 500;
        QStringList codigos;
        for (const ImporteArticulo &a : articulos)
            codigos << a.Articulo;
        QString condicion;
        if (articulos.size() <= kTerminosEncadenados) {
            condicion = ArmaCondicion(QStringLiteral(" idarticulo "),
                                      QStringLiteral("="),
                                      codigos,
                                      QStringLiteral(" OR "),
                                      QStringLiteral("'"),
                                      Variant(false),
                                      false);
        } else {
            QStringList literales;
            for (const QString &codigo : codigos)
                literales << TextoSQL(codigo);
            condicion = QStringLiteral(" idarticulo IN (") + literales.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        QString sentencia = QStringLiteral("select cuentacontableC from v_ma_articulos where (") + condicion
                            + QStringLiteral(") and not cuentacontableC is null group by cuentacontableC");
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        while (!rs.Eof()) {
            cuentas.push_back({CampoSinRecortar(rs, "cuentacontableC"), Currency()});
            rs.MoveNext();
        }
        gDB().CierraRecordset(&rs);
    }
    if (cuentas.empty())
        return cuentas;
    // The places of each account, the case aside (a grouping that keeps the
    // case may give one account twice).
    QHash<QString, QList<std::size_t>> lugares;
    for (std::size_t i = 0; i < cuentas.size(); ++i)
        lugares[cuentas[i].Cuenta.toCaseFolded()] << i;
    for (const ImporteArticulo &a : articulos) {
        QString sentencia = QStringLiteral("select cuentacontableC, costo from v_ma_articulos where idarticulo=")
                            + TextoSQL(a.Articulo);
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        if (!rs.Eof()) {
            const auto en = lugares.constFind(CampoSinRecortar(rs, "cuentacontableC").toCaseFolded());
            if (en != lugares.cend())
                for (std::size_t lugar : *en)
                    cuentas[lugar].Suma += a.Importe;
        }
        gDB().CierraRecordset(&rs);
    }
    return cuentas;
}

double TotalDeCuentas(const std::vector<CuentaStock> &cuentas)
{
    double total = 0;
    for (const CuentaStock &cuenta : cuentas)
        total += cuenta.Suma.toDouble();
    return total;
}

RenglonesAsiento ArmaRenglonesAsiento(const QString &cuentaMotivo,
                                      const std::vector<CuentaStock> &cuentas,
                                      bool esDebito,
                                      std::int16_t &secuencia)
{
    RenglonesAsiento asiento;
    asiento.Total = TotalDeCuentas(cuentas);
    std::vector<RenglonAsiento> todos;
    todos.push_back({cuentaMotivo, asiento.Total, esDebito});
    for (const CuentaStock &cuenta : cuentas)
        todos.push_back({cuenta.Cuenta, cuenta.Suma.toDouble(), !esDebito});
    for (RenglonAsiento &r : todos) {
        if (secuencia == INT16_MAX)
            Raise(vberr::Overflow);
        r.Secuencia = secuencia++;
        if (r.Importe < 0) {
            r.Importe = std::fabs(r.Importe);
            r.Debe = !r.Debe;
        }
        if (r.Importe > 0)
            asiento.Renglones.push_back(r);
    }
    return asiento;
}

namespace {

// The literals that every row of one entry repeats, written once per entry.
struct LiteralesAsiento
{
    explicit LiteralesAsiento(const CabeceraAsiento &cab)
        : Mes(TextoSQL(cab.Mes))
        , Numero(TextoSQL(QString::number(cab.Numero)))
        , Fecha(TextoSQL(cab.Fecha))
        , Detalle(TextoSQL(cab.Detalle))
        , TC(TextoSQL(cab.TC))
        , Suc(TextoSQL(cab.Suc))
        , Nro(TextoSQL(cab.Nro))
        , Letra(TextoSQL(cab.Letra))
        , Periodo(TextoSQL(cab.Periodo))
        , TipoReg(TextoSQL(cab.TipoReg))
        , Usuario(TextoSQL(gUsuarioLogeado))
        , CabImporte(Importe(cab.Total))
        , CabCuenta(TextoSQL(cab.CuentaMotivo))
        , CabNombre(TextoSQL(cab.NombreMotivo))
        , Unegocio(vb::EqualsText(gUNegocio, QLatin1String("Null")) ? gUNegocio : TextoSQL(gUNegocio))
        , Caja(CodigoSQLoNull(gCaja, 4))
    {
        if (cab.CostoDeVenta) {
            TcOrigen = TextoSQL(cab.TcOrigen);
            CpteOrigen = TextoSQL(cab.CpteOrigen);
        }
    }

    QString Mes, Numero, Fecha, Detalle, TC, Suc, Nro, Letra, Periodo, TipoReg, Usuario;
    QString CabImporte, CabCuenta, CabNombre, Unegocio, Caja, TcOrigen, CpteOrigen;
};

QString Lado(const RenglonAsiento &r)
{
    return r.Debe ? QStringLiteral("'D'") : QStringLiteral("'H'");
}

void InsertRenglon(const CabeceraAsiento &cab,
                   const LiteralesAsiento &l,
                   const RenglonAsiento &r,
                   std::int32_t numeroFila,
                   QString &texto)
{
    gCamposValores.clear();
    AgregaCampo(u"Cuenta", TextoSQL(r.Cuenta));
    AgregaCampo(u"Secuencia", TextoSQL(QString::number(numeroFila)));
    AgregaCampo(u"Mes_Operativo", l.Mes);
    AgregaCampo(u"[Numero Asiento]", l.Numero);
    AgregaCampo(u"Fecha", l.Fecha);
    AgregaCampo(u"FechaSubDiario", l.Fecha);
    AgregaCampo(u"Detalle", l.Detalle);
    AgregaCampo(u"TC", l.TC);
    AgregaCampo(u"SUCURSAL", l.Suc);
    AgregaCampo(u"NUMERO", l.Nro);
    AgregaCampo(u"LETRA", l.Letra);
    AgregaCampo(u"PERIODO", l.Periodo);
    AgregaCampo(u"Tipo_Reg", l.TipoReg);
    AgregaCampo(u"[DEBE-HABER]", Lado(r));
    AgregaCampo(u"FechaHora_Grabacion",
                gDB().SQLValue(Variant(QDateTime::currentDateTime()), QStringLiteral("'")).toString());
    AgregaCampo(u"USUARIO_LOGEADO", l.Usuario);
    AgregaCampo(u"Importe", Importe(r.Importe));
    AgregaCampo(u"Moneda", QStringLiteral("'   1'"));
    AgregaCampo(u"Cotizacion", QStringLiteral("1"));
    AgregaCampo(u"CABImporte", l.CabImporte);
    AgregaCampo(u"CABCuenta", l.CabCuenta);
    AgregaCampo(u"CABNombre", l.CabNombre);
    AgregaCampo(u"Unegocio", l.Unegocio);
    AgregaCampo(u"IdCajas", l.Caja);
    if (cab.CostoDeVenta) {
        AgregaCampo(u"TC_ORIGEN", l.TcOrigen);
        AgregaCampo(u"CPTE_ORIGEN", l.CpteOrigen);
    }
    texto += QLatin1String("\r\nINSERT INTO MV_ASIENTOS ");
    ArmaInsert(texto, gCamposValores, true);
}

} // namespace

void SentenciasAsiento(const CabeceraAsiento &cab,
                       const std::vector<RenglonAsiento> &renglones,
                       bool porLinea,
                       QString &texto)
{
    const LiteralesAsiento literales(cab);
    const QString delCpte = QStringLiteral(" WHERE TC = ") + literales.TC + QStringLiteral(" AND SUCURSAL = ")
                            + literales.Suc + QStringLiteral(" AND NUMERO = ") + literales.Nro
                            + QStringLiteral(" AND LETRA = ") + literales.Letra;
    std::int32_t ultimaSecuencia = -1;
    if (porLinea) {
        QString sentencia = QStringLiteral("SELECT MAX(SECUENCIA) AS ULTIMA FROM MV_ASIENTOS") + delCpte;
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        const Variant ultima = rs.Eof() ? Variant() : rs.Fields(QStringLiteral("ULTIMA")).Value();
        ultimaSecuencia = ultima.isNull() || ultima.isEmpty() ? 0 : ultima.toInt();
        gDB().CierraRecordset(&rs);
    }
    for (const RenglonAsiento &r : renglones) {
        if (porLinea) {
            const QString cuentaYLado = QStringLiteral(" AND CUENTA = ") + TextoSQL(r.Cuenta)
                                        + QStringLiteral(" AND [DEBE-HABER] = ") + Lado(r);
            QString sentencia = QStringLiteral("SELECT * FROM MV_ASIENTOS") + delCpte + cuentaYLado;
            ado::Recordset rs;
            gDB().AbrirRecordset(sentencia, rs);
            const bool hay = !rs.Eof();
            gDB().CierraRecordset(&rs);
            if (hay) {
                texto += QLatin1String("\r\nUPDATE MV_ASIENTOS SET IMPORTE = IMPORTE + ");
                texto += Importe(r.Importe);
                texto += delCpte;
                texto += cuentaYLado;
                continue;
            }
        }
        InsertRenglon(cab, literales, r, porLinea ? ++ultimaSecuencia : r.Secuencia, texto);
    }
}
