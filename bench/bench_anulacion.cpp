// The deletion run against the same deletions made straight through the
// sqlite3 API (prepared statements, one transaction per voucher), on
// identical databases of 1,000 and 10,000 vouchers.
//
//     bench_anulacion [--runs K] [--dir FOLDER]... [--only run|sqlite3] [SIZE...]
//
// Sizes default to 1000 10000, K to 5. The run and the direct deletions
// take turns, K times each, every time on a fresh copy of one database; the
// program prints the median vouchers per second of each, the spread, the
// ratio of the medians and the run's time per voucher at each size. Without
// --dir it runs in the temporary folder and in /dev/shm. --only runs one of
// the two: for a profiler. The direct deletions run twice: with the
// engine's default journal and with the journal kept between transactions,
// as the data layer keeps it (the "kept" columns: the run's own cost).
#include "purge/corrida_borrado.h"

#include "bench/medicion.h"
#include "database/db_dll.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/runtime/app.h"
#include "platform/ui/scripted_responder.h"
#include "startup/inicio.h"
#include "tools/datos_demo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <string>

namespace {

struct Medida
{
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
    InicializaSistema(armar,
                      QStringLiteral("@Server=sqlite;@DbName=%1;@Usuario=ADMIN;@Password=;").arg(ruta),
                      cadena,
                      3);
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    SinProgreso progreso;
    QElapsedTimer reloj;
    reloj.start();
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("31/12/2099"), progreso);
    const double s = bench::seconds(reloj);
    db.gCnn().Close();
    db.gOpenFlag = false;
    return {r.anulados, s};
}

