#pragma once

// The posting tests' company: the schema's database with the voucher types
// and articles the cases post, an article grid given as a table of lines,
// the run's 22 arguments with defaults, and the stock rows read back in a
// form a table of cases can state.

#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "database/armado_sql.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "database/transaccion.h"
#include "platform/ui/flex_grid.h"
#include "stock/ast.h"
#include "tests/support/base_prueba.h"
#include "tests/support/esquema.h"
#include "tests/support/grilla.h"

#include <QStringList>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace posteo {

using namespace GrillaArticulos;

// One article line: code, quantity and the cells a case names. The flag
// cells read as on when empty, so a line has them off unless it says so.
inline FilaDeGrilla Linea(const QString &articulo, const QString &cantidad, FilaDeGrilla celdas = {})
{
    FilaDeGrilla fila{{ColArticulo, articulo},
                      {ColDescripcion, QStringLiteral("DESC ") + articulo.trimmed()},
                      {ColUnidad, QStringLiteral("UN")},
                      {ColCantidad, cantidad},
                      {AuxPideSerie, QStringLiteral("0")},
                      {Auxesperecedero, QStringLiteral("0")},
                      {AuxPideTalle, QStringLiteral("0")},
                      {Aux_InsumosPorPorcentaje, QStringLiteral("0")},
                      {ColAux76, QStringLiteral("0")}};
    for (const auto &[columna, texto] : celdas)
        fila[columna] = texto;
    return fila;
}

// A lot key of an issue list: lot, CHR(255), serial.
inline QString Clave(const QString &lote, const QString &serie = {})
{
    return lote + QChar(0xFF) + serie;
}

// The arguments of one posting, as a voucher form passes them.
struct Comprobante
{
    QString TC = QStringLiteral("RM");
    QString SucNroLetra = QStringLiteral("000100000001A");
    QString IdComplemento = QStringLiteral("0");
    QString Fecha = QStringLiteral("15/03/2024");
    QString IdDeposito = QStringLiteral("1");
    QString IdDepositoDestino;
    QString IdMotivoStock = QStringLiteral("1");
    QString TcOrigen;
    QString ComprobanteOrigen;
    bool EsTransferencia = false;
    QString Cuenta = QStringLiteral("NULL");
    QString IdTecnico = QStringLiteral("NULL");
    QString LoteFijo;
    QString Aduana;
    QString LoteOrigen;
    std::int16_t SignoRemota = 0;
    bool MuestraCartel = false;
    QString IdVendedor = QStringLiteral("1");
};

// Posts the grid as a voucher form does; the collect path appends to sqlTemp.
inline void PosteaComprobante(
    ClsCmnCptes &clase, ui::FlexGrid &grilla, Comprobante &v, bool generaSentencia, QString &sqlTemp, bool &hayError)
{
    clase.ActualizaStock(grilla,
                         v.TC,
                         v.SucNroLetra,
                         v.IdComplemento,
                         v.Fecha,
                         v.IdDeposito,
                         v.IdDepositoDestino,
                         v.IdMotivoStock,
                         v.TcOrigen,
                         v.ComprobanteOrigen,
                         v.EsTransferencia,
                         v.Cuenta,
                         generaSentencia,
                         sqlTemp,
                         hayError,
                         v.IdTecnico,
                         v.LoteFijo,
                         v.Aduana,
                         v.LoteOrigen,
                         v.SignoRemota,
                         v.MuestraCartel,
                         v.IdVendedor);
}

inline QString CodigoArticulo(const QString &articulo)
{
    return articulo.rightJustified(25, QLatin1Char(' '));
}

