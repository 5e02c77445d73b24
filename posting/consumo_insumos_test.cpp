#include "posting/consumo_insumos.h"

#include "tests/support/posteo.h"

#include "platform/ui/text_box.h"
#include "stock/ast.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace posteo;

const char *const kPE = "000100000001X";

struct CasoConsumo
{
    const char *nombre;
    std::function<void(BaseConsumo &, Comprobante &)> prepara;
    std::vector<FilaDeGrilla> lineas;
    QStringList consumos;
};

void PrintTo(const CasoConsumo &c, std::ostream *os)
{
    *os << c.nombre;
}

class Consumo : public BaseConsumo, public ::testing::WithParamInterface<std::tuple<CasoConsumo, bool>>
{};

TEST_P(Consumo, RowsAndTheBooksAdvance)
{
    const auto &[c, recolecta] = GetParam();
    Comprobante v;
    if (c.prepara)
        c.prepara(*this, v);
    Grilla(c.lineas);
    PosteaYGraba(v, recolecta);
    EXPECT_FALSE(hayError);
    QStringList esperados;
    for (const QString &fila : c.consumos)
        esperados << QString::fromLatin1(kPE) + " " + fila;
    EXPECT_EQ(Consumos(), esperados);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
    // The book moves past the voucher's number only in the caller's transaction.
    const bool numera = !c.consumos.isEmpty();
    EXPECT_EQ(sqlTemp.contains(QStringLiteral("UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 2 WHERE CODIGO = '  PE'")), numera)
        << sqlTemp.toStdString();
    EXPECT_EQ(UltimoDelLibro(), numera && recolecta ? 2 : 0);
}

auto Clave(const char *clave, const char *valor)
{
    return [=](BaseConsumo &b, Comprobante &) { b.Configura(QString::fromLatin1(clave), QString::fromLatin1(valor)); };
}

FilaDeGrilla PorPorcentaje(FilaDeGrilla celdas = {})
{
    celdas[Aux_InsumosPorPorcentaje] = QStringLiteral("1");
    return celdas;
}

const CasoConsumo kConsumos[] = {
    {"each component by its quantity per unit", {}, {Linea("P1", "4")}, {"1 C1 1 - -12", "2 C2 1 - -2"}},
    {"an article without components consumes nothing", {}, {Linea("A1", "4")}, {}},
    {"a line of quantity 0 or without code consumes nothing",
     {},
     {Linea("P1", "0"), Linea("", "4"), Linea("  ", "4")},
     {}},
    {"percentages: the article offset first, then its parts",
     {},
     {Linea("P2", "4", PorPorcentaje())},
     {"1 P2 1 - 4", "2 C1 1 - -1.2", "3 C2 1 - -2.8"}},
    {"percentages of a base quantity",
     {},
     {Linea("P2", "4", PorPorcentaje({{ColAux74, "10"}}))},
     {"1 P2 1 - 4", "2 C1 1 - -3", "3 C2 1 - -7"}},
    {"lots that fall short: the rest without lot",
     [](BaseConsumo &b, Comprobante &) {
         b.Lote("C1", "1", "L2", 3);
         b.Lote("C1", "1", "L1", 2);
         b.Lote("C1", "2", "L9", 50);
     },
     {Linea("P1", "4")},
     {"1 C1 1 L1 -2", "2 C1 1 L2 -3", "3 C1 1 - -7", "4 C2 1 - -2"}},
    {"lots that cover exactly",
     [](BaseConsumo &b, Comprobante &) {
         b.Lote("C1", "1", "L1", 5);
         b.Lote("C1", "1", "L2", 7);
         b.Lote("C1", "1", "L3", 7);
     },
     {Linea("P1", "4")},
     {"1 C1 1 L1 -5", "2 C1 1 L2 -7", "3 C2 1 - -2"}},
    {"lots of the deposit the line takes from",
     [](BaseConsumo &b, Comprobante &) {
         b.Lote("C1", "1", "L1", 50);
         b.Lote("C1", "2", "L9", 50);
     },
     {Linea("P1", "1", {{ColDeposito, "2"}})},
     {"1 C1 2 L9 -3", "2 C2 2 - -0.5"}},
    {"a component of 0 writes no row", {}, {Linea("P3", "2")}, {"1 C1 1 - -2"}},
    {"an entry puts the components back",
     [](BaseConsumo &, Comprobante &v) { v.TC = "IR"; },
     {Linea("P1", "1")},
     {"1 C1 1 - 3", "2 C2 1 - 0.5"}},
    {"a type of sign 0 consumes nothing",
     [](BaseConsumo &, Comprobante &v) { v.TC = "XX"; },
     {Linea("P1", "4"), Linea("P2", "4", PorPorcentaje())},
     {}},
    {"a transfer moves the articles and consumes nothing",
     [](BaseConsumo &, Comprobante &v) {
         v.TC = "TR";
         v.EsTransferencia = true;
         v.IdDepositoDestino = "2";
     },
     {Linea("P1", "4")},
     {}},
    {"a production order consumes through its own lines",
     [](BaseConsumo &, Comprobante &v) { v.TC = "OP"; },
     {Linea("P1", "4", {{AuxCantidadInsumo, "-1"}})},
     {}},
    {"switched off in any letter case", Clave("DescargaInsumosProduccion", "si"), {Linea("P1", "4")}, {}},
    {"a \"NO\" keeps it on",
     Clave("DescargaInsumosProduccion", "NO"),
     {Linea("P1", "1")},
     {"1 C1 1 - -3", "2 C2 1 - -0.5"}},
    {"two lines, one voucher",
     {},
     {Linea("P3", "2"), Linea("A1", "1"), Linea("P1", "1")},
     {"1 C1 1 - -2", "2 C1 1 - -3", "3 C2 1 - -0.5"}},
};

