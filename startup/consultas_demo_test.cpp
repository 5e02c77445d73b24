// Every default mask that start-up writes opens its lookup on the demo
// database, with the filters the driver adds.
#include "lookup/lib_clscons3.h"
#include "startup/inicio.h"

#include "database/db_dll.h"
#include "platform/runtime/app.h"
#include "tests/support/consulta.h"
#include "tests/support/empresa.h"
#include "tests/support/impresion_qt.h"

#include <QFile>

namespace {

class MascarasPorDefecto : public SinConsulta<Empresa>
{
protected:
    MascarasPorDefecto()
        : SinConsulta<Empresa>({.abierta = false})
    {}

    void SetUp() override
    {
        SinConsulta::SetUp();
        base = MakeFixtureDb(dir.path(), true, 8);
        QFile::remove(QDir(AppPath()).filePath(QStringLiteral("consultas.vgr")));
        bool armar = false;
        QString cadena;
        InicializaSistema(armar,
                          QStringLiteral("@Server=sqlite;@DbName=%1;@Usuario=ADMIN;@Password=;").arg(base.path),
                          cadena,
                          3);
        ASSERT_TRUE(gDB().gOpenFlag);
    }
    QStringList primeraColumna(QString sentencia)
    {
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        QStringList filas;
        for (; !rs.Eof(); rs.MoveNext())
            filas << rs.Fields(0).Value().toString().trimmed();
        return filas;
    }
    QTemporaryDir dir;
    FixtureDb base;
};

TEST_F(MascarasPorDefecto, EachOpensOnTheDemoDatabase)
{
    ASSERT_TRUE(QFile::exists(gConsulta().gRutaMascaraConsultas));
    struct Caso
    {
        const char *vista, *primera;
        int filas;
    };
    const Caso casos[] = {
        {"V_MA_ARTICULOS", "ARANDELA PLANA 6MM", 20},
        {"VT_CLIENTES", "CONSTRUCTORA DEL SUR SA", 6}, // the closed-down customer left out
        {"VT_PROVEEDORES", "ACEROS DEL LITORAL SRL", 4},
        {"MA_CONTACTOS", "ANA FERNANDEZ", 4},
        {"V_TA_VENDEDORES", "CARLOS GOMEZ", 2},
        {"V_TA_TECNICOS", "MARTA RIOS", 2},
        {"V_MA_MANTENIMIENTOS", "CAMBIO DE FILTROS", 3},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.vista);
        [&] {
            QString campo, where;
            const std::optional<QString> sentencia
                = gConsulta().ArmaSentenciaConsulta(QString::fromLatin1(c.vista), campo, where, {});
            ASSERT_TRUE(sentencia);
            const QStringList filas = primeraColumna(*sentencia);
            EXPECT_EQ(filas.size(), c.filas) << sentencia->toStdString();
            ASSERT_FALSE(filas.isEmpty());
            EXPECT_EQ(filas.first(), QString::fromLatin1(c.primera));
        }();
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

// A file cut inside its fourth record (a write that ran out of disk): the
// fragment is no mask, so the contacts lookup takes the table's own columns
// and still opens; the whole records before it still serve.
TEST_F(MascarasPorDefecto, AFragmentIsNeverReadAsAMask)
{
    QFile f(gConsulta().gRutaMascaraConsultas);
    ASSERT_TRUE(f.resize(3 * 1202 + 490));
    // The contacts' record is the cut one; the suppliers' stands whole before it.
    for (const char *vista : {"MA_CONTACTOS", "VT_PROVEEDORES"}) {
        SCOPED_TRACE(vista);
        [&] {
            QString campo, where;
            const std::optional<QString> sentencia
                = gConsulta().ArmaSentenciaConsulta(QString::fromLatin1(vista), campo, where, {});
            ASSERT_TRUE(sentencia);
            EXPECT_TRUE(sentencia->contains(QStringLiteral("FROM ") + QString::fromLatin1(vista), Qt::CaseInsensitive))
                << sentencia->toStdString();
            EXPECT_FALSE(primeraColumna(*sentencia).isEmpty()) << sentencia->toStdString();
        }();
    }
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join(u'\n').toStdString();
}

} // namespace
