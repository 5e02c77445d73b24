// Two purges of one type started together on one database file, as two
// operators might: every voucher goes once, and what each run says it
// deleted (its message and its log) adds up to what was deleted. The test
// program runs itself twice more, as the two runs.
#include "purge/corrida_borrado.h"
#include "tests/support/base_anulacion.h"
#include "tests/support/roles.h"

#include "platform/runtime/app.h"
#include "platform/ui/scripted_responder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace purgetest;

namespace {

const char *const kBase = "ANULACION_PARALELA_DB";
const char *const kCarpeta = "ANULACION_PARALELA_CARPETA";

// Waits until the file exists; false after a minute.
bool Espera(const QString &ruta)
{
    QElapsedTimer reloj;
    reloj.start();
    while (!QFile::exists(ruta)) {
        if (reloj.elapsed() > 60000)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// A short pause at each voucher, so that the two runs interleave however
// fast the engine; the strip's caption tells how many the run selected.
class ProgresoPausado final : public ProgresoAnulacion
{
public:
    void Muestra() override {}
    void Pinta(double, const QString &texto) override
    {
        caption = texto;
        QThread::msleep(1);
    }
    void Oculta() override {}
    QString caption;
};

// One run: opens the database as the window does, waits for the other one
// to be ready, purges every RM voucher and writes, in its folder, what the
// operator was told and how many the run selected.
void AnulaComoUnOperador()
{
    const QString base = qEnvironmentVariable(kBase);
    const QString carpeta = qEnvironmentVariable(kCarpeta);
    SetAppPath(carpeta);
    AbreConexion(base);
    QFile listo(QDir(carpeta).filePath(QStringLiteral("listo")));
    ASSERT_TRUE(listo.open(QIODevice::WriteOnly));
    listo.close();
    ASSERT_TRUE(Espera(QDir(carpeta).filePath(QStringLiteral("../adelante"))));

    ui::ScriptedResponder operador;
    ui::ScopedResponder alcance(operador);
    operador.answer(ui::vbOK);
    ProgresoPausado progreso;
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("31/12/2099"), progreso);
    CierraConexion();

    EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
    QFile salida(QDir(carpeta).filePath(QStringLiteral("salida.txt")));
    ASSERT_TRUE(salida.open(QIODevice::WriteOnly));
    salida.write(
        (operador.prompts().join(u'\n') + u'\n' + progreso.caption.section(QStringLiteral(" DE "), 1)).toUtf8());
}
const roles::Rol kCorridaParalela("AnulaComoUnOperador", AnulaComoUnOperador);

TEST(DosCorridas, LosConteosSumanLoBorrado)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ruta = dir.filePath(QStringLiteral("compartida.db"));
    CreaBaseDemo(ruta, 1200);
    Sqlite db(ruta);
    const QString cabeceras = QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  RM'");
    const long long antes = db.Numero(cabeceras);
    ASSERT_GT(antes, 200);
    const long long huerfanos = Huerfanos(db);

    std::vector<std::unique_ptr<QProcess>> corridas;
    QStringList carpetas;
    for (const char *nombre : {"una", "otra"}) {
        const QString carpeta = dir.filePath(QString::fromLatin1(nombre));
        ASSERT_TRUE(QDir().mkpath(carpeta));
        carpetas << carpeta;
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kBase), ruta);
        env.insert(QString::fromLatin1(kCarpeta), carpeta);
        p->setProcessChannelMode(QProcess::MergedChannels);
        roles::Lanza(*p, "AnulaComoUnOperador", env);
        ASSERT_TRUE(p->waitForStarted());
        corridas.push_back(std::move(p));
    }
    // Both start deleting once both are connected.
    for (const QString &carpeta : carpetas)
        ASSERT_TRUE(Espera(QDir(carpeta).filePath(QStringLiteral("listo"))));
    QFile adelante(dir.filePath(QStringLiteral("adelante")));
    ASSERT_TRUE(adelante.open(QIODevice::WriteOnly));
    adelante.close();

    long long dichos = 0, registrados = 0, seleccionados = 0;
    static const QRegularExpression mensaje(QStringLiteral("^Anulado sin Errores, se actualizaron (\\d+) registros $"));
    static const QRegularExpression cierre(QStringLiteral("^Registros Anulados (\\d+) Usuario Sistema: "));
    for (size_t i = 0; i < corridas.size(); ++i) {
        SCOPED_TRACE(carpetas[int(i)].toStdString());
        QProcess &p = *corridas[i];
        ASSERT_TRUE(p.waitForFinished(600000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();

        QFile salida(QDir(carpetas[int(i)]).filePath(QStringLiteral("salida.txt")));
        ASSERT_TRUE(salida.open(QIODevice::ReadOnly));
        const QStringList lineas = QString::fromUtf8(salida.readAll()).split(u'\n');
        ASSERT_EQ(lineas.size(), 2);
        const auto m = mensaje.match(lineas[0]);
        ASSERT_TRUE(m.hasMatch()) << lineas[0].toStdString();
        const long long dicho = m.captured(1).toLongLong();
        dichos += dicho;
        seleccionados += lineas[1].toLongLong();

        QFile log(QDir(carpetas[int(i)]).filePath(QStringLiteral("VGELI.LOG")));
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        const QStringList registro
            = QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(registro.size(), 2);
        const auto c = cierre.match(registro[1]);
        ASSERT_TRUE(c.hasMatch()) << registro[1].toStdString();
        EXPECT_EQ(c.captured(1).toLongLong(), dicho);
        registrados += c.captured(1).toLongLong();
    }
    const long long borrados = antes - db.Numero(cabeceras);
    EXPECT_EQ(borrados, antes);
    // Each voucher was tried by both runs (or the test proves nothing), and
    // each is counted by the one that deleted it.
    EXPECT_GT(seleccionados, antes);
    EXPECT_EQ(dichos, borrados);
    EXPECT_EQ(registrados, borrados);
    EXPECT_EQ(Huerfanos(db), huerfanos);
}

} // namespace
