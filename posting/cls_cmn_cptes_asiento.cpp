// Members of ClsCmnCptes that posting/ defines: the accounting entry of a
// stock movement.
#include "voucher/cls_cmn_cptes.h"

#include "database/builders.h"
#include "database/config.h"
#include "database/db_dll.h"
#include "database/globals.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/ui.h"
#include "posting/signo_comprobante.h"
#include "stock/ast.h"
#include "voucher/columnas.h"

#include <QDateTime>
#include <QHash>

#include <cmath>

using namespace GrillaArticulos;

namespace {

QString W4(const QString &codigo)
{
    return gComponente().FormateaCodigo(codigo, 4);
}

QString Literal(const QString &texto)
{
    return gDB().SQLValue(Variant(texto), QStringLiteral("'")).toString();
}
QString Importe(double importe)
{
    return gDB().SQLValue(Variant(importe), QStringLiteral("@")).toString();
}

QString TextoDe(ado::Recordset &rs, const char *campo)
{
    return gComponente().ValorNoNulo(rs.Fields(QString::fromLatin1(campo)).Value()).toString();
}

void Avisa(const QString &texto)
{
    ui::MsgBox(texto, ui::vbOKOnly | ui::vbCritical, QStringLiteral("Aviso al operador"));
}

// What the grid line is worth: quantity by its cost (or by its price
// without VAT when the entry values what was received at that price).
Currency ImporteDeLinea(const ui::FlexGrid &grilla, int fila, int columnaValor)
{
    ClsComponente &c = gComponente();
    return c.ConvierteACurrency(Variant(grilla.TextMatrix(fila, ColCantidad)))
           * c.ConvierteACurrency(Variant(grilla.TextMatrix(fila, columnaValor)));
}

struct LineaAsiento
{
    QString Cuenta;
    double Importe = 0;
    bool Debe = false;
};

} // namespace

void ClsCmnCptes::NuevoAsientoStock()
{
    mAsientoCpte.clear();
    mAsientoFilas.clear();
    mAsientoDetenido = false;
    mAsientoIncompleto = false;
}

