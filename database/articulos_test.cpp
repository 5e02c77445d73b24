#include "database/articulos.h"

#include "database/armado_sql.h"

#include "platform/component/component.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/empresa.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class ArticulosTest : public EmpresaEspiada
{
protected:
    void SetUp() override
    {
        EmpresaEspiada::SetUp();
        ui::SetResponder(&responder);
        Alta("ART1", "Tornillo", "  UN", "7790001000017", "17790001000014", "", "BC2-ALT", "  CJ", "  PK");
        Alta("ARTICULO7", "Arandela", "  KG", "", "", "", "", "", "");
        Alta("654321", "Tuerca", "  UN", "", "", "", "", "", "");
        Alta("OTRO", "Clavo", "  UN", "654321", "", "", "", "", "");
        Alta("O'REILLY1", "Perno", "  UN", "", "", "", "", "", "");
        enviadas.clear();
    }
    void TearDown() override
    {
        ui::SetResponder(nullptr);
        EmpresaEspiada::TearDown();
    }
    void Alta(const char *id,
              const char *descripcion,
              const char *unidad,
              const char *barra,
              const char *dun,
              const char *cb1,
              const char *cb2,
              const char *udTte,
              const char *umcb2)
    {
        auto cod = [&](const char *c) { return *c ? CodigoSQL(QString::fromUtf8(c), 25) : QStringLiteral("NULL"); };
        Ejecuta({QStringLiteral(
                     "INSERT INTO V_MA_ARTICULOS (IDARTICULO, Descripcion, IDUNIDAD, codigobarra, CODIGOBARRADUN, "
                     "CODIGOBARRA1, CODIGOBARRA2, UD_TTE, UMCB2) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                     .arg(cod(id),
                          TextoSQL(QString::fromUtf8(descripcion)),
                          TextoSQL(QString::fromUtf8(unidad)),
                          cod(barra),
                          cod(dun),
                          cod(cb1),
                          cod(cb2),
                          TextoSQL(QString::fromUtf8(udTte)),
                          TextoSQL(QString::fromUtf8(umcb2)))});
    }
    // The column each search compared, in order.
    QStringList Columnas() const
    {
        QStringList columnas;
        static const QRegularExpression where(QStringLiteral("WHERE (\\w+) ="));
        for (const QString &s : enviadas)
            columnas << where.match(s).captured(1);
        return columnas;
    }
    ui::ScriptedResponder responder;
};

TEST_F(ArticulosTest, SearchOrderOverCodesAndBarCodes)
{
    const QString id = QStringLiteral("IDARTICULO"), barra = QStringLiteral("codigobarra"),
                  dun = QStringLiteral("CODIGOBARRADUN"), cb1 = QStringLiteral("CODIGOBARRA1"),
                  cb2 = QStringLiteral("CODIGOBARRA2"), cb3 = QStringLiteral("CODIGOBARRA3"),
                  cb4 = QStringLiteral("CODIGOBARRA4");
    const struct
    {
        const char *nombre;
        const char *codigo;
        bool porBarra;
        bool encontrado;
        QString codigoDespues;
        bool porBarraDespues;
        const char *descripcion;
        QStringList columnas;
        const char *unidad; // first IDUNIDAD of the row left behind
    } cases[] = {
        {"six characters: by article code only",
         "654321",
         true,
         true,
         CodigoAncho(QStringLiteral("654321"), 25),
         false,
         "Tuerca",
         {id},
         "  UN"},
        {"article code asked by bar code",
         "ARTICULO7",
         true,
         true,
         QStringLiteral("ARTICULO7"),
         true,
         "Arandela",
         {barra, barra, dun, cb1, cb2, cb3, cb4, id},
         "  KG"},
        {"alternative bar code by bar code",
         "BC2-ALT",
         true,
         true,
         CodigoAncho(QStringLiteral("ART1"), 25),
         true,
         "Tornillo",
         {barra, barra, dun, cb1, cb2},
         "  PK"},
        {"alternative bar code by article code",
         "BC2-ALT",
         false,
         true,
         QStringLiteral("BC2-ALT"),
         false,
         "Tornillo",
         {id, barra, dun, cb1, cb2},
         "  PK"},
        {"shipping-unit bar code",
         "17790001000014",
         true,
         true,
         CodigoAncho(QStringLiteral("ART1"), 25),
         true,
         "Tornillo",
         {barra, barra, dun},
         "  CJ"},
        {"main bar code after the article code",
         "7790001000017",
         false,
         true,
         CodigoAncho(QStringLiteral("ART1"), 25),
         false,
         "Tornillo",
         {id, barra},
         "  UN"},
        {"article code first",
         "ART1",
         false,
         true,
         CodigoAncho(QStringLiteral("ART1"), 25),
         false,
         "Tornillo",
         {id},
         "  UN"},
        {"a quote in the code",
         "O'REILLY1",
         false,
         true,
         CodigoAncho(QStringLiteral("O'REILLY1"), 25),
         false,
         "Perno",
         {id},
         "  UN"},
        {"found nowhere",
         "NOEXISTE99",
         false,
         false,
         QStringLiteral("NOEXISTE99"),
         false,
         "previa",
         {id, barra, dun, cb1, cb2, cb3, cb4, id},
         nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            enviadas.clear();
            QString codigo = QString::fromUtf8(c.codigo);
            bool porBarra = c.porBarra;
            QString descripcion = QStringLiteral("previa");
            ado::Recordset rs;
            EXPECT_EQ(BuscaArticuloPorCodigo(codigo, rs, true, porBarra, descripcion), c.encontrado);
            EXPECT_EQ(codigo, c.codigoDespues);
            EXPECT_EQ(porBarra, c.porBarraDespues);
            EXPECT_EQ(descripcion, QString::fromUtf8(c.descripcion));
            EXPECT_EQ(Columnas(), c.columnas);
            ASSERT_EQ(rs.State(), ado::adStateOpen);
            if (c.unidad)
                EXPECT_EQ(rs.Fields(QStringLiteral("IDUNIDAD")).Value().toString(), QString::fromUtf8(c.unidad));
            else
                EXPECT_TRUE(rs.Bof());
        }();
    }
    EXPECT_EQ(responder.requests().size(), 0u);
}

