// The lookup of articles against a bare list over the same rows, offscreen,
// on a demo database of 100,000 articles with "TopConsArt" 100000.
//
//     bench_consulta [--runs K] [--articles N]
//
// Three timings, each the median of K runs (default 5), the lookup's and the
// bare list's runs taking turns, for the lookup and for a bare QTableView over a plain table model filled by raw sqlite3 with
// the rows of the lookup's own statement:
//   load       ConsultaSearch("V_MA_ARTICULOS") until the list holds every
//              row / the query read into the model and the view shown;
//   keystroke  a letter typed in search box 0 that no row begins with (the
//              search walks every row) / QAbstractItemModel::match starting
//              with that letter;
//   sort       a click on the code column's header / a QSortFilterProxyModel
//              sort on that column (both flip the order each time).
// It prints both medians and their ratio against the goals: load within 3x,
// keystroke within 2x and sort within 1.5x of the bare list.
#include "bench/medicion.h"
#include "database/db_dll.h"
#include "lookup/lib_clscons3.h"
#include "lookup/lib_frm_cons3.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/runtime/app.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/scripted_responder.h"
#include "startup/inicio.h"
#include "tools/datos_demo.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <vector>

namespace {

struct Tiempos
{
    std::vector<double> carga, tecla, orden;
};

// ---- The lookup ----

// One run of the lookup, its times added to `t`.
void PorLaConsulta(Tiempos &t, int &filas, QString &sentencia)
{
    ui::ScriptedResponder operador;
    ui::ScopedResponder scope(operador);
    {
        QElapsedTimer reloj;
        operador.drive([&](QDialog &dialogo) {
            auto &d = static_cast<Lib_FrmCons3 &>(dialogo);
            filas = d.ListView1->ListItems().Count();
            QApplication::processEvents();
            t.carga.push_back(bench::seconds(reloj));
            sentencia = d.SQL.trimmed();

            ui::ComboBox *caja = d.CmbSearch->Item(0);
            caja->setFocus();
            QApplication::processEvents();
            QElapsedTimer k;
            k.start();
            QTest::keyClick(caja, Qt::Key_Q);
            t.tecla.push_back(bench::seconds(k));
            caja->setText(QString());

            QHeaderView *h = d.ListView1->header();
            const QPoint columna(h->sectionViewportPosition(1) + 5, 5);
            QElapsedTimer o;
            o.start();
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, columna);
            QApplication::processEvents();
            t.orden.push_back(bench::seconds(o));
            d.CmdCancelar->click();
        });
        reloj.start();
        gConsulta().ConsultaSearch(QStringLiteral("V_MA_ARTICULOS"));
        ui::DestroyUnloaded();
    }
}

// ---- The bare list ----

class Modelo : public QAbstractTableModel
{
public:
    std::vector<std::array<QString, 2>> filas;
    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : int(filas.size()); }
    int columnCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex &i, int role) const override
    {
        if (role != Qt::DisplayRole || !i.isValid())
            return {};
        return filas[size_t(i.row())][size_t(i.column())];
    }
    void llena(std::vector<std::array<QString, 2>> &&nuevas)
    {
        beginResetModel();
        filas = std::move(nuevas);
        endResetModel();
    }
};

std::vector<std::array<QString, 2>> Lee(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    std::vector<std::array<QString, 2>> filas;
    while (sqlite3_step(st) == SQLITE_ROW)
        filas.push_back({QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                         QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)))});
    sqlite3_finalize(st);
    return filas;
}

