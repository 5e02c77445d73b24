// The deletion run against the same deletions made straight through the
// sqlite3 API (prepared statements, one transaction per voucher), on
// identical databases of 1,000 and 10,000 vouchers.
// Usage: bench_purge [sizes...]   (default: 1000 10000)
#include "purge/deletion_run.h"

#include "database/db_dll.h"
#include "platform/ado/sqlite_functions.h"
#include "startup/startup.h"
#include "platform/runtime/app.h"
#include "platform/ui/scripted_responder.h"
#include "tools/demodata.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Peak resident memory of the process so far, in KiB.
long PicoMemoria()
{
    std::ifstream f("/proc/self/status");
    std::string linea;
    while (std::getline(f, linea))
        if (linea.rfind("VmHWM:", 0) == 0)
            return std::stol(linea.substr(6));
    return -1;
}

struct Medida {
    int borrados = 0;
    double segundos = 0;
};

Medida PorLaCorrida(const QString &ruta)
{
    DB_Dll &db = gDB();
    if (db.gCnn().State() != 0)
        db.gCnn().Close();
    db.gOpenFlag = false;
    bool armar = false;
    QString cadena;
    InicializaSistema(armar, QStringLiteral("@Server=sqlite;@DbName=%1;@Usuario=ADMIN;@Password=;").arg(ruta), cadena, 3);
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    SinProgreso progreso;
    QElapsedTimer reloj;
    reloj.start();
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("31/12/2099"), progreso);
    const double s = double(reloj.nsecsElapsed()) / 1e9;
    db.gCnn().Close();
    db.gOpenFlag = false;
    return {r.anulados, s};
}

Medida PorLaApi(const QString &ruta)
{
    sqlite3 *db = nullptr;
    sqlite3_open(ruta.toUtf8().constData(), &db);
    ado::registerSqlServerFunctions(db);
    QElapsedTimer reloj;
    reloj.start();
    sqlite3_stmt *sel = nullptr;
    sqlite3_prepare_v2(db, "SELECT TC, IDCOMPROBANTE, IdComplemento FROM V_MV_CPTE WHERE TC = '  RM' AND FECHA < '2100-01-01'",
                       -1, &sel, nullptr);
    struct Clave {
        std::string tc, id;
        int complemento;
    };
    std::vector<Clave> claves;
    while (sqlite3_step(sel) == SQLITE_ROW)
        claves.push_back({reinterpret_cast<const char *>(sqlite3_column_text(sel, 0)),
                          reinterpret_cast<const char *>(sqlite3_column_text(sel, 1)), sqlite3_column_int(sel, 2)});
    sqlite3_finalize(sel);
    const char *const tablas[] = {"V_MV_CPTEINSUMOS", "V_MV_CPTETAREAS", "V_MV_CPTE_OBSERV", "V_MV_CPTE", "V_MV_STOCK"};
    std::vector<sqlite3_stmt *> del;
    for (const char *t : tablas) {
        sqlite3_stmt *st = nullptr;
        const std::string sql = std::string("DELETE FROM ") + t + " WHERE TC = ? AND IDCOMPROBANTE = ? AND IdComplemento = ?";
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        del.push_back(st);
    }
    Medida m;
    for (const Clave &c : claves) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        bool bien = true;
        for (sqlite3_stmt *st : del) {
            sqlite3_reset(st);
            sqlite3_bind_text(st, 1, c.tc.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, c.id.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(st, 3, c.complemento);
            bien = bien && sqlite3_step(st) == SQLITE_DONE;
        }
        if (bien && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
            ++m.borrados;
        else
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    m.segundos = double(reloj.nsecsElapsed()) / 1e9;
    for (sqlite3_stmt *st : del)
        sqlite3_finalize(st);
    sqlite3_close(db);
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SetAppPath(dir.path());

    QList<int> tamanos;
    for (int i = 1; i < argc; ++i)
        tamanos << QString::fromLocal8Bit(argv[i]).toInt();
    if (tamanos.isEmpty())
        tamanos = {1000, 10000};

    std::printf("%8s %12s %12s %7s %12s %12s %10s\n", "vouchers", "run v/s", "sqlite3 v/s", "ratio", "run ms/v",
                "sqlite3 ms/v", "peak KiB");
    double primeraPorComprobante = 0;
    for (int n : tamanos) {
        demodata::Options opciones;
        opciones.vouchers = n;
        opciones.types = {QStringLiteral("RM")};
        opciones.overwrite = true;
        const QString a = QDir(dir.path()).filePath(QStringLiteral("corrida-%1.db").arg(n));
        const QString b = QDir(dir.path()).filePath(QStringLiteral("api-%1.db").arg(n));
        demodata::CreateDemoDatabase(a, opciones);
        QFile::remove(b);
        QFile::copy(a, b);

        const Medida corrida = PorLaCorrida(a);
        const long pico = PicoMemoria();
        const Medida api = PorLaApi(b);
        if (corrida.borrados != n || api.borrados != n)
            std::printf("warning: deleted %d (run) and %d (sqlite3) of %d\n", corrida.borrados, api.borrados, n);
        const double vpsRun = corrida.borrados / corrida.segundos;
        const double vpsApi = api.borrados / api.segundos;
        const double msRun = 1000.0 * corrida.segundos / n;
        std::printf("%8d %12.0f %12.0f %6.2fx %12.4f %12.4f %10ld\n", n, vpsRun, vpsApi, vpsApi / vpsRun, msRun,
                    1000.0 * api.segundos / n, pico);
        if (primeraPorComprobante == 0)
            primeraPorComprobante = msRun;
        else
            std::printf("         time per voucher at %d is %.0f%% of that at %d\n", n,
                        100.0 * msRun / primeraPorComprobante, tamanos.first());
    }
    std::printf("goals: ratio <= 1.30x; time per voucher within 20%% across sizes\n");
    return 0;
}