// With `diarioQueQueda`, the journal stays between transactions, as the data layer keeps it.
Medida PorLaApi(const QString &ruta, bool diarioQueQueda)
{
    sqlite3 *db = nullptr;
    sqlite3_open(ruta.toUtf8().constData(), &db);
    ado::registerSqlServerFunctions(db);
    if (diarioQueQueda)
        sqlite3_exec(db, "PRAGMA journal_mode = PERSIST", nullptr, nullptr, nullptr);
    QElapsedTimer reloj;
    reloj.start();
    sqlite3_stmt *sel = nullptr;
    sqlite3_prepare_v2(
        db,
        "SELECT TC, IDCOMPROBANTE, IdComplemento FROM V_MV_CPTE WHERE TC = '  RM' AND FECHA < '2100-01-01'",
        -1,
        &sel,
        nullptr);
    struct Clave
    {
        std::string tc, id;
        int complemento;
    };
    std::vector<Clave> claves;
    while (sqlite3_step(sel) == SQLITE_ROW)
        claves.push_back({reinterpret_cast<const char *>(sqlite3_column_text(sel, 0)),
                          reinterpret_cast<const char *>(sqlite3_column_text(sel, 1)),
                          sqlite3_column_int(sel, 2)});
    sqlite3_finalize(sel);
    const char *const tablas[] = {"V_MV_CPTEINSUMOS", "V_MV_CPTETAREAS", "V_MV_CPTE_OBSERV", "V_MV_CPTE", "V_MV_STOCK"};
    std::vector<sqlite3_stmt *> del;
    for (const char *t : tablas) {
        sqlite3_stmt *st = nullptr;
        const std::string sql = std::string("DELETE FROM ") + t
                                + " WHERE TC = ? AND IDCOMPROBANTE = ? AND IdComplemento = ?";
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
    m.segundos = bench::seconds(reloj);
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
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is known
    QTemporaryDir logs;
    SetAppPath(logs.path());

    const bench::Options o
        = bench::readOptions(app.arguments().mid(1),
                             5,
                             {1000, 10000},
                             "bench_anulacion [--runs K] [--dir FOLDER]... [--only run|sqlite3] [SIZE...]",
                             {QStringLiteral("run"), QStringLiteral("sqlite3")});
    const int corridas = o.runs;
    const std::vector<int> &tamanos = o.sizes;
    const QStringList &carpetas = o.dirs;
    const bool porLaCorrida = o.runsVariant("run");
    const bool porLaApi = o.runsVariant("sqlite3");

    std::printf(
        "bench_anulacion: %d runs of each, taking turns, on fresh copies; v/s = vouchers per second (medians)\n",
        corridas);
    std::printf("load average before: %s\n", qPrintable(bench::loadAverage()));
    for (const bench::Folder &carpeta : bench::folders(carpetas)) {
        QTemporaryDir dir(QDir(carpeta.path).filePath(QStringLiteral("bench_anulacion-XXXXXX")));
        if (!dir.isValid()) {
            std::fprintf(stderr, "bench_anulacion: cannot write in %s\n", qPrintable(carpeta.path));
            return 1;
        }
        std::printf("\n%s\n", qPrintable(carpeta.label()));
        std::printf("%8s %10s %7s %11s %7s %7s %10s %12s %10s %8s %10s\n",
                    "vouchers",
                    "run v/s",
                    "spread",
                    "sqlite3 v/s",
                    "spread",
                    "ratio",
                    "run ms/v",
                    "sqlite3 ms/v",
                    "peak KiB",
                    "kept v/s",
                    "kept ratio");
        double primeraPorComprobante = 0;
        for (int n : tamanos) {
            demodata::Options opciones;
            opciones.vouchers = n;
            opciones.types = {QStringLiteral("RM")};
            opciones.overwrite = true;
            const QString maestra = QDir(dir.path()).filePath(QStringLiteral("maestra-%1.db").arg(n));
            try {
                demodata::CreateDemoDatabase(maestra, opciones);
            } catch (const demodata::DemoError &e) {
                std::fprintf(stderr, "bench_anulacion: %s\n", e.what());
                return 1;
            }
            const QString copia = QDir(dir.path()).filePath(QStringLiteral("copia.db"));
            std::vector<double> corrida, api, apiDiario;
            long pico = 0;
            for (int r = 0; r < corridas; ++r) {
                if (porLaCorrida) {
                    bench::resetPeakMemory();
                    const Medida m = PorLaCorrida(bench::freshCopy(maestra, copia));
                    pico = std::max(pico, bench::peakMemory());
                    if (m.borrados != n)
                        std::printf("warning: the run deleted %d of %d\n", m.borrados, n);
                    corrida.push_back(m.segundos);
                }
                if (porLaApi) {
                    for (bool diario : {false, true}) {
                        const Medida m = PorLaApi(bench::freshCopy(maestra, copia), diario);
                        if (m.borrados != n)
                            std::printf("warning: sqlite3 deleted %d of %d\n", m.borrados, n);
                        (diario ? apiDiario : api).push_back(m.segundos);
                    }
                }
                bench::removeDatabase(copia);
            }
            bench::removeDatabase(maestra);
            const bench::Summary c = bench::summarize(corrida), a = bench::summarize(api),
                                 k = bench::summarize(apiDiario);
            const double msRun = 1000.0 * c.median / n;
            auto vps = [n](const bench::Summary &x) { return x.median > 0 ? n / x.median : 0.0; };
            std::printf("%8d %10.0f %6.1f%% %11.0f %6.1f%% %6.2fx %10.4f %12.4f %10ld %8.0f %9.2fx\n",
                        n,
                        vps(c),
                        100 * c.spread(),
                        vps(a),
                        100 * a.spread(),
                        bench::ratio(c, a),
                        msRun,
                        1000.0 * a.median / n,
                        porLaCorrida ? pico : 0L,
                        vps(k),
                        bench::ratio(c, k));
            if (!porLaCorrida)
                continue;
            if (primeraPorComprobante == 0)
                primeraPorComprobante = msRun;
            else
                std::printf("         the run's time per voucher at %d is %.0f%% of that at %d\n",
                            n,
                            100.0 * msRun / primeraPorComprobante,
                            tamanos.front());
        }
    }
    std::printf("\nload average after: %s\n", qPrintable(bench::loadAverage()));
    std::printf("ratio = run time / sqlite3 time (medians). goals in RAM: ratio <= 1.20x; time per voucher within 20%% "
                "across sizes\n");
    std::printf("sqlite3 uses the engine's default journal, created and deleted at each commit; the run and \"kept\" "
                "keep it between transactions\n");
    return 0;
}
