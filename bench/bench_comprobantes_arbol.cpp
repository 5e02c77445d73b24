// The voucher lookup over 5,000 and 50,000 vouchers of one type ("FC") and
// the tree lookup over 10,000 codes, each against reading the same rows
// through the data layer alone (the statement opened by AbrirRecordset and
// every field the dialog reads taken as text), and both against the raw
// read: the same statement in the engine's SQL, prepared once and stepped
// through the sqlite3 API, every column read as text.
//
//     bench_comprobantes_arbol [--runs K] [--dir FOLDER] [SIZE...]
//
// Sizes default to 5000 50000, K to 5; the folder to the temporary one.
// Loads, layer reads and raw reads take turns; the program prints the
// medians, their ratios and the time per row. Goals: each load within 2x of
// its layer read, the layer read within 1.5x of the raw read, and the voucher
// load's time per row at the larger size within 20% of the smaller's.
#include "bench/medicion.h"
#include "bench/reproduccion.h"
#include "database/db_dll.h"
#include "lookup/frm_cons_comprobantes.h"
#include "lookup/lib_frm_cons3_arbol.h"
#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/runtime/app.h"
#include "platform/ui/scripted_responder.h"
#include "platform/ui/tree_view.h"
#include "tools/datos_demo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <sqlite3.h>

#include <cstdio>

namespace {

void Ejecuta(sqlite3 *db, const char *sql)
{
    char *msg = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &msg) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, msg ? msg : "");
        std::exit(1);
    }
}

// The schema with `vouchers` invoices and 10,000 family codes in two levels.
void ArmaBase(const QString &ruta, int vouchers)
{
    demodata::CreateSchema(ruta, true);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(ruta).constData(), &db);
    ado::registerSqlServerFunctions(db);
    Ejecuta(db, "BEGIN");
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, CUENTA, NOMBRE, IMPORTE, "
        "ANULADA, APROBADO) VALUES ('  FC', ?, 0, ?, '      1000', 'FERRETERIA EL TORNILLO SRL', ?, ?, ?)",
        -1,
        &st,
        nullptr);
    for (int v = 1; v <= vouchers; ++v) {
        const QByteArray id = QStringLiteral("0001%1A").arg(v, 8, 10, QChar('0')).toLatin1();
        const QByteArray fecha = QDate(2023, 1, 1).addDays(v % 730).toString(Qt::ISODate).toLatin1();
        sqlite3_bind_text(st, 1, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, fecha.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 3, 100.0 + v % 977);
        sqlite3_bind_int(st, 4, v % 13 == 0);
        sqlite3_bind_int(st, 5, v % 3 == 0);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db, "INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES (?, ?)", -1, &st, nullptr);
    for (int p = 0; p < 100; ++p) {
        for (int h = -1; h < 99; ++h) {
            const QByteArray codigo = (QStringLiteral("%1").arg(p, 3, 10, QChar('0'))
                                       + (h < 0 ? QString() : QStringLiteral("%1").arg(h, 2, 10, QChar('0'))))
                                          .toLatin1();
            const QByteArray texto = ("FAMILIA " + codigo);
            sqlite3_bind_text(st, 1, codigo.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, texto.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
    }
    sqlite3_finalize(st);
    Ejecuta(db, "COMMIT");
    sqlite3_close(db);
}

void Abre(const QString &ruta)
{
    DB_Dll &db = gDB();
    if (db.gCnn().State() != ado::adStateClosed)
        db.gCnn().Close();
    db.gCnn().Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(ruta));
    db.gOpenFlag = true;
    db.gEsAdmin = true;
}

const QString kSentenciaFC = QStringLiteral(
    "SELECT * FROM V_MV_CPTE WHERE TC = '  FC' ORDER BY IDCOMPROBANTE DESC, IDCOMPLEMENTO ASC");
const QString kSentenciaArbol = QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");

