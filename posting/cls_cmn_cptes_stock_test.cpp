#include "tests/support/clics.h"
#include "tests/support/posteo.h"

#include "tests/support/complementos.h"

#include "platform/component/component.h"

#include <QApplication>
#include <QDate>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace posteo;

const QString kId = QStringLiteral("000100000001A");

struct CasoCorrida
{
    const char *nombre;
    std::function<void(Comprobante &)> argumentos;
    std::vector<FilaDeGrilla> lineas;
    QStringList esperadas;    // the rows of the voucher's type, as Movimientos gives them
    QStringList previas = {}; // rows already stored
};

void PrintTo(const CasoCorrida &c, std::ostream *os)
{
    *os << c.nombre;
}

class Corrida : public BasePosteo, public ::testing::WithParamInterface<std::tuple<CasoCorrida, bool>>
{};

TEST_P(Corrida, PostsTheRowsOnBothPaths)
{
    const auto &[c, recolecta] = GetParam();
    Comprobante v;
    if (c.argumentos)
        c.argumentos(v);
    for (const QString &previa : c.previas)
        Ejecuta(previa);
    Grilla(c.lineas);
    PosteaYGraba(v, recolecta);
    EXPECT_FALSE(hayError);
    EXPECT_EQ(Movimientos(v.TC), c.esperadas);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

auto Tipo(const char *tc)
{
    return [=](Comprobante &v) { v.TC = QString::fromLatin1(tc); };
}

auto Transferencia(const char *desde, const char *hacia)
{
    return [=](Comprobante &v) {
        v.TC = QStringLiteral("TR");
        v.EsTransferencia = true;
        v.IdDeposito = QString::fromLatin1(desde);
        v.IdDepositoDestino = QString::fromLatin1(hacia);
    };
}

const QString kLinea = QStringLiteral("A1");

const CasoCorrida kCasos[] = {
    {"a grid with only its title row posts nothing", {}, {}, {}},
    {"rows of quantity 0 and rows without code are no lines",
     {},
     {Linea(kLinea, QStringLiteral("0")),
      Linea(QString(), QStringLiteral("3")),
      Linea(QStringLiteral("   "), QStringLiteral("3")),
      Linea(QStringLiteral("A2"), QStringLiteral("2"))},
     {"1 1>- -/- -2"}},
    {"an entry of one unit per lot item",
     Tipo("IR"),
     {Linea(kLinea, QStringLiteral("3"), {{ColNroLote, QStringLiteral("|L1|L1|L2|")}})},
     {"1 1>- L1/- 1", "2 1>- L1/- 1", "3 1>- L2/- 1"}},
    {"an entry of one lot takes the whole line",
     Tipo("IR"),
     {Linea(kLinea, QStringLiteral("3"), {{ColNroLote, QStringLiteral("|L1|")}})},
     {"1 1>- L1/- 3"}},
    {"an entry of two lots splits the line between them",
     Tipo("IR"),
     {Linea(kLinea, QStringLiteral("10"), {{ColNroLote, QStringLiteral("|L1|L2|")}})},
     {"1 1>- L1/- 5", "2 1>- L2/- 5"}},
    {"shares of four decimals, the last one takes the rest",
     Tipo("IR"),
     {Linea(kLinea, QStringLiteral("7"), {{ColNroLote, QStringLiteral("|L1|L2|L3|")}})},
     {"1 1>- L1/- 2.3333", "2 1>- L2/- 2.3333", "3 1>- L3/- 2.3334"}},
    {"serials on an entry without the serial flag share the line too",
     Tipo("IR"),
     {Linea(kLinea, QStringLiteral("2"), {{ColNroSerie, QStringLiteral("|S1|S2|")}})},
     {"1 1>- -/S1 1", "2 1>- -/S2 1"}},
    {"an entry with serials: one unit per serial",
     Tipo("IR"),
     {Linea(kLinea,
            QStringLiteral("3"),
            {{AuxPideSerie, QStringLiteral("1")}, {ColNroSerie, QStringLiteral("|S1|S2|S3|")}})},
     {"1 1>- -/S1 1", "2 1>- -/S2 1", "3 1>- -/S3 1"}},
    {"an entry of sizes: the quantity of each size",
     Tipo("IR"),
     {Linea(kLinea,
            QStringLiteral("5"),
            {{AuxPideTalle, QStringLiteral("1")},
             {ColNroLote, "|" + Clave("T1") + "|" + Clave("T2") + "|"},
             {ColNroSerie, QStringLiteral("|2|3|")}})},
     {"1 1>- T1/- 2", "2 1>- T2/- 3"}},
    {"an entry without lot takes the fixed lot",
     [](Comprobante &v) {
         v.TC = QStringLiteral("IR");
         v.LoteFijo = QStringLiteral("F1");
     },
     {Linea(kLinea, QStringLiteral("2"))},
     {"1 1>- F1/- 2"}},
    {"a lot with a quote is stored as typed",
     Tipo("IR"),
     {Linea(kLinea, QStringLiteral("3"), {{ColNroLote, QStringLiteral("|L'1|")}})},
     {"1 1>- L'1/- 3"}},
    {"an issue of lot keys with their quantities",
     {},
     {Linea(kLinea,
            QStringLiteral("5"),
            {{ColNroLote, "|" + Clave("L1", "S1") + "|" + Clave("L2", "S2") + "|"},
             {ColNroSerie, QStringLiteral("|2|3|")}})},
     {"1 1>- L1/S1 -2", "2 1>- L2/S2 -3"}},
    {"an issue item of 0 writes nothing and leaves its number to the next",
     {},
     {Linea(kLinea,
            QStringLiteral("3"),
            {{ColNroLote, "|" + Clave("L1") + "|" + Clave("L2") + "|" + Clave("L3") + "|"},
             {ColNroSerie, QStringLiteral("|2|0|1|")}})},
     {"1 1>- L1/- -2", "2 1>- L3/- -1"}},
    {"an issue without lots after one with lots carries none",
     {},
     {Linea(kLinea,
            QStringLiteral("2"),
            {{ColNroLote, "|" + Clave("L1", "S1") + "|"}, {ColNroSerie, QStringLiteral("|2|")}}),
      Linea(QStringLiteral("A2"), QStringLiteral("4"))},
     {"1 1>- L1/S1 -2", "2 1>- -/- -4"}},
    {"an issue of sizes",
     {},
     {Linea(kLinea,
            QStringLiteral("2"),
            {{AuxPideTalle, QString()}, {ColNroLote, "|" + Clave("T1") + "|"}, {ColNroSerie, QStringLiteral("|2|")}}),
      Linea(QStringLiteral("A2"),
            QStringLiteral("3"),
            {{AuxPideTalle, QStringLiteral("1")},
             {ColNroLote, "|" + Clave("T1") + "|" + Clave("T2") + "|"},
             {ColNroSerie, QStringLiteral("|1|2|")}})},
     {"1 1>- T1/- -2", "2 1>- T1/- -1", "3 1>- T2/- -2"}},
    {"a line's own deposit; the header's when it gives none",
     {},
     {Linea(kLinea, QStringLiteral("1"), {{ColDeposito, QStringLiteral(" 4")}}),
      Linea(QStringLiteral("A2"), QStringLiteral("1"))},
     {"1 4>- -/- -1", "2 1>- -/- -1"}},
    {"the header's deposit when the caller imposes the entry sign",
     [](Comprobante &v) { v.SignoRemota = 1; },
     {Linea(kLinea, QStringLiteral("2"), {{ColDeposito, QStringLiteral("4")}})},
     {"1 1>- -/- 2"}},
    {"each line's deposit, else the default one",
     [](Comprobante &v) { v.IdDeposito = QStringLiteral(" eldelgrid "); },
     {Linea(kLinea, QStringLiteral("1"), {{ColDeposito, QStringLiteral("4")}}),
      Linea(QStringLiteral("A2"), QStringLiteral("1"))},
     {"1 4>- -/- -1", "2 9>- -/- -1"}},
    {"no deposit in the header: the default one",
     [](Comprobante &v) { v.IdDeposito.clear(); },
     {Linea(kLinea, QStringLiteral("1"))},
     {"1 9>- -/- -1"}},
    {"a type of sign 0: one movement of 0 per line",
     Tipo("XX"),
     {Linea(kLinea, QStringLiteral("2"), {{ColNroLote, QStringLiteral("|L1|L2|")}}),
      Linea(QStringLiteral("A2"), QStringLiteral("1"))},
     {"1 1>- -/- 0", "2 1>- -/- 0"}},
    {"a transfer issues from each line's deposit and enters all into the destination",
     Transferencia("3", "7"),
     {Linea(kLinea, QStringLiteral("2"), {{ColDeposito, QStringLiteral("3")}}),
      Linea(QStringLiteral("A2"), QStringLiteral("1"), {{ColDeposito, QStringLiteral("5")}})},
     {"1 3>7 -/- -2", "2 5>7 -/- -1", "3 7>3 -/- 2", "4 7>5 -/- 1"}},
    {"a transfer enters the lots and serials it issued, with their quantities",
     Transferencia("1", "7"),
     {Linea(kLinea,
            QStringLiteral("5"),
            {{ColNroLote, "|" + Clave("L1", "S1") + "|" + Clave("L2") + "|" + Clave("L3") + "|"},
             {ColNroSerie, QStringLiteral("|2|0|3|")}})},
     {"1 1>7 L1/S1 -2", "2 1>7 L3/- -3", "3 7>1 L1/S1 2", "4 7>1 L3/- 3"}},
    {"a production order enters what it makes, then issues what it uses",
     Tipo("OP"),
     {Linea(QStringLiteral("A2"), QStringLiteral("4")),
      Linea(kLinea, QStringLiteral("2"), {{AuxCantidadInsumo, QStringLiteral("-1")}})},
     {"1 1>- -/- 2", "2 1>- -/- -4"}},
    {"a production order goes on after the movements it has",
     Tipo("OP"),
     {Linea(QStringLiteral("A2"), QStringLiteral("4")),
      Linea(kLinea, QStringLiteral("2"), {{AuxCantidadInsumo, QStringLiteral("-1")}})},
     {"5 1>- -/- 1", "7 1>- -/- 2", "8 1>- -/- -4"},
     {QStringLiteral("INSERT INTO V_MV_STOCK (TC, IdComprobante, Secuencia, Fecha, IdDeposito, IdArticulo, Cantidad) "
                     "VALUES ('  OP', '000100000001A', 5, '2024-03-01', '   1', 'A9', 1)")}},
};

INSTANTIATE_TEST_SUITE_P(Vouchers,
                         Corrida,
                         ::testing::Combine(::testing::ValuesIn(kCasos), ::testing::Bool()),
                         PorCamino());

TEST_F(BasePosteo, TheCollectedTextOfASmallVoucher)
{
    Configura(QStringLiteral("PIVA"), QStringLiteral("21"));
    clase.emplace();
    Grilla({Linea(kLinea, QStringLiteral("2"), {{ColImporte, QStringLiteral("15,5")}})});
    sqlTemp = QStringLiteral("PREVIO");
    Comprobante v;
    Postea(v, true);
    const QString articulo = Codigo(kLinea);
    EXPECT_EQ(
        sqlTemp,
        "PREVIO\rINSERT INTO V_MV_STOCK(TC,IdComprobante,IdComplemento,Secuencia,Fecha,IdCaja,IdDeposito,IdArticulo,"
        "Descripcion,NroLote,ControladoPor,NroSerie,IdUnidad,Cantidad,IdMotivoStock,PrecioVenta,Importe_S_Iva,Costo,"
        "Impuestos,DtoItem,Tc_Origen,IdComprobante_Origen,Id_Origen,IVARI,IVARNI,EQUIV_UDBASE,IDINSERT,IDCOMPULSA,"
        "Oferta,IdVendedor,Importe_Ud,Ud_Pr,EnComodato) VALUES ('  RM','000100000001A',0,1,'15/03/2024','   1',"
        "'   1','"
            + articulo
            + "','DESC A1',NULL,'',NULL,'  UN',-2,'   1',15.5,0,0,0,0,NULL,NULL,0,21,0,1,0,0,0,"
              "'1',0,'',0)\r");
    // Nothing ran: the caller's transaction will.
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
    // The prepared header values went back to the caller.
    EXPECT_EQ(v.IdDeposito, QStringLiteral("'   1'"));
    EXPECT_EQ(v.IdMotivoStock, QStringLiteral("'   1'"));
    EXPECT_EQ(v.IdDepositoDestino, QStringLiteral("NULL"));
    EXPECT_EQ(v.TcOrigen, QStringLiteral("NULL"));
    EXPECT_EQ(v.ComprobanteOrigen, QStringLiteral("NULL"));
}

TEST_F(BasePosteo, HeaderValuesAsTheyAreGivenAndAsTheyComeBack)
{
    Configura(QStringLiteral("MotivoStockDefault"), QStringLiteral("3"));
    Grilla({Linea(kLinea,
                  QStringLiteral("1"),
                  {{MotivoStock, QStringLiteral("01")}, {AuxCpteOrigen, QStringLiteral("  NP000200000001A")}}),
            Linea(QStringLiteral("A2"),
                  QStringLiteral("1"),
                  {{MotivoStock, QStringLiteral("02")}, {AuxCpteOrigen, QStringLiteral("  NP000200000002A")}})});
    struct Caso
    {
        QString motivo, origen, comprobante;
        QString motivoDespues, origenDespues, comprobanteDespues;
    };
    const Caso casos[] = {
        {QStringLiteral("ELDELGRID"),
         QStringLiteral("eldelgrid"),
         QStringLiteral(" ElDelGrid"),
         QStringLiteral("'  02'"),
         QStringLiteral("'NP'"),
         QStringLiteral("'000200000002A'")},
        {QString(),
         QStringLiteral("OC"),
         QStringLiteral("000100000005A"),
         QStringLiteral("'   3'"),
         QStringLiteral("'  OC'"),
         QStringLiteral("'000100000005A'")},
        {QStringLiteral("  "),
         QStringLiteral("  "),
         QString(),
         QStringLiteral("NULL"),
         QStringLiteral("NULL"),
         QStringLiteral("NULL")},
        {QStringLiteral("M'1"),
         QStringLiteral("O'C"),
         QStringLiteral("0001'"),
         QStringLiteral("' M''1'"),
         QStringLiteral("' O''C'"),
         QStringLiteral("'0001'''")},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.motivo.toStdString());
        Comprobante v;
        v.IdMotivoStock = c.motivo;
        v.TcOrigen = c.origen;
        v.ComprobanteOrigen = c.comprobante;
        sqlTemp.clear();
        Postea(v, true);
        EXPECT_EQ(v.IdMotivoStock, c.motivoDespues);
        EXPECT_EQ(v.TcOrigen, c.origenDespues);
        EXPECT_EQ(v.ComprobanteOrigen, c.comprobanteDespues);
        EXPECT_TRUE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();
        Ejecuta(QStringLiteral("DELETE FROM V_MV_STOCK"));
    }
}

