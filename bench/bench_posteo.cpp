// Stock posting of one voucher through the collect path, with its accounting
// entry, its statements then run in one transaction through the data layer,
// against every statement the posting and the run sent (the reads of the
// building too), recorded by the statement spy and replayed straight through
// the sqlite3 API, each shape prepared once and its literals bound, with the
// journal kept between transactions as the layer keeps it.
//
//     bench_posteo [--runs K] [--dir FOLDER]... [--only layer|each|sqlite3] [--lots N] [--postings P] [LINES...]
//
// Lines default to 20 200 2000, K to 7. Every line issues three lots, so it
// posts three movements, and every article has a stock account of its own.
// Then one entry line of N/10 and of N lots (N 10000 by default), lots of two
// characters so that the longest list stays within its 32,767 characters.
// Each measurement starts from a fresh copy of one database; the layer's and
// the API's runs take turns. The program prints the medians of the posting
// (building the text), of running it, of both, and of the API, the ratio of
// both to the API and the time per line (per lot), and how the time per line
// at each size compares with the first size; and, for comparison, posting
// and running the statements one call each. Without --dir it runs in the
// temporary folder and in /dev/shm. --only runs one variant (the others print
// as 0): for a profiler. With --postings P above 1 it only posts each size P
// times on one connection, each run taken back, and prints the peak memory as
// the postings add up.
#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "bench/medicion.h"
#include "bench/reproduccion.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "database/transaccion.h"
#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/ado/sqlite_provider.h"
#include "platform/runtime/app.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/espia_sqlite.h"
#include "tools/datos_demo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

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

// What one benchmark posts: `lineas` lines of three lots each issued by a
// remittance, or one line of `lotes` lots entered by an IR.
struct Voucher
{
    int lineas = 1;
    int lotes = 0;
    bool porLotes() const { return lotes > 0; }
    QString tc() const { return porLotes() ? QStringLiteral("IR") : QStringLiteral("RM"); }
    int tamano() const { return porLotes() ? lotes : lineas; }
};

// The schema, the voucher types, the journal's settings and the articles of
// the voucher, each with a stock account of its own.
bool CreaMaestra(const QString &ruta, int articulos)
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
          && Ejecuta(db,
                     QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, ES, Sistema) VALUES ('  RM', 'S', 'VENTAS'), "
                                    "('  IR', 'E', 'STOCK')"))
          && Ejecuta(db,
                     QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('DepositoDefault', '   1'), "
                                    "('AsientosXStock', 'SI'), ('MotivoStockRemito', '1')"))
          && Ejecuta(db,
                     QStringLiteral("INSERT INTO V_TA_MOTIVOSTOCK (IDMOTIVOSTOCK, CUENTACONTABLE, Descripcion) VALUES "
                                    "('   1', '5.1.01', 'AJUSTE')"))
          && Ejecuta(db, QStringLiteral("INSERT INTO MA_SUBDIARIOS (CODIGO, DESCRIPCION) VALUES ('   2', 'STOCK')"))
          && Ejecuta(db,
                     QStringLiteral("INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES ('  RM', '   2'), "
                                    "('  IR', '   2')"));
    for (int n = 1; bien && n <= articulos; ++n)
        bien = Ejecuta(db,
                       QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, costo, "
                                      "cuentacontableC) VALUES ('%1', 'ARTICULO %2', '  UN', 10, '1.3.%2')")
                           .arg(Articulo(n).rightJustified(25), QString::number(n)));
    bien = bien && Ejecuta(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
    return bien;
}