// Seconds until the voucher list holds every row; `filas` receives their count.
double CargaComprobantes(int &filas)
{
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder scope(respuestas);
    FrmConsComprobantes dlg;
    dlg.TC = QStringLiteral("FC");
    QElapsedTimer reloj;
    respuestas.drive([&](QDialog &) {
        filas = dlg.ListView1->ListItems().Count();
        if (filas > 0)
            dlg.ListView1->ListItems().Item(filas); // the rows in their order, known to the view
    });
    reloj.start();
    ui::ShowModal(dlg);
    return bench::seconds(reloj);
}

// The same rows through the data layer, each field the row fill reads taken as text.
double LecturaComprobantes(int &filas)
{
    QElapsedTimer reloj;
    reloj.start();
    QString sentencia = kSentenciaFC;
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    filas = 0;
    qint64 largo = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        for (const char *campo : {"Fecha", "IdComprobante", "IdComplemento", "Nombre", "Importe", "Anulada", "APROBADO"})
            largo += rs.Fields(QString::fromLatin1(campo)).Value().toString().size();
        ++filas;
    }
    gDB().CierraRecordset(&rs);
    (void) largo;
    return bench::seconds(reloj);
}

double CargaArbol(int &nodos)
{
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder scope(respuestas);
    Lib_FrmCons3Tree dlg;
    dlg.SQL = kSentenciaArbol;
    respuestas.drive([&](QDialog &) { nodos = dlg.TreeV->nodes().Count() - 1; });
    QElapsedTimer reloj;
    reloj.start();
    ui::ShowModal(dlg);
    return bench::seconds(reloj);
}

double LecturaArbol(int &filas)
{
    QElapsedTimer reloj;
    reloj.start();
    QString sentencia = kSentenciaArbol;
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs, &gDB().gCnn(), ado::adOpenDynamic, ado::adLockReadOnly, -1, true);
    const QList<QList<Variant>> datos = rs.GetRows();
    qint64 largo = 0;
    filas = datos.isEmpty() ? 0 : int(datos[0].size());
    for (int i = 0; i < filas; ++i)
        largo += datos[0][i].toString().size() + datos[1][i].toString().size();
    gDB().CierraRecordset(&rs);
    (void) largo;
    return bench::seconds(reloj);
}

// The raw read of a statement on its own connection, prepared once.
struct Cruda
{
    sqlite3 *db = nullptr;
    bench::Replay lectura;
    Cruda(const QString &ruta, const QString &sentencia)
        : lectura({ado::SqliteDialect::translateBatch(sentencia).front().sql.toUtf8()})
    {
        sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        ado::registerSqlServerFunctions(db);
    }
    ~Cruda()
    {
        lectura.release();
        sqlite3_close(db);
    }
    double operator()(int &filas)
    {
        QElapsedTimer reloj;
        reloj.start();
        filas = int(lectura.run(db));
        return bench::seconds(reloj);
    }
};

struct Par
{
    bench::Summary carga, lectura, cruda;
    int filas = 0;
};

template<typename Carga, typename Lectura>
Par Mide(int runs, Carga carga, Lectura lectura, Cruda &cruda, bench::PeakMemory &pico)
{
    Par p;
    const auto cargaEnTurno = [&] {
        int n = 0;
        const double segundos = carga(n);
        p.filas = n;
        return segundos;
    };
    const auto lecturaEnTurno = [&] {
        int n = 0;
        const double segundos = lectura(n);
        if (n != p.filas) {
            std::fprintf(stderr, "the load shows %d rows, the read gives %d\n", p.filas, n);
            std::exit(1);
        }
        return segundos;
    };
    const auto crudaEnTurno = [&] {
        int n = 0;
        const double segundos = cruda(n);
        if (n != p.filas) {
            std::fprintf(stderr, "the load shows %d rows, the raw read gives %d\n", p.filas, n);
            std::exit(1);
        }
        return segundos;
    };
    const std::vector<bench::Summary> s = bench::takingTurns(runs, {cargaEnTurno, lecturaEnTurno, crudaEnTurno}, &pico);
    p.carga = s[0];
    p.lectura = s[1];
    p.cruda = s[2];
    return p;
}

