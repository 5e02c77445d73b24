// The accounting entry of a stock movement: its rows for each kind of
// movement, its numbers over calls, the per-line merge and its stops.

#include "tests/support/posteo.h"

#include "platform/ado/ado.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

using namespace posteo;

// An article line with its quantity, cost and price without VAT.
FilaDeGrilla Valorada(const char *articulo, const char *cantidad, const char *costo, const char *precio = "0")
{
    return Linea(QString::fromLatin1(articulo),
                 QString::fromLatin1(cantidad),
                 {{ColAux38, QString::fromLatin1(costo)}, {AuxPrecioSinIVA, QString::fromLatin1(precio)}});
}

class Asiento : public BaseAsiento
{
protected:
    void SetUp() override
    {
        BaseAsiento::SetUp();
        Ejecuta(QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, ES, Sistema) VALUES ('  EG', 'E', 'STOCK'), "
                               "('  SG', 'S', 'STOCK')"));
        // A4 has no stock account.
        Ejecuta(QStringLiteral(
                    "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD) VALUES ('%1', 'CLAVO', '  UN')")
                    .arg(Codigo(QStringLiteral("A4"))));
        clase.emplace();
    }
    struct Llamada
    {
        QString TC = QStringLiteral("RM");
        QString Motivo = QStringLiteral("1");
        QString Suc = QStringLiteral("0001");
        QString Nro = QStringLiteral("00000001");
        QString Letra = QStringLiteral("A");
        QString Fecha = QStringLiteral("15/03/2024");
        std::int16_t TipoMov = 0;
        std::int32_t SoloRegistro = 0;
        std::int16_t Secuencia = 1;
        bool EsDebito = true;
    };
    QString Genera(Llamada &l)
    {
        return clase->GeneraAsientoStock(
            grilla, l.Motivo, l.TC, l.Suc, l.Nro, l.Letra, l.Fecha, l.EsDebito, l.TipoMov, l.SoloRegistro, l.Secuencia);
    }
    void Corre(const QString &texto)
    {
        gDB().EjecutaConsultaSQL(texto);
        EXPECT_EQ(gDB().gCnn().errors().Count(), 0) << texto.toStdString();
    }
    // The journal: "tc secuencia cuenta side amount", voucher and sequence order.
    QStringList Filas(const QString &columnas = QStringLiteral("TC, SECUENCIA, CUENTA, [DEBE-HABER], IMPORTE"))
    {
        return FilasDe(
            QStringLiteral("SELECT %1 FROM MV_ASIENTOS ORDER BY TC, SUCURSAL, NUMERO, LETRA, SECUENCIA").arg(columnas));
    }
    // Earlier entries of March 2024: register 2 up to 40, register 3 up to 7.
    void RegistrosConAsientos()
    {
        Ejecuta(QStringLiteral(
            "INSERT INTO MA_SUBDIARIOS (CODIGO, DESCRIPCION) VALUES ('   2', 'STOCK'), ('   3', 'COSTOS')"));
        Ejecuta(QStringLiteral("INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES ('  RM', '   2'), "
                               "('  IR', '   3')"));
        Ejecuta(QStringLiteral(
            "INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA, MES_OPERATIVO, PERIODO, "
            "TIPO_REG, [NUMERO ASIENTO]) VALUES ('  AJ', '0009', '00000001', 'A', 1, 3, 2024, '   2', 40), "
            "('  AJ', '0009', '00000002', 'A', 1, 3, 2024, '   3', 7), "
            "('  AJ', '0009', '00000003', 'A', 1, 4, 2024, '   2', 90)"));
    }
};

struct CasoAsiento
{
    const char *nombre;
    const char *tc;
    std::int16_t tipoMov;
    const char *grilla;
    std::vector<FilaDeGrilla> lineas;
    QStringList filas;      // the journal once the text ran
    std::int16_t secuencia; // what the call leaves in Secuencia
};

