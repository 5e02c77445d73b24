// Posting killed outright (SIGKILL) in the middle of a long series of
// vouchers, each collected and run in a transaction of its own: every voucher
// must be there with all its movements, consumption rows and journal entry,
// or not at all.
// The test program runs itself a second time as the child that posts.
#include "tests/support/posteo.h"

#include "tests/support/base_anulacion.h"
#include "tests/support/base_prueba.h"
#include "tests/support/roles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace posteo;

const char *const kBaseHija = "POSTEO_CORRIDA_HIJA_DB";
constexpr int kComprobantes = 400;

// Each voucher: a plain article, one made of two others, one with three lots.
std::vector<FilaDeGrilla> Lineas()
{
    return {Linea("A1", "1", {{ColAux38, "10"}}),
            Linea("P1", "2", {{ColAux38, "30"}}),
            Linea("A2",
                  "6",
                  {{ColNroLote, "|" + Clave("L1") + "|" + Clave("L2") + "|" + Clave("L3") + "|"},
                   {ColNroSerie, QStringLiteral("|1|2|3|")},
                   {ColAux38, "5"}})};
}
constexpr long long kMovimientos = 5; // A1, P1, three lots of A2
constexpr long long kConsumos = 2;    // the two parts of P1
constexpr long long kAsiento = 3;     // the remittance's motive against A1 and A2's account and P1's

// The child: posts every voucher into the database it is given.
void PosteaCadaComprobanteEnSuTransaccion()
{
    const QString base = qEnvironmentVariable(kBaseHija);
    ui::ScriptedResponder operador;
    ui::ScopedResponder alcance(operador);
    gDB().gCnn().Open(SqliteConnectionString(base));
    gDB().gOpenFlag = true;
    ClsCmnCptes clase;
    ui::FlexGrid grilla;
    for (int n = 1; n <= kComprobantes; ++n) {
        ASSERT_NE(PosteaEnSuTransaccion(clase, grilla, Lineas(), IdDeSerie(n)), QStringLiteral("HayError"));
        // A pause between vouchers, so that a loaded machine cannot let the
        // child finish before the parent looks.
        QThread::msleep(2);
    }
    gDB().gCnn().Close();
}
const roles::Rol kPosteoHijo("PosteaCadaComprobanteEnSuTransaccion", PosteaCadaComprobanteEnSuTransaccion);

TEST(PosteoInterrumpido, CadaComprobanteEnteroONada)
{
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    const QString ruta = BaseDeSeries(carpeta.path(), QStringLiteral("posteo.db"));
    purgetest::Sqlite db(ruta);

    QProcess hija;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kBaseHija), ruta);
    hija.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    roles::Lanza(hija, "PosteaCadaComprobanteEnSuTransaccion", env);
    ASSERT_TRUE(hija.waitForStarted());

    // Kill it once a good number of vouchers are in, well before the end.
    const auto posteados = [&] {
        return db.Numero(QStringLiteral("SELECT COUNT(DISTINCT IdComprobante) FROM V_MV_STOCK WHERE TC = '  RM'"));
    };
    QElapsedTimer reloj;
    reloj.start();
    while (posteados() < 50 && hija.state() == QProcess::Running && reloj.elapsed() < 120000)
        QThread::msleep(2);
    ASSERT_EQ(hija.state(), QProcess::Running) << "the posting ended before it could be interrupted";
    hija.kill(); // SIGKILL
    ASSERT_TRUE(hija.waitForFinished());
    EXPECT_EQ(hija.exitStatus(), QProcess::CrashExit);

    std::map<QString, FilasDeSerie> porComprobante = FilasPorComprobante(db);
    const long long enteros = posteados();
    EXPECT_GE(enteros, 50);
    EXPECT_LT(enteros, kComprobantes);
    for (const auto &[id, filas] : porComprobante)
        EXPECT_EQ(filas, (FilasDeSerie{kMovimientos, kConsumos, kAsiento})) << id.toStdString();
    // The vouchers came in order, and each consumption took its own number from the book.
    for (int n = 1; n <= enteros; ++n)
        EXPECT_TRUE(porComprobante.count(IdDeSerie(n))) << n;
    EXPECT_EQ(db.Numero(QStringLiteral("SELECT COUNT(DISTINCT IdComprobante) FROM V_MV_STOCK WHERE TC = '  PE'")),
              enteros);
    EXPECT_EQ(db.Numero(QStringLiteral("SELECT X_ULTIMO_NRO FROM V_TA_CPTE WHERE CODIGO = '  PE'")), enteros + 1);
    // Each entry balanced and numbered on from the one before.
    EXPECT_EQ(db.Numero(QStringLiteral("SELECT COUNT(*) FROM (SELECT NUMERO FROM MV_ASIENTOS GROUP BY NUMERO "
                                       "HAVING SUM(CASE [DEBE-HABER] WHEN 'D' THEN IMPORTE ELSE -IMPORTE END) <> 0)")),
              0);
    EXPECT_EQ(db.Numero(QStringLiteral("SELECT COUNT(DISTINCT [NUMERO ASIENTO]) FROM MV_ASIENTOS")), enteros);
    EXPECT_EQ(db.Numero(QStringLiteral("SELECT MAX([NUMERO ASIENTO]) FROM MV_ASIENTOS")), enteros);
}

} // namespace