// Lot k of a long list: two characters of 36.
QString LoteCorto(int k)
{
    static const char digitos[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return QString(QLatin1Char(digitos[(k / 36) % 36])) + QLatin1Char(digitos[k % 36]);
}

void LlenaGrilla(ui::FlexGrid &grilla, const Voucher &v)
{
    grilla.setCols(Columnas);
    grilla.setRows(v.lineas + 1);
    grilla.Clear();
    const QChar separador(0xFF);
    QString lotes = QStringLiteral("|L1%1|L2%1|L3%1|").arg(separador);
    QString cantidades = QStringLiteral("|1|2|3|");
    QString cantidad = QStringLiteral("6");
    if (v.porLotes()) {
        lotes.clear();
        lotes.reserve(3 * v.lotes + 1);
        for (int k = 0; k < v.lotes; ++k)
            lotes += QLatin1Char('|') + LoteCorto(k);
        lotes += QLatin1Char('|');
        cantidades.clear();
        cantidad = QString::number(v.lotes);
    }
    for (int f = 1; f <= v.lineas; ++f) {
        grilla.setTextMatrix(f, ColArticulo, Articulo(f));
        grilla.setTextMatrix(f, ColDescripcion, QStringLiteral("ARTICULO %1").arg(f));
        grilla.setTextMatrix(f, ColUnidad, QStringLiteral("UN"));
        grilla.setTextMatrix(f, ColCantidad, cantidad);
        grilla.setTextMatrix(f, ColNroLote, lotes);
        grilla.setTextMatrix(f, ColNroSerie, cantidades);
        grilla.setTextMatrix(f, ColImporte, QStringLiteral("12.5"));
        grilla.setTextMatrix(f, ColAux38, QStringLiteral("10"));
        for (int flag : {AuxPideSerie, AuxPideTalle, Auxesperecedero, Aux_InsumosPorPorcentaje, ColAux76})
            grilla.setTextMatrix(f, flag, QStringLiteral("0"));
    }
}

struct Medida
{
    double posteo = 0;  // building the collected text
    double corrida = 0; // running it in one transaction
    QString texto;
    QStringList lecturas; // recorded: what the building sent
    QStringList escritas; // recorded: what running the text sent
};

// Opens the layer's connection to `ruta`; with `enviadas` the statement spy
// records there what is sent.
void Abre(const QString &ruta, QStringList *enviadas = nullptr)
{
    DB_Dll &db = gDB();
    db.gCnn().Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(ruta));
    if (enviadas) {
        db.gCnn().Close();
        ado::Errors errores;
        db.gCnn().attachProvider(std::make_unique<SpyProvider>(ado::SqliteProvider::open(ruta, errores), *enviadas));
    }
    db.gOpenFlag = true;
    db.gEsAdmin = true;
}

void Cierra()
{
    gDB().gCnn().Close();
    gDB().gOpenFlag = false;
}

