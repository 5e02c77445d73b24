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

QString InsertRenglon(const CabeceraAsiento &cab, const RenglonAsiento &r, std::int32_t numeroFila)
{
    const QString unegocio = vb::EqualsText(gUNegocio, QLatin1String("Null")) ? gUNegocio : TextoSQL(gUNegocio);
    const QString caja = CodigoSQLoNull(gCaja, 4);
    gCamposValores.clear();
    const auto campo = [](const char *nombre, const QString &valor) {
        gCamposValores.push_back({QString::fromLatin1(nombre), valor});
    };
    campo("Cuenta", TextoSQL(r.Cuenta));
    campo("Secuencia", TextoSQL(QString::number(numeroFila)));
    campo("Mes_Operativo", TextoSQL(cab.Mes));
    campo("[Numero Asiento]", TextoSQL(QString::number(cab.Numero)));
    campo("Fecha", TextoSQL(cab.Fecha));
    campo("FechaSubDiario", TextoSQL(cab.Fecha));
    campo("Detalle", TextoSQL(cab.Detalle));
    campo("TC", TextoSQL(cab.TC));
    campo("SUCURSAL", TextoSQL(cab.Suc));
    campo("NUMERO", TextoSQL(cab.Nro));
    campo("LETRA", TextoSQL(cab.Letra));
    campo("PERIODO", TextoSQL(cab.Periodo));
    campo("Tipo_Reg", TextoSQL(cab.TipoReg));
    campo("[DEBE-HABER]", TextoSQL(r.Debe ? QStringLiteral("D") : QStringLiteral("H")));
    campo("FechaHora_Grabacion", gDB().SQLValue(Variant(QDateTime::currentDateTime()), QStringLiteral("'")).toString());
    campo("USUARIO_LOGEADO", TextoSQL(gUsuarioLogeado));
    campo("Importe", Importe(r.Importe));
    campo("Moneda", QStringLiteral("'   1'"));
    campo("Cotizacion", QStringLiteral("1"));
    campo("CABImporte", Importe(cab.Total));
    campo("CABCuenta", TextoSQL(cab.CuentaMotivo));
    campo("CABNombre", TextoSQL(cab.NombreMotivo));
    campo("Unegocio", unegocio);
    campo("IdCajas", caja);
    if (cab.CostoDeVenta) {
        campo("TC_ORIGEN", TextoSQL(cab.TcOrigen));
        campo("CPTE_ORIGEN", TextoSQL(cab.CpteOrigen));
    }
    QString sentencia = QStringLiteral("INSERT INTO MV_ASIENTOS ");
    ArmaInsert(sentencia, gCamposValores, true);
    return sentencia;
}

} // namespace

QStringList SentenciasAsiento(const CabeceraAsiento &cab, const std::vector<RenglonAsiento> &renglones, bool porLinea)
{
    const QString delCpte = QStringLiteral(" WHERE TC = ") + TextoSQL(cab.TC) + QStringLiteral(" AND SUCURSAL = ")
                            + TextoSQL(cab.Suc) + QStringLiteral(" AND NUMERO = ") + TextoSQL(cab.Nro)
                            + QStringLiteral(" AND LETRA = ") + TextoSQL(cab.Letra);
    std::int32_t ultimaSecuencia = -1;
    if (porLinea) {
        QString sentencia = QStringLiteral("SELECT MAX(SECUENCIA) AS ULTIMA FROM MV_ASIENTOS") + delCpte;
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        const Variant ultima = rs.Eof() ? Variant() : rs.Fields(QStringLiteral("ULTIMA")).Value();
        ultimaSecuencia = ultima.isNull() || ultima.isEmpty() ? 0 : ultima.toInt();
        gDB().CierraRecordset(&rs);
    }
    QStringList sentencias;
    for (const RenglonAsiento &r : renglones) {
        if (porLinea) {
            const QString cuentaYLado = QStringLiteral(" AND CUENTA = ") + TextoSQL(r.Cuenta)
                                        + QStringLiteral(" AND [DEBE-HABER] = ")
                                        + TextoSQL(r.Debe ? QStringLiteral("D") : QStringLiteral("H"));
            QString sentencia = QStringLiteral("SELECT * FROM MV_ASIENTOS") + delCpte + cuentaYLado;
            ado::Recordset rs;
            gDB().AbrirRecordset(sentencia, rs);
            const bool hay = !rs.Eof();
            gDB().CierraRecordset(&rs);
            if (hay) {
                sentencias << QStringLiteral("UPDATE MV_ASIENTOS SET IMPORTE = IMPORTE + ") + Importe(r.Importe)
                                  + delCpte + cuentaYLado;
                continue;
            }
        }
        sentencias << InsertRenglon(cab, r, porLinea ? ++ultimaSecuencia : r.Secuencia);
    }
    return sentencias;
}