TEST_F(Asiento, EachKindValuesItsLinesOnItsSides)
{
    const std::vector<CasoAsiento> casos{
        {"remito: motive debited, one line per stock account",
         "RM",
         1,
         "MSFlexGrid2",
         {Valorada("A1", "2", "10"), Valorada("A2", "1", "5"), Valorada("A3", "1", "4")},
         {"RM 1 5.1.07 D 29", "RM 2 1.3.01 H 25", "RM 3 1.3.02 H 4"},
         4},
        {"difference grid in any case: the motive passed, sides swapped",
         "RM",
         1,
         "msflexgridDIF",
         {Valorada("A1", "1", "10")},
         {"RM 1 5.1.01 H 10", "RM 2 1.3.01 D 10"},
         3},
        {"loan", "RM", 2, "MSFlexGrid2", {Valorada("A3", "2", "4")}, {"RM 1 5.1.08 D 8", "RM 2 1.3.02 H 8"}, 3},
        {"transfer out", "TR", 3, "MSFlexGrid2", {Valorada("A1", "1", "10")}, {"TR 1 5.1.09 D 10", "TR 2 1.3.01 H 10"}, 3},
        {"transfer in", "TR", 4, "MSFlexGrid2", {Valorada("A1", "1", "10")}, {"TR 1 5.1.09 H 10", "TR 2 1.3.01 D 10"}, 3},
        {"order received: valued at the price without VAT",
         "RM",
         5,
         "MSFlexGrid2",
         {Valorada("A1", "3", "10", "12.5")},
         {"RM 1 5.1.06 H 37.5", "RM 2 1.3.01 D 37.5"},
         3},
        {"RMC of another kind: as an order received",
         "RMC",
         0,
         "MSFlexGrid2",
         {Valorada("A1", "2", "10", "11")},
         {"RMC 1 5.1.06 H 22", "RMC 2 1.3.01 D 22"},
         3},
        {"IR credits the motive",
         "IR",
         0,
         "MSFlexGrid2",
         {Valorada("A1", "1", "10")},
         {"IR 1 5.1.01 H 10", "IR 2 1.3.01 D 10"},
         3},
        {"SI credits the motive",
         "si",
         0,
         "MSFlexGrid2",
         {Valorada("A1", "1", "10")},
         {"si 1 5.1.01 H 10", "si 2 1.3.01 D 10"},
         3},
        {"VS debits the motive",
         "VS",
         0,
         "MSFlexGrid2",
         {Valorada("A1", "1", "10")},
         {"VS 1 5.1.01 D 10", "VS 2 1.3.01 H 10"},
         3},
        {"AJN debits the motive",
         "AJN",
         0,
         "MSFlexGrid2",
         {Valorada("A1", "1", "10")},
         {"AJN 1 5.1.01 D 10", "AJN 2 1.3.01 H 10"},
         3},
        {"another type entering stock: as IR",
         "EG",
         0,
         "MSFlexGrid2",
         {Valorada("A1", "1", "10")},
         {"EG 1 5.1.01 H 10", "EG 2 1.3.01 D 10"},
         3},
        {"another type leaving stock: as VS",
         "SG",
         0,
         "MSFlexGrid2",
         {Valorada("A1", "1", "10")},
         {"SG 1 5.1.01 D 10", "SG 2 1.3.01 H 10"},
         3},
        {"a type that moves no stock has no entry", "XX", 0, "MSFlexGrid2", {Valorada("A1", "1", "10")}, {}, 1},
        {"an invoice has no entry of its own", "FC", 0, "MSFlexGrid2", {Valorada("A1", "1", "10")}, {}, 1},
        {"nor a purchase invoice, whatever the kind", "FCC", 1, "MSFlexGrid2", {Valorada("A1", "1", "10")}, {}, 1},
        {"two lines of one article: one amount",
         "RM",
         1,
         "MSFlexGrid2",
         {Valorada("A1", "2", "10"), Valorada("A1", "1", "10")},
         {"RM 1 5.1.07 D 30", "RM 2 1.3.01 H 30"},
         3},
        {"a negative amount goes to the other side",
         "RM",
         1,
         "MSFlexGrid2",
         {Valorada("A1", "-2", "10")},
         {"RM 1 5.1.07 H 20", "RM 2 1.3.01 D 20"},
         3},
        {"quantity zero and an article without account: no row, the numbers still used",
         "RM",
         1,
         "MSFlexGrid2",
         {Valorada("A1", "0", "10"), Valorada("A4", "5", "3")},
         {},
         3},
        {"only an article without account: no account line", "RM", 1, "MSFlexGrid2", {Valorada("A4", "5", "3")}, {}, 2},
        {"articles that cancel out: the motive line has no row",
         "RM",
         1,
         "MSFlexGrid2",
         {Valorada("A1", "1", "10"), Valorada("A3", "-1", "10")},
         {"RM 2 1.3.01 H 10", "RM 3 1.3.02 D 10"},
         4},
    };
    for (const CasoAsiento &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS"));
        Grilla(c.lineas);
        grilla.setObjectName(QString::fromLatin1(c.grilla));
        Llamada l;
        l.TC = QString::fromLatin1(c.tc);
        l.TipoMov = c.tipoMov;
        const QString texto = Genera(l);
        if (c.filas.isEmpty() && c.secuencia == 1) {
            EXPECT_EQ(texto, QString());
            continue;
        }
        if (!c.filas.isEmpty()) {
            EXPECT_TRUE(texto.startsWith(QStringLiteral("\r\nINSERT INTO MV_ASIENTOS ("))) << texto.toStdString();
        }
        if (!texto.isEmpty())
            Corre(texto);
        EXPECT_EQ(Filas(), c.filas);
        EXPECT_EQ(l.Secuencia, c.secuencia);
        EXPECT_EQ(operador.requests().size(), 0u);
    }
}