// Posts the voucher on the open connection: builds the text, then runs it in
// one transaction, committed or, with `deshace`, taken back. With unaAUna the
// collected statements run one call each, as a caller could split them;
// otherwise the whole text in one call. `enviadas`, when the spy records,
// is split between the reads of the building and the writes of the run.
Medida Postea(const Voucher &v, bool unaAUna, bool deshace = false, QStringList *enviadas = nullptr)
{
    DB_Dll &db = gDB();
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder alcance(respuestas);
    ClsCmnCptes clase;
    ui::FlexGrid grilla;
    LlenaGrilla(grilla, v);
    QString deposito = QStringLiteral("1"), destino, motivo = QStringLiteral("1"), origen, comprobante;
    bool hayError = false;
    Medida m;
    QElapsedTimer reloj;
    reloj.start();
    clase.ActualizaStock(grilla,
                         v.tc(),
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
    if (enviadas) {
        m.lecturas = *enviadas;
        enviadas->clear();
    }
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
    if (bien && !deshace)
        db.gCnn().CommitTrans();
    else
        db.gCnn().RollbackTrans();
    m.corrida = bench::seconds(reloj);
    if (enviadas)
        m.escritas = *enviadas;
    if (!bien || hayError || !respuestas.requests().empty())
        std::printf("warning: the posting did not run cleanly%s%s\n",
                    respuestas.requests().empty() ? "" : ": ",
                    respuestas.requests().empty() ? "" : qPrintable(respuestas.requests().front().prompt.left(300)));
    return m;
}

// One posting on a connection of its own; with graba the statement spy
// records what is sent.
Medida PorLaCapa(const QString &ruta, const Voucher &v, bool unaAUna, bool graba = false)
{
    QStringList enviadas;
    Abre(ruta, graba ? &enviadas : nullptr);
    const Medida m = Postea(v, unaAUna, false, graba ? &enviadas : nullptr);
    Cierra();
    return m;
}

// The recorded statements in the engine's SQL: the reads, and the writes
// that run in one transaction.
struct Grabadas
{
    bench::Replay lecturas, escritas;
};

std::vector<QByteArray> Traduce(const QStringList &enviadas)
{
    std::vector<QByteArray> out;
    for (const QString &batch : enviadas) {
        for (const ado::DialectStatement &s : ado::SqliteDialect::translateBatch(batch)) {
            if (s.kind != ado::DialectStatement::Kind::Sql) {
                std::fprintf(stderr, "bench_posteo: unexpected statement kind in %s\n", qPrintable(batch.left(120)));
                std::exit(1);
            }
            out.push_back(s.sql.toUtf8());
        }
    }
    return out;
}

// The recorded reads, then the writes in one transaction, on a connection of
// their own that prepares each shape once. Not inlined, so that a profiler
// can count it apart.
[[gnu::noinline]] double PorLaApi(const QString &ruta, Grabadas &g)
{
    sqlite3 *db = nullptr;
    sqlite3_open(ruta.toUtf8().constData(), &db);
    ado::registerSqlServerFunctions(db);
    sqlite3_exec(db, "PRAGMA journal_mode = PERSIST; PRAGMA journal_size_limit = 1048576", nullptr, nullptr, nullptr);
    QElapsedTimer reloj;
    reloj.start();
    bool bien = g.lecturas.run(db) >= 0 && Ejecuta(db, QStringLiteral("BEGIN")) && g.escritas.run(db) >= 0
                && Ejecuta(db, QStringLiteral("COMMIT"));
    const double s = bench::seconds(reloj);
    if (!bien)
        std::printf("warning: sqlite3 failed: %s\n", sqlite3_errmsg(db));
    g.lecturas.release();
    g.escritas.release();
    sqlite3_close(db);
    return s;
}

// One table of sizes: voucher lengths, or lots of one line.
bool Mide(const bench::Options &o, const QString &carpeta, const std::vector<Voucher> &vouchers)
{
    const bool porLotes = vouchers.front().porLotes();
    std::printf("%6s %6s %10s %10s %10s %7s %10s %7s %7s %11s %10s %8s %9s\n",
                porLotes ? "lots" : "lines",
                "rows",
                "posting",
                "running",
                "layer",
                "spread",
                "sqlite3",
                "spread",
                "ratio",
                porLotes ? "layer ms/lot" : "layer ms/l",
                "each",
                "ratio",
                "peak KiB");
    double primeraPorLinea = 0, anteriorPorLinea = 0;
    int anterior = 0;
    for (const Voucher &v : vouchers) {
        const int n = v.tamano();
        const QString maestra = QDir(carpeta).filePath(QStringLiteral("maestra-%1.db").arg(n));
        if (!CreaMaestra(maestra, v.lineas))
            return false;
        const QString copia = QDir(carpeta).filePath(QStringLiteral("copia.db"));
        // The statements the baseline replays, recorded once.
        const Medida grabada = PorLaCapa(bench::freshCopy(maestra, copia), v, false, true);
        Grabadas g{bench::Replay(Traduce(grabada.lecturas)), bench::Replay(Traduce(grabada.escritas))};
        const qsizetype filas = grabada.texto.count(QStringLiteral("INSERT INTO"));
        std::printf("       %zu statements of %zu shapes recorded\n",
                    g.lecturas.statements() + g.escritas.statements(),
                    g.lecturas.shapes() + g.escritas.shapes());
        std::vector<double> posteo, corrida, capa, cadaUna, api;
        long pico = 0;
        for (int r = 0; r < o.runs; ++r) {
            if (o.runsVariant("layer")) {
                const QString ruta = bench::freshCopy(maestra, copia);
                bench::resetPeakMemory();
                const Medida m = PorLaCapa(ruta, v, false);
                pico = std::max(pico, bench::peakMemory());
                posteo.push_back(m.posteo);
                corrida.push_back(m.corrida);
                capa.push_back(m.posteo + m.corrida);
            }
            if (o.runsVariant("each")) {
                const Medida u = PorLaCapa(bench::freshCopy(maestra, copia), v, true);
                cadaUna.push_back(u.posteo + u.corrida);
            }
            if (o.runsVariant("sqlite3"))
                api.push_back(PorLaApi(bench::freshCopy(maestra, copia), g));
        }
        bench::removeDatabase(copia);
        bench::removeDatabase(maestra);
        const bench::Summary p = bench::summarize(posteo), c = bench::summarize(corrida), t = bench::summarize(capa),
                             u = bench::summarize(cadaUna), a = bench::summarize(api);
        const double porLinea = 1000.0 * t.median / n;
        std::printf("%6d %6lld %10.3f %10.3f %10.3f %6.1f%% %10.3f %6.1f%% %6.2fx %11.4f %10.3f %7.2fx %9ld\n",
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
                    bench::ratio(u, a),
                    pico);
        if (primeraPorLinea == 0)
            primeraPorLinea = porLinea;
        else
            std::printf("       the layer's time per %s at %d is %.0f%% of that at %d, %.0f%% of that at %d\n",
                        porLotes ? "lot" : "line",
                        n,
                        100.0 * porLinea / primeraPorLinea,
                        vouchers.front().tamano(),
                        100.0 * porLinea / anteriorPorLinea,
                        anterior);
        anteriorPorLinea = porLinea;
        anterior = n;
    }
    return true;
}

// The same voucher posted `veces` times on one connection, each run taken
// back so that every posting finds the same database: the peak memory after
// the first posting and as they add up. What a connection keeps must not
// grow with the postings it has run.
bool MideMemoria(const QString &carpeta, const Voucher &v, int veces)
{
    const QString maestra = QDir(carpeta).filePath(QStringLiteral("maestra-%1.db").arg(v.tamano()));
    if (!CreaMaestra(maestra, v.lineas))
        return false;
    const QString ruta = bench::freshCopy(maestra, QDir(carpeta).filePath(QStringLiteral("copia.db")));
    Abre(ruta);
    bench::resetPeakMemory();
    long primero = 0;
    QElapsedTimer reloj;
    reloj.start();
    for (int k = 1; k <= veces; ++k) {
        Postea(v, false, true);
        if (k == 1)
            primero = bench::peakMemory();
        if (k == 1 || k == veces || k == 10 || k == 100 || k % 1000 == 0)
            std::printf("%6d %10d %12ld %+8.1f%% %10.1f\n",
                        v.tamano(),
                        k,
                        bench::peakMemory(),
                        primero > 0 ? 100.0 * double(bench::peakMemory() - primero) / double(primero) : 0.0,
                        bench::seconds(reloj));
    }
    Cierra();
    bench::removeDatabase(ruta);
    bench::removeDatabase(maestra);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir logs;
    SetAppPath(logs.path());

    int lotes = 10000, posteos = 1;
    const bench::Options o = bench::readOptions(
        app.arguments().mid(1),
        7,
        {20, 200, 2000},
        "bench_posteo [--runs K] [--dir FOLDER]... [--only layer|each|sqlite3] [--lots N] [--postings P] [LINES...]",
        {QStringLiteral("layer"), QStringLiteral("each"), QStringLiteral("sqlite3")},
        {{QStringLiteral("--lots"), &lotes}, {QStringLiteral("--postings"), &posteos}});
    if (posteos > 1) {
        std::printf("bench_posteo: %d postings of each size on one connection, each taken back\n", posteos);
        for (const bench::Folder &carpeta : bench::folders(o.dirs)) {
            QTemporaryDir dir(QDir(carpeta.path).filePath(QStringLiteral("bench_posteo-XXXXXX")));
            std::printf("\n%s\n%6s %10s %12s %9s %10s\n",
                        qPrintable(carpeta.label()),
                        "lines",
                        "postings",
                        "peak KiB",
                        "vs first",
                        "seconds");
            for (int n : o.sizes)
                if (!dir.isValid() || !MideMemoria(dir.path(), {n, 0}, posteos))
                    return 1;
        }
        std::printf("goal: the peak memory flat in the number of postings\n");
        return 0;
    }
    std::vector<Voucher> porLineas;
    for (int n : o.sizes)
        porLineas.push_back({n, 0});
    const std::vector<Voucher> porLotes{{1, std::max(1, lotes / 10)}, {1, lotes}};

    std::printf("bench_posteo: %d runs of each, taking turns, on fresh copies; journal on, every article its own "
                "stock account (medians, ms)\n",
                o.runs);
    std::printf("load average before: %s\n", qPrintable(bench::loadAverage()));
    for (const bench::Folder &carpeta : bench::folders(o.dirs)) {
        QTemporaryDir dir(QDir(carpeta.path).filePath(QStringLiteral("bench_posteo-XXXXXX")));
        if (!dir.isValid()) {
            std::fprintf(stderr, "bench_posteo: cannot write in %s\n", qPrintable(carpeta.path));
            return 1;
        }
        std::printf("\n%s: remittances, three lots a line\n", qPrintable(carpeta.label()));
        if (!Mide(o, dir.path(), porLineas))
            return 1;
        std::printf("\n%s: one entry line of many lots\n", qPrintable(carpeta.label()));
        if (!Mide(o, dir.path(), porLotes))
            return 1;
    }
    std::printf("\nload average after: %s\n", qPrintable(bench::loadAverage()));
    std::printf(
        "layer = posting + running the text in one call; each = posting + one call per statement; sqlite3 = "
        "the statements both sent, replayed with each shape prepared once and bound, journal kept; ratio = that / "
        "sqlite3.\ngoals: ratio <= 1.5x; time per line at 2,000 within 20%% of that at 200; time per lot within "
        "20%% across sizes\n");
    return 0;
}
