// Stock posting of one voucher through the collect path, its statements then
// run in one transaction through the data layer, against the same INSERT
// texts run straight through the sqlite3 API in one transaction.
//
//     bench_posteo [--runs K] [--dir FOLDER]... [--only layer|each|sqlite3] [LINES...]
//
// Lines default to 20 200, K to 7. Every line issues three lots, so it posts
// three movements. Each measurement starts from a fresh copy of one
// database; the layer's and the API's runs take turns. The program prints
// the medians of the posting (building the text), of running it, of both,
// and of the API, the ratio of both to the API and the time per line, and
// how the time per line at each size compares with the first size; and, for
// comparison, posting and running the statements one call each. Without
// --dir it runs in the temporary folder and in /dev/shm. --only runs one
// variant (the others print as 0): for a profiler.
#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "bench/bench_support.h"
#include "database/db_dll.h"
#include "database/globals.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/runtime/app.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/scripted_responder.h"
#include "tools/demodata.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

namespace {

using namespace GrillaArticulos;

QString Articulo(int n)
{
    return QStringLiteral("ART%1").arg(n, 4, 10, QLatin1Char('0'));
}

bool Ejecuta(sqlite3 *db, const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "bench_posteo: %s in %s\n", error ? error : "?", qPrintable(sql.left(200)));
        sqlite3_free(error);
        return false;
    }
    return true;
}

// The schema, the voucher type and the articles of the voucher.
bool CreaMaestra(const QString &ruta, int lineas)
{
    try {
        demodata::CreateSchema(ruta, true);
    } catch (const demodata::DemoError &e) {
        std::fprintf(stderr, "bench_posteo: %s\n", e.what());
        return false;
    }
    sqlite3 *db = nullptr;
    sqlite3_open(ruta.toUtf8().constData(), &db);
    ado::registerSqlServerFunctions(db);
    bool bien
        = Ejecuta(db, QStringLiteral("BEGIN"))
          && Ejecuta(db, QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, ES, Sistema) VALUES ('  RM', 'S', 'VENTAS')"))
          && Ejecuta(db,
                     QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('DepositoDefault', '   1')"));
    for (int n = 1; bien && n <= lineas; ++n)
        bien = Ejecuta(db,
                       QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD) VALUES ('%1', "
                                      "'ARTICULO %2', '  UN')")
                           .arg(Articulo(n).rightJustified(25), QString::number(n)));
    bien = bien && Ejecuta(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
    return bien;
}

void LlenaGrilla(ui::FlexGrid &grilla, int lineas)
{
    grilla.setCols(Columnas);
    grilla.setRows(lineas + 1);
    grilla.Clear();
    const QChar separador(0xFF);
    const QString lotes = QStringLiteral("|L1%1|L2%1|L3%1|").arg(separador);
    for (int f = 1; f <= lineas; ++f) {
        grilla.setTextMatrix(f, ColArticulo, Articulo(f));
        grilla.setTextMatrix(f, ColDescripcion, QStringLiteral("ARTICULO %1").arg(f));
        grilla.setTextMatrix(f, ColUnidad, QStringLiteral("UN"));
        grilla.setTextMatrix(f, ColCantidad, QStringLiteral("6"));
        grilla.setTextMatrix(f, ColNroLote, lotes);
        grilla.setTextMatrix(f, ColNroSerie, QStringLiteral("|1|2|3|"));
        grilla.setTextMatrix(f, ColImporte, QStringLiteral("12.5"));
        for (int flag : {AuxPideSerie, AuxPideTalle, Auxesperecedero, Aux_InsumosPorPorcentaje, ColAux76})
            grilla.setTextMatrix(f, flag, QStringLiteral("0"));
    }
}

struct Medida
{
    double posteo = 0;  // building the collected text
    double corrida = 0; // running it in one transaction
    QString texto;
};

// With unaAUna the collected statements run one call each, as a caller
// could split them; otherwise the whole text in one call.
Medida PorLaCapa(const QString &ruta, int lineas, bool unaAUna)
{
    DB_Dll &db = gDB();
    db.gCnn().Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(ruta));
    db.gOpenFlag = true;
    db.gEsAdmin = true;
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder alcance(respuestas);
    ClsCmnCptes clase;
    ui::FlexGrid grilla;
    LlenaGrilla(grilla, lineas);
    QString deposito = QStringLiteral("1"), destino, motivo = QStringLiteral("1"), origen, comprobante;
    bool hayError = false;
    Medida m;
    QElapsedTimer reloj;
    reloj.start();
    clase.ActualizaStock(grilla,
                         QStringLiteral("RM"),
                         QStringLiteral("000100000001A"),
                         QStringLiteral("0"),
                         QStringLiteral("2024-03-15"),
                         deposito,
                         destino,
                         motivo,
                         origen,
                         comprobante,
                         false,
                         QStringLiteral("NULL"),
                         true,
                         m.texto,
                         hayError,
                         QStringLiteral("NULL"),
                         QString(),
                         QString(),
                         QString(),
                         0,
                         false,
                         QStringLiteral("1"));
    m.posteo = bench::seconds(reloj);
    reloj.restart();
    db.gCnn().BeginTrans();
    bool bien = true;
    if (unaAUna) {
        for (const QString &sentencia : m.texto.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
            db.EjecutaConsultaSQL(sentencia);
            bien = bien && db.gCnn().errors().Count() == 0;
        }
    } else {
        db.EjecutaConsultaSQL(m.texto);
        bien = db.gCnn().errors().Count() == 0;
    }
    if (bien)
        db.gCnn().CommitTrans();
    else
        db.gCnn().RollbackTrans();
    m.corrida = bench::seconds(reloj);
    if (!bien || hayError || !respuestas.requests().empty())
        std::printf("warning: the posting did not run cleanly\n");
    db.gCnn().Close();
    db.gOpenFlag = false;
    return m;
}

