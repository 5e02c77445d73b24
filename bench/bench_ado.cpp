// Deletes N demo vouchers (5 article lines, 2 task lines, an observation
// and 5 stock movements each), one transaction per voucher as the deletion
// run does, through the data layer and straight through sqlite3, and prints
// the median time of each, the spread and the ratio of the medians.
//
//     bench_ado [--vouchers N] [--runs K] [--dir FOLDER]... [--only layer|text|prepared|kept]
//
// N defaults to 2000 (a bare number is N too), K to 5. Each variant runs K
// times, interleaved (layer, text, prepared, layer, ...), each time on a fresh
// copy of one database. Without --dir it runs in the temporary folder and in
// /dev/shm. --only runs one variant and prints its times: for a profiler.
// The layer keeps the engine's rollback journal between transactions; the
// last variant does the same, so that its ratio is the layer's own cost.
#include "bench/medicion.h"
#include "platform/ado/ado.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/runtime/vberror.h"
#include "tools/datos_demo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <vector>

namespace {

struct Voucher
{
    QString tc, id, complement;
};

const char *const kTables[] = {"V_MV_CPTEINSUMOS", "V_MV_CPTETAREAS", "V_MV_CPTE_OBSERV", "V_MV_CPTE", "V_MV_STOCK"};

std::vector<Voucher> vouchersIn(sqlite3 *db)
{
    std::vector<Voucher> out;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT TC, IDCOMPROBANTE, IdComplemento FROM V_MV_CPTE", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        out.push_back({QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                       QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1))),
                       QString::number(sqlite3_column_int(st, 2))});
    sqlite3_finalize(st);
    return out;
}

// The deletion run's own batch, in SQL Server's syntax.
double throughLayer(const QString &path)
{
    ado::Connection cn;
    cn.setCursorLocation(ado::adUseClient);
    cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(path));
    QElapsedTimer t;
    t.start();
    ado::Recordset rs;
    // The same keys the direct variants read, and no more.
    rs.Open("SELECT TC, IDCOMPROBANTE, IdComplemento FROM V_MV_CPTE", cn, 0, 1);
    while (!rs.Eof()) {
        const QString tc = rs.Fields("TC").Value().toString();
        const QString id = rs.Fields("IdComprobante").Value().toString();
        const QString comp = rs.Fields("IdComplemento").Value().toString();
        QString batch = QStringLiteral("BEGIN TRANSACTION\r\n");
        for (const char *table : kTables)
            batch += QStringLiteral("DELETE %1 WHERE TC = '%2' AND IDCOMPROBANTE = '%3' AND IdComplemento =  %4\r")
                         .arg(QLatin1String(table), tc, id, comp);
        std::int32_t affected = 0;
        cn.Execute(batch, &affected);
        cn.Execute(QStringLiteral("COMMIT TRANSACTION"), &affected);
        rs.MoveNext();
    }
    return bench::milliseconds(t);
}