// Run r of the bare list, its times added to `t`.
void PorLaListaDesnuda(sqlite3 *db, int r, Tiempos &t, int &filas)
{
    // The statement the lookup runs, in the engine's own words.
    const char *sql = "SELECT DESCRIPCION, IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 "
                      "ORDER BY DESCRIPCION LIMIT 100000";
    {
        QElapsedTimer reloj;
        reloj.start();
        Modelo modelo;
        QSortFilterProxyModel orden;
        orden.setSortCaseSensitivity(Qt::CaseInsensitive);
        orden.setDynamicSortFilter(false);
        orden.setSourceModel(&modelo);
        QTableView vista;
        vista.setModel(&orden);
        vista.resize(700, 400);
        modelo.llena(Lee(db, sql));
        vista.show();
        filas = orden.rowCount();
        QApplication::processEvents();
        t.carga.push_back(bench::seconds(reloj));

        QElapsedTimer k;
        k.start();
        const QModelIndexList hallados
            = modelo.match(modelo.index(0, 0), Qt::DisplayRole, QStringLiteral("q"), 1, Qt::MatchStartsWith);
        t.tecla.push_back(bench::seconds(k));
        if (!hallados.isEmpty())
            std::fprintf(stderr, "a row begins with q\n");

        QElapsedTimer o;
        o.start();
        orden.sort(1, r % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
        QApplication::processEvents();
        t.orden.push_back(bench::seconds(o));
    }
}

void Linea(const char *nombre, const std::vector<double> &nuestra, const std::vector<double> &desnuda, double meta)
{
    const bench::Summary a = bench::summarize(nuestra);
    const bench::Summary b = bench::summarize(desnuda);
    const double ratio = bench::ratio(a, b);
    std::printf("%-10s %10.1f ms %10.1f ms %7.2fx   goal %.1fx %s\n",
                nombre,
                a.median * 1e3,
                b.median * 1e3,
                ratio,
                meta,
                ratio <= meta ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int corridas = 5;
    int articulos = 100000;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            corridas = std::max(1, args[++i].toInt());
        else if (args[i] == "--articles" && i + 1 < args.size())
            articulos = std::max(1, args[++i].toInt());
        else {
            std::fprintf(stderr, "usage: bench_consulta [--runs K] [--articles N]\n");
            return 2;
        }
    }

    QTemporaryDir carpeta;
    SetAppPath(carpeta.path());
    const QString ruta = carpeta.filePath(QStringLiteral("articulos.db"));
    demodata::Options opciones;
    opciones.vouchers = 0;
    opciones.articles = articulos;
    demodata::CreateDemoDatabase(ruta, opciones);
    {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(ruta).constData(), &db);
        ado::registerSqlServerFunctions(db);
        const int rc = sqlite3_exec(db,
                                    "UPDATE TA_CONFIGURACION SET VALOR = '100000' WHERE CLAVE = 'TopConsArt'",
                                    nullptr,
                                    nullptr,
                                    nullptr);
        if (rc != SQLITE_OK) {
            std::fprintf(stderr, "TopConsArt: %s\n", sqlite3_errmsg(db));
            return 1;
        }
        sqlite3_close(db);
    }
    bool armar = false;
    QString cadena;
    InicializaSistema(armar,
                      QStringLiteral("@Server=sqlite;@DbName=%1;@Usuario=ADMIN;@Password=;").arg(ruta),
                      cadena,
                      3);
    if (!gDB().gOpenFlag) {
        std::fprintf(stderr, "the connection did not open\n");
        return 1;
    }

    std::printf("bench_consulta: %d articles, %d runs, load %s\n",
                articulos,
                corridas,
                qPrintable(bench::loadAverage()));
    int filasConsulta = 0, filasDesnuda = 0;
    QString sentencia;
    Tiempos nuestra, desnuda;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    ado::registerSqlServerFunctions(db);
    bench::PeakMemory pico;
    for (int r = 0; r < corridas; ++r) {
        PorLaConsulta(nuestra, filasConsulta, sentencia);
        PorLaListaDesnuda(db, r, desnuda, filasDesnuda);
        pico.afterRun();
    }
    sqlite3_close(db);
    std::printf("statement  %s\n", qPrintable(sentencia));
    std::printf("rows       %d in the lookup, %d in the bare list\n", filasConsulta, filasDesnuda);
    std::printf("%-10s %13s %13s %8s\n", "", "lookup", "bare", "ratio");
    Linea("load", nuestra.carga, desnuda.carga, 3.0);
    Linea("keystroke", nuestra.tecla, desnuda.tecla, 2.0);
    Linea("sort", nuestra.orden, desnuda.orden, 1.5);
    pico.print();
    return 0;
}