QString ClsCmnCptes::GeneraAsientoStock(ui::FlexGrid &Grid,
                                        QString &eMotivoStock,
                                        QString &TC,
                                        QString &Suc,
                                        QString &Nro,
                                        QString &Letra,
                                        const QString &Fecha,
                                        bool &EsDebito,
                                        std::int16_t TipoMov,
                                        std::int32_t SoloRegistro,
                                        std::int16_t &Secuencia)
{
    mAsientoIncompleto = false;
    if (!mAsientosXStock)
        return {};
    ClsComponente &comp = gComponente();
    eMotivoStock = comp.Reemplaza(eMotivoStock, QStringLiteral("'"), QString());

    // A line is valued once per voucher: its further lots and serials, and the
    // second pass of a transfer, add nothing.
    const QString clave = W4(vb::Trim(TC)) + Suc + Nro + Letra;
    const bool porLinea = SoloRegistro > 0;
    const bool nuevoCpte = porLinea && clave != mAsientoCpte;
    if (porLinea && !nuevoCpte && (mAsientoDetenido || mAsientoFilas.contains(SoloRegistro)))
        return {};

    if (TipoMov != 99 && vb::EqualsAnyText(vb::Trim(TC), {"FC", "TK", "FKFC", "FP", "NC", "NCP", "ND"}))
        return {};
    if (vb::EqualsAnyText(vb::Trim(TC), {"FCC", "FPC", "NCC", "NCCP", "NDC"}))
        return {};

    const bool dif = vb::EqualsText(Grid.Name(), QLatin1String("MSFlexGridDif"));
    int columnaValor = ColAux38;
    auto motivo = [&](const char *clave, bool debito) {
        if (dif) {
            EsDebito = !debito;
        } else {
            eMotivoStock = Cfg(QString::fromLatin1(clave));
            EsDebito = debito;
        }
    };
    const auto es = [&](const char *t) { return vb::EqualsText(vb::Trim(TC), QLatin1String(t)); };
    QString tcOrigen;
    QString cpteOrigen;
    switch (TipoMov) {
    case 1:
        motivo("MotivoStockRemito", true);
        break;
    case 2:
        motivo("MotivoStockComodato", true);
        break;
    case 3:
        motivo("MotivoStockTransferencias", true);
        break;
    case 4:
        motivo("MotivoStockTransferencias", false);
        break;
    case 5:
        columnaValor = AuxPrecioSinIVA;
        motivo("MotivoStockRecepcionOC", false);
        break;
    case 99:
        if (vb::EqualsAnyText(vb::Trim(TC), {"FC", "TK", "FKFC", "FP", "ND"}))
            EsDebito = true;
        else if (vb::EqualsAnyText(vb::Trim(TC), {"NC", "NCP"}))
            EsDebito = false;
        else
            return {};
        break;
    default:
        if (es("RMC")) {
            columnaValor = AuxPrecioSinIVA;
            motivo("MotivoStockRecepcionOC", false);
        } else if (es("IR") || es("AJP") || es("SI")) {
            EsDebito = false;
        } else if (es("VS") || es("AJN")) {
            EsDebito = true;
        } else {
            // What enters stock is credited to the motive, what leaves is debited.
            const std::int16_t signo = ::ObtieneSignoComprobante(TC, false);
            if (signo == 0)
                return {};
            EsDebito = signo < 0;
        }
        break;
    }
    const bool produccion = vb::EqualsText(TC, QLatin1String("OP"));
    if (TipoMov == 99) {
        tcOrigen = W4(vb::Trim(TC));
        cpteOrigen = Suc + Nro + Letra;
        TC = QStringLiteral("CMV");
        bool modifica = false;
        Obtener_Nro_Comprobante(TC, Suc, Nro, Letra, modifica, true, QString(), QString());
    }

    // The motive's account and description.
    QString cuentaMotivo;
    QString detalle;
    {
        const QString codigo = Literal(comp.FormateaCodigo(eMotivoStock, 4));
        QString sentencia
            = TipoMov == 99
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
            cuentaMotivo = vb::Trim(TextoDe(rs, TipoMov == 99 ? "COSTO_MERCADERIA" : "CUENTACONTABLE"));
            detalle = TextoDe(rs, "Descripcion");
        }
        gDB().CierraRecordset(&rs);
        if (!hay || cuentaMotivo.isEmpty())
            return {};
    }

    const QDateTime fecha = vb::CDate(Fecha);
    const QString mes = QString::number(fecha.date().month());
    const QString periodo = QString::number(gPeriodo);

    // The voucher may already have its entry.
    if (!porLinea) {
        QString asiento;
        if (ExisteAsientoComprobante(TC, Suc, Nro, Letra, asiento, QString())) {
            Avisa(QStringLiteral("El comprobante ya ha Sido Cargado. Asiento ") + asiento);
            return {};
        }
    }
    if (porLinea && nuevoCpte) {
        mAsientoCpte = clave;
        mAsientoFilas.clear();
        mAsientoDetenido = false;
    }
    // The register type first: the number is the next one of its own register.
    const QString tipoReg = ObtieneTipoRegCont(TC);
    if (tipoReg.isEmpty()) {
        Avisa(QStringLiteral("No se ha informado El Tipo de Registro que generará el Asiento, corrija esto desde "
                             "configuración y vuelva a intentarlo"));
        mAsientoIncompleto = true;
        mAsientoDetenido = porLinea;
        return {};
    }
    const auto nuevoNumero = [&] {
        const std::int32_t n = ValidaTCRegistraciones(Variant(mes), Variant(periodo), Variant(tipoReg));
        if (n > INT16_MAX || n < INT16_MIN)
            Raise(vberr::Overflow);
        return std::int16_t(n);
    };
    if (!porLinea) {
        // The register's next number, or past what this instance gave that
        // register earlier in a batch that is not written yet.
        std::int16_t numero = nuevoNumero();
        const QString registro = tipoReg + QLatin1Char('|') + mes + QLatin1Char('|') + periodo;
        const auto dado = mUltimosAsientos.constFind(registro);
        if (dado != mUltimosAsientos.cend() && *dado >= numero) {
            if (*dado == INT16_MAX)
                Raise(vberr::Overflow);
            numero = std::int16_t(*dado + 1);
        }
        mNumeroAsiento = numero;
        mUltimosAsientos.insert(registro, numero);
    } else if (nuevoCpte) {
        mNumeroAsiento = nuevoNumero();
    }
    if (porLinea)
        mAsientoFilas.push_back(SoloRegistro);

    // The articles and their amounts. The inputs of a production order
    // leave stock as what it makes enters: they count negative, as their
    // stock rows do.
    QStringList articulos;
    QList<Currency> importes;
    const auto agrega = [&](int fila) {
        const QString codigo = comp.FormateaCodigo(Grid.TextMatrix(fila, ColArticulo), 25);
        Currency importe = ImporteDeLinea(Grid, fila, columnaValor);
        if (produccion && vb::Trim(Grid.TextMatrix(fila, AuxCantidadInsumo)) != QLatin1String("-1"))
            importe = -importe;
        for (qsizetype i = 0; i < articulos.size(); ++i) {
            if (vb::EqualsText(articulos[i], codigo)) {
                importes[i] += importe;
                return;
            }
        }
        articulos << codigo;
        importes << importe;
    };
    if (porLinea) {
        agrega(SoloRegistro);
    } else {
        for (int fila = 1; fila < Grid.Rows(); ++fila)
            agrega(fila);
    }

    // The stock accounts and what each carries: each article's account read
    // once, then summed in memory, the accounts in the database's order.
    QStringList cuentas;
    QList<double> montos;
    {
        // Past some hundreds of terms a chain of ORs is deeper than an
        // engine parses (the embedded one stops at 1,000): a long voucher
        // names its articles in one list instead.
        constexpr qsizetype kTerminosEncadenados = 500;
        QString condicion;
        if (articulos.size() <= kTerminosEncadenados) {
            condicion = ArmaCondicion(QStringLiteral(" idarticulo "),
                                      QStringLiteral("="),
                                      articulos,
                                      QStringLiteral(" OR "),
                                      QStringLiteral("'"),
                                      Variant(false),
                                      false);
        } else {
            QStringList literales;
            for (const QString &codigo : articulos)
                literales << QLatin1Char('\'') + codigo + QLatin1Char('\'');
            condicion = QStringLiteral(" idarticulo IN (") + literales.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        QString sentencia = QStringLiteral("select cuentacontableC from v_ma_articulos where (") + condicion
                            + QStringLiteral(") and not cuentacontableC is null group by cuentacontableC");
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        while (!rs.Eof()) {
            cuentas << TextoDe(rs, "cuentacontableC");
            rs.MoveNext();
        }
        gDB().CierraRecordset(&rs);
    }
    std::vector<Currency> sumas(std::size_t(cuentas.size()));
    if (!cuentas.isEmpty()) {
        // The places of each account, the case aside (a grouping that keeps
        // the case may give one account twice).
        QHash<QString, QList<qsizetype>> lugares;
        for (qsizetype i = 0; i < cuentas.size(); ++i)
            lugares[cuentas[i].toCaseFolded()] << i;
        for (qsizetype i = 0; i < articulos.size(); ++i) {
            QString sentencia = QStringLiteral("select cuentacontableC, costo from v_ma_articulos where idarticulo=")
                                + Literal(articulos[i]);
            ado::Recordset rs;
            gDB().AbrirRecordset(sentencia, rs);
            if (!rs.Eof()) {
                const auto en = lugares.constFind(TextoDe(rs, "cuentacontableC").toCaseFolded());
                if (en != lugares.cend())
                    for (qsizetype lugar : *en)
                        sumas[std::size_t(lugar)] += importes[i];
            }
            gDB().CierraRecordset(&rs);
        }
    }
    double total = 0;
    for (const Currency &suma : sumas) {
        montos << suma.toDouble();
        total += suma.toDouble();
    }

    // The motive line against one line per stock account; a negative amount
    // goes, as its absolute value, to the other side.
    std::vector<LineaAsiento> lineas;
    lineas.push_back({cuentaMotivo, total, EsDebito});
    for (qsizetype i = 0; i < cuentas.size(); ++i)
        lineas.push_back({cuentas[i], montos[i], !EsDebito});

    const QString tc4 = W4(vb::Trim(TC));
    const QString delCpte = QStringLiteral(" WHERE TC = ") + Literal(tc4) + QStringLiteral(" AND SUCURSAL = ")
                            + Literal(Suc) + QStringLiteral(" AND NUMERO = ") + Literal(Nro)
                            + QStringLiteral(" AND LETRA = ") + Literal(Letra);
    // Rows a per-line call inserts follow the entry's highest sequence.
    std::int32_t ultimaSecuencia = -1;
    if (porLinea) {
        QString sentencia = QStringLiteral("SELECT MAX(SECUENCIA) AS ULTIMA FROM MV_ASIENTOS") + delCpte;
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        const Variant ultima = rs.Eof() ? Variant() : rs.Fields(QStringLiteral("ULTIMA")).Value();
        ultimaSecuencia = ultima.isNull() || ultima.isEmpty() ? 0 : ultima.toInt();
        gDB().CierraRecordset(&rs);
    }

    const QString unegocio = vb::EqualsText(gUNegocio, QLatin1String("Null")) ? gUNegocio : Literal(gUNegocio);
    const QString caja = vb::Trim(gCaja).isEmpty() ? QStringLiteral("NULL") : Literal(W4(vb::Trim(gCaja)));
    QStringList sentencias;
    std::int16_t secuencia = Secuencia;
    for (LineaAsiento &l : lineas) {
        const std::int16_t esta = secuencia;
        if (secuencia == INT16_MAX)
            Raise(vberr::Overflow);
        ++secuencia;
        if (l.Importe < 0) {
            l.Importe = std::fabs(l.Importe);
            l.Debe = !l.Debe;
        }
        if (!(l.Importe > 0))
            continue;
        const QString lado = l.Debe ? QStringLiteral("D") : QStringLiteral("H");
        const QString cuentaYLado = QStringLiteral(" AND CUENTA = ") + Literal(l.Cuenta)
                                    + QStringLiteral(" AND [DEBE-HABER] = ") + Literal(lado);
        if (porLinea) {
            QString sentencia = QStringLiteral("SELECT * FROM MV_ASIENTOS") + delCpte + cuentaYLado;
            ado::Recordset rs;
            gDB().AbrirRecordset(sentencia, rs);
            const bool hay = !rs.Eof();
            gDB().CierraRecordset(&rs);
            if (hay) {
                sentencias << QStringLiteral("UPDATE MV_ASIENTOS SET IMPORTE = IMPORTE + ") + Importe(l.Importe)
                                  + delCpte + cuentaYLado;
                continue;
            }
        }
        const std::int32_t numeroFila = porLinea ? ++ultimaSecuencia : esta;
        gCamposValores.clear();
        const auto campo = [](const char *nombre, const QString &valor) {
            gCamposValores.push_back({QString::fromLatin1(nombre), valor});
        };
        campo("Cuenta", Literal(l.Cuenta));
        campo("Secuencia", Literal(QString::number(numeroFila)));
        campo("Mes_Operativo", Literal(mes));
        campo("[Numero Asiento]", Literal(QString::number(mNumeroAsiento)));
        campo("Fecha", Literal(Fecha));
        campo("FechaSubDiario", Literal(Fecha));
        campo("Detalle", Literal(detalle));
        campo("TC", Literal(tc4));
        campo("SUCURSAL", Literal(Suc));
        campo("NUMERO", Literal(Nro));
        campo("LETRA", Literal(Letra));
        campo("PERIODO", Literal(periodo));
        campo("Tipo_Reg", Literal(tipoReg));
        campo("[DEBE-HABER]", Literal(lado));
        campo("FechaHora_Grabacion",
              gDB().SQLValue(Variant(QDateTime::currentDateTime()), QStringLiteral("'")).toString());
        campo("USUARIO_LOGEADO", Literal(gUsuarioLogeado));
        campo("Importe", Importe(l.Importe));
        campo("Moneda", QStringLiteral("'   1'"));
        campo("Cotizacion", QStringLiteral("1"));
        campo("CABImporte", Importe(total));
        campo("CABCuenta", Literal(cuentaMotivo));
        campo("CABNombre", Literal(eMotivoStock));
        campo("Unegocio", unegocio);
        campo("IdCajas", caja);
        if (TipoMov == 99) {
            campo("TC_ORIGEN", Literal(tcOrigen));
            campo("CPTE_ORIGEN", Literal(cpteOrigen));
        }
        QString sentencia = QStringLiteral("INSERT INTO MV_ASIENTOS ");
        ArmaInsert(sentencia, gCamposValores, true);
        sentencias << sentencia;
    }

    QString resultado;
    for (const QString &s : sentencias)
        resultado += QStringLiteral("\r\n") + s;
    Secuencia = secuencia;
    return resultado;
}