// The same statements as SQLite text, run with sqlite3_exec.
double directText(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    ado::registerSqlServerFunctions(db);
    QElapsedTimer t;
    t.start();
    const std::vector<Voucher> list = vouchersIn(db);
    for (const Voucher &v : list) {
        QString batch = QStringLiteral("BEGIN;");
        for (const char *table : kTables)
            batch += QStringLiteral("DELETE FROM %1 WHERE TC = '%2' AND IDCOMPROBANTE = '%3' AND IdComplemento = %4;")
                         .arg(QLatin1String(table), v.tc, v.id, v.complement);
        sqlite3_exec(db, batch.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    const double ms = bench::milliseconds(t);
    sqlite3_close(db);
    return ms;
}

// Prepared once, bound per voucher: the fastest the engine allows. With
// `keptJournal`, the journal stays between transactions, as the layer keeps it.
double prepared(const QString &path, bool keptJournal)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    ado::registerSqlServerFunctions(db);
    if (keptJournal)
        sqlite3_exec(db, "PRAGMA journal_mode = PERSIST", nullptr, nullptr, nullptr);
    QElapsedTimer t;
    t.start();
    std::vector<sqlite3_stmt *> st;
    for (const char *table : kTables) {
        sqlite3_stmt *s = nullptr;
        const QByteArray q = QStringLiteral("DELETE FROM %1 WHERE TC = ? AND IDCOMPROBANTE = ? AND IdComplemento = ?")
                                 .arg(QLatin1String(table))
                                 .toUtf8();
        sqlite3_prepare_v2(db, q.constData(), -1, &s, nullptr);
        st.push_back(s);
    }
    const std::vector<Voucher> list = vouchersIn(db);
    for (const Voucher &v : list) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        const QByteArray tc = v.tc.toUtf8(), id = v.id.toUtf8();
        for (sqlite3_stmt *s : st) {
            sqlite3_bind_text(s, 1, tc.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(s, 2, id.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_int(s, 3, v.complement.toInt());
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    const double ms = bench::milliseconds(t);
    for (sqlite3_stmt *s : st)
        sqlite3_finalize(s);
    sqlite3_close(db);
    return ms;
}

double directPrepared(const QString &path)
{
    return prepared(path, false);
}
double directPreparedKeptJournal(const QString &path)
{
    return prepared(path, true);
}

long long remaining(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    ado::registerSqlServerFunctions(db);
    long long n = 0;
    for (const char *table : kTables) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, (QStringLiteral("SELECT COUNT(*) FROM ") + table).toUtf8().constData(), -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            n += sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return n;
}

struct Method
{
    const char *key;
    const char *label;
    double (*run)(const QString &path);
};

const Method kVariants[] = {
    {"layer", "data layer", throughLayer},
    {"text", "sqlite3_exec, same SQL", directText},
    {"prepared", "sqlite3 prepared+bound", directPrepared},
    {"kept", "same, journal kept", directPreparedKeptJournal},
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is known
    int n = 2000;
    const bench::Options o
        = bench::readOptions(app.arguments().mid(1),
                             5,
                             {},
                             "bench_ado [--vouchers N] [--runs K] [--dir FOLDER]... [--only layer|text|prepared|kept]",
                             {QStringLiteral("layer"),
                              QStringLiteral("text"),
                              QStringLiteral("prepared"),
                              QStringLiteral("kept")},
                             {{QStringLiteral("--vouchers"), &n}});
    if (!o.sizes.empty())
        n = o.sizes.back();
    const int runs = o.runs;
    const QStringList &dirs = o.dirs;
    std::vector<const Method *> variants;
    for (const Method &v : kVariants)
        if (o.runsVariant(v.key))
            variants.push_back(&v);

    std::printf("bench_ado: %d vouchers, one transaction each; %d runs of each variant, interleaved, on fresh copies\n",
                n,
                runs);
    std::printf("load average before: %s\n", qPrintable(bench::loadAverage()));
    try {
        for (const bench::Folder &folder : bench::folders(dirs)) {
            QTemporaryDir dir(QDir(folder.path).filePath(QStringLiteral("bench_ado-XXXXXX")));
            if (!dir.isValid()) {
                std::fprintf(stderr, "bench_ado: cannot write in %s\n", qPrintable(folder.path));
                return 1;
            }
            const QString master = dir.filePath("master.db");
            demodata::Options options;
            options.vouchers = n;
            demodata::CreateDemoDatabase(master, options);
            std::vector<std::function<double()>> measures;
            for (const Method *variant : variants)
                measures.push_back([&, variant] {
                    const QString copy = bench::freshCopy(master, dir.filePath(QStringLiteral("run.db")));
                    const double ms = variant->run(copy);
                    if (const long long left = remaining(copy))
                        std::printf("warning: %s left %lld rows\n", variant->label, left);
                    bench::removeDatabase(copy);
                    return ms;
                });
            bench::PeakMemory peak;
            const std::vector<bench::Summary> times = bench::takingTurns(runs, measures, &peak);
            std::printf("\n%s\n", qPrintable(folder.label()));
            std::printf("  %-24s %10s %10s %10s %7s %14s\n",
                        "variant",
                        "median ms",
                        "min ms",
                        "max ms",
                        "spread",
                        "layer/variant");
            const bench::Summary &layer = times[0];
            for (size_t v = 0; v < variants.size(); ++v) {
                const bench::Summary &s = times[v];
                std::printf("  %-24s %10.1f %10.1f %10.1f %6.1f%%",
                            variants[v]->label,
                            s.median,
                            s.min,
                            s.max,
                            100 * s.spread());
                if (v > 0 && variants[0] == &kVariants[0])
                    std::printf(" %13.3fx", bench::ratio(layer, s));
                std::printf("\n");
            }
            peak.print("  ");
        }
    } catch (const VbException &e) {
        std::fprintf(stderr, "bench_ado: %s\n", e.what());
        return 1;
    } catch (const demodata::DemoError &e) {
        std::fprintf(stderr, "bench_ado: %s\n", e.what());
        return 1;
    }
    std::printf("\nload average after: %s\n", qPrintable(bench::loadAverage()));
    std::printf("goals: layer/variant <= 1.20x (sqlite3_exec) and <= 1.30x (prepared) in RAM; <= 1.10x on disk\n");
    std::printf(
        "the direct variants use the engine's default journal, created and deleted at each commit; the layer and "
        "the last variant keep it\n");
    return 0;
}