INSTANTIATE_TEST_SUITE_P(Casos,
                         Consumo,
                         ::testing::Combine(::testing::ValuesIn(kConsumos), ::testing::Bool()),
                         PorCamino());

TEST_F(BaseConsumo, TheColumnsOfTheConsumptionRows)
{
    Lote("C1", "1", "L1", 2);
    Configura(QStringLiteral("ConfirmaUDEquiv"), QStringLiteral("SI"));
    clase.emplace();
    Grilla({Linea("P2",
                  "1",
                  {{ColDescripcion, QStringLiteral("MESA O'K")},
                   {ColAux38, QStringLiteral("7")},
                   {MotivoStock, "4"},
                   {Aux_InsumosPorPorcentaje, "1"},
                   {ColCantidadEquiv, "2"},
                   {ColUnidadEquiv, "CJ"}})});
    Comprobante v;
    v.TC = QStringLiteral("FCC"); // a purchase: no IdComplemento
    v.Cuenta = QStringLiteral("PorDefault");
    v.IdMotivoStock = QStringLiteral("ELDELGRID");
    Postea(v, true);
    QStringList consumos = sqlTemp.split(QLatin1Char('\r')).filter(QStringLiteral("VALUES ('  PE'"));
    ASSERT_EQ(consumos.size(), 3) << sqlTemp.toStdString();
    const QString pe = QStringLiteral("'  PE','000100000001X',");
    // The offset of the article, as a purchase of sign 1 with confirmed equivalent units.
    EXPECT_EQ(
        consumos[0],
        "INSERT INTO V_MV_STOCK(TC,IdComprobante,Secuencia,Fecha,IdDeposito,IdArticulo,Descripcion,IdUnidad,"
        "CantidadUD,IdUnidadBase,Cantidad,CuentaProveedor,IdMotivoStock,PrecioVenta,Importe_S_iva,Costo,Tc_Origen,"
        "IdComprobante_Origen,ControladoPor) VALUES ("
            + pe + "1,'15/03/2024','   1','" + Codigo("P2")
            + "','MESA O''K','  UN',-2,'  CJ',-1,'3P2','   4',0,0,7,'FCC','000100000001A','P2')");
    // A part from its lot, with the part's own description and cost, the article's account.
    EXPECT_EQ(
        consumos[1],
        "INSERT INTO V_MV_STOCK(TC,IdComprobante,Secuencia,Fecha,IdDeposito,IdArticulo,Descripcion,NroLote,IdUnidad,"
        "Cantidad,CuentaProveedor,IdMotivoStock,PrecioVenta,Importe_S_iva,Costo,Tc_Origen,IdComprobante_Origen,"
        "ControladoPor) VALUES ("
            + pe + "2,'15/03/2024','   1','" + Codigo("C1") + "','TABLA OK','" + QStringLiteral("L1").rightJustified(25)
            + "','  UN',0.3,'3P2','   4',0,0,1.5,'FCC','000100000001A','P2')");
    EXPECT_TRUE(consumos[2].contains(QStringLiteral("'  KG',0.7,'3P2'"))) << consumos[2].toStdString();
    EXPECT_TRUE(EjecutaEnTransaccion(sqlTemp));
}