TEST_F(Asiento, TheRowCarriesTheVoucherMotiveAndWhoWroteIt)
{
    gUNegocio = QStringLiteral("   2");
    gCaja = QStringLiteral("3");
    Ejecuta(QStringLiteral("UPDATE V_TA_MOTIVOSTOCK SET Descripcion = 'AJUSTE D''ORO' WHERE IDMOTIVOSTOCK = '   1'"));
    Grilla({Valorada("A1", "1", "10")});
    Llamada l;
    l.TC = QStringLiteral("IR");
    l.Motivo = QStringLiteral("'1'");
    Corre(Genera(l));
    EXPECT_EQ(l.Motivo, QStringLiteral("1"));
    EXPECT_EQ(Filas(QStringLiteral("TC, SUCURSAL, NUMERO, LETRA, MES_OPERATIVO, PERIODO, TIPO_REG, DETALLE, "
                                   "USUARIO_LOGEADO, Moneda, Cotizacion, CABImporte, CABCuenta, CABNombre, Unegocio, "
                                   "IdCajas, TC_ORIGEN, CPTE_ORIGEN")),
              (QStringList{"IR 0001 00000001 A 3 2024  AJUSTE D'ORO OPERADOR 1 1 10 5.1.01 1 2 3 - -",
                           "IR 0001 00000001 A 3 2024  AJUSTE D'ORO OPERADOR 1 1 10 5.1.01 1 2 3 - -"}));
    EXPECT_EQ(Cuenta(QStringLiteral(
                  "SELECT COUNT(*) FROM MV_ASIENTOS WHERE TC = '  IR' AND FechaHora_Grabacion IS NOT NULL "
                  "AND FechaSubDiario IS NOT NULL")),
              2);
}

TEST_F(Asiento, CostOfSalesIsAnEntryOfItsOwnTypeNamingTheSale)
{
    struct Caso
    {
        const char *tc;
        QStringList filas;
    };
    const std::vector<Caso> casos{
        {"FC", {"CMV 5.2.01 D FC 000100000001A", "CMV 1.3.01 H FC 000100000001A"}},
        {"NC", {"CMV 5.2.01 H NC 000100000001A", "CMV 1.3.01 D NC 000100000001A"}},
        {"FCC", {}},
        {"RM", {}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.tc);
        Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS"));
        Grilla({Valorada("A1", "1", "10")});
        Llamada l;
        l.TC = QString::fromLatin1(c.tc);
        l.Motivo = QStringLiteral("4");
        l.TipoMov = 99;
        const QString texto = Genera(l);
        if (c.filas.isEmpty()) {
            EXPECT_EQ(texto, QString());
            continue;
        }
        EXPECT_EQ(l.TC, QStringLiteral("CMV"));
        Corre(texto);
        EXPECT_EQ(Filas(QStringLiteral("TC, CUENTA, [DEBE-HABER], TC_ORIGEN, CPTE_ORIGEN")), c.filas);
    }
}