// The voucher types and articles every case posts: RM issues, IR enters, TR
// moves between deposits, XX leaves stock alone; FCC and RMC are purchases.
inline QStringList Semilla()
{
    return {QStringLiteral(
                "INSERT INTO V_TA_CPTE (CODIGO, ES, Sistema) VALUES ('  RM', 'S', 'VENTAS'), ('  IR', 'E', 'STOCK'), "
                "(' FCC', 'E', 'COMPRAS'), (' RMC', 'E', 'COMPRAS'), ('  TR', NULL, 'STOCK'), ('  OP', NULL, 'STOCK'), "
                "('  XX', NULL, 'VENTAS')"),
            QStringLiteral(
                "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, costo, CUENTAPROVEEDOR) VALUES "
                "('%1', 'TORNILLO', '  UN', 10, '2001'), ('%2', 'ARANDELA', '  UN', 2.5, NULL), "
                "('%3', 'TUERCA', '  UN', 4, ' 2002 ')")
                .arg(CodigoArticulo(QStringLiteral("A1")),
                     CodigoArticulo(QStringLiteral("A2")),
                     CodigoArticulo(QStringLiteral("A3")))};
}

// Articles made of others: P1 of 3 C1 and half a C2 (in kg); P2 of 30% C1
// and 70% C2; P3 of C1 and of C3, which has no unit and comes in 0. The
// consumption vouchers PE are numbered from a fresh book of letter X.
inline QStringList SemillaInsumos()
{
    QStringList sentencias;
    const char *const articulos[][2] = {{"P1", "MESA"},
                                        {"P2", "PINTURA MEZCLA"},
                                        {"P3", "KIT"},
                                        {"C1", "TABLA O''K"},
                                        {"C2", "COLA"},
                                        {"C3", "TORNILLO"}};
    for (const auto &a : articulos)
        sentencias << QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, costo, CUENTAPROVEEDOR) "
                                     "VALUES ('%1', '%2', 1.5, '3%3')")
                          .arg(CodigoArticulo(QString::fromLatin1(a[0])),
                               QString::fromLatin1(a[1]),
                               QString::fromLatin1(a[0]));
    const char *const insumos[][4] = {{"P1", "C1", "'  UN'", "3"},
                                      {"P1", "C2", "'  KG'", "0.5"},
                                      {"P2", "C1", "'  UN'", "30"},
                                      {"P2", "C2", "'  KG'", "70"},
                                      {"P3", "C1", "'  UN'", "1"},
                                      {"P3", "C3", "NULL", "0"}};
    for (const auto &i : insumos)
        sentencias << QStringLiteral(
                          "INSERT INTO V_MA_INSUMOS (IDARTICULO, IdArticuloInsumo, IdUnidadInsumo, CANTIDAD) "
                          "VALUES ('%1', '%2', %3, %4)")
                          .arg(CodigoArticulo(QString::fromLatin1(i[0])),
                               CodigoArticulo(QString::fromLatin1(i[1])),
                               QString::fromLatin1(i[2]),
                               QString::fromLatin1(i[3]));
    sentencias << QStringLiteral(
        "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, Letras, Sistema, X_ULTIMO_NRO, "
        "X_NRO_DESDE, X_NRO_HASTA, X_SUC_DEFAULT) VALUES ('  PE', 1, '   1', 'X', 'STOCK', 0, 1, "
        "99999999, 1)");
    return sentencias;
}

// The journal of stock movements: the switch on, a motive with an account
// for the run's motive 1 and for each of the four motive keys, the cost of
// sales of motive 4, and a stock account for every article of the seeds
// above: A1 and A2 share 1.3.01, A3 has 1.3.02, the products 1.3.03, their
// parts 1.3.04. The statements run on the program's connection and straight
// on the file alike.
inline QStringList SemillaAsiento()
{
    return {QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('AsientosXStock', 'SI'), "
                           "('MotivoStockRemito', '7'), ('MotivoStockComodato', '8'), "
                           "('MotivoStockTransferencias', '9'), ('MotivoStockRecepcionOC', '6')"),
            QStringLiteral("INSERT INTO V_TA_MOTIVOSTOCK (IDMOTIVOSTOCK, CUENTACONTABLE, Descripcion) VALUES "
                           "('   1', ' 5.1.01 ', 'AJUSTE'), ('   6', '5.1.06', 'RECEPCION'), "
                           "('   7', '5.1.07', 'REMITO'), ('   8', '5.1.08', 'COMODATO'), "
                           "('   9', '5.1.09', 'TRASLADO'), ('   2', '  ', 'SIN CUENTA')"),
            QStringLiteral("INSERT INTO V_TA_MotivoVta (IdMotivoVta, Descripcion) VALUES ('   4', 'VENTA')"),
            QStringLiteral("INSERT INTO V_TA_Input_Ventas (IdMotivoVta, COSTO_MERCADERIA) VALUES ('   4', '5.2.01')"),
            QStringLiteral("UPDATE V_MA_ARTICULOS SET cuentacontableC = CASE LTRIM(IDARTICULO) "
                           "WHEN 'A1' THEN '1.3.01' WHEN 'A2' THEN '1.3.01' WHEN 'A3' THEN '1.3.02' "
                           "WHEN 'P1' THEN '1.3.03' WHEN 'P2' THEN '1.3.03' WHEN 'P3' THEN '1.3.03' "
                           "ELSE '1.3.04' END")};
}

