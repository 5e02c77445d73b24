// Loading a stored voucher into the entry grids (AsignarDatosComprobante),
// against the same statements stepped straight through the sqlite3 API.
//
//     bench_carga [--runs K] [--dir FOLDER]... [LINES...]
//
// Lines default to 50 500, K to 7. Each voucher is a remittance delivered in
// parts whose lines name articles of the catalogue in turn, with five tasks
// and five other concepts; the company counts quantities in kilograms. Each
// voucher is loaded from databases of its own in which other remittances hold
// 1x, 10x and 100x its lines, so that a cost growing with the database shows.
// The statements the loader sends are recorded once, translated to the
// engine's own SQL before the clock starts, and then prepared, stepped and
// read (every column as text) through the API; loads and direct reads take
// turns. The program prints both medians, their ratio and the time per line.
// Goals: the load within 3x of the direct reads, grid filling included; the
// time per line at the largest size within 20% of that at the smallest; and
// the load at 100x other lines within 20% of that at 1x.
#include "voucher/cls_cmn_cptes.h"

#include "bench/medicion.h"
#include "bench/reproduccion.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/ado/sqlite_provider.h"
#include "platform/runtime/app.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/scripted_responder.h"
#include "platform/ui/text_box.h"
#include "tests/support/espia_sqlite.h"
#include "tools/datos_demo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kArticulos = 200;

QString Articulo(int n)
{
    return QStringLiteral("ART%1").arg(n, 4, 10, QLatin1Char('0')).rightJustified(25);
}
QString Comprobante(int lineas)
{
    return QStringLiteral("0001%1A").arg(lineas, 8, 10, QLatin1Char('0'));
}

void Ejecuta(sqlite3 *db, const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "bench_carga: %s in %s\n", error ? error : "?", qPrintable(sql.left(200)));
        std::exit(1);
    }
}

void Remito(sqlite3 *db, const QString &id, int lineas)
{
    Ejecuta(db,
            QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, FECHA, CUENTA, IdReparto, EnComodato, "
                           "CondicionIVA) VALUES ('  RM', '%1', '2024-03-05', '      1000', 0, 0, 5)")
                .arg(id));
    for (int l = 1; l <= lineas; ++l) {
        Ejecuta(db,
                QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, RENGLON, ID, IDARTICULO, "
                               "DESCRIPCION, IDUNIDAD, CANTIDAD, CANTIDADUD, IMPORTE, Total, Importe_S_IVA, "
                               "AlicIVA, Equiv_UDBase, IdUnidadBase, Costo, Impuestos) VALUES ('  RM', '%1', %2, "
                               "%2, '%3', 'ARTICULO', '  UN', %4, %4, 15.5, %5, 12.81, 21, 1, '  UN', 9.3, 0)")
                    .arg(id)
                    .arg(l)
                    .arg(Articulo(1 + (l - 1) % kArticulos))
                    .arg(1 + l % 7)
                    .arg(15.5 * (1 + l % 7)));
        // Half the lines were partly delivered by a later invoice.
        if (l % 2 == 0)
            Ejecuta(db,
                    QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, RENGLON, ID, IDARTICULO, "
                                   "CANTIDAD, TC_ORIGEN, IDCOMPROBANTE_ORIGEN) VALUES ('  FC', '%1', %2, %2, "
                                   "'%3', 1, '  RM', '%1')")
                        .arg(id)
                        .arg(l)
                        .arg(Articulo(1 + (l - 1) % kArticulos)));
    }
}

