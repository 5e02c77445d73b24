// The demo data is what the demo, the purge tests and the benchmarks stand
// on: every voucher whole, and the options doing what they say.
#include "tools/datos_demo.h"

#include "platform/ado/ado.h"
#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_functions.h"
#include "tests/support/base_prueba.h"
#include "tests/support/sistema_pequeno.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

std::int32_t Count(ado::Connection &cn, const QString &sql)
{
    ado::Recordset rs;
    rs.Open(sql, cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
    return rs.Fields(0).Value().toLong();
}

class DemoDataTest : public ::testing::Test
{
protected:
    QString path() const { return dir.filePath(QStringLiteral("demo.db")); }
    void open() { cn.Open(SqliteConnectionString(path())); }
    // Eight generated vouchers and the entry model's samples.
    void createWithEntrySamples()
    {
        demodata::Options o;
        o.vouchers = 8;
        o.entrySamples = true;
        demodata::CreateDemoDatabase(path(), o);
        open();
    }

    // A query's first value, whole, against what the data should give.
    struct Check
    {
        const char *what;
        QString sql;
        int expected;
    };
    void expect(std::initializer_list<Check> checks)
    {
        for (const Check &c : checks) {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(Count(cn, c.sql), c.expected);
        }
    }

    QTemporaryDir dir;
    ado::Connection cn;
};

TEST_F(DemoDataTest, EveryVoucherHasAllItsRows)
{
    demodata::Options o;
    o.vouchers = 12;
    o.types = {QStringLiteral("RM")};
    demodata::CreateDemoDatabase(path(), o);
    open();

    EXPECT_EQ(Count(cn, QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  RM'")), 12);
    struct Rows
    {
        const char *table;
        int perVoucher;
    };
    for (const Rows &r :
         {Rows{"V_MV_CPTEINSUMOS", 5}, Rows{"V_MV_CPTETAREAS", 2}, Rows{"V_MV_CPTE_OBSERV", 1}, Rows{"V_MV_STOCK", 5}}) {
        SCOPED_TRACE(r.table);
        const QString table = QString::fromLatin1(r.table);
        // Vouchers that have other than the expected number of rows.
        EXPECT_EQ(Count(cn,
                        QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE C WHERE (SELECT COUNT(*) FROM ") + table
                            + QStringLiteral(" L WHERE L.TC = C.TC AND L.IDCOMPROBANTE = C.IDCOMPROBANTE AND "
                                             "L.IdComplemento = C.IdComplemento) <> ")
                            + QString::number(r.perVoucher)),
                  0);
    }
}

// Every date-time of the demo, samples included, in the engine's one stored form.
TEST_F(DemoDataTest, DatesAreWrittenInTheStoredForm)
{
    demodata::Options o;
    o.vouchers = 8;
    o.lookupSamples = true;
    o.entrySamples = true;
    demodata::CreateDemoDatabase(path(), o);
    open();
    ado::Recordset rs;
    rs.Open("SELECT m.name, p.name, p.type FROM sqlite_master m, pragma_table_info(m.name) p WHERE m.type = 'table'",
            cn,
            ado::adOpenForwardOnly,
            ado::adLockReadOnly);
    int columns = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString type = rs.Fields(2).Value().toString();
        if (!type.contains(QLatin1String("date"), Qt::CaseInsensitive))
            continue;
        const QString table = rs.Fields(0).Value().toString(), column = rs.Fields(1).Value().toString();
        SCOPED_TRACE((table + '.' + column).toStdString());
        ++columns;
        EXPECT_EQ(Count(cn,
                        QStringLiteral("SELECT COUNT(*) FROM %1 WHERE LEN(%2) <> 19 OR SUBSTRING(%2, 5, 1) <> '-' OR "
                                       "SUBSTRING(%2, 11, 1) <> ' ' OR SUBSTRING(%2, 17, 1) <> ':'")
                            .arg(table, column)),
                  0);
    }
    EXPECT_GT(columns, 10);
}

TEST_F(DemoDataTest, VouchersShareADayAtItsTimesAndTakeComplements)
{
    demodata::Options o;
    o.vouchers = 6;
    o.types = {QStringLiteral("RM")};
    o.perDay = 3;
    o.complementEvery = 2;
    demodata::CreateDemoDatabase(path(), o);
    open();

    EXPECT_EQ(Count(cn, QStringLiteral("SELECT COUNT(DISTINCT substr(FECHA, 1, 10)) FROM V_MV_CPTE")), 2);
    for (const char *time : {"00:00:00", "08:30:00", "14:30:00"}) {
        SCOPED_TRACE(time);
        EXPECT_EQ(Count(cn,
                        QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE substr(FECHA, 12, 8) = '")
                            + QString::fromLatin1(time) + QLatin1Char('\'')),
                  2);
    }
    EXPECT_EQ(Count(cn, QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE IdComplemento = 1")), 3);
}

TEST_F(DemoDataTest, ArticleCountBeyondTheSamplesAndVouchersOnExistingArticles)
{
    for (int articles : {3, 45}) {
        SCOPED_TRACE(articles);
        demodata::Options o;
        o.vouchers = 8;
        o.articles = articles;
        o.overwrite = true;
        demodata::CreateDemoDatabase(path(), o);
        open();
        EXPECT_EQ(Count(cn, QStringLiteral("SELECT COUNT(DISTINCT IDARTICULO) FROM V_MA_ARTICULOS")), articles);
        // Every line names an article of the catalogue.
        EXPECT_EQ(Count(cn,
                        QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS L WHERE NOT EXISTS (SELECT 1 FROM "
                                       "V_MA_ARTICULOS A WHERE A.IDARTICULO = L.IDARTICULO)")),
                  0);
        cn.Close();
    }
    open();
    EXPECT_EQ(Count(cn,
                    QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE IDARTICULO = '")
                        + demodata::Code(QStringLiteral("ART0032"), 25)
                        + QStringLiteral("' AND DESCRIPCION = 'CINTA AISLADORA 32'")),
              1);
}

TEST_F(DemoDataTest, RefusesWhatWouldLoseOrGuess)
{
    demodata::CreateSchema(path());
    const qint64 size = QFile(path()).size();
    // An existing file stays as it is unless replacing it was asked for.
    EXPECT_THROW(demodata::CreateDemoDatabase(path()), demodata::DemoError);
    EXPECT_EQ(QFile(path()).size(), size);

    demodata::Options unknown;
    unknown.types = {QStringLiteral("ZZ")};
    unknown.overwrite = true;
    EXPECT_THROW(demodata::CreateDemoDatabase(path(), unknown), demodata::DemoError);
    EXPECT_EQ(QFile(path()).size(), size);
}

// What later vouchers applied of a line, as the loader asks for it, is an
// index search: a grouped view read the whole line table for every line.
// The rows stay one per trimmed origin type, origin and article, compared
// without regard to case, with the sum of their quantities.
TEST_F(DemoDataTest, AppliedQuantityIsAnIndexSearchWithOneRowPerGroup)
{
    demodata::CreateSchema(path(), true);
    EjecutaEnArchivo(path(),
                     QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, RENGLON, IDARTICULO, CANTIDAD, "
                                    "TC_ORIGEN, IDCOMPROBANTE_ORIGEN) VALUES "
                                    "('  FC', 'F1', 1, 'A', 2, '  RM', 'R1'), ('  FC', 'F1', 2, 'b', 3, '  RM', 'R1'), "
                                    "('  FC', 'F2', 1, 'a', 5, 'rm', 'r1'), ('  FC', 'F2', 2, 'A', 7, '  NP', 'R1'), "
                                    "('  FC', 'F3', 1, 'A', 11, NULL, 'R1'), ('  FC', 'F3', 2, 'A', 13, '  RM', NULL), "
                                    "('  FC', 'F3', 3, 'a', 17, 'RM', NULL)"));
    const QString sentencia = QStringLiteral(
        "SELECT CantidadAplicada FROM VT_V_MV_INSUMOS_APLICACION WHERE (TCO_ORIGEN = 'RM' or TCO_ORIGEN = 'NP') "
        "AND IDCOMPROBANTEORIGEN = 'R1' AND IDARTICULO = 'A'");

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path()).constData(), &db), SQLITE_OK);
    ado::registerSqlServerFunctions(db);
    const QByteArray plan = "EXPLAIN QUERY PLAN " + ado::SqliteDialect::translateBatch(sentencia).front().sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, plan.constData(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    QStringList pasos;
    while (sqlite3_step(st) == SQLITE_ROW)
        pasos << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    EXPECT_FALSE(pasos.join('\n').contains(QStringLiteral("SCAN"))) << qPrintable(pasos.join('\n'));

    open();
    ado::Recordset rs;
    rs.Open(QStringLiteral("SELECT TCO_ORIGEN, IDCOMPROBANTEORIGEN, IDARTICULO, CantidadAplicada FROM "
                           "VT_V_MV_INSUMOS_APLICACION ORDER BY TCO_ORIGEN, IDARTICULO, IDCOMPROBANTEORIGEN"),
            cn,
            ado::adOpenForwardOnly,
            ado::adLockReadOnly);
    const auto texto = [&](int campo) {
        const Variant v = rs.Fields(campo).Value();
        return v.isNull() ? QStringLiteral("-") : v.toString().toUpper();
    };
    QStringList filas;
    for (; !rs.Eof(); rs.MoveNext())
        filas << QStringList{texto(0), texto(1), texto(2), texto(3)}.join(' ');
    EXPECT_EQ(filas, (QStringList{"NP R1 A 7", "RM - A 30", "RM R1 A 7", "RM R1 B 3"}));
}

// One type's numbers run through the samples' block (from 9001): none of
// the generated vouchers may take a sample's number.
TEST_F(DemoDataTest, GeneratedNumbersStepOverTheSamples)
{
    demodata::Options o;
    o.vouchers = 9120;
    o.types = {QStringLiteral("FC")};
    o.lookupSamples = true;
    o.entrySamples = true;
    demodata::CreateDemoDatabase(path(), o);
    open();
    expect({
        {"generated invoices",
         QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  FC' AND USUARIO = 'ADMIN'"),
         9120},
        {"generated past the block",
         QStringLiteral(
             "SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  FC' AND USUARIO = 'ADMIN' AND NUMERO >= '00010000'"),
         120},
        {"samples still there",
         QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE IDCOMPROBANTE = '000100009001A'"),
         1},
        {"next number of the book", QStringLiteral("SELECT A_ULTIMO_NRO FROM V_TA_CPTE WHERE CODIGO = '  FC'"), 10120},
    });
}

// A run that fails half-way (here the disk fills) leaves no file behind, so
// that the next run needs no --force.
TEST_F(DemoDataTest, AFailedRunLeavesNoFile)
{
    // Room for the schema (about 500 KiB), not for 2,000 vouchers (7 MiB).
    SistemaPequeno fs(1024 * 1024);
    if (!fs.montado())
        GTEST_SKIP() << fs.motivo().toStdString();
    const QString ruta = fs.archivo(QStringLiteral("demo.db"));
    demodata::Options o;
    o.vouchers = 2000;
    try {
        demodata::CreateDemoDatabase(ruta, o);
        ADD_FAILURE() << "2,000 vouchers fitted in 1 MiB";
    } catch (const demodata::DemoError &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("full"))) << e.what();
    }
    EXPECT_FALSE(QFile::exists(ruta));
}

