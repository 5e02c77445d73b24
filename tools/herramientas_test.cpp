// The lookup tools as a newcomer runs them on a machine without a display:
// a run that shows nothing ends on its own, tells its errors on standard
// error and exits non-zero; a run that would show a window says it needs a
// display instead of failing in the window system.
#include "tools/datos_demo.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Corrida
{
    bool termino = false;
    int codigo = -1;
    QString salida, errores;
};

class Herramientas : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        carpeta = new QTemporaryDir;
        demodata::Options o;
        o.vouchers = 4;
        demodata::CreateDemoDatabase(base(), o);
    }
    static void TearDownTestSuite()
    {
        delete carpeta;
        carpeta = nullptr;
    }
    static QString base() { return carpeta->filePath(QStringLiteral("demo.db")); }

    // Runs a tool with no window system at all; a run that hangs is killed.
    static Corrida corre(const char *programa, const QStringList &argumentos)
    {
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        for (const char *v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            entorno.remove(QLatin1String(v));
        entorno.insert(QStringLiteral("ANULACION_APPDIR"), carpeta->path());
        QProcess p;
        p.setProcessEnvironment(entorno);
        p.start(QString::fromLocal8Bit(programa), argumentos);
        Corrida c;
        c.termino = p.waitForFinished(120000);
        if (!c.termino) {
            p.kill();
            p.waitForFinished();
        }
        c.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        c.salida = QString::fromLocal8Bit(p.readAllStandardOutput());
        c.errores = QString::fromLocal8Bit(p.readAllStandardError());
        return c;
    }

    static QTemporaryDir *carpeta;
};

QTemporaryDir *Herramientas::carpeta = nullptr;

TEST_F(Herramientas, TheStatementOfAMissingTableEndsWithItsErrorOnStandardError)
{
    const Corrida c = corre(CONSULTA, {base(), QStringLiteral("NO_EXISTE"), QStringLiteral("--sentencia")});
    ASSERT_TRUE(c.termino) << "no box waits for an operator";
    EXPECT_NE(c.codigo, 0);
    EXPECT_TRUE(c.errores.contains(QStringLiteral("NO_EXISTE"), Qt::CaseInsensitive)) << c.errores.toStdString();
    EXPECT_FALSE(c.errores.contains(QStringLiteral("could not connect to display"))) << c.errores.toStdString();
}

TEST_F(Herramientas, RunsThatShowNothingOrWouldShowAWindow)
{
    const struct
    {
        const char *nombre;
        const char *programa;
        QStringList argumentos;
        int codigo;
        const char *salida;  // in standard output
        const char *errores; // in standard error ("": no error of the tool's own)
    } casos[] = {
        {"a statement", CONSULTA, {base(), "VT_CLIENTES", "--sentencia"}, 0, "statement        SELECT", ""},
        {"consulta alone", CONSULTA, {}, 2, "", "usage: consulta"},
        {"no such database", CONSULTA, {carpeta->filePath("otra.db"), "--sentencia"}, 2, "", "no such database file"},
        {"the list dialog", CONSULTA, {base(), "VT_CLIENTES"}, 1, "", "needs a display"},
        {"the voucher list", COMPROBANTES, {base(), "FC"}, 1, "", "needs a display"},
        {"comprobantes alone", COMPROBANTES, {}, 2, "", "usage: comprobantes"},
    };
    for (const auto &k : casos) {
        SCOPED_TRACE(k.nombre);
        [&] {
            const Corrida c = corre(k.programa, k.argumentos);
            ASSERT_TRUE(c.termino);
            EXPECT_EQ(c.codigo, k.codigo) << c.errores.toStdString();
            EXPECT_TRUE(c.salida.contains(QLatin1String(k.salida))) << c.salida.toStdString();
            if (*k.errores)
                EXPECT_TRUE(c.errores.contains(QLatin1String(k.errores))) << c.errores.toStdString();
            else
                EXPECT_FALSE(c.errores.contains(QStringLiteral("consulta:"))) << c.errores.toStdString();
        }();
    }
}

} // namespace