// The tests that post long series of vouchers on a file of their own (a
// process killed, two operators): the seeds, the ids, and one voucher posted
// as a voucher form does, collected and run in a transaction of its own.
inline QStringList SemillaDeSeries()
{
    QStringList semilla = Semilla() + SemillaInsumos() + SemillaAsiento();
    semilla << QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('DepositoDefault', '   1')");
    return semilla;
}

// A database file of its own for a series, `nombre` in `carpeta`: the schema,
// the seeds above and the statements a test adds, written straight into the
// file before any connection opens it. Returns its path.
inline QString BaseDeSeries(const QString &carpeta, const QString &nombre, const QStringList &mas = {})
{
    const QString ruta = MakeFixtureDb(carpeta, false, 0, nombre).path;
    for (const QString &sentencia : SemillaDeSeries() + mas)
        EjecutaEnArchivo(ruta, sentencia);
    return ruta;
}

inline QString IdDeSerie(int numero)
{
    return QStringLiteral("0001%1A").arg(numero, 8, 10, QLatin1Char('0'));
}

// "ok", "HayError", or the first error the run of its text gave.
inline QString PosteaEnSuTransaccion(ClsCmnCptes &clase,
                                     ui::FlexGrid &grilla,
                                     const std::vector<FilaDeGrilla> &lineas,
                                     const QString &id)
{
    std::vector<FilaDeGrilla> filas{{{ColArticulo, QStringLiteral("Código")}}};
    filas.insert(filas.end(), lineas.begin(), lineas.end());
    LlenaGrilla(grilla, Columnas, filas);
    Comprobante v;
    v.SucNroLetra = id;
    QString sql;
    bool hayError = false;
    PosteaComprobante(clase, grilla, v, true, sql, hayError);
    if (hayError)
        return QStringLiteral("HayError");
    ado::Connection &cnn = gDB().gCnn();
    Transaccion transaccion(cnn);
    gDB().EjecutaConsultaSQL(sql);
    if (cnn.errors().Count() > 0)
        return cnn.errors().Item(0).Description.simplified();
    transaccion.Confirma();
    return QStringLiteral("ok");
}

// What each remittance of a series stored: movements, consumption rows made
// for it, journal rows. `Db` reads a column of texts (`Textos`).
struct FilasDeSerie
{
    long long movimientos = 0, consumos = 0, asiento = 0;
    bool operator==(const FilasDeSerie &) const = default;
};
template<class Db>
std::map<QString, FilasDeSerie> FilasPorComprobante(Db &db)
{
    std::map<QString, FilasDeSerie> filas;
    for (const QString &id : db.Textos(QStringLiteral("SELECT IdComprobante FROM V_MV_STOCK WHERE TC = '  RM'")))
        ++filas[id].movimientos;
    for (const QString &id : db.Textos(QStringLiteral("SELECT IdComprobante_Origen FROM V_MV_STOCK WHERE TC = '  PE'")))
        ++filas[id].consumos;
    for (const QString &id :
         db.Textos(QStringLiteral("SELECT SUCURSAL || NUMERO || LETRA FROM MV_ASIENTOS WHERE TC = '  RM'")))
        ++filas[id].asiento;
    return filas;
}