// A cost of sale whose number cannot be given: no entry, and the posting
// is told it is incomplete.
TEST_F(Asiento, ACostOfSaleWithoutANumberGivesNoEntry)
{
    const struct
    {
        const char *nombre;
        const char *ultimo;
        const char *hasta;
        std::vector<const char *> asientos; // the journal's cost-of-sale numbers
        QString mensaje;
    } casos[] = {
        {"every book used up",
         "3",
         "2",
         {},
         QStringLiteral("Todos los talonarios del comprobante CMV se encuentran utilizados, debe dar de alta un nuevo "
                        "talonario para el comprobante CMV")},
        {"the journal at 99999999",
         "120",
         "99999999",
         {"00000120", "99999999"},
         QStringLiteral("Ha ocurrido el Siguiente Error (6) No quedan números para el comprobante CMV: el último es "
                        "99999999")},
    };
    Grilla({Valorada("A1", "1", "10")});
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta({QStringLiteral("DELETE FROM MV_ASIENTOS"),
                 QStringLiteral("DELETE FROM V_TA_CPTE WHERE CODIGO = ' CMV'"),
                 QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, Letras, Sistema, X_ULTIMO_NRO, "
                                "X_NRO_DESDE, X_NRO_HASTA, X_SUC_DEFAULT) VALUES (' CMV', 1, '   1', 'X', "
                                "'Contable', %1, 1, %2, 1)")
                     .arg(QLatin1String(c.ultimo), QLatin1String(c.hasta))});
        for (const char *numero : c.asientos)
            Ejecuta(QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA) "
                                   "VALUES (' CMV', '0001', '%1', 'X', 1)")
                        .arg(QLatin1String(numero)));
        const long long antes = Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS"));
        operador.clear();
        Llamada l;
        l.TC = QStringLiteral("FC");
        l.Motivo = QStringLiteral("4");
        l.TipoMov = 99;
        EXPECT_EQ(Genera(l), QString());
        EXPECT_TRUE(clase->AsientoStockIncompleto());
        EXPECT_EQ(operador.prompts(), QStringList{c.mensaje});
        EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS")), antes);
    }
}

TEST_F(Asiento, AMotiveWithoutAccountOrTheSettingOffGivesNoEntry)
{
    Grilla({Valorada("A1", "1", "10")});
    for (const char *motivo : {"2", "5"}) {
        Llamada l;
        l.TC = QStringLiteral("IR");
        l.Motivo = QString::fromLatin1(motivo);
        EXPECT_EQ(Genera(l), QString()) << motivo;
    }
    Ejecuta(QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = 'NO' WHERE CLAVE = 'AsientosXStock'"));
    clase.emplace();
    Llamada l;
    l.TC = QStringLiteral("IR");
    EXPECT_EQ(Genera(l), QString());
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Asiento, EntryNumbersFollowTheirOwnRegisterMonthAndPeriod)
{
    RegistrosConAsientos(); // and April's register 2 up to 90
    Grilla({Valorada("A1", "1", "10")});
    struct Caso
    {
        const char *nombre;
        const char *tc;
        const char *nro;
        const char *fecha;
        bool otroOperador; // a second connection writes RM March's next number first
    };
    // One instance; the first four are one batch, written only after them.
    const std::vector<Caso> casos{
        {"a register's next number", "RM", "00000001", "15/03/2024", false},
        {"the same register again in the batch", "RM", "00000002", "16/03/2024", false},
        {"another register", "IR", "00000003", "15/03/2024", false},
        {"another month", "RM", "00000004", "15/04/2024", false},
        {"after a number another operator took", "RM", "00000005", "20/03/2024", true},
        {"and the one after", "RM", "00000006", "20/03/2024", false},
    };
    QString lote;
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        if (c.otroOperador) {
            Corre(lote);
            lote.clear();
            ado::Connection otra;
            otra.Open(base.connectionString);
            otra.Execute(
                QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA, MES_OPERATIVO, "
                               "PERIODO, TIPO_REG, [NUMERO ASIENTO]) VALUES ('  AJ', '0009', '00000009', 'A', 1, "
                               "3, 2024, '   2', 43)"));
            otra.Close();
        }
        Llamada l;
        l.TC = QString::fromLatin1(c.tc);
        l.Nro = QString::fromLatin1(c.nro);
        l.Fecha = QString::fromLatin1(c.fecha);
        lote += Genera(l);
    }
    Corre(lote);
    EXPECT_EQ(FilasDe(QStringLiteral("SELECT DISTINCT TC, NUMERO, MES_OPERATIVO, TIPO_REG, [NUMERO ASIENTO] FROM "
                                     "MV_ASIENTOS WHERE TC <> '  AJ' ORDER BY NUMERO")),
              (QStringList{"RM 00000001 3 2 41",
                           "RM 00000002 3 2 42",
                           "IR 00000003 3 3 8",
                           "RM 00000004 4 2 91",
                           "RM 00000005 3 2 44",
                           "RM 00000006 3 2 45"}));
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM (SELECT MES_OPERATIVO, PERIODO, TIPO_REG, [NUMERO ASIENTO] "
                                    "FROM MV_ASIENTOS GROUP BY MES_OPERATIVO, PERIODO, TIPO_REG, [NUMERO ASIENTO] "
                                    "HAVING COUNT(DISTINCT NUMERO) > 1)")),
              0);
}