TEST_F(DemoDataTest, EntrySamplesLoadAsTheEntryGridsRead)
{
    createWithEntrySamples();
    const QString aplicado = QStringLiteral(
        "SELECT CantidadAplicada FROM VT_V_MV_INSUMOS_APLICACION WHERE "
        "TCO_ORIGEN = 'NP' AND IDCOMPROBANTEORIGEN = '000100009101A' AND IDARTICULO = '%1'");
    expect({
        // The remittance delivered 12 of the order's first line and all of its second.
        {"applied of the first line", aplicado.arg(demodata::Code(QStringLiteral("ART0001"), 25)), 12},
        {"applied of the second line", aplicado.arg(demodata::Code(QStringLiteral("ART0005"), 25)), 10},
        {"work order tasks",
         QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTETAREAS WHERE TC = '  OT' AND FechaREALFin IS NOT NULL"),
         2},
        {"work order other concepts",
         QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE_OBSERV WHERE TC = '  OT' AND TIPO_OBS = 'OC'"),
         2},
        {"one number, two suppliers",
         QStringLiteral("SELECT COUNT(DISTINCT CUENTA) FROM C_MV_CPTE WHERE TC = ' FCC'"),
         2},
        {"lines without an order", QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS WHERE ID IS NULL"), 0},
        {"other concepts of the generated vouchers",
         QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE_OBSERV WHERE TIPO_OBS = 'OC'"),
         8 + 2},
        {"purchase lines of the orders",
         QStringLiteral("SELECT COUNT(*) FROM C_MV_CPTEINSUMOS WHERE TC = '  OC'"),
         2 * 5},
        {"hours in minutes", QStringLiteral("SELECT MIN(HORAS) FROM V_MV_CPTETAREAS WHERE TC = '  RM'"), 90},
    });
}

TEST_F(DemoDataTest, StockPostingsAskForTheirEntryAndInvoicesNameTheirOrigin)
{
    createWithEntrySamples();
    // As the voucher class asks: by the origin's padded type, id and complement.
    const QString derived = QStringLiteral(
        "SELECT %1 FROM V_MV_CPTE WHERE TCORIGEN = '%2' AND COMPROBANTEORIGEN = '%3'");
    const QString remito = QStringLiteral("000100009102A");
    const QString orden = QStringLiteral("000100009103A");
    expect({
        {"switch",
         QStringLiteral("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE CLAVE = 'AsientosXStock' AND VALOR = 'SI'"),
         1},
        {"remittance, first part",
         derived.arg(QStringLiteral("COUNT(*)"), QStringLiteral("  RM"), remito) + " AND COMPLEMENTOORIGEN = '0'",
         2},
        {"remittance, first part, annulled left out",
         derived.arg(QStringLiteral("COUNT(*)"), QStringLiteral("  RM"), remito)
             + " AND COMPLEMENTOORIGEN = '0' AND ANULADA = 0",
         1},
        {"remittance, second part",
         derived.arg(QStringLiteral("COUNT(*)"), QStringLiteral("  RM"), remito)
             + " AND COMPLEMENTOORIGEN = '1' AND ANULADA = 0",
         1},
        {"remittance, valid amounts of both parts",
         derived.arg(QStringLiteral("SUM(IMPORTE)"), QStringLiteral("  RM"), remito) + " AND ANULADA = 0",
         400 + 150},
        {"work order, annulled only",
         derived.arg(QStringLiteral("SUM(ANULADA)"), QStringLiteral("  OT"), orden) + " AND COMPLEMENTOORIGEN = '0'",
         1},
        {"work order, annulled left out",
         derived.arg(QStringLiteral("COUNT(*)"), QStringLiteral("  OT"), orden) + " AND ANULADA = 0",
         0},
    });
}

} // namespace