TEST_F(BaseConsumo, AComponentWithoutUnitAndItsOwnAccount)
{
    Ejecuta(QStringLiteral("UPDATE V_MA_INSUMOS SET CANTIDAD = 2 WHERE IdArticuloInsumo = '%1'").arg(Codigo("C3")));
    Grilla({Linea("P3", "1")});
    Comprobante v;
    v.Cuenta = QStringLiteral("PorDefault");
    Postea(v, true);
    const QStringList tornillo = sqlTemp.split(QLatin1Char('\r')).filter(Codigo("C3"));
    ASSERT_EQ(tornillo.size(), 1) << sqlTemp.toStdString();
    EXPECT_TRUE(tornillo[0].contains(QStringLiteral("'TORNILLO',NULL,-2,'3C3',"))) << tornillo[0].toStdString();
}

TEST_F(BaseConsumo, AFailedConsumptionRowEndsTheRun)
{
    RechazaStock(QStringLiteral("NEW.TC = '  PE' AND NEW.Secuencia = 2"), QStringLiteral("Consumo rechazado"));
    Grilla({Linea("P1", "4"), Linea("A1", "1")});
    Postea();
    EXPECT_TRUE(hayError);
    EXPECT_EQ(Movimientos(), (QStringList{"1 1>- -/- -4", "2 1>- -/- -1"}));
    EXPECT_EQ(Consumos(), QStringList{QString::fromLatin1(kPE) + " 1 C1 1 - -12"});
    EXPECT_EQ(operador.prompts().last(), QStringLiteral("Consumo rechazado"));
    EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al operador"));
    // No numbering statement for a voucher that failed.
    EXPECT_FALSE(sqlTemp.contains(QStringLiteral("V_TA_CPTE")));
}

TEST_F(BaseConsumo, EachRunItsOwnConsumptionVoucher)
{
    Grilla({Linea("P1", "1")});
    for (int vez = 1; vez <= 2; ++vez) {
        sqlTemp.clear();
        Comprobante v;
        v.SucNroLetra = QStringLiteral("00010000000%1A").arg(vez);
        Postea(v, true);
        ASSERT_TRUE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();
    }
    EXPECT_EQ(Consumos(),
              (QStringList{"000100000001X 1 C1 1 - -3",
                           "000100000001X 2 C2 1 - -0.5",
                           "000100000002X 1 C1 1 - -3",
                           "000100000002X 2 C2 1 - -0.5"}));
    EXPECT_EQ(UltimoDelLibro(), 3);
    EXPECT_EQ(gInsumos.size(), 3u); // the last line's two components and the empty record
}

const QString kTodosUsadosPE = QStringLiteral(
    "Todos los talonarios del comprobante PE se encuentran utilizados, debe dar de alta un nuevo talonario para el "
    "comprobante PE");

// A consumption voucher that cannot be numbered writes nothing of itself,
// neither its rows nor its book's advance, and the posting reports the error.
struct CasoSinNumero
{
    const char *nombre;
    QStringList prepara;
    std::vector<const char *> guardados; // consumption ids the stock holds
    QString mensaje;
};

void PrintTo(const CasoSinNumero &c, std::ostream *os)
{
    *os << c.nombre;
}

class ConsumoSinNumero : public BaseConsumo, public ::testing::WithParamInterface<std::tuple<CasoSinNumero, bool>>
{};

TEST_P(ConsumoSinNumero, WritesNothingOfItAndReportsTheError)
{
    const auto &[c, recolecta] = GetParam();
    Ejecuta(c.prepara);
    for (const char *id : c.guardados)
        Ejecuta(QStringLiteral("INSERT INTO V_MV_STOCK (TC, IdComprobante, Secuencia, Fecha, IdArticulo) "
                               "VALUES ('  PE', '%1', 1, '01/01/2024', 'ART')")
                    .arg(QLatin1String(id)));
    const long long libro = UltimoDelLibro();
    Grilla({Linea("A1", "1"), Linea("P1", "4"), Linea("P2", "1", PorPorcentaje())});
    Comprobante v;
    Postea(v, recolecta);
    EXPECT_TRUE(hayError);
    // Told once: the run ends at the first line with components.
    EXPECT_EQ(operador.prompts(), QStringList{c.mensaje});
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK WHERE TC = '  PE'")),
              (long long) c.guardados.size());
    EXPECT_FALSE(sqlTemp.contains(QStringLiteral("'  PE'"))) << sqlTemp.toStdString();
    EXPECT_FALSE(sqlTemp.contains(QStringLiteral("V_TA_CPTE"))) << sqlTemp.toStdString();
    EXPECT_EQ(UltimoDelLibro(), libro);
    // The voucher's own movements went before: written, or collected for a caller told of the error.
    EXPECT_EQ(recolecta ? int(sqlTemp.count(QStringLiteral("INSERT INTO V_MV_STOCK"))) : int(Movimientos().size()), 3);
}