TEST_F(BasePosteo, HayErrorIsNeverClearedAndAMissingTypePostsNothing)
{
    Grilla({Linea(kLinea, QStringLiteral("1"))});
    hayError = true;
    Postea();
    EXPECT_TRUE(hayError);
    EXPECT_EQ(Movimientos().size(), 1);

    // The type's row gives the sign: without it nothing is posted, not even
    // the reception of the order it receives.
    Ejecuta(QStringLiteral(
        "INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, FECHA) VALUES ('  OC', '000100000005A', '2024-03-01')"));
    Ejecuta(QStringLiteral("DELETE FROM V_TA_CPTE WHERE CODIGO = ' RMC'"));
    for (bool recolecta : {false, true}) {
        hayError = false;
        operador.clear();
        sqlTemp = QStringLiteral("PREVIO");
        Comprobante v;
        v.TC = QStringLiteral("RMC");
        v.TcOrigen = QStringLiteral("OC");
        v.ComprobanteOrigen = QStringLiteral("000100000005A");
        Postea(v, recolecta);
        EXPECT_TRUE(hayError);
        EXPECT_EQ(operador.prompts(),
                  QStringList{
                      QStringLiteral("El Tipo de Comprobante informado no existe en la tabla de comprobantes")});
        EXPECT_EQ(sqlTemp, QStringLiteral("PREVIO"));
        EXPECT_EQ(Movimientos(QStringLiteral("RMC")), QStringList());
        EXPECT_TRUE(Valor(QStringLiteral("SELECT FECHARECEPCION FROM C_MV_CPTE")).isNull());
    }
}