class BasePosteo : public EmpresaEsquema
{
protected:
    void SetUp() override
    {
        EmpresaEsquema::SetUp();
        gCaja = QStringLiteral("1");
        for (const QString &sentencia : Semilla())
            Ejecuta(sentencia);
        Configura(QStringLiteral("DepositoDefault"), QStringLiteral("   9"));
        clase.emplace();
    }
    void TearDown() override
    {
        clase.reset();
        EmpresaEsquema::TearDown();
    }

    static QString Codigo(const QString &articulo) { return CodigoArticulo(articulo); }

    // The article grid: the title row and the lines.
    void Grilla(const std::vector<FilaDeGrilla> &lineas)
    {
        std::vector<FilaDeGrilla> filas{{{ColArticulo, QStringLiteral("Código")}}};
        filas.insert(filas.end(), lineas.begin(), lineas.end());
        LlenaGrilla(grilla, Columnas, filas);
    }

    // A case of a table starts afresh: no stock rows, no answers, no
    // collected text, no error, and its grid.
    void DeNuevo(const std::vector<FilaDeGrilla> &lineas)
    {
        Ejecuta(QStringLiteral("DELETE FROM V_MV_STOCK"));
        operador.clear();
        sqlTemp.clear();
        hayError = false;
        Grilla(lineas);
    }

    // Posts the grid; the collect path appends to sqlTemp.
    void Postea(Comprobante &v, bool generaSentencia)
    {
        PosteaComprobante(*clase, grilla, v, generaSentencia, sqlTemp, hayError);
    }
    void Postea(Comprobante v = {}) { Postea(v, false); }

    // What a caller of the collect path does: the text in one transaction,
    // committed only when it ran without errors.
    bool EjecutaEnTransaccion(const QString &texto)
    {
        Transaccion transaccion(gDB().gCnn());
        gDB().EjecutaConsultaSQL(texto);
        if (gDB().gCnn().errors().Count() > 0)
            return false;
        transaccion.Confirma();
        return true;
    }

    // Posts through either path and leaves the rows in the database.
    void PosteaYGraba(Comprobante v, bool generaSentencia)
    {
        Postea(v, generaSentencia);
        if (generaSentencia) {
            EXPECT_TRUE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();
        }
    }

    void Configura(const QString &clave, const QString &valor)
    {
        Ejecuta(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES (%1, %2)")
                    .arg(TextoSQL(clave), TextoSQL(valor)));
    }

    // A trigger that refuses the stock rows the condition names (NEW.column ...).
    void RechazaStock(const QString &condicion, const QString &mensaje = QStringLiteral("Fila rechazada"))
    {
        EjecutaEnArchivo(base.path,
                         QStringLiteral("CREATE TRIGGER rechaza_stock BEFORE INSERT ON V_MV_STOCK WHEN %1 "
                                        "BEGIN SELECT RAISE(ABORT, '%2'); END")
                             .arg(condicion, mensaje));
    }

    // The rows a query gives, one text each: the fields put into `forma`
    // (%1, %2, ...) or, without one, joined by blanks; texts trimmed, numbers
    // to 12 digits without trailing zeros, "-" for NULL.
    static QStringList FilasDe(const QString &consulta, const QString &forma = {})
    {
        QStringList filas;
        ado::Recordset rs;
        rs.Open(consulta, gDB().gCnn());
        while (!rs.Eof()) {
            QStringList campos;
            for (int i = 0; i < rs.FieldCount(); ++i) {
                const Variant v = rs.Fields(i).Value();
                campos << (v.isNull()     ? QStringLiteral("-")
                           : v.isNumber() ? QString::number(v.toDouble(), 'g', 12)
                                          : v.toString().trimmed());
            }
            if (forma.isEmpty()) {
                filas << campos.join(QLatin1Char(' '));
            } else {
                QString fila = forma;
                for (const QString &campo : campos)
                    fila = fila.arg(campo);
                filas << fila;
            }
            rs.MoveNext();
        }
        return filas;
    }