// The company, its catalogue, the remittance of `lineas` lines and other
// remittances of 50 lines each holding `otras` lines between them.
void ArmaBase(const QString &ruta, int lineas, int otras)
{
    demodata::CreateSchema(ruta, true);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(ruta).constData(), &db);
    ado::registerSqlServerFunctions(db);
    Ejecuta(db, QStringLiteral("BEGIN"));
    Ejecuta(db, QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, Sistema) VALUES ('  RM', 'VENTAS')"));
    for (const auto &[clave, valor] : std::vector<std::pair<const char *, const char *>>{{"CantidadDecimales", "2"},
                                                                                         {"EntregaParcialRemito", "SI"},
                                                                                         {"CONDIVA", "1"},
                                                                                         {"SeparadorHora", ":"}})
        Ejecuta(db,
                QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('%1', '%2')")
                    .arg(QLatin1String(clave), QLatin1String(valor)));
    Ejecuta(db, QStringLiteral("INSERT INTO V_TA_TipoArticulo (IdTipo, DESCRIPCION) VALUES ('  MP', 'MATERIA PRIMA')"));
    for (int a = 1; a <= kArticulos; ++a) {
        Ejecuta(db,
                QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, codigobarra, USASERIE, "
                               "IdTipo, Presentacion, pesable) VALUES ('%1', 'ARTICULO %2', '  UN', '779%2', 0, "
                               "'  MP', 'CAJA', 0)")
                    .arg(Articulo(a))
                    .arg(a));
        Ejecuta(db,
                QStringLiteral("INSERT INTO S_TA_EQUIV (IdArticulo, IDUNIDAD, IDUNIDAD_EQUIV, Coeficiente) VALUES "
                               "('%1', '  UN', '  KG', 2.5)")
                    .arg(Articulo(a)));
    }
    for (int n = 0; n * 50 < otras; ++n)
        Remito(db, QStringLiteral("0002%1A").arg(n, 8, 10, QLatin1Char('0')), std::min(50, otras - n * 50));
    {
        const QString id = Comprobante(lineas);
        Remito(db, id, lineas);
        for (int t = 1; t <= 5; ++t) {
            Ejecuta(db,
                    QStringLiteral("INSERT INTO V_MV_CPTETAREAS (TC, IDCOMPROBANTE, RENGLON, ID, IDTAREA, DESCRIPCION, "
                                   "HORAS, ValorHora, valorHora_S_Iva, Total, FechaEstInicio, FechaREALFin) VALUES "
                                   "('  RM', '%1', %2, %2, '        T%2', 'TAREA', 90, 800, 661.16, 1200, "
                                   "'2024-03-05', '2024-03-06 17:30:00')")
                        .arg(id)
                        .arg(t));
            Ejecuta(db,
                    QStringLiteral("INSERT INTO V_MV_CPTE_OBSERV (TC, IDCOMPROBANTE, ID, Observacion, Importe, "
                                   "Importe_S_IVA, TIPO_OBS) VALUES ('  RM', '%1', %2, 'CONCEPTO %2', 121, 100, 'OC')")
                        .arg(id)
                        .arg(t));
        }
    }
    Ejecuta(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
}

void Abre(const QString &ruta, QStringList *log)
{
    DB_Dll &db = gDB();
    if (db.gCnn().State() != ado::adStateClosed)
        db.gCnn().Close();
    db.gCnn().Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(ruta));
    if (log) {
        db.gCnn().Close();
        ado::Errors errores;
        db.gCnn().attachProvider(std::make_unique<SpyProvider>(ado::SqliteProvider::open(ruta, errores), *log));
    }
    db.gOpenFlag = true;
    db.gEsAdmin = true;
}

struct Grillas
{
    QWidget form;
    ui::FlexGrid tareas, articulos, otros;
    ui::TextBox edit, edit3;
};

// Seconds of one load into freshly laid-out grids; `lineas` receives the lines shown.
double Carga(int tamano, int &lineas)
{
    Grillas g;
    ClsCmnCptes cptes;
    cptes.InicializaGrids(&g.tareas,
                          &g.articulos,
                          &g.otros,
                          &g.edit,
                          nullptr,
                          &g.edit3,
                          g.form,
                          QStringLiteral("RM"),
                          nullptr);
    std::int16_t reparto = 0;
    QElapsedTimer reloj;
    reloj.start();
    cptes.AsignarDatosComprobante(QStringLiteral("RM"),
                                  Comprobante(tamano),
                                  QStringLiteral("0"),
                                  &g.tareas,
                                  &g.articulos,
                                  &g.otros,
                                  Variant(),
                                  nullptr,
                                  false,
                                  QString(),
                                  reparto);
    const double segundos = bench::seconds(reloj);
    lineas = g.articulos.Rows() - 2;
    return segundos;
}

// The recorded statements in the engine's SQL.
std::vector<QByteArray> Traduce(const QStringList &enviadas)
{
    std::vector<QByteArray> out;
    for (const QString &batch : enviadas) {
        for (const ado::DialectStatement &s : ado::SqliteDialect::translateBatch(batch)) {
            if (s.kind != ado::DialectStatement::Kind::Sql) {
                std::fprintf(stderr, "bench_carga: unexpected statement kind in %s\n", qPrintable(batch.left(120)));
                std::exit(1);
            }
            out.push_back(s.sql.toUtf8());
        }
    }
    return out;
}

struct Medida
{
    int lineas = 0;
    int otras = 0; // the other remittances' lines in the database
    int sentencias = 0;
    int formas = 0;
    bench::Summary carga, lectura;
};