TEST_F(BasePosteo, AnIssuedSizeKeepsTheLotsWidth)
{
    Grilla({Linea(kLinea,
                  QStringLiteral("2"),
                  {{AuxPideTalle, QStringLiteral("1")},
                   {ColNroLote, "|" + Clave("T1") + "|"},
                   {ColNroSerie, QStringLiteral("|2|")}})});
    Postea();
    EXPECT_EQ(Valor(QStringLiteral("SELECT NroLote FROM V_MV_STOCK")).toString(),
              QStringLiteral("T1").rightJustified(25));
}

struct CasoRecepcion
{
    const char *obligatoria; // IR_Oblig; nullptr: no such key
    const char *tc;
    const char *origen;
    bool escribe;
};

void PrintTo(const CasoRecepcion &c, std::ostream *os)
{
    *os << (c.obligatoria ? c.obligatoria : "(none)") << " " << c.tc << " from " << c.origen;
}

class Recepcion : public BasePosteo, public ::testing::WithParamInterface<std::tuple<CasoRecepcion, bool>>
{};

TEST_P(Recepcion, TheOrderReceivedGetsItsDateOnce)
{
    const auto &[c, recolecta] = GetParam();
    if (c.obligatoria)
        Configura(QStringLiteral("IR_Oblig"), QString::fromLatin1(c.obligatoria));
    Ejecuta(QStringLiteral(
        "INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, FECHA, FECHARECEPCION) VALUES "
        "('  OC', '000100000005A', '2024-03-01', NULL), ('  OC', '000100000006A', '2024-03-01', '2024-02-01')"));
    auto recepcion = [&](const char *id) {
        return Valor(QStringLiteral("SELECT FECHARECEPCION FROM C_MV_CPTE WHERE IDCOMPROBANTE = '%1'").arg(id));
    };
    Grilla({Linea(kLinea, QStringLiteral("1"))});
    for (const char *id : {"000100000005A", "000100000006A"}) {
        Comprobante v;
        v.TC = QString::fromLatin1(c.tc);
        v.SucNroLetra = QStringLiteral("00010000000") + QLatin1String(id).right(2);
        v.TcOrigen = QString::fromLatin1(c.origen);
        v.ComprobanteOrigen = QString::fromLatin1(id);
        sqlTemp.clear();
        Postea(v, recolecta);
        if (recolecta) {
            // Collected for the caller's transaction, not run behind its back.
            EXPECT_TRUE(recepcion("000100000005A").isNull() || QLatin1String(id) == QLatin1String("000100000006A"));
            EXPECT_TRUE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();
        }
    }
    EXPECT_FALSE(hayError);
    if (c.escribe)
        EXPECT_EQ(recepcion("000100000005A").toDate().date(), QDate(2024, 3, 15));
    else
        EXPECT_TRUE(recepcion("000100000005A").isNull());
    EXPECT_EQ(recepcion("000100000006A").toDate().date(), QDate(2024, 2, 1));
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 2);
}