TEST_F(Asiento, PerLineCallsValueEachLineOnceAndMergeByAccountAndSide)
{
    RegistrosConAsientos();
    Grilla({Valorada("A4", "1", "1"), Valorada("A1", "2", "10"), Valorada("A2", "1", "5"), Valorada("A3", "1", "4")});
    // Row 1 posts nothing worth an entry line; rows 2 and 3 post two lots each.
    for (int fila : {2, 2, 3, 3, 4}) {
        Llamada l;
        l.TC = QStringLiteral("RM");
        l.TipoMov = 1;
        l.SoloRegistro = fila;
        const QString texto = Genera(l);
        if (!texto.isEmpty())
            Corre(texto);
    }
    EXPECT_EQ(Filas(QStringLiteral("TC, SECUENCIA, CUENTA, [DEBE-HABER], IMPORTE, [NUMERO ASIENTO]")),
              (QStringList{"AJ 1 - - 0 40",
                           "AJ 1 - - 0 7",
                           "AJ 1 - - 0 90",
                           "RM 1 5.1.07 D 29 41",
                           "RM 2 1.3.01 H 25 41",
                           "RM 3 1.3.02 H 4 41"}));

    // The same voucher posted again by a new run takes a new number.
    clase->NuevoAsientoStock();
    Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS WHERE TC = '  RM'"));
    Llamada l;
    l.TC = QStringLiteral("RM");
    l.TipoMov = 1;
    l.SoloRegistro = 4;
    Corre(Genera(l));
    EXPECT_EQ(Filas(QStringLiteral("TC, SECUENCIA, [NUMERO ASIENTO]")).mid(3), (QStringList{"RM 1 41", "RM 2 41"}));
}

TEST_F(Asiento, TheTwoStopsAreShownAndOnlyTheMissingRegisterFailsTheRun)
{
    Ejecuta(QStringLiteral("INSERT INTO MA_SUBDIARIOS (CODIGO, DESCRIPCION) VALUES ('', 'SIN CODIGO')"));
    Ejecuta(QStringLiteral("INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES ('  SG', '')"));
    Ejecuta(QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA, MES_OPERATIVO, "
                           "[NUMERO ASIENTO]) VALUES ('  RM', '0001', '00000001', 'A', 1, 3, 41)"));
    Grilla({Valorada("A1", "1", "10")});
    Llamada yaCargado;
    EXPECT_EQ(Genera(yaCargado), QString());
    EXPECT_FALSE(clase->AsientoStockIncompleto());
    Llamada sinRegistro;
    sinRegistro.TC = QStringLiteral("SG");
    EXPECT_EQ(Genera(sinRegistro), QString());
    EXPECT_TRUE(clase->AsientoStockIncompleto());
    // Per line, the voucher's stop is told once.
    for (int fila : {1, 1}) {
        Llamada l;
        l.TC = QStringLiteral("SG");
        l.SoloRegistro = fila;
        EXPECT_EQ(Genera(l), QString());
    }
    ASSERT_EQ(operador.requests().size(), 3u);
    EXPECT_EQ(operador.prompts(),
              (QStringList{"El comprobante ya ha Sido Cargado. Asiento 03 - 000041",
                           "No se ha informado El Tipo de Registro que generará el Asiento, corrija esto desde "
                           "configuración y vuelva a intentarlo",
                           "No se ha informado El Tipo de Registro que generará el Asiento, corrija esto desde "
                           "configuración y vuelva a intentarlo"}));
    for (const auto &r : operador.requests()) {
        EXPECT_EQ(r.title, QStringLiteral("Aviso al operador"));
        EXPECT_EQ(r.icon, ui::vbCritical);
    }
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS")), 1);
}

