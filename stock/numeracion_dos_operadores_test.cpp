// Two operators numbering the same voucher type on one database file. The
// test program runs itself a second time as the other operator.
#include "database/transaccion.h"
#include "stock/ast.h"
#include "stock/numeracion_stock.h"
#include "tests/support/numeracion.h"

#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "tests/support/impresion_qt.h"
#include "tests/support/roles.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const char *const kBase = "ANULACION_NUMERA_BASE";
const char *const kSalida = "ANULACION_NUMERA_SALIDA";
const char *const kVeces = "ANULACION_NUMERA_VECES";
const char *const kForzar = "ANULACION_NUMERA_FORZAR";

// One consumption voucher as stock posting numbers it: the next id, its
// movement, and the book's advance run in the same transaction.
QString NumeraConsumo(bool forzar)
{
    QString sucursal = QStringLiteral("0001");
    QString letra = QStringLiteral("X");
    const QString id = AsignarNumeroComprobante(QStringLiteral("PE"), sucursal, letra).toString();
    gDB().EjecutaConsultaSQL(QStringLiteral("INSERT INTO V_MV_STOCK (TC, IdComprobante, Secuencia, Fecha, IdArticulo) "
                                            "VALUES ('  PE', '%1', 1, '01/01/2024', 'ART')")
                                 .arg(id));
    QString sentencia;
    ActualizaNumeracionComprobante(QStringLiteral("PE"),
                                   QStringLiteral("STOCK"),
                                   id.left(4),
                                   vb::Str(vb::Val(id.mid(4, 8)) + 1),
                                   letra,
                                   true,
                                   sentencia,
                                   forzar);
    gDB().EjecutaConsultaSQL(sentencia);
    return id;
}

void Anota(const QString &ruta, const QString &linea)
{
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::Append | QIODevice::Text));
    f.write((linea + QLatin1Char('\n')).toUtf8());
}

QStringList Lineas(const QString &ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The other operator: numbers its vouchers in one transaction of its own and
// notes each step.
void NumeraConsumos()
{
    const QString base = qEnvironmentVariable(kBase);
    const QString salida = qEnvironmentVariable(kSalida);
    gDB().gCnn().Open(SqliteConnectionString(base));
    gDB().gCnn().setCommandTimeout(300);
    gDB().gOpenFlag = true;
    gDB().gEsAdmin = true;
    gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    gUNegocio = QStringLiteral("   1");
    ui::ScriptedResponder operador;
    ui::ScopedResponder alcance(operador);

    Anota(salida, QStringLiteral("antes"));
    Transaccion transaccion(gDB().gCnn());
    Anota(salida, QStringLiteral("dentro"));
    const int veces = qEnvironmentVariableIntValue(kVeces);
    for (int i = 0; i < veces; ++i)
        Anota(salida, NumeraConsumo(qEnvironmentVariableIntValue(kForzar) != 0));
    transaccion.Confirma();
    Anota(salida, operador.requests().empty() ? QStringLiteral("fin") : QStringLiteral("avisos"));
    gDB().gCnn().Close();
}
const roles::Rol kOperadorHijo("NumeraConsumos", NumeraConsumos);

class DosOperadores : public BaseNumeracion
{
protected:
    void SetUp() override
    {
        BaseNumeracion::SetUp();
        Libro pe;
        pe.ultimo = QStringLiteral("1");
        Libros({pe});
        salida = base.path + QStringLiteral(".salida");
    }
    void TearDown() override
    {
        if (otro.state() != QProcess::NotRunning) {
            otro.kill();
            otro.waitForFinished();
        }
        BaseNumeracion::TearDown();
    }
    void Lanza(int veces, bool forzar)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kBase), base.path);
        env.insert(QString::fromLatin1(kSalida), salida);
        env.insert(QString::fromLatin1(kVeces), QString::number(veces));
        env.insert(QString::fromLatin1(kForzar), forzar ? QStringLiteral("1") : QStringLiteral("0"));
        otro.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        roles::Lanza(otro, "NumeraConsumos", env);
        ASSERT_TRUE(otro.waitForStarted());
    }
    // Waits (at most `ms`) until the other operator has noted the line.
    bool Espera(const QString &linea, int ms)
    {
        QDeadlineTimer plazo(ms);
        while (!Lineas(salida).contains(linea)) {
            if (plazo.hasExpired() || otro.state() == QProcess::NotRunning)
                return Lineas(salida).contains(linea);
            QThread::msleep(20);
        }
        return true;
    }
    void Termina()
    {
        ASSERT_TRUE(otro.waitForFinished(300000));
        EXPECT_EQ(otro.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(otro.exitCode(), 0);
    }
    long long Ultimo()
    {
        return Valor(QStringLiteral("SELECT X_ULTIMO_NRO FROM V_TA_CPTE WHERE CODIGO = '  PE'")).toLong();
    }

    QString salida;
    QProcess otro;
};