INSTANTIATE_TEST_SUITE_P(Casos,
                         Recepcion,
                         ::testing::Combine(::testing::Values(CasoRecepcion{nullptr, "FCC", "OC", true},
                                                              CasoRecepcion{"", "FCC", "OC", true},
                                                              CasoRecepcion{"no", "RMC", "OC", true},
                                                              CasoRecepcion{" ", "rmc", " oc ", true},
                                                              CasoRecepcion{"SI", "FCC", "OC", false},
                                                              CasoRecepcion{"X", "FCC", "OC", false},
                                                              CasoRecepcion{" NO", "FCC", "OC", false},
                                                              CasoRecepcion{nullptr, "IR", "OC", false},
                                                              CasoRecepcion{nullptr, "FCC", "OCX", false},
                                                              CasoRecepcion{nullptr, "FCC", "", false}),
                                            ::testing::Bool()));

TEST_F(BasePosteo, AFailedStatementEndsTheRunAndKeepsWhatRanBefore)
{
    RechazaStock(QStringLiteral("NEW.Secuencia = 3"), QStringLiteral("Tercera linea rechazada"));
    Grilla({Linea(kLinea, QStringLiteral("1")),
            Linea(QStringLiteral("A2"), QStringLiteral("2")),
            Linea(QStringLiteral("A3"), QStringLiteral("3")),
            Linea(kLinea, QStringLiteral("4"))});
    Comprobante v;
    v.MuestraCartel = true;
    Postea(v);
    EXPECT_TRUE(hayError);
    EXPECT_EQ(Movimientos(), (QStringList{"1 1>- -/- -1", "2 1>- -/- -2"}));
    ASSERT_FALSE(operador.requests().empty());
    EXPECT_EQ(operador.last().prompt, QStringLiteral("Tercera linea rechazada"));
    EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al operador"));
    EXPECT_EQ(operador.last().icon, ui::vbCritical);
    EXPECT_FALSE(gCartel().Visible());
}