const CasoSinNumero kSinNumero[] = {
    {"every book used up",
     {QStringLiteral("UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 3, X_NRO_HASTA = 2 WHERE CODIGO = '  PE'")},
     {},
     kTodosUsadosPE},
    {"the stock at 99999999",
     {},
     {"000100000001X", "000199999999X"},
     QStringLiteral(
         "Ha ocurrido el Siguiente Error (6) No quedan números para el comprobante PE: el último es 99999999")},
};

INSTANTIATE_TEST_SUITE_P(Casos,
                         ConsumoSinNumero,
                         ::testing::Combine(::testing::ValuesIn(kSinNumero), ::testing::Bool()),
                         PorCamino());

// The case measured: a book of one number, three vouchers posted one after
// the other, each collected text run in its transaction as a caller does.
TEST_F(BaseConsumo, ABookOfOneNumberNumbersOneConsumption)
{
    Ejecuta(QStringLiteral("UPDATE V_TA_CPTE SET X_ULTIMO_NRO = 2, X_NRO_HASTA = 2 WHERE CODIGO = '  PE'"));
    Grilla({Linea("P1", "1")});
    QList<bool> errores;
    for (int vez = 1; vez <= 3; ++vez) {
        sqlTemp.clear();
        hayError = false;
        Comprobante v;
        v.SucNroLetra = QStringLiteral("00010000000%1A").arg(vez);
        Postea(v, true);
        errores << hayError;
        if (!hayError) {
            EXPECT_TRUE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();
        }
    }
    EXPECT_EQ(errores, (QList<bool>{false, true, true}));
    EXPECT_EQ(Consumos(), (QStringList{"000100000002X 1 C1 1 - -3", "000100000002X 2 C2 1 - -0.5"}));
    EXPECT_EQ(UltimoDelLibro(), 3);
    EXPECT_EQ(operador.prompts(), (QStringList{kTodosUsadosPE, kTodosUsadosPE}));
}

// A stored voucher loaded into the entry grids and posted again consumes
// what the same voucher entered afresh consumes.
TEST_F(BaseConsumo, ALoadedVoucherConsumesAsOneEnteredAfresh)
{
    const QString id = QStringLiteral("000100000005A");
    Ejecuta(
        QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, FECHA) VALUES ('  RM', '%1', '2024-03-15')").arg(id));
    Ejecuta(QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, RENGLON, ID, IDARTICULO, CANTIDAD, "
                           "IDUNIDAD) VALUES ('  RM', '%1', 1, 1, '%2', 4, '  UN')")
                .arg(id, Codigo(QStringLiteral("P1"))));
    const QString filas = QStringLiteral("SELECT Secuencia, IdArticulo, IdDeposito, NroLote, Cantidad FROM V_MV_STOCK "
                                         "WHERE TC = '  PE' AND IdComprobante = '%1' ORDER BY Secuencia");

    QWidget form;
    ui::FlexGrid tareas, articulos, otros;
    ui::TextBox edit, edit2, edit3;
    clase->InicializaGrids(&tareas, &articulos, &otros, &edit, &edit2, &edit3, form, QStringLiteral("RM"), nullptr);
    std::int16_t reparto = 0;
    clase->AsignarDatosComprobante(QStringLiteral("RM"),
                                   id,
                                   QStringLiteral("0"),
                                   &tareas,
                                   &articulos,
                                   &otros,
                                   Variant(true),
                                   nullptr,
                                   false,
                                   QString(),
                                   reparto);
    ASSERT_EQ(articulos.TextMatrix(1, ColArticulo).trimmed(), QStringLiteral("P1"));
    EXPECT_EQ(articulos.TextMatrix(1, Aux_InsumosPorPorcentaje), QStringLiteral("0"));
    Comprobante cargado;
    cargado.SucNroLetra = id;
    PosteaComprobante(*clase, articulos, cargado, true, sqlTemp, hayError);
    ASSERT_FALSE(hayError);
    ASSERT_TRUE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();
    const QStringList delCargado = FilasDe(filas.arg(QString::fromLatin1(kPE)));

    sqlTemp.clear();
    Grilla({Linea("P1", "4")});
    PosteaYGraba(Comprobante(), true);
    EXPECT_FALSE(hayError);
    EXPECT_EQ(FilasDe(filas.arg(QStringLiteral("000100000002X"))), (QStringList{"1 C1 1 - -12", "2 C2 1 - -2"}));
    EXPECT_EQ(delCargado, FilasDe(filas.arg(QStringLiteral("000100000002X"))));
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

} // namespace