void Imprime(const Medida &m)
{
    std::printf("%5d lines %7d others  %5d statements (%3d shapes)  load %8.2f ms (±%4.1f%%)  direct %8.2f ms "
                "(±%4.1f%%)  ratio %5.2f  %7.1f us/line\n",
                m.lineas,
                m.otras,
                m.sentencias,
                m.formas,
                m.carga.median * 1e3,
                m.carga.spread() * 100,
                m.lectura.median * 1e3,
                m.lectura.spread() * 100,
                bench::ratio(m.carga, m.lectura),
                m.lineas ? m.carga.median / m.lineas * 1e6 : 0);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::Options o = bench::readOptions(app.arguments().mid(1),
                                                7,
                                                {50, 500},
                                                "bench_carga [--runs K] [--dir FOLDER]... [LINES...]");
    ui::ScriptedResponder operador; // a message would be a fault of the load: counted below
    ui::SetResponder(&operador);
    gCantidadDecimales = QStringLiteral("2");
    gUnidadKG = QStringLiteral("KG");
    std::printf("%d runs, taking turns; load average before %s\n", o.runs, qPrintable(bench::loadAverage()));

    bool dentro = true, plana = true;
    for (const bench::Folder &folder : bench::folders(o.dirs)) {
        SetAppPath(folder.path);
        std::printf("\n%s\n", qPrintable(folder.label()));
        std::vector<Medida> medidas; // by size, the first database of each
        for (int tamano : o.sizes) {
            std::vector<Medida> porBase;
            for (int veces : {1, 10, 100}) {
                Medida m;
                m.otras = veces * tamano;
                const QString ruta = QDir(folder.path).filePath(QStringLiteral("bench_carga.db"));
                bench::removeDatabase(ruta);
                ArmaBase(ruta, tamano, m.otras);
                sqlite3 *directo = nullptr;
                sqlite3_open_v2(QFile::encodeName(ruta).constData(), &directo, SQLITE_OPEN_READONLY, nullptr);
                ado::registerSqlServerFunctions(directo);
                QStringList enviadas;
                Abre(ruta, &enviadas);
                Carga(tamano, m.lineas);
                bench::Replay sentencias(Traduce(enviadas));
                m.sentencias = int(sentencias.statements());
                m.formas = int(sentencias.shapes());
                Abre(ruta, nullptr);
                int lineas = 0;
                const auto carga = [&] {
                    lineas = 0;
                    return Carga(tamano, lineas);
                };
                const auto lectura = [&] {
                    QElapsedTimer reloj;
                    reloj.start();
                    const bool leyo = sentencias.run(directo) >= 0;
                    const double segundos = bench::seconds(reloj);
                    if (!leyo || lineas != tamano) {
                        std::fprintf(stderr, "bench_carga: %d lines loaded of %d\n", lineas, tamano);
                        std::exit(1);
                    }
                    return segundos;
                };
                bench::PeakMemory pico;
                const std::vector<bench::Summary> s = bench::takingTurns(o.runs, {carga, lectura}, &pico);
                m.carga = s[0];
                m.lectura = s[1];
                Imprime(m);
                pico.print("      ");
                dentro = dentro && m.carga.median <= 3 * m.lectura.median;
                porBase.push_back(m);
                gDB().gCnn().Close();
                sentencias.release();
                sqlite3_close(directo);
                bench::removeDatabase(ruta);
            }
            const double crece = porBase.back().carga.median / porBase.front().carga.median;
            std::printf(
                "      the load beside %d other lines takes %.0f%% of its time beside %d (direct reads %.0f%%)\n",
                porBase.back().otras,
                100 * crece,
                porBase.front().otras,
                100 * porBase.back().lectura.median / porBase.front().lectura.median);
            plana = plana && crece <= 1.2;
            medidas.push_back(porBase.front());
        }
        if (medidas.size() >= 2) {
            const Medida &chica = medidas.front(), &grande = medidas.back();
            bench::printGrowth("time per line", chica.carga, chica.lineas, grande.carga, grande.lineas, 0.2);
            bench::printGrowth("direct read per line", chica.lectura, chica.lineas, grande.lectura, grande.lineas);
        }
    }
    if (!operador.requests().empty())
        std::printf("messages during the loads: %d (the first: %s)\n",
                    int(operador.requests().size()),
                    qPrintable(operador.requests().front().prompt));
    std::printf("\nload average after %s\n", qPrintable(bench::loadAverage()));
    std::printf("direct = the statements the load sent, replayed with each shape prepared once and bound\n");
    std::printf("goal loads within 3x of the direct reads: %s\n", dentro ? "met" : "NOT met");
    std::printf("goal the load beside 100x other lines within 20%% of that beside 1x: %s\n", plana ? "met" : "NOT met");
    ui::SetResponder(nullptr);
    return 0;
}