TEST_F(BasePosteo, AReceptionThatFailsEndsTheRunBeforeAnyMovement)
{
    Ejecuta(QStringLiteral(
        "INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, FECHA) VALUES ('  OC', '000100000005A', '2024-03-01')"));
    EjecutaEnArchivo(base.path,
                     QStringLiteral("CREATE TRIGGER rechaza_recepcion BEFORE UPDATE ON C_MV_CPTE "
                                    "BEGIN SELECT RAISE(ABORT, 'Recepcion rechazada'); END"));
    Grilla({Linea(kLinea, QStringLiteral("1"))});
    Comprobante v;
    v.TC = QStringLiteral("FCC");
    v.TcOrigen = QStringLiteral("OC");
    v.ComprobanteOrigen = QStringLiteral("000100000005A");
    Postea(v);
    EXPECT_TRUE(hayError);
    EXPECT_EQ(Movimientos(v.TC), QStringList());
    ASSERT_FALSE(operador.requests().empty());
    EXPECT_EQ(operador.last().prompt, QStringLiteral("Recepcion rechazada"));
    EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al operador"));
}

// Answers the error treatment's box with a script of its own; the answer
// may first mend what failed.
class Arregla : public ui::ScriptedResponder
{
public:
    std::function<int()> alPreguntar;
    QStringList titulos;
    int msgBox(const QString &prompt, int style, const QString &title) override
    {
        titulos << title;
        ScriptedResponder::msgBox(prompt, style, title);
        return alPreguntar();
    }
};

