#include "tools/lee_base.h"

#include "platform/ado/ado.h"
#include "tests/support/base_prueba.h"
#include "tests/support/impresion_qt.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class LeeBaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = MakeFixtureDb(dir.path());
        ado::Connection cn;
        cn.Open(db.connectionString);
        cn.Execute(
            QString::fromUtf8("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, CUENTA, NOMBRE) VALUES "
                              "('  FC', '0001000000001', 0, '5/3/2024', '  1001', 'ÑANDÚ SA')\r\n"
                              "INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, CUENTA, NOMBRE) VALUES "
                              "('  fc', '0001000000002', 0, '6/3/2024', '  1002', NULL)\r\n"
                              "INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, CUENTA, NOMBRE) VALUES "
                              "('  RM', '0001000000001', 0, '7/3/2024', '  1001', 'Otro')"));
    }
    int lee(const QString &consulta)
    {
        salida.clear();
        error.clear();
        QTextStream s(&salida);
        return LeeBase(db.path, consulta, s, error);
    }

    QTemporaryDir dir;
    FixtureDb db;
    QString salida, error;
};

TEST_F(LeeBaseTest, ListsARowsColumnsAndValuesAsTheProgramReadsThem)
{
    // Grouped under the text collation: "  FC" and "  fc" are one type.
    ASSERT_EQ(lee(QStringLiteral("SELECT TC, COUNT(*) AS N FROM V_MV_CPTE GROUP BY TC ORDER BY TC")), 0)
        << error.toStdString();
    EXPECT_EQ(salida, QStringLiteral("TC|N\n  FC|2\n  RM|1\n"));
    ASSERT_EQ(lee(QString::fromUtf8("SELECT IDCOMPROBANTE, FECHA, NOMBRE FROM V_MV_CPTE WHERE NOMBRE LIKE '%ñandú%' "
                                    "OR NOMBRE IS NULL ORDER BY IDCOMPROBANTE")),
              0)
        << error.toStdString();
    EXPECT_EQ(salida,
              QString::fromUtf8("IDCOMPROBANTE|FECHA|NOMBRE\n0001000000001|2024-03-05 00:00:00|ÑANDÚ SA\n"
                                "0001000000002|2024-03-06 00:00:00|\n"));
}

TEST_F(LeeBaseTest, ReadsOnly)
{
    const QByteArray antes = [&] {
        QFile f(db.path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    struct Caso
    {
        const char *consulta;
        const char *error;
    };
    const Caso casos[] = {
        {"DELETE FROM V_MV_CPTE", "only a SELECT runs: the tool reads the database, it never writes"},
        {"  'SELECT' DELETE FROM V_MV_CPTE", "only a SELECT runs: the tool reads the database, it never writes"},
        {"SELECT 1; DELETE FROM V_MV_CPTE", "The command text holds 2 statements; a recordset opens one."},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.consulta);
        EXPECT_EQ(lee(QString::fromUtf8(c.consulta)), 1);
        EXPECT_EQ(error, QString::fromUtf8(c.error));
        EXPECT_EQ(salida, QString());
    }
    QFile f(db.path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll() == antes);
}

TEST_F(LeeBaseTest, AFileThatIsNoDatabaseIsRefused)
{
    const QString vacia = dir.filePath(QStringLiteral("vacia.db"));
    QFile(vacia).open(QIODevice::WriteOnly);
    for (const QString &ruta : {dir.filePath(QStringLiteral("no_existe.db")), vacia}) {
        SCOPED_TRACE(ruta.toStdString());
        QTextStream s(&salida);
        EXPECT_EQ(LeeBase(ruta, QStringLiteral("SELECT 1"), s, error), 1);
        EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot open database"))) << error.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("no_existe.db"))));
    EXPECT_EQ(QFileInfo(vacia).size(), 0);
}

} // namespace