TEST_F(DosOperadores, ASecondOperatorWaitsForTheBookThenTakesTheNextNumber)
{
    Transaccion transaccion(gDB().gCnn());
    EXPECT_EQ(NumeraConsumo(false), QStringLiteral("000100000001X"));
    Lanza(1, false);
    ASSERT_TRUE(Espera(QStringLiteral("antes"), 120000)) << "the other operator never started";
    // Time enough for it to get past the start of its transaction, were the
    // book not held: it must still be waiting.
    EXPECT_FALSE(Espera(QStringLiteral("dentro"), 1500));
    transaccion.Confirma();
    Termina();
    EXPECT_EQ(Lineas(salida), (QStringList{"antes", "dentro", "000100000002X", "fin"}));
    EXPECT_EQ(Ultimo(), 3);
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK WHERE TC = '  PE'")), 2);
}

TEST_F(DosOperadores, ANumberIsMarkedOnceAndTheBookNeverMovesBack)
{
    // Proposed and built outside a transaction, run later.
    QString sucursal = QStringLiteral("0001");
    QString letra = QStringLiteral("X");
    EXPECT_EQ(AsignarNumeroComprobante(QStringLiteral("PE"), sucursal, letra).toString(),
              QStringLiteral("000100000001X"));
    QString conMarca;
    ActualizaNumeracionComprobante(QStringLiteral("PE"),
                                   QStringLiteral("STOCK"),
                                   sucursal,
                                   QStringLiteral(" 2"),
                                   letra,
                                   true,
                                   conMarca,
                                   true);
    QString soloLibro;
    ActualizaNumeracionComprobante(QStringLiteral("PE"),
                                   QStringLiteral("STOCK"),
                                   sucursal,
                                   QStringLiteral(" 2"),
                                   letra,
                                   true,
                                   soloLibro,
                                   false);

    // Meanwhile the other operator numbers and marks 1 and 2.
    Lanza(2, true);
    Termina();
    ASSERT_EQ(Lineas(salida), (QStringList{"antes", "dentro", "000100000001X", "000100000002X", "fin"}));
    EXPECT_EQ(Ultimo(), 3);

    {
        Transaccion transaccion(gDB().gCnn());
        gDB().EjecutaConsultaSQL(conMarca);
        ASSERT_GT(gDB().gCnn().errors().Count(), 0);
        EXPECT_EQ(gDB().gCnn().errors().Item(0).Number, ado::DB_E_INTEGRITYVIOLATION);
    }
    {
        Transaccion transaccion(gDB().gCnn());
        gDB().EjecutaConsultaSQL(soloLibro);
        EXPECT_EQ(gDB().gCnn().errors().Count(), 0);
        transaccion.Confirma();
    }

    EXPECT_EQ(Ultimo(), 3);
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE WHERE TC = '  PE'")), 2);
    EXPECT_EQ(operador.requests().size(), 0u);
}

} // namespace