TEST_F(BasePosteo, ARunTimeErrorLeavesThePostingIncompleteUnlessARetryMendsIt)
{
    struct Caso
    {
        const char *nombre;
        int respuesta;
        bool arregla;
        QStringList filas;
        bool error;
        int preguntas;
    };
    const Caso casos[] = {
        // The consumption of inputs meets the same cell again.
        {"ignored: the next lines are posted", ui::vbIgnore, false, {"1 1>- -/- -1"}, true, 2},
        {"abandoned: nothing more", ui::vbAbort, false, {}, true, 1},
        {"retried after the cell is mended", ui::vbRetry, true, {"1 1>- -/- -2", "2 1>- -/- -1"}, false, 1},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta(QStringLiteral("DELETE FROM V_MV_STOCK"));
        // A quantity no amount can hold.
        Grilla({Linea(kLinea, QStringLiteral("1e300")), Linea(QStringLiteral("A2"), QStringLiteral("1"))});
        Arregla respuestas;
        respuestas.alPreguntar = [&] {
            if (c.arregla)
                grilla.setTextMatrix(1, ColCantidad, QStringLiteral("2"));
            return c.respuesta;
        };
        ui::ScopedResponder alcance(respuestas);
        hayError = false;
        Comprobante v;
        v.MuestraCartel = true;
        Postea(v);
        EXPECT_EQ(hayError, c.error);
        EXPECT_EQ(Movimientos(), c.filas);
        EXPECT_EQ(respuestas.titulos.size(), c.preguntas);
        for (const QString &titulo : respuestas.titulos)
            EXPECT_TRUE(titulo.contains(QStringLiteral("ActualizaStock"))) << titulo.toStdString();
        EXPECT_FALSE(gCartel().Visible());
    }
}

