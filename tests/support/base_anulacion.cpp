#include "tests/support/base_anulacion.h"

#include "database/db_dll.h"
#include "platform/ado/sqlite_functions.h"
#include "startup/inicio.h"
#include "tools/datos_demo.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <stdexcept>

namespace purgetest {

const char *const kTablas[5] = {"V_MV_CPTEINSUMOS", "V_MV_CPTETAREAS", "V_MV_CPTE_OBSERV", "V_MV_CPTE", "V_MV_STOCK"};

QString ParametrosPara(const QString &path)
{
    return QStringLiteral("@Server=sqlite;@DbName=%1;@Usuario=ADMIN;@Password=;").arg(path);
}

void CreaBaseDemo(const QString &path, int vouchers)
{
    demodata::Options opciones;
    opciones.vouchers = vouchers;
    opciones.overwrite = true;
    // Ten vouchers a day: two or three RM on each day at different times
    // (one at 14:30 or later), so any cut-off day tests "inclusive"; every
    // fifth voucher has IdComplemento 1.
    opciones.perDay = 10;
    opciones.complementEvery = 5;
    demodata::CreateDemoDatabase(path, opciones);
}

void CierraConexion()
{
    DB_Dll &db = gDB();
    if (db.gCnn().State() != 0)
        db.gCnn().Close();
    db.gOpenFlag = false;
}

void AbreConexion(const QString &path)
{
    CierraConexion();
    bool armar = false;
    QString cadena;
    InicializaSistema(armar, ParametrosPara(path), cadena, 3);
    if (!gDB().gOpenFlag)
        throw std::runtime_error("the connection did not open");
}

Sqlite::Sqlite(const QString &path)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    sqlite3_busy_timeout(m_db, 10000);
    ado::registerSqlServerFunctions(m_db);
}

Sqlite::~Sqlite()
{
    sqlite3_close(m_db);
}

QStringList Sqlite::Textos(const QString &sql)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in " + sql.toStdString());
    QStringList filas;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        filas << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    return filas;
}

long long Sqlite::Numero(const QString &sql)
{
    const QStringList t = Textos(sql);
    return t.isEmpty() ? 0 : t.first().toLongLong();
}

namespace {
const char *const kClave = "TC || '|' || IDCOMPROBANTE || '|' || IdComplemento";
}

Foto TomaFoto(Sqlite &db)
{
    Foto foto;
    for (const char *tabla : kTablas) {
        const QStringList filas = db.Textos(QStringLiteral("SELECT %1 || '#' || COUNT(*) FROM %2 GROUP BY TC, "
                                                           "IDCOMPROBANTE, IdComplemento")
                                                .arg(QLatin1String(kClave), QLatin1String(tabla)));
        for (const QString &f : filas) {
            const qsizetype at = f.lastIndexOf(u'#');
            foto[f.left(at)][QLatin1String(tabla)] = f.mid(at + 1).toLongLong();
        }
    }
    return foto;
}

std::set<QString> ClavesHasta(Sqlite &db, const QString &tipo, const QString &diaIso)
{
    const QStringList filas = db.Textos(
        QStringLiteral("SELECT %1 FROM V_MV_CPTE WHERE TC = '%2' AND substr(FECHA, 1, 10) <= '%3'")
            .arg(QLatin1String(kClave), tipo, diaIso));
    return {filas.begin(), filas.end()};
}

long long Huerfanos(Sqlite &db)
{
    long long n = 0;
    for (const char *tabla : kTablas) {
        if (QLatin1String(tabla) == QLatin1String("V_MV_CPTE"))
            continue;
        n += db.Numero(QStringLiteral("SELECT COUNT(*) FROM %1 x WHERE NOT EXISTS (SELECT 1 FROM V_MV_CPTE c "
                                      "WHERE c.TC = x.TC AND c.IDCOMPROBANTE = x.IDCOMPROBANTE "
                                      "AND c.IdComplemento = x.IdComplemento)")
                           .arg(QLatin1String(tabla)));
    }
    return n;
}

void ComparaFotos(const Foto &antes, const Foto &despues, const std::set<QString> &idas)
{
    for (const auto &[clave, tablas] : antes) {
        SCOPED_TRACE(clave.toStdString());
        if (idas.count(clave)) {
            EXPECT_EQ(despues.count(clave), 0u);
        } else {
            ASSERT_EQ(despues.count(clave), 1u);
            EXPECT_EQ(despues.at(clave), tablas);
        }
    }
    EXPECT_EQ(despues.size(), antes.size() - idas.size());
}

void EsperaPreguntaDeError(const ui::ScriptedResponder &respuestas, const QString &descripcion, bool parte)
{
    ASSERT_GE(respuestas.requests().size(), 1u);
    const ui::Request &pregunta = respuestas.requests().front();
    const QString inicio = QStringLiteral("Error detectado:"), fin = QStringLiteral("\r\n-Desea continuar...?");
    if (parte) {
        EXPECT_TRUE(pregunta.prompt.startsWith(inicio)) << pregunta.prompt.toStdString();
        EXPECT_TRUE(pregunta.prompt.contains(descripcion)) << pregunta.prompt.toStdString();
        EXPECT_TRUE(pregunta.prompt.endsWith(fin)) << pregunta.prompt.toStdString();
    } else {
        EXPECT_EQ(pregunta.prompt, inicio + descripcion + fin);
    }
    EXPECT_EQ(pregunta.title, QStringLiteral("Atencion"));
    EXPECT_EQ(pregunta.style, ui::vbYesNo);
}

} // namespace purgetest