    // The stock rows of a voucher type in Secuencia order, one text each:
    // "secuencia deposit>destination lot/serial quantity".
    QStringList Movimientos(const QString &tc = QStringLiteral("RM"), const QString &condicion = QStringLiteral("1=1"))
    {
        return FilasDe(QStringLiteral("SELECT Secuencia, IdDeposito, IDDEPOSITO_DESTINO, NroLote, NroSerie, Cantidad "
                                      "FROM V_MV_STOCK WHERE TC = %1 AND %2 ORDER BY IdComprobante, Secuencia")
                           .arg(TextoSQL(tc.rightJustified(4, QLatin1Char(' '))), condicion),
                       QStringLiteral("%1 %2>%3 %4/%5 %6"));
    }

    // The journal rows of a voucher type added up by account and side:
    // "account side amount", in account order.
    QStringList Diario(const QString &tc)
    {
        return FilasDe(QStringLiteral("SELECT CUENTA, [DEBE-HABER], SUM(IMPORTE) FROM MV_ASIENTOS WHERE TC = %1 "
                                      "GROUP BY CUENTA, [DEBE-HABER] ORDER BY CUENTA, [DEBE-HABER]")
                           .arg(TextoSQL(tc.rightJustified(4, QLatin1Char(' ')))));
    }
    // Debits less credits of a voucher type's journal.
    double DebeMenosHaber(const QString &tc)
    {
        return Valor(QStringLiteral("SELECT SUM(CASE [DEBE-HABER] WHEN 'D' THEN IMPORTE ELSE -IMPORTE END) "
                                    "FROM MV_ASIENTOS WHERE TC = %1")
                         .arg(TextoSQL(tc.rightJustified(4, QLatin1Char(' ')))))
            .toDouble();
    }

    std::optional<ClsCmnCptes> clase;
    ui::FlexGrid grilla;
    QString sqlTemp;
    bool hayError = false;
};

// The company whose stock movements take their entry (SemillaAsiento), in the
// period 2024, posted by OPERADOR.
class BaseAsiento : public BasePosteo
{
protected:
    void SetUp() override
    {
        BasePosteo::SetUp();
        gPeriodo = 2024;
        gUsuarioLogeado = QStringLiteral("OPERADOR");
        for (const QString &sentencia : SemillaAsiento())
            Ejecuta(sentencia);
        clase.emplace();
    }
};

// The name of a case of a table posted on both paths: its place in the
// table and the path.
struct PorCamino
{
    template<class Info>
    std::string operator()(const Info &info) const
    {
        return std::to_string(info.index) + (std::get<1>(info.param) ? "_Collected" : "_Run");
    }
};

// The company with articles made of others.
class BaseConsumo : public BasePosteo
{
protected:
    void SetUp() override
    {
        BasePosteo::SetUp();
        TalonarioActual = 0;
        for (const QString &sentencia : SemillaInsumos())
            Ejecuta(sentencia);
    }
    void TearDown() override
    {
        TalonarioActual = 0;
        BasePosteo::TearDown();
    }

public:
    using BasePosteo::Configura;
    void Lote(const char *articulo, const char *deposito, const char *lote, double cantidad)
    {
        Ejecuta(QStringLiteral("INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IdDeposito, NroLote, CANTIDAD) "
                               "VALUES (%1, %2, %3, %4)")
                    .arg(TextoSQL(Codigo(QString::fromLatin1(articulo))),
                         TextoSQL(QString::fromLatin1(deposito).rightJustified(4)),
                         TextoSQL(QString::fromLatin1(lote).rightJustified(25)),
                         QString::number(cantidad)));
    }
    // The consumption rows: "id secuencia article deposit lot quantity".
    QStringList Consumos()
    {
        return FilasDe(
            QStringLiteral("SELECT IdComprobante, Secuencia, IdArticulo, IdDeposito, NroLote, Cantidad FROM V_MV_STOCK "
                           "WHERE TC = '  PE' ORDER BY IdComprobante, Secuencia"));
    }
    long long UltimoDelLibro()
    {
        return Cuenta(QStringLiteral("SELECT X_ULTIMO_NRO FROM V_TA_CPTE WHERE CODIGO = '  PE'"));
    }
};

} // namespace posteo