TEST_F(BasePosteo, TheBannerShowsOnlyWhenAskedAndAlwaysCloses)
{
    Grilla({Linea(kLinea, QStringLiteral("1")), Linea(QStringLiteral("A2"), QStringLiteral("2"))});
    QStringList vistos;
    QTimer muestreo;
    muestreo.setInterval(0);
    QObject::connect(&muestreo, &QTimer::timeout, [&] {
        const QString visto = gCartel().Visible()
                                  ? gCartel().Titulo() + "|" + gCartel().Texto() + "|" + gCartel().Detalle()
                                  : QStringLiteral("(oculto)");
        if (vistos.isEmpty() || vistos.last() != visto)
            vistos << visto;
    });
    muestreo.start();

    Comprobante v;
    v.MuestraCartel = true;
    Postea(v, true);
    EXPECT_EQ(vistos,
              (QStringList{"Grabando Stock....||",
                           "Grabando Stock...|A1  DESC A1|1 de 2",
                           "Grabando Stock...|A2  DESC A2|2 de 2",
                           "(oculto)"}));
    EXPECT_FALSE(gCartel().Visible());

    // Not asked: the run shows nothing of its own, and still closes the banner.
    vistos.clear();
    gCartel().Muestra(QStringLiteral("Otro trabajo"));
    v.MuestraCartel = false;
    Postea(v, true);
    EXPECT_EQ(vistos, (QStringList{"Otro trabajo||", "(oculto)"}));
    EXPECT_FALSE(gCartel().Visible());
}

TEST_F(BasePosteo, TheOperatorsClicksWhileAVoucherPostsAreNeverDelivered)
{
    QPushButton grabar(QStringLiteral("Grabar"));
    grabar.show();
    QApplication::processEvents();
    int clics = 0;
    QObject::connect(&grabar, &QPushButton::clicked, [&] {
        ++clics;
        // What a form's handler might do, were it let through.
        grilla.setTextMatrix(2, ColCantidad, QStringLiteral("99"));
    });
    Grilla({Linea(kLinea, QStringLiteral("1")), Linea(QStringLiteral("A2"), QStringLiteral("2"))});
    int turnos = 0;
    QTimer operador;
    operador.setInterval(0);
    QObject::connect(&operador, &QTimer::timeout, [&] {
        if (++turnos <= 3)
            EncolaClic(grabar);
    });
    EncolaClic(grabar);
    operador.start();
    Postea();
    operador.stop();
    QApplication::processEvents();
    EXPECT_GT(turnos, 3);
    EXPECT_EQ(clics, 0);
    EXPECT_EQ(Movimientos(), (QStringList{"1 1>- -/- -1", "2 1>- -/- -2"}));

    // Once the run is over the form is the operator's again.
    EncolaClic(grabar);
    QApplication::processEvents();
    EXPECT_EQ(clics, 1);
}

// The complement goes unquoted into every row: only a whole number is posted,
// anything else is refused before a statement is built.
TEST_F(BasePosteo, OnlyAWholeNumberComplementIsPosted)
{
    for (const CasoComplemento &c : CasosDeComplemento()) {
        for (bool recoge : {false, true}) {
            SCOPED_TRACE(std::string(c.complemento) + (recoge ? ", collected" : ", run"));
            [&] {
                DeNuevo({Linea(QStringLiteral("A1"), QStringLiteral("1"))});
                Comprobante v;
                v.IdComplemento = QString::fromUtf8(c.complemento);
                if (c.valido) {
                    PosteaYGraba(v, recoge);
                    EXPECT_FALSE(hayError);
                    EXPECT_EQ(FilasDe(QStringLiteral("SELECT IdComplemento FROM V_MV_STOCK")),
                              QStringList{QString::fromUtf8(c.complemento).trimmed()});
                    EXPECT_EQ(operador.requests().size(), 0u);
                    return;
                }
                Postea(v, recoge);
                EXPECT_TRUE(hayError);
                EXPECT_TRUE(sqlTemp.isEmpty()) << sqlTemp.toStdString();
                EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
                ASSERT_EQ(operador.requests().size(), 1u);
                EXPECT_EQ(operador.requests()[0].prompt, RechazoDeComplemento(c.complemento));
            }();
        }
    }
}

