// A run killed outright (SIGKILL) in the middle: every voucher must be either
// wholly there or wholly gone. The test program runs itself a second time
// as the child that does the purge.
#include "purge/corrida_borrado.h"
#include "tests/support/base_anulacion.h"
#include "tests/support/roles.h"

#include "platform/runtime/app.h"
#include "platform/ui/scripted_responder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace purgetest;

namespace {

const char *const kBaseHija = "ANULACION_CORRIDA_HIJA_DB";
const char *const kLogHija = "ANULACION_CORRIDA_HIJA_LOG";

// The child pauses a little at each voucher, so that the parent can kill it
// mid-run however fast the engine or however loaded the machine.
class ProgresoLento final : public ProgresoAnulacion
{
public:
    void Muestra() override {}
    void Pinta(double, const QString &) override { QThread::msleep(5); }
    void Oculta() override {}
};

// The child: purges every RM voucher of the database it is given.
void AnulaTodoElTipo()
{
    const QString base = qEnvironmentVariable(kBaseHija);
    SetAppPath(qEnvironmentVariable(kLogHija));
    AbreConexion(base);
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder scope(respuestas);
    ProgresoLento progreso;
    AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("31/12/2099"), progreso);
    CierraConexion();
}
const roles::Rol kCorridaHija("AnulaTodoElTipo", AnulaTodoElTipo);

TEST(CorridaInterrumpida, CadaComprobanteEnteroONada)
{
    const QString carpeta = QDir(AppPath()).filePath(QStringLiteral("interrumpida"));
    QDir().mkpath(carpeta);
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("grande.db"));
    QFile::remove(ruta);
    CreaBaseDemo(ruta, 3000);

    Sqlite db(ruta);
    const Foto antes = TomaFoto(db);
    const long long huerfanosAntes = Huerfanos(db);
    const std::set<QString> doomed = ClavesHasta(db, QStringLiteral("  RM"), QStringLiteral("2099-12-31"));
    ASSERT_GT(doomed.size(), 200u);

    QProcess hija;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kBaseHija), ruta);
    env.insert(QString::fromLatin1(kLogHija), carpeta);
    hija.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    roles::Lanza(hija, "AnulaTodoElTipo", env);
    ASSERT_TRUE(hija.waitForStarted());

    // Kill it once a good number of vouchers are gone, well before the end.
    const auto cabeceras = [&] { return db.Numero(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  RM'")); };
    const long long inicial = cabeceras();
    QElapsedTimer reloj;
    reloj.start();
    while (inicial - cabeceras() < 50 && hija.state() == QProcess::Running && reloj.elapsed() < 120000)
        QThread::msleep(5);
    ASSERT_EQ(hija.state(), QProcess::Running) << "the run ended before it could be interrupted";
    hija.kill(); // SIGKILL
    ASSERT_TRUE(hija.waitForFinished());
    EXPECT_EQ(hija.exitStatus(), QProcess::CrashExit);

    const Foto despues = TomaFoto(db);
    size_t idos = 0;
    for (const auto &[clave, tablas] : antes) {
        SCOPED_TRACE(clave.toStdString());
        const auto it = despues.find(clave);
        if (it == despues.end()) {
            EXPECT_TRUE(doomed.count(clave));
            ++idos;
        } else {
            EXPECT_EQ(it->second, tablas); // untouched, not partly deleted
        }
    }
    EXPECT_GE(idos, 50u);
    EXPECT_LT(idos, doomed.size());
    EXPECT_EQ(Huerfanos(db), huerfanosAntes);

    // The header line reached the log before the first deletion.
    QFile log(QDir(carpeta).filePath(QStringLiteral("VGELI.LOG")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray texto = log.readAll();
    EXPECT_TRUE(texto.startsWith("PC: "));
    EXPECT_FALSE(texto.contains("Registros Anulados"));
}

} // namespace