struct CasoCorrida
{
    const char *nombre;
    Comprobante comprobante;
    std::vector<FilaDeGrilla> lineas;
    QStringList cuentas;  // the stock accounts' rows: "account side amount"
    const char *motivo;   // the motive's row, run at once
    const char *recogido; // and collected, where the kind of movement names the motive
    long long numero;     // the entry's number
    QStringList netos;    // run at once, "account debits-less-credits", where
                          // the merge keeps a debit and a credit row apart
};

Comprobante Tipo(const char *tc, bool transferencia = false)
{
    Comprobante v;
    v.TC = QString::fromLatin1(tc);
    v.EsTransferencia = transferencia;
    if (transferencia)
        v.IdDepositoDestino = QStringLiteral("7");
    return v;
}

FilaDeGrilla ConCeldas(FilaDeGrilla linea, const FilaDeGrilla &celdas)
{
    for (const auto &[columna, texto] : celdas)
        linea[columna] = texto;
    return linea;
}

// Run at once each movement carries the entry of its line, collected the
// voucher gets one entry at the end: either way a line is valued once,
// however many movements it makes.
TEST_F(Asiento, ThePostingRunValuesEachLineOnceOnBothPaths)
{
    RegistrosConAsientos(); // RM numbers its entries in register 2, from 41
    // The transfer issues from its source, the production order enters what it makes.
    Ejecuta(QStringLiteral("UPDATE V_TA_CPTE SET ES = 'S' WHERE CODIGO = '  TR'"));
    Ejecuta(QStringLiteral("UPDATE V_TA_CPTE SET ES = 'E' WHERE CODIGO = '  OP'"));
    const FilaDeGrilla tresLotes{{ColNroLote, "|" + Clave("L1") + "|" + Clave("L2") + "|" + Clave("L3") + "|"},
                                 {ColNroSerie, QStringLiteral("|1|2|3|")}};
    const std::vector<CasoCorrida> casos{
        {"an issue by three lots",
         Tipo("RM"),
         {ConCeldas(Valorada("A1", "6", "10"), tresLotes), Valorada("A3", "1", "4")},
         {"1.3.01 H 60", "1.3.02 H 4"},
         "5.1.01 D 64",
         "5.1.07 D 64",
         41,
         {}},
        {"a transfer: what enters the destination adds nothing",
         Tipo("TR", true),
         {ConCeldas(Valorada("A1", "6", "10"), tresLotes), Valorada("A2", "2", "5"), Valorada("A3", "1", "4")},
         {"1.3.01 H 70", "1.3.02 H 4"},
         "5.1.01 D 74",
         "5.1.01 D 74",
         1,
         {}},
        {"a production order: what it makes enters, its inputs leave; A1 and A2 cancel on 1.3.01",
         Tipo("OP"),
         {ConCeldas(Valorada("A1", "2", "10"), {{AuxCantidadInsumo, "-1"}}),
          Valorada("A2", "4", "5"),
          Valorada("A3", "3", "4")},
         {"1.3.02 H 12"},
         "5.1.01 D 12",
         "5.1.01 D 12",
         1,
         {"1.3.01 0", "1.3.02 -12", "5.1.01 12"}},
        {"a first row that posts nothing",
         Tipo("RM"),
         {Valorada("A1", "0", "10"), Valorada("A1", "2", "10"), Valorada("A3", "1", "4")},
         {"1.3.01 H 20", "1.3.02 H 4"},
         "5.1.01 D 24",
         "5.1.07 D 24",
         41,
         {}},
    };
    for (const CasoCorrida &c : casos) {
        for (bool recoge : {false, true}) {
            SCOPED_TRACE(std::string(c.nombre) + (recoge ? ", collected" : ", run"));
            Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS WHERE TC <> '  AJ'"));
            Ejecuta(QStringLiteral("DELETE FROM V_MV_STOCK"));
            clase.emplace();
            sqlTemp.clear();
            hayError = false;
            Grilla(c.lineas);
            PosteaYGraba(c.comprobante, recoge);
            EXPECT_FALSE(hayError);
            const QString tc = c.comprobante.TC;
            EXPECT_GT(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
            if (recoge || c.netos.isEmpty())
                EXPECT_EQ(Diario(tc), c.cuentas + QStringList{QString::fromLatin1(recoge ? c.recogido : c.motivo)});
            else
                EXPECT_EQ(FilasDe(QStringLiteral("SELECT CUENTA, SUM(CASE [DEBE-HABER] WHEN 'D' THEN IMPORTE ELSE "
                                                 "-IMPORTE END) FROM MV_ASIENTOS WHERE TC = %1 GROUP BY CUENTA "
                                                 "ORDER BY CUENTA")
                                      .arg(TextoSQL(tc.rightJustified(4)))),
                          c.netos);
            EXPECT_EQ(DebeMenosHaber(tc), 0);
            const QString delTipo = QStringLiteral(" FROM MV_ASIENTOS WHERE TC = ") + TextoSQL(tc.rightJustified(4));
            EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(DISTINCT [NUMERO ASIENTO])") + delTipo), 1);
            EXPECT_EQ(Cuenta(QStringLiteral("SELECT MAX([NUMERO ASIENTO])") + delTipo), c.numero);
            EXPECT_EQ(operador.requests().size(), 0u);
        }
    }
}

// Past 500 articles the account query names them in one IN list: a chain of
// ORs that long is deeper than the embedded engine parses, and the voucher
// would get no entry at all.
TEST_F(Asiento, AVoucherOfManyArticlesGetsARowPerAccountWhateverItsLength)
{
    constexpr int kMasLargo = 1200;
    // One code carries a quote and statement marks: it must stay one literal in either query.
    const auto articulo = [](int i) {
        return QString::fromLatin1(i == 7 ? "O'B%1;--" : "B%1").arg(i, 4, 10, QLatin1Char('0'));
    };
    const auto cuenta = [](int i) { return QStringLiteral("1.4.%1").arg(i, 4, 10, QLatin1Char('0')); };
    QStringList valores;
    for (int i = 0; i < kMasLargo; ++i)
        valores << QStringLiteral("(%1, 'PIEZA', '  UN', 1, '%2')").arg(TextoSQL(Codigo(articulo(i))), cuenta(i));
    Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, costo, cuentacontableC) "
                           "VALUES ")
            + valores.join(QStringLiteral(", ")));

    struct Caso
    {
        int lineas;
        int terminos; // how often the account query names idarticulo
    };
    for (const Caso c : {Caso{500, 500}, Caso{501, 1}, Caso{kMasLargo, 1}}) {
        SCOPED_TRACE(c.lineas);
        [&] {
            Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS"));
            Ejecuta(QStringLiteral("DELETE FROM V_MV_STOCK"));
            clase.emplace();
            sqlTemp.clear();
            hayError = false;
            // Line i carries 2 x (i + 1) on its article's own account.
            std::vector<FilaDeGrilla> lineas;
            QStringList esperado;
            long long total = 0;
            for (int i = 0; i < c.lineas; ++i) {
                lineas.push_back(Linea(articulo(i),
                                       QStringLiteral("2"),
                                       {{ColAux38, QString::number(i + 1)}, {AuxPrecioSinIVA, QStringLiteral("0")}}));
                esperado << QStringLiteral("%1 H %2").arg(cuenta(i)).arg(2 * (i + 1));
                total += 2 * (i + 1);
            }
            esperado << QStringLiteral("5.1.07 D %1").arg(total);
            Grilla(lineas);
            enviadas.clear();
            PosteaYGraba(Comprobante{}, true);
            EXPECT_FALSE(hayError);

            const QStringList consulta = EnviadasCon(
                QStringLiteral("select cuentacontableC from v_ma_articulos where ("));
            ASSERT_EQ(consulta.size(), 1);
            EXPECT_EQ(consulta[0].count(QStringLiteral("idarticulo"), Qt::CaseInsensitive), c.terminos);
            EXPECT_EQ(consulta[0].contains(QStringLiteral(" idarticulo IN (")), c.terminos == 1);
            EXPECT_EQ(Diario(QStringLiteral("RM")), esperado);
            EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS WHERE TC = '  RM'")), c.lineas + 1);
            EXPECT_EQ(DebeMenosHaber(QStringLiteral("RM")), 0);
            EXPECT_EQ(operador.requests().size(), 0u);
        }();
    }
}

} // namespace