// A line whose lists do not read cleanly, or whose quantities do not match
// its keys or the line, refuses the whole voucher rather than post a guess:
// one message naming the article and the fault, HayError, nothing written
// on either path.
TEST_F(BasePosteo, AMalformedOrOverlongListRefusesTheVoucherAndWritesNothing)
{
    const QString y(QChar(0xFF));
    QString claves;
    QString cantidades;
    for (int k = 1; k <= 10000; ++k) {
        claves += QStringLiteral("|L%1").arg(k, 5, 10, QLatin1Char('0')) + y;
        cantidades += QStringLiteral("|1");
    }
    claves += QLatin1Char('|');
    cantidades += QLatin1Char('|');
    struct Caso
    {
        const char *nombre;
        const char *tc;
        std::vector<FilaDeGrilla> lineas;
        QString falla;
    };
    const std::vector<Caso> casos{
        {"an entry's serials without the closing bar",
         "IR",
         {Linea(QStringLiteral("A1"),
                QStringLiteral("3"),
                {{AuxPideSerie, QStringLiteral("-1")}, {ColNroSerie, QStringLiteral("|S1|S2|S3")}})},
         QStringLiteral("el artículo A1 (línea 1) tiene la lista de series sin cerrar (falta el \"|\" final)")},
        {"three keys and one quantity",
         "RM",
         {Linea(QStringLiteral("A1"),
                QStringLiteral("5"),
                {{ColNroLote, "|L1" + y + "|L2" + y + "|L3" + y + "|"}, {ColNroSerie, QStringLiteral("|2|")}})},
         QStringLiteral("el artículo A1 (línea 1) tiene 3 elementos en la lista de lotes y 1 en la de cantidades")},
        {"keys without the closing bar",
         "RM",
         {Linea(QStringLiteral("A1"),
                QStringLiteral("5"),
                {{ColNroLote, "|L1" + y + "S1|L2" + y}, {ColNroSerie, QStringLiteral("|2|3|")}})},
         QStringLiteral("el artículo A1 (línea 1) tiene la lista de lotes sin cerrar (falta el \"|\" final)")},
        {"an entry's lots without the closing bar",
         "IR",
         {Linea(QStringLiteral("A1"), QStringLiteral("10"), {{ColNroLote, QStringLiteral("|L1|L2")}})},
         QStringLiteral("el artículo A1 (línea 1) tiene la lista de lotes sin cerrar (falta el \"|\" final)")},
        {"quantities that do not add up to the line",
         "RM",
         {Linea(QStringLiteral("A1"),
                QStringLiteral("5"),
                {{ColNroLote, "|L1" + y + "|L2" + y + "|"}, {ColNroSerie, QStringLiteral("|2|2|")}})},
         QStringLiteral("el artículo A1 (línea 1) tiene cantidades en sus lotes que suman 4 y la línea es de 5")},
        {"10,000 lots, past the list's limit",
         "RM",
         {Linea(QStringLiteral("A1"), QStringLiteral("10000"), {{ColNroLote, claves}, {ColNroSerie, cantidades}})},
         QStringLiteral("el artículo A1 (línea 1) tiene la lista de lotes más larga que 32767 caracteres")},
        {"a good line before a bad one",
         "RM",
         {Linea(QStringLiteral("A1"), QStringLiteral("1")),
          Linea(QStringLiteral("A3"),
                QStringLiteral("5"),
                {{ColNroLote, "|L1" + y + "|L2" + y + "|"}, {ColNroSerie, QStringLiteral("|2|2|")}})},
         QStringLiteral("el artículo A3 (línea 2) tiene cantidades en sus lotes que suman 4 y la línea es de 5")},
    };
    for (const Caso &c : casos) {
        [&] {
            for (bool recoge : {false, true}) {
                SCOPED_TRACE(std::string(c.nombre) + (recoge ? ", collected" : ", run"));
                [&] {
                    DeNuevo(c.lineas);
                    Comprobante v;
                    v.TC = QString::fromLatin1(c.tc);
                    Postea(v, recoge);
                    EXPECT_TRUE(hayError);
                    EXPECT_TRUE(sqlTemp.isEmpty()) << sqlTemp.left(300).toStdString();
                    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
                    ASSERT_EQ(operador.requests().size(), 1u);
                    EXPECT_EQ(operador.requests()[0].prompt,
                              QStringLiteral("No se grabó el comprobante: ") + c.falla + ".");
                    EXPECT_EQ(operador.requests()[0].title, QStringLiteral("Aviso al operador"));
                    EXPECT_EQ(operador.requests()[0].icon, ui::vbCritical);
                }();
            }
        }();
    }
}

} // namespace