// The collected INSERT texts, each prepared and run, in one transaction.
// Not inlined, so that a profiler can count it apart.
[[gnu::noinline]] double PorLaApi(const QString &ruta, const QStringList &inserts)
{
    sqlite3 *db = nullptr;
    sqlite3_open(ruta.toUtf8().constData(), &db);
    ado::registerSqlServerFunctions(db);
    QElapsedTimer reloj;
    reloj.start();
    bool bien = Ejecuta(db, QStringLiteral("BEGIN"));
    for (const QString &insert : inserts) {
        const QByteArray sql = insert.toUtf8();
        sqlite3_stmt *st = nullptr;
        bien = bien && sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) == SQLITE_OK
               && sqlite3_step(st) == SQLITE_DONE;
        sqlite3_finalize(st);
    }
    bien = bien && Ejecuta(db, QStringLiteral("COMMIT"));
    const double s = bench::seconds(reloj);
    if (!bien)
        std::printf("warning: sqlite3 failed: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir logs;
    SetAppPath(logs.path());

    const bench::Options o
        = bench::readOptions(app.arguments().mid(1),
                             7,
                             {20, 200},
                             "bench_posteo [--runs K] [--dir FOLDER]... [--only layer|each|sqlite3] [LINES...]",
                             {QStringLiteral("layer"), QStringLiteral("each"), QStringLiteral("sqlite3")});
    const int corridas = o.runs;
    const std::vector<int> &tamanos = o.sizes;
    const QStringList &carpetas = o.dirs;

    std::printf("bench_posteo: %d runs of each, taking turns, on fresh copies; three lots a line (medians, ms)\n",
                corridas);
    std::printf("load average before: %s\n", qPrintable(bench::loadAverage()));
    for (const bench::Folder &carpeta : bench::folders(carpetas)) {
        QTemporaryDir dir(QDir(carpeta.path).filePath(QStringLiteral("bench_posteo-XXXXXX")));
        if (!dir.isValid()) {
            std::fprintf(stderr, "bench_posteo: cannot write in %s\n", qPrintable(carpeta.path));
            return 1;
        }
        std::printf("\n%s\n", qPrintable(carpeta.label()));
        std::printf("%6s %6s %10s %10s %10s %7s %10s %7s %7s %11s %10s %8s\n",
                    "lines",
                    "rows",
                    "posting",
                    "running",
                    "layer",
                    "spread",
                    "sqlite3",
                    "spread",
                    "ratio",
                    "layer ms/l",
                    "each",
                    "ratio");
        double primeraPorLinea = 0;
        for (int n : tamanos) {
            const QString maestra = QDir(dir.path()).filePath(QStringLiteral("maestra-%1.db").arg(n));
            if (!CreaMaestra(maestra, n))
                return 1;
            const QString copia = QDir(dir.path()).filePath(QStringLiteral("copia.db"));
            std::vector<double> posteo, corrida, capa, cadaUna, api;
            qsizetype filas = 0;
            QStringList inserts;
            for (int r = 0; r < corridas; ++r) {
                if (o.runsVariant("layer") || inserts.isEmpty()) {
                    const Medida m = PorLaCapa(bench::freshCopy(maestra, copia), n, false);
                    if (o.runsVariant("layer")) {
                        posteo.push_back(m.posteo);
                        corrida.push_back(m.corrida);
                        capa.push_back(m.posteo + m.corrida);
                    }
                    inserts = m.texto.split(QLatin1Char('\r'), Qt::SkipEmptyParts).filter(QStringLiteral("INSERT INTO"));
                    filas = inserts.size();
                }
                if (o.runsVariant("each")) {
                    const Medida u = PorLaCapa(bench::freshCopy(maestra, copia), n, true);
                    cadaUna.push_back(u.posteo + u.corrida);
                }
                if (o.runsVariant("sqlite3"))
                    api.push_back(PorLaApi(bench::freshCopy(maestra, copia), inserts));
            }
            bench::removeDatabase(copia);
            bench::removeDatabase(maestra);
            const bench::Summary p = bench::summarize(posteo), c = bench::summarize(corrida),
                                 t = bench::summarize(capa), u = bench::summarize(cadaUna), a = bench::summarize(api);
            const double porLinea = 1000.0 * t.median / n;
            std::printf("%6d %6lld %10.3f %10.3f %10.3f %6.1f%% %10.3f %6.1f%% %6.2fx %11.4f %10.3f %7.2fx\n",
                        n,
                        (long long) filas,
                        1000 * p.median,
                        1000 * c.median,
                        1000 * t.median,
                        100 * t.spread(),
                        1000 * a.median,
                        100 * a.spread(),
                        bench::ratio(t, a),
                        porLinea,
                        1000 * u.median,
                        bench::ratio(u, a));
            if (primeraPorLinea == 0)
                primeraPorLinea = porLinea;
            else
                std::printf("       the layer's time per line at %d is %.0f%% of that at %d\n",
                            n,
                            100.0 * porLinea / primeraPorLinea,
                            tamanos.front());
        }
    }
    std::printf("\nload average after: %s\n", qPrintable(bench::loadAverage()));
    std::printf("layer = posting + running the text in one call; each = posting + one call per statement; ratio = "
                "that / sqlite3.\ngoals: ratio <= 1.5x; time per line at 200 within 20%% of that at 20\n");
    return 0;
}