TEST_F(ArticulosTest, StatementTexts)
{
    QString codigo = QStringLiteral("O'REILLY1");
    bool porBarra = true;
    QString descripcion;
    ado::Recordset rs;
    // Found nowhere by bar code: every statement form runs once, the main bar code twice.
    BuscaArticuloPorCodigo(codigo, rs, true, porBarra, descripcion);
    const QString w = QStringLiteral("'")
                      + CodigoAncho(QStringLiteral("O'REILLY1"), 25).replace(QLatin1Char('\''), QStringLiteral("''"))
                      + QLatin1Char('\'');
    const QStringList esperadas{
        QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE codigobarra =  ") + w,
        QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE codigobarra =  ") + w,
        QStringLiteral("SELECT UD_TTE AS IDUNIDAD, V_MA_ARTICULOS.* FROM V_MA_ARTICULOS WHERE CODIGOBARRADUN = ") + w,
        QStringLiteral("SELECT UMCB1 AS IDUNIDAD, V_MA_ARTICULOS.* FROM V_MA_ARTICULOS WHERE CODIGOBARRA1 = ") + w,
        QStringLiteral("SELECT UMCB2 AS IDUNIDAD, V_MA_ARTICULOS.* FROM V_MA_ARTICULOS WHERE CODIGOBARRA2 = ") + w,
        QStringLiteral("SELECT UMCB3 AS IDUNIDAD, V_MA_ARTICULOS.* FROM V_MA_ARTICULOS WHERE CODIGOBARRA3 = ") + w,
        QStringLiteral("SELECT UMCB4 AS IDUNIDAD, V_MA_ARTICULOS.* FROM V_MA_ARTICULOS WHERE CODIGOBARRA4 = ") + w,
        QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE IDARTICULO = ") + w,
    };
    EXPECT_EQ(enviadas, esperadas);
    EXPECT_EQ(descripcion, QStringLiteral("Perno"));
}

TEST_F(ArticulosTest, ReadOnlyOrUpdatableRow)
{
    for (const bool soloLectura : {true, false}) {
        SCOPED_TRACE(soloLectura ? "read-only" : "updatable");
        [&] {
            QString codigo = QStringLiteral("ART1");
            bool porBarra = false;
            QString descripcion;
            ado::Recordset rs;
            ASSERT_TRUE(BuscaArticuloPorCodigo(codigo, rs, soloLectura, porBarra, descripcion));
            EXPECT_EQ(rs.LockType(), soloLectura ? ado::adLockReadOnly : ado::adLockOptimistic);
            rs.Fields(QStringLiteral("Descripcion")).setValue(Variant("Tornillo largo"));
            if (soloLectura) {
                EXPECT_THROW(rs.Update(), VbException);
            } else {
                rs.Update();
                rs.Close();
                ASSERT_TRUE(BuscaArticuloPorCodigo(codigo, rs, true, porBarra, descripcion));
                EXPECT_EQ(descripcion, QStringLiteral("Tornillo largo"));
            }
        }();
    }
}

} // namespace
