// Two operators posting at once on one database file, each voucher collected
// and run in a transaction of its own: no journal entry number and no
// consumption voucher number is ever stored twice, and every posting that
// fails is reported to its caller. The test program runs itself twice more,
// as the two operators.
#include "tests/support/posteo.h"

#include "tests/support/base_anulacion.h"
#include "tests/support/base_prueba.h"
#include "tests/support/roles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

using namespace posteo;

const char *const kBase = "POSTEO_OPERADOR_DB";
const char *const kPrimero = "POSTEO_OPERADOR_PRIMERO";
const char *const kSalida = "POSTEO_OPERADOR_SALIDA";
constexpr int kComprobantes = 200;

// Each voucher: a plain article and one with three lots; every other one
// also an article made of two others, so that half of them number no
// consumption voucher and collide, if at all, only on their entry numbers.
std::vector<FilaDeGrilla> Lineas(int numero)
{
    std::vector<FilaDeGrilla> lineas{Linea("A1", "1", {{ColAux38, "10"}}),
                                     Linea("A2",
                                           "6",
                                           {{ColNroLote,
                                             "|" + Clave("L1") + "|" + Clave("L2") + "|" + Clave("L3") + "|"},
                                            {ColNroSerie, QStringLiteral("|1|2|3|")},
                                            {ColAux38, "5"}})};
    if (numero % 2 != 0)
        lineas.push_back(Linea("P1", "2", {{ColAux38, "30"}}));
    return lineas;
}

// What a whole voucher stores: movements (A1, three lots of A2, P1),
// consumption rows (P1's two parts) and journal rows (the motive against
// A1 and A2's account, and P1's).
FilasDeSerie Entero(int numero)
{
    return numero % 2 != 0 ? FilasDeSerie{5, 2, 3} : FilasDeSerie{4, 0, 2};
}

// One operator: posts its vouchers as a voucher form does and notes, for
// each, "ok" or why it failed, as the caller learnt it.
void PosteaSusComprobantes()
{
    const QString base = qEnvironmentVariable(kBase);
    ui::ScriptedResponder operador;
    ui::ScopedResponder alcance(operador);
    // Opening reads the file: the other operator may hold it for a moment.
    for (int intento = 1;; ++intento) {
        try {
            gDB().gCnn().Open(SqliteConnectionString(base));
            break;
        } catch (const VbException &) {
            if (intento == 100)
                throw;
            QThread::msleep(50);
        }
    }
    gDB().gCnn().setCommandTimeout(300);
    gDB().gOpenFlag = true;
    gPeriodo = 2024;
    QFile salida(qEnvironmentVariable(kSalida));
    ASSERT_TRUE(salida.open(QIODevice::WriteOnly | QIODevice::Text));
    ClsCmnCptes clase;
    ui::FlexGrid grilla;
    const int primero = qEnvironmentVariableIntValue(kPrimero);
    for (int n = primero; n < primero + kComprobantes; ++n) {
        const QString estado = PosteaEnSuTransaccion(clase, grilla, Lineas(n), IdDeSerie(n));
        salida.write((IdDeSerie(n) + QLatin1Char(' ') + estado + QLatin1Char('\n')).toUtf8());
        salida.flush();
    }
    gDB().gCnn().Close();
}
const roles::Rol kPosteoOperador("PosteaSusComprobantes", PosteaSusComprobantes);

TEST(DosOperadores, NoNumberIsStoredTwiceAndEveryFailureIsReported)
{
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    const QString ruta
        = BaseDeSeries(carpeta.path(),
                       QStringLiteral("operadores.db"),
                       {QStringLiteral("INSERT INTO MA_SUBDIARIOS (CODIGO, DESCRIPCION) VALUES ('   2', 'STOCK')"),
                        QStringLiteral(
                            "INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES ('  RM', '   2')")});

    std::vector<std::unique_ptr<QProcess>> operadores;
    for (int primero : {1, 1001}) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kBase), ruta);
        env.insert(QString::fromLatin1(kPrimero), QString::number(primero));
        env.insert(QString::fromLatin1(kSalida), ruta + QStringLiteral(".%1").arg(primero));
        p->setProcessChannelMode(QProcess::MergedChannels);
        roles::Lanza(*p, "PosteaSusComprobantes", env);
        ASSERT_TRUE(p->waitForStarted());
        operadores.push_back(std::move(p));
    }
    std::map<QString, QString> estados;
    for (int primero : {1, 1001}) {
        QProcess &p = *operadores[primero == 1 ? 0 : 1];
        ASSERT_TRUE(p.waitForFinished(900000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
        QFile f(ruta + QStringLiteral(".%1").arg(primero));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
        for (const QString &linea : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            estados[linea.section(QLatin1Char(' '), 0, 0)] = linea.section(QLatin1Char(' '), 1);
    }
    ASSERT_EQ(estados.size(), std::size_t(2 * kComprobantes));

    purgetest::Sqlite db(ruta);
    std::map<QString, FilasDeSerie> guardadas = FilasPorComprobante(db);

    int fallas = 0;
    int sinInformar = 0; // said stored but not whole, or said failed but partly stored
    for (const auto &[id, estado] : estados) {
        const FilasDeSerie f = guardadas.count(id) ? guardadas[id] : FilasDeSerie();
        const bool entero = f == Entero(id.mid(4, 8).toInt());
        const bool nada = f == FilasDeSerie();
        if (estado == QLatin1String("ok")) {
            sinInformar += entero ? 0 : 1;
        } else {
            ++fallas;
            sinInformar += nada ? 0 : 1;
        }
    }
    const long long asientosRepetidos = db.Numero(QStringLiteral(
        "SELECT COUNT(*) FROM (SELECT 1 FROM MV_ASIENTOS GROUP BY MES_OPERATIVO, PERIODO, TIPO_REG, [NUMERO ASIENTO] "
        "HAVING COUNT(DISTINCT SUCURSAL || NUMERO || LETRA) > 1)"));
    const long long consumosRepetidos = db.Numero(
        QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM V_MV_STOCK WHERE TC = '  PE' GROUP BY IdComprobante "
                       "HAVING COUNT(DISTINCT IdComprobante_Origen) > 1)"));
    std::printf("two operators, %d vouchers each: %d postings failed (%.1f%%), each reported to its caller; "
                "entry numbers stored twice %lld, consumption numbers stored twice %lld\n",
                kComprobantes,
                fallas,
                100.0 * fallas / (2 * kComprobantes),
                asientosRepetidos,
                consumosRepetidos);
    EXPECT_EQ(asientosRepetidos, 0);
    EXPECT_EQ(consumosRepetidos, 0);
    EXPECT_EQ(sinInformar, 0);
    EXPECT_LT(fallas, 2 * kComprobantes);
}

} // namespace
