// Deletes N demo vouchers (5 article lines, 2 task lines, an observation
// and 5 stock movements each), one transaction per voucher as the deletion
// run does, through the data layer and straight through sqlite3 on identical
// copies of one database, and prints the times and their ratio.
//
//     bench_ado [N]        (default 2000)
#include "platform/ado/ado.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/runtime/vberror.h"
#include "tools/demodata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <vector>

namespace {

struct Voucher {
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
double throughLayer(const QString &path, const std::vector<Voucher> &vouchers)
{
    ado::Connection cn;
    cn.setCursorLocation(ado::adUseClient);
    cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(path));
    QElapsedTimer t;
    t.start();
    ado::Recordset rs;
    rs.Open("SELECT * FROM V_MV_CPTE WHERE FECHA <= '31/12/2099'", cn, 0, 1);
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
    (void)vouchers;
    return double(t.nsecsElapsed()) / 1e6;
}

// The same statements as SQLite text, run with sqlite3_exec.
double directText(const QString &path, const std::vector<Voucher> &)
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
    const double ms = double(t.nsecsElapsed()) / 1e6;
    sqlite3_close(db);
    return ms;
}

// Prepared once, bound per voucher: the fastest the engine allows.
double directPrepared(const QString &path, const std::vector<Voucher> &)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    ado::registerSqlServerFunctions(db);
    QElapsedTimer t;
    t.start();
    std::vector<sqlite3_stmt *> st;
    for (const char *table : kTables) {
        sqlite3_stmt *s = nullptr;
        const QByteArray q = QStringLiteral("DELETE FROM %1 WHERE TC = ? AND IDCOMPROBANTE = ? AND IdComplemento = ?")
                                 .arg(QLatin1String(table)).toUtf8();
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
    const double ms = double(t.nsecsElapsed()) / 1e6;
    for (sqlite3_stmt *s : st)
        sqlite3_finalize(s);
    sqlite3_close(db);
    return ms;
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    QTemporaryDir dir;
    const QString master = dir.filePath("master.db");
    demodata::Options options;
    options.vouchers = n;
    demodata::CreateDemoDatabase(master, options);
    const QString a = dir.filePath("layer.db"), b = dir.filePath("text.db"), c = dir.filePath("prepared.db");
    for (const QString &copy : {a, b, c})
        QFile::copy(master, copy);

    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(master).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const std::vector<Voucher> vouchers = vouchersIn(db);
    sqlite3_close(db);

    try {
        const double layer = throughLayer(a, vouchers);
        const double text = directText(b, vouchers);
        const double prepared = directPrepared(c, vouchers);
        std::printf("%d vouchers, one transaction each (rows left: layer %lld, text %lld, prepared %lld)\n", n,
                    remaining(a), remaining(b), remaining(c));
        std::printf("data layer              %10.1f ms\n", layer);
        std::printf("sqlite3_exec, same SQL  %10.1f ms   layer/direct %.3fx\n", text, layer / text);
        std::printf("sqlite3 prepared+bound  %10.1f ms   layer/direct %.3fx\n", prepared, layer / prepared);
    } catch (const VbException &e) {
        std::fprintf(stderr, "bench_ado: %s\n", e.what());
        return 1;
    }
    return 0;
}