void Imprime(const char *que, const Par &p)
{
    std::printf("%-28s %7d rows  load %8.1f ms (±%4.1f%%)  read %8.1f ms (±%4.1f%%)  raw %8.1f ms (±%4.1f%%)  "
                "load/read %5.2f  read/raw %5.2f  load/raw %5.2f  %6.2f us/row\n",
                que,
                p.filas,
                p.carga.median * 1e3,
                p.carga.spread() * 100,
                p.lectura.median * 1e3,
                p.lectura.spread() * 100,
                p.cruda.median * 1e3,
                p.cruda.spread() * 100,
                bench::ratio(p.carga, p.lectura),
                bench::ratio(p.lectura, p.cruda),
                bench::ratio(p.carga, p.cruda),
                p.filas ? p.carga.median / p.filas * 1e6 : 0);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::Options o = bench::readOptions(app.arguments().mid(1),
                                                5,
                                                {5000, 50000},
                                                "bench_comprobantes_arbol [--runs K] [--dir FOLDER] [SIZE...]");
    const int runs = o.runs;
    const QStringList &dirs = o.dirs;
    const std::vector<int> &sizes = o.sizes;
    const bench::Folder folder = bench::folders(dirs.mid(0, 1)).front();
    SetAppPath(folder.path);
    std::printf("folder %s, %d runs, load average %s\n",
                qPrintable(folder.label()),
                runs,
                qPrintable(bench::loadAverage()));

    std::vector<Par> comprobantes;
    for (int size : sizes) {
        const QString ruta = QDir(folder.path).filePath(QStringLiteral("bench_comprobantes_arbol_%1.db").arg(size));
        ArmaBase(ruta, size);
        Abre(ruta);
        {
            Cruda cruda(ruta, kSentenciaFC);
            bench::PeakMemory pico;
            comprobantes.push_back(Mide(runs, CargaComprobantes, LecturaComprobantes, cruda, pico));
            Imprime(qPrintable(QStringLiteral("voucher lookup, %1").arg(size)), comprobantes.back());
            pico.print("    ");
        }
        if (size == sizes.back()) {
            Cruda cruda(ruta, kSentenciaArbol);
            bench::PeakMemory pico;
            const Par arbol = Mide(runs, CargaArbol, LecturaArbol, cruda, pico);
            Imprime("tree lookup, 10000 codes", arbol);
            pico.print("    ");
            std::printf("goal tree within 2x of its read: %s; its read within 1.5x of the raw read: %s\n",
                        arbol.carga.median <= 2 * arbol.lectura.median ? "met" : "NOT met",
                        arbol.lectura.median <= 1.5 * arbol.cruda.median ? "met" : "NOT met");
        }
        gDB().gCnn().Close();
        bench::removeDatabase(ruta);
    }
    bool met = true, cerca = true;
    for (const Par &p : comprobantes) {
        met = met && p.carga.median <= 2 * p.lectura.median;
        cerca = cerca && p.lectura.median <= 1.5 * p.cruda.median;
    }
    std::printf("goal voucher loads within 2x of their reads: %s\n", met ? "met" : "NOT met");
    std::printf("goal voucher reads within 1.5x of the raw reads: %s\n", cerca ? "met" : "NOT met");
    if (comprobantes.size() >= 2) {
        const Par &chica = comprobantes.front(), &grande = comprobantes.back();
        bench::printGrowth("time per row", chica.carga, chica.filas, grande.carga, grande.filas, 0.2);
        // The bare read's own growth, to tell the dialog's share from the data layer's.
        bench::printGrowth("bare read per row", chica.lectura, chica.filas, grande.lectura, grande.filas);
    }
    return 0;
}
