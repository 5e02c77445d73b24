#include "tools/datos_demo.h"

#include "platform/ado/ado.h"
#include "platform/ado/sqlite_datetime.h"
#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/ado/sqlite_values.h"
#include "platform/runtime/vberror.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <vector>

namespace demodata {
namespace {

QString connectionString(const QString &path)
{
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(path);
}

class Db
{
public:
    explicit Db(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw DemoError("cannot open " + path.toStdString());
        ado::registerSqlServerFunctions(m_db);
        exec("PRAGMA synchronous = OFF");
        exec("BEGIN");
    }
    ~Db()
    {
        for (auto *st : m_statements)
            sqlite3_finalize(st);
        sqlite3_close(m_db);
    }
    void exec(const char *sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw DemoError(sqlite3_errmsg(m_db));
    }
    sqlite3_stmt *prepare(const char *sql)
    {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
            throw DemoError(std::string(sqlite3_errmsg(m_db)) + " in " + sql);
        m_statements.push_back(st);
        return st;
    }
    // The first two columns of each row, as texts.
    std::vector<std::pair<QString, QString>> pairs(const char *sql)
    {
        sqlite3_stmt *st = prepare(sql);
        std::vector<std::pair<QString, QString>> out;
        while (sqlite3_step(st) == SQLITE_ROW)
            out.push_back({QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                           QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)))});
        sqlite3_reset(st);
        return out;
    }
    // Binds texts (QString), whole numbers (int) and amounts (double) in order, then runs.
    template<typename... Args>
    void run(sqlite3_stmt *st, const Args &...args)
    {
        int i = 0;
        (bindOne(st, ++i, args), ...);
        if (sqlite3_step(st) != SQLITE_DONE)
            throw DemoError(sqlite3_errmsg(m_db));
        sqlite3_reset(st);
    }

private:
    static void bindOne(sqlite3_stmt *st, int i, const QString &s)
    {
        const QByteArray u = s.toUtf8();
        sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    }
    static void bindOne(sqlite3_stmt *st, int i, const char *s) { sqlite3_bind_text(st, i, s, -1, SQLITE_TRANSIENT); }
    static void bindOne(sqlite3_stmt *st, int i, int v) { sqlite3_bind_int(st, i, v); }
    static void bindOne(sqlite3_stmt *st, int i, double v) { sqlite3_bind_double(st, i, v); }
    sqlite3 *m_db = nullptr;
    std::vector<sqlite3_stmt *> m_statements;
};

const char *const kArticles[]
    = {"TORNILLO HEXAGONAL 1/4", "ARANDELA PLANA 6MM",    "TUERCA AUTOFRENANTE M8", "CABLE UNIPOLAR 2.5MM",
       "CAÑO GALVANIZADO 1/2",   "PINTURA LATEX 20L",     "TABLA PINO 1X6",         "MACHIMBRE 1/2 X 4",
       "CLAVO PUNTA PARIS 2",    "SILICONA TRANSPARENTE", "LIJA AL AGUA 220",       "CINTA AISLADORA",
       "TERMICA BIPOLAR 20A",    "LLAVE DE PASO 3/4",     "CODO PVC 110",           "BROCHA N 20",
       "RODILLO LANA 22CM",      "MEMBRANA ASFALTICA",    "CEMENTO 50KG",           "ARENA FINA M3"};
const char *const kTypeNames[] = {"REMITO", "FACTURA", "NOTA DE CREDITO", "ORDEN DE COMPRA"};
const char *const kSystems[] = {"VENTAS", "VENTAS", "VENTAS", "COMPRAS"};
const char *const kTasks[] = {"INSTALACION", "FLETE", "MANO DE OBRA", "ARMADO", "CORTE A MEDIDA"};
const char *const kCustomers[] = {"FERRETERIA EL TORNILLO SRL",
                                  "CONSTRUCTORA DEL SUR SA",
                                  "MADERERA LOS ANDES",
                                  "JUAN PEREZ",
                                  "ELECTRICIDAD NORTE SH",
                                  "COOPERATIVA AGRICOLA LIMITADA"};

const char *const kSuppliers[]
    = {"DISTRIBUIDORA CENTRO SA", "ACEROS DEL LITORAL SRL", "PINTURERIAS UNIDAS", "MADERAS O'HIGGINS"};
const char *const kContacts[] = {"MARIA GONZALEZ", "JORGE RODRIGUEZ", "ANA FERNANDEZ", "LUIS LOPEZ"};
const char *const kStreets[] = {"SAN MARTIN 1234", "BELGRANO 567", "MITRE 89", "RIVADAVIA 2210"};
const char *const kTowns[] = {"ROSARIO", "SANTA FE", "PARANA", "VENADO TUERTO"};

QString articleCode(int index)
{
    return Code(QStringLiteral("ART%1").arg(index + 1, 4, 10, QChar('0')), 25);
}

// The lookup and entry samples take the numbers from 9001 (branch 1,
// letter A); the generated vouchers step over this block.
constexpr int kPrimerNumeroMuestra = 9001;
constexpr int kUltimoNumeroMuestra = 9999;

QString idComprobante(int branch, int number, QChar letter)
{
    return QStringLiteral("%1%2%3").arg(branch, 4, 10, QChar('0')).arg(number, 8, 10, QChar('0')).arg(letter);
}

// Options::types as indexes into kVoucherTypes; an unknown code is refused
// before anything is written.
std::vector<int> typeIndexes(const QStringList &codes)
{
    std::vector<int> indexes;
    for (const QString &code : codes) {
        int found = -1;
        for (int t = 0; t < int(std::size(kVoucherTypes)); ++t)
            if (code.trimmed() == QLatin1String(kVoucherTypes[t]))
                found = t;
        if (found < 0)
            throw DemoError(QStringLiteral("unknown voucher type \"%1\"").arg(code).toStdString());
        indexes.push_back(found);
    }
    if (indexes.empty())
        for (int t = 0; t < int(std::size(kVoucherTypes)); ++t)
            indexes.push_back(t);
    return indexes;
}

// Units, equivalences, balances, lots and components for the stock queries;
// all but the units need the sample articles in the catalogue.
void addStockData(Db &db, bool withSamples)
{
    auto config = db.prepare("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, DESCRIPCION) VALUES (?,?,?,?)");
    db.run(config, "UNIDADDEMEDIDA_M3", "M3", "", "Unidad de los metros cúbicos");
    db.run(config, "UNIDADDEMEDIDA_BL", "BL", "", "Unidad de los bultos");
    db.run(config, "UNIDADDEMEDIDA_KG", "KG", "", "Unidad de los kilogramos");
    auto unit = db.prepare("INSERT INTO V_TA_UNIDAD (IDUNIDAD, DESCRIPCION) VALUES (?,?)");
    db.run(unit, Code("BL", 4), "BULTO");
    if (!withSamples)
        return;

    const auto art = [](int number) { return articleCode(number - 1); }; // ART0019 is art(19)
    // One unit times the coefficient is the quantity in the other.
    auto equiv = db.prepare(
        "INSERT INTO S_TA_EQUIV (IdArticulo, IDUNIDAD, IDUNIDAD_EQUIV, Coeficiente) VALUES (?,?,?,?)");
    db.run(equiv, art(19), Code("UN", 4), Code("KG", 4), 50.0);  // a 50 kg bag of cement
    db.run(equiv, art(19), Code("BL", 4), Code("UN", 4), 20.0);  // 20 bags a bundle
    db.run(equiv, art(7), Code("UN", 4), Code("M3", 4), 0.0042); // a pine board
    db.run(equiv, art(7), Code("UN", 4), Code("KG", 4), 2.1);
    db.run(equiv, art(20), Code("M3", 4), Code("KG", 4), 1500.0);

    auto balance = db.prepare(
        "INSERT INTO STK_SALDOS_UNIDADES (IDARTICULO, IDDEPOSITO, EQUIVALENCIA, STOCK) VALUES (?,?,?,?)");
    db.run(balance, art(19), Code("1", 4), Code("UN", 4), 120.0);
    db.run(balance, art(19), Code("2", 4), Code("UN", 4), 40.0);
    db.run(balance, art(19), Code("1", 4), Code("KG", 4), 6000.0);
    db.run(balance, art(7), Code("1", 4), Code("UN", 4), 300.0);
    db.run(balance, art(1), Code("1", 4), Code("UN", 4), 500.0);
    db.run(balance, art(1), Code("2", 4), Code("UN", 4), 250.0);
    db.run(balance, art(6), Code("1", 4), Code("UN", 4), 40.0);

    // The paint is kept by lot in the central deposit.
    auto usesLots = db.prepare("UPDATE V_MA_ARTICULOS SET USALOTE = 1 WHERE IDARTICULO = ?");
    db.run(usesLots, art(6));
    auto lot = db.prepare("INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IdDeposito, NroLote, IdUnidad, CANTIDAD, "
                          "Vencimiento) VALUES (?,?,?,?,?,?)");
    db.run(lot, art(6), Code("1", 4), Code("L2024-001", 25), Code("UN", 4), 12.0, "2025-06-30");
    db.run(lot, art(6), Code("1", 4), Code("L2024-002", 25), Code("UN", 4), 8.0, "2025-09-30");
    db.run(lot, art(6), Code("1", 4), Code("L2024-003", 25), Code("UN", 4), 20.0, "2026-01-31");

    // Cement is stored by position in the central deposit, in bags (UN), and
    // sold by the bag or the bundle; some bags wait outside any position.
    auto position = db.prepare("INSERT INTO ma_posiciones (iddeposito, idposicion, descripcion, ordeningreso) "
                               "VALUES (?,?,?,?)");
    db.run(position, Code("1", 4), "P-01", "PLAYA CEMENTO 1", 2);
    db.run(position, Code("1", 4), "P-02", "PLAYA CEMENTO 2", 1);
    auto layout = db.prepare("INSERT INTO AC_SALDOSLAYOUT (ID, iddeposito, idposicion, idarticulo, nrolote, "
                             "idunidadbase, saldo) VALUES (?,?,?,?,'',?,?)");
    db.run(layout, 1, Code("1", 4), "P-01", art(19), Code("UN", 4), 60.0);
    db.run(layout, 2, Code("1", 4), "P-02", art(19), Code("UN", 4), 40.0);
    auto outside = db.prepare("INSERT INTO AC_SALDOSLAYOUT (ID, iddeposito, idposicion, idarticulo, nrolote, "
                              "idunidadbase, saldo) VALUES (?,?,NULL,?,'',?,?)");
    db.run(outside, 3, Code("1", 4), art(19), Code("UN", 4), 20.0);

    // Article categories and types; a type's Tipo holds its own code.
    auto category = db.prepare("INSERT INTO V_ta_Rubros (IdRubro, Descripcion) VALUES (?,?)");
    db.run(category, Code("CON", 4), "CONSTRUCCION");
    db.run(category, Code("PIN", 4), "PINTURAS");
    auto type = db.prepare("INSERT INTO V_TA_TipoArticulo (IdTipo, DESCRIPCION, Tipo) VALUES (?,?,?)");
    db.run(type, Code("MP", 4), "MATERIA PRIMA", Code("MP", 4));
    db.run(type, Code("PT", 4), "PRODUCTO TERMINADO", Code("PT", 4));

    // Tongue-and-groove boards are milled from pine boards, and sanded.
    auto component = db.prepare("INSERT INTO V_MA_INSUMOS (IDARTICULO, IdArticuloInsumo, IdUnidadInsumo, CANTIDAD) "
                                "VALUES (?,?,?,?)");
    db.run(component, art(8), art(7), Code("UN", 4), 1.1);
    db.run(component, art(8), art(11), Code("UN", 4), 0.1);
}

// The voucher types the stock posting walks (with the sign each gives its
// lines), each article's supplier account, and the settings the posting reads.
// The purchase orders stay without reception date until a purchase posts them.
void addPostingData(Db &db, bool withSamples)
{
    db.exec("UPDATE V_TA_CPTE SET ES = 'S' WHERE CODIGO = '  RM'");
    auto type = db.prepare("INSERT INTO TA_Comprobantes (CODIGO, DESCRIPCION, SISTEMA) VALUES (?,?,?)");
    auto book = db.prepare("INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, DESCRIPCION, Letras, Sistema, ES, "
                           "Modificanumeracion, Externo, A_ULTIMO_NRO, A_NRO_DESDE, A_NRO_HASTA, A_SUC_DEFAULT) "
                           "VALUES (?,1,?,?,'A',?,NULLIF(?, ''),0,0,1,1,99999999,1)");
    // A transfer and a production order take their signs from their passes.
    const char *const types[][4] = {{"IR", "INGRESO DE MERCADERIA", "STOCK", "E"},
                                    {"TR", "TRANSFERENCIA ENTRE DEPOSITOS", "STOCK", ""},
                                    {"OP", "ORDEN DE PRODUCCION", "STOCK", ""},
                                    {"FCC", "FACTURA DE COMPRA", "COMPRAS", "E"},
                                    {"RMC", "REMITO DE COMPRA", "COMPRAS", "E"}};
    for (const auto &t : types) {
        db.run(type, Code(t[0], 4), t[1], t[2]);
        db.run(book, Code(t[0], 4), Code("1", 4), t[1], t[2], t[3]);
    }
    auto config = db.prepare("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, DESCRIPCION) VALUES (?,?,?,?)");
    db.run(config, "IR_Oblig", "NO", "", "Ingreso obligatorio de las órdenes de compra");
    db.run(config, "MotivoStockDefault", "   1", "", "Motivo de stock por defecto");
    if (!withSamples)
        return;
    auto account = db.prepare("UPDATE V_MA_ARTICULOS SET CUENTAPROVEEDOR = ? WHERE IDARTICULO = ?");
    for (int a = 0; a < int(std::size(kArticles)); ++a)
        db.run(account, Code(QString::number(2000 + a % int(std::size(kSuppliers))), 10), articleCode(a));
}

// What the entry grids load of every voucher: the lines' prices, tax and
// order, the tasks' rates and dates, the observation as an other concept,
// the customer's VAT condition; the orders' lines on the purchase side; and
// the switches of the layout and the load.
void AddEntryData(Db &db)
{
    auto config = db.prepare(
        "INSERT OR IGNORE INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, DESCRIPCION) VALUES (?,?,?,?)");
    const char *const rows[][3] = {
        {"NombreArticulos", "ARTÍCULO", "Título de la columna de artículos"},
        {"PideDepositoEnCptes", "SI", "Depósito por línea en los comprobantes"},
        {"NoMostrarImportesEnOT", "NO", "Ocultar importes en las órdenes de trabajo"},
        {"V_ListaPreciosPorItemArticulos", "NO", "Lista de precios por línea"},
        {"V_DescuentoPorArticulos", "SI", "Descuento por línea"},
        {"EntregaParcialRemito", "SI", "Entregas parciales"},
        {"CONDIVA", "1", "Condición de IVA de la empresa"},
        {"MADERERA", "NO", "Comercio de maderas"},
        {"MAD_TIRAS", "TI", "Unidad de las tiras"},
        {"CantidadDecimales", "2", "Decimales de los importes"},
    };
    for (const auto &r : rows)
        db.run(config, r[0], r[1], "", r[2]);
    auto unit = db.prepare("INSERT OR IGNORE INTO V_TA_UNIDAD (IDUNIDAD, DESCRIPCION) VALUES (?,?)");
    db.run(unit, Code("TI", 4), "TIRA");
    auto book = db.prepare(
        "INSERT OR IGNORE INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, DESCRIPCION, Letras, Sistema) "
        "VALUES (?,1,'   1',?,'A',?)");
    db.run(book, Code("NP", 4), "NOTA DE PEDIDO", "VENTAS");
    db.run(book, Code("OT", 4), "ORDEN DE TRABAJO", "VENTAS");
    db.run(book, Code("FCC", 4), "FACTURA DE COMPRA", "COMPRAS");

    db.exec("UPDATE V_MV_CPTEINSUMOS SET ID = RENGLON, IdUnidadBase = IDUNIDAD, Equiv_UDBase = 1, "
            "CANTIDADUD = CANTIDAD, Exento = 0, PorcDto = 0, AlicIVA = 21, Costo = ROUND(PRECIO * 0.6, 2), "
            "Importe_S_IVA = ROUND(IMPORTE / 1.21, 2), Impuestos = 0, Total = IMPORTE, PALLETS = RENGLON");
    db.exec("UPDATE V_MV_CPTETAREAS SET ID = RENGLON, ValorHora = 800, valorHora_S_Iva = 661.16, Total = IMPORTE, "
            "FechaEstInicio = (SELECT substr(c.FECHA, 1, 10) FROM V_MV_CPTE c WHERE c.TC = V_MV_CPTETAREAS.TC AND "
            "c.IDCOMPROBANTE = V_MV_CPTETAREAS.IDCOMPROBANTE AND c.IdComplemento = V_MV_CPTETAREAS.IdComplemento)");
    db.exec("UPDATE V_MV_CPTE_OBSERV SET ID = 1, TIPO_OBS = 'OC', Observacion = 'FLETE Y ACARREO', Importe = 1210, "
            "Importe_S_IVA = 1000");
    db.exec("UPDATE V_MV_CPTE SET EnComodato = 0, IdReparto = 0, "
            "CondicionIVA = CASE WHEN CAST(CUENTA AS INTEGER) % 2 = 0 THEN 1 ELSE 5 END");
    db.exec("UPDATE V_MV_CPTE SET ID = rowid WHERE ID IS NULL");
    db.exec("UPDATE C_MV_CPTE SET EnComodato = 0, IdReparto = 0, CondicionIVA = 1");
    db.exec(
        "INSERT INTO C_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, CUENTA, IdComplemento, RENGLON, ID, IDARTICULO, "
        "DESCRIPCION, IDUNIDAD, CANTIDAD, CANTIDADUD, PRECIO, IMPORTE, Total, Importe_S_IVA, Precio_Lista) "
        "SELECT l.TC, l.IDCOMPROBANTE, c.CUENTA, l.IdComplemento, l.RENGLON, l.RENGLON, l.IDARTICULO, l.DESCRIPCION, "
        "l.IDUNIDAD, l.CANTIDAD, l.CANTIDAD, l.PRECIO, l.IMPORTE, l.IMPORTE, ROUND(l.IMPORTE / 1.21, 2), l.PRECIO "
        "FROM V_MV_CPTEINSUMOS l JOIN C_MV_CPTE c ON c.TC = l.TC AND c.IDCOMPROBANTE = l.IDCOMPROBANTE AND "
        "c.IdComplemento = l.IdComplemento");
    // Types and presentations of the first articles; the pine boards ask for their measures.
    auto article = db.prepare("UPDATE V_MA_ARTICULOS SET IdTipo = COALESCE(IdTipo, ?), Presentacion = ?, "
                              "PIDEMEDIDAS = ? WHERE IDARTICULO = ?");
    for (int a = 0; a < int(std::size(kArticles)); ++a)
        db.run(article,
               Code(a < 10 ? "MP" : "PT", 4),
               a < 3 ? "CAJA X 100" : "",
               a == 6 || a == 7 ? 1 : 0,
               articleCode(a));
    db.exec("UPDATE V_MA_ARTICULOS SET Presentacion = NULL WHERE Presentacion = ''");
}

// The order, the remittance that delivers part of it and the work order, with
// their lines.
void addEntryVouchers(Db &db, const QString &pedido, const QString &remito, const QString &orden)
{
    auto header = db.prepare("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, FECHA, "
                             "CUENTA, RAZONSOCIAL, NOMBRE, IMPORTE, ID, IdReparto, EnComodato, CondicionIVA) "
                             "VALUES (?,?,0,'0001',?,'A',?,?,?,?,?,?,?,0,?)");
    const char *customer = kCustomers[1];
    db.run(header,
           Code("NP", 4),
           pedido,
           pedido.mid(4, 8),
           "2024-07-01",
           Code("1001", 10),
           customer,
           customer,
           950.0,
           9101,
           0,
           1);
    db.run(header,
           Code("RM", 4),
           remito,
           remito.mid(4, 8),
           "2024-07-03",
           Code("1001", 10),
           customer,
           customer,
           400.0,
           9102,
           0,
           1);
    db.run(header,
           Code("OT", 4),
           orden,
           orden.mid(4, 8),
           "2024-07-08",
           Code("1002", 10),
           kCustomers[2],
           kCustomers[2],
           5245.0,
           9103,
           0,
           5);

    // The order's three lines; the remittance delivers part of two of them.
    auto line = db.prepare("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, IdComplemento, RENGLON, ID, IDARTICULO, "
                           "DESCRIPCION, IDUNIDAD, CANTIDAD, CANTIDADUD, PRECIO, IMPORTE, Total, Importe_S_IVA, "
                           "AlicIVA, Equiv_UDBase, PALLETS, TC_ORIGEN, IDCOMPROBANTE_ORIGEN) "
                           "VALUES (?,?,0,?,?,?,?,'  UN',?,?,?,?,?,?,21,1,?,?,?)");
    const struct
    {
        int article;
        double ordered, delivered;
        int pallet;
    } items[] = {{0, 20, 12, 3}, {4, 10, 10, 1}, {18, 5, 0, 2}};
    int r = 0;
    int delivered = 0;
    for (const auto &it : items) {
        ++r;
        const double price = 15.5 + it.article * 2.0;
        db.run(line,
               Code("NP", 4),
               pedido,
               r,
               r,
               articleCode(it.article),
               kArticles[it.article],
               it.ordered,
               it.ordered,
               price,
               it.ordered * price,
               it.ordered * price,
               it.ordered * price / 1.21,
               it.pallet,
               "",
               "");
        if (it.delivered > 0) {
            ++delivered;
            db.run(line,
                   Code("RM", 4),
                   remito,
                   delivered,
                   delivered,
                   articleCode(it.article),
                   kArticles[it.article],
                   it.delivered,
                   it.delivered,
                   price,
                   it.delivered * price,
                   it.delivered * price,
                   it.delivered * price / 1.21,
                   delivered,
                   Code("NP", 4),
                   pedido);
        }
    }
    db.exec("UPDATE V_MV_CPTEINSUMOS SET TC_ORIGEN = NULL, IDCOMPROBANTE_ORIGEN = NULL WHERE TC_ORIGEN = ''");
}

// A work order: two tasks with their estimated and real dates, and two other concepts.
void addWorkOrderTasks(Db &db, const QString &orden)
{
    auto task = db.prepare("INSERT INTO V_MV_CPTETAREAS (TC, IDCOMPROBANTE, IdComplemento, RENGLON, ID, IDTAREA, "
                           "DESCRIPCION, IDTECNICO, HORAS, IMPORTE, ValorHora, valorHora_S_Iva, Total, "
                           "descripcionadicional, FechaEstInicio, FechaEstFin, FechaREALInicio, FechaREALFin) "
                           "VALUES ('  OT',?,0,?,?,?,?,?,?,?,800,661.16,?,?,?,?,?,?)");
    db.run(task,
           orden,
           1,
           1,
           Code("T1", 10),
           kTasks[0],
           Code("1", 4),
           150.0,
           2000.0,
           2000.0,
           "TABLERO PRINCIPAL",
           "2024-07-08",
           "2024-07-09",
           "2024-07-08 09:00:00",
           "2024-07-09 17:30:00");
    db.run(task,
           orden,
           2,
           2,
           Code("T5", 10),
           kTasks[4],
           Code("2", 4),
           45.0,
           600.0,
           600.0,
           "",
           "2024-07-10",
           "2024-07-10",
           "2024-07-10 08:00:00",
           "2024-07-10 08:45:00");
    auto otherConcept = db.prepare("INSERT INTO V_MV_CPTE_OBSERV (TC, IDCOMPROBANTE, IdComplemento, ID, Observacion, "
                                   "Importe, Importe_S_IVA, TIPO_OBS) VALUES ('  OT',?,0,?,?,?,?,?)");
    db.run(otherConcept, orden, 1, "VIATICOS", 1815.0, 1500.0, "OC");
    db.run(otherConcept, orden, 2, "MATERIALES MENORES", 830.0, 685.95, "OC");
    db.run(otherConcept, orden, 3, "Cliente avisado por teléfono", 0.0, 0.0, "OB");
}

// One invoice number under two suppliers.
void addPurchaseOfTwoSuppliers(Db &db, const QString &compra)
{
    auto purchase = db.prepare(
        "INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, FECHA, "
        "CUENTA, RAZONSOCIAL, NOMBRE, IMPORTE, ID, IdReparto, EnComodato, CondicionIVA) "
        "VALUES (' FCC',?,0,'0001',?,'A','2024-07-05',?,?,?,?,?,0,0,1)");
    auto purchaseLine = db.prepare(
        "INSERT INTO C_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, CUENTA, IdComplemento, RENGLON, ID, "
        "IDARTICULO, DESCRIPCION, IDUNIDAD, CANTIDAD, CANTIDADUD, PRECIO, IMPORTE, Total, "
        "Precio_Lista, CodigoArtProveedor) VALUES (' FCC',?,?,0,1,1,?,?,'  UN',?,?,?,?,?,?,?)");
    for (int s : {1, 3}) {
        const QString account = Code(QString::number(2000 + s), 10);
        const int a = s == 1 ? 9 : 3;
        const double qty = 100.0 * s;
        const double price = 10.0 + a * 1.25;
        db.run(purchase, compra, compra.mid(4, 8), account, kSuppliers[s], kSuppliers[s], qty * price, 9104 + s);
        db.run(purchaseLine,
               compra,
               account,
               articleCode(a),
               kArticles[a],
               qty,
               qty,
               price,
               qty * price,
               qty * price,
               price * 1.1,
               QStringLiteral("PRV-%1").arg(a + 1));
    }
}

// The remittance's second part, and the invoices made from the remittance and
// the work order.
void addInvoicesFromVouchers(Db &db, const QString &remito, const QString &orden)
{
    // The remittance's second part: the first one's header, later and for less.
    auto part = db.prepare("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, FECHA, "
                           "CUENTA, RAZONSOCIAL, NOMBRE, IMPORTE, ID, IdReparto, EnComodato, CondicionIVA) SELECT TC, "
                           "IDCOMPROBANTE, 1, SUCURSAL, NUMERO, LETRA, '2024-07-12', CUENTA, RAZONSOCIAL, NOMBRE, 150, "
                           "9110, IdReparto, EnComodato, CondicionIVA FROM V_MV_CPTE WHERE TC = '  RM' AND "
                           "IDCOMPROBANTE = ? AND IdComplemento = 0");
    db.run(part, remito);
    // Invoices made from a voucher name it as their origin and bill its customer.
    auto invoice = db.prepare(
        "INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, FECHA, CUENTA, "
        "RAZONSOCIAL, NOMBRE, IMPORTE, ANULADA, ID, IdReparto, EnComodato, CondicionIVA, TCORIGEN, COMPROBANTEORIGEN, "
        "COMPLEMENTOORIGEN) SELECT '  FC', ?, 0, '0001', ?, 'A', ?, CUENTA, RAZONSOCIAL, NOMBRE, ?, ?, ?, 0, 0, "
        "CondicionIVA, TC, IDCOMPROBANTE, IdComplemento FROM V_MV_CPTE WHERE TC = ? AND IDCOMPROBANTE = ? AND "
        "IdComplemento = ?");
    const struct
    {
        int number;
        const char *date;
        double amount;
        int annulled;
        const char *originTc;
        QString origin;
        int originComplement;
    } invoices[] = {
        // The remittance's first invoice went out at the wrong prices and was made again;
        // its second part has an invoice of its own. The work order's only invoice is annulled.
        {9111, "2024-07-04", 420.0, 1, "RM", remito, 0},
        {9112, "2024-07-05", 400.0, 0, "RM", remito, 0},
        {9113, "2024-07-12", 150.0, 0, "RM", remito, 1},
        {9114, "2024-07-11", 5245.0, 1, "OT", orden, 0},
    };
    for (const auto &i : invoices) {
        const QString id = idComprobante(1, i.number, 'A');
        db.run(invoice,
               id,
               id.mid(4, 8),
               i.date,
               i.amount,
               i.annulled,
               i.number,
               Code(i.originTc, 4),
               i.origin,
               i.originComplement);
    }
}

// The entry model's samples (Options::entrySamples).
void AddEntrySamples(Db &db)
{
    const QString pedido = idComprobante(1, 9101, 'A');
    const QString remito = idComprobante(1, 9102, 'A');
    const QString orden = idComprobante(1, 9103, 'A');
    const QString compra = idComprobante(1, 9104, 'A');
    addEntryVouchers(db, pedido, remito, orden);
    addWorkOrderTasks(db, orden);
    addPurchaseOfTwoSuppliers(db, compra);
    addInvoicesFromVouchers(db, remito, orden);
}

} // namespace

QString Code(const QString &text, int width)
{
    return text.trimmed().rightJustified(width, ' ', true);
}

void CreateSchema(const QString &path, bool overwrite)
{
    const QFileInfo info(path);
    if (info.exists()) {
        if (!overwrite)
            throw DemoError(QStringLiteral("%1 already exists (use --force to replace it)").arg(path).toStdString());
        if (!QFile::remove(path))
            throw DemoError(QStringLiteral("cannot remove %1").arg(path).toStdString());
    }
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(),
                             &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    // A new file stays empty until its first page is written, and the data
    // layer takes an empty file for no database at all.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA user_version = 0", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw DemoError(QStringLiteral("cannot create %1").arg(path).toStdString());
    // The schema goes through the data layer, as every statement of the system does.
    try {
        ado::Connection cn;
        cn.Open(connectionString(path));
        cn.Execute(SchemaSql());
        cn.Close();
    } catch (const VbException &e) {
        QFile::remove(path);
        throw DemoError(("schema: " + e.err().Description).toStdString());
    }
}

namespace {

// Families, cost centres and positions, nested by code length.
void addLookupTrees(Db &db)
{
    auto tree = [&](const char *sql, std::initializer_list<std::pair<const char *, const char *>> rows) {
        auto st = db.prepare(sql);
        for (const auto &[code, text] : rows)
            db.run(st, code, text);
    };
    tree("INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES (?,?)",
         {{"1", "FERRETERIA"},
          {"11", "TORNILLOS"},
          {"111", "TORNILLOS PARKER"},
          {"112", "TORNILLOS AUTOPERFORANTES"},
          {"12", "CLAVOS"},
          {"2", "PINTURERIA"},
          {"21", "LATEX"},
          {"22", "ESMALTES"},
          {"3", "ELECTRICIDAD"},
          {"31", "CABLES"},
          {"311", "CABLES UNIPOLARES"}});
    tree("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES (?,?)",
         {{"1", "ADMINISTRACION"}, {"11", "CONTADURIA"}, {"2", "TALLER"}, {"21", "MANTENIMIENTO"}});
    tree("INSERT INTO ma_posiciones (iddeposito, idposicion, descripcion) VALUES ('   1',?,?)",
         {{"A", "PASILLO A"}, {"A1", "ESTANTE A1"}, {"A11", "ESTANTE A1 NIVEL 1"}, {"B", "PASILLO B"}});
}

// A sale of every row icon (approved, voided, pending, prepared), numbered
// on from `number`.
void addLookupSales(Db &db, int &number)
{
    auto sale = db.prepare("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, FECHA, "
                           "CUENTA, RAZONSOCIAL, NOMBRE, IMPORTE, ANULADA, APROBADO, FINALIZADA, FechaPreparacion, "
                           "COMENTARIOS, ID) VALUES (?,?,?,'0001',?,'A',?,?,?,?,?,?,?,0,?,?,?)");
    struct Sale
    {
        const char *tc;
        int complement, voided, approved;
        const char *prepared; // "" for none
        const char *note;
    };
    const Sale sales[] = {
        {"FC", 0, 0, 1, "", ""},
        {"FC", 0, 1, 1, "", ""},
        {"FC", 1, 0, 0, "", ""},
        {"NC", 0, 0, 0, "", ""},
        {"ND", 0, 0, 0, "", ""},
        {"OT", 2, 0, 0, "", "REPARACION BOMBA"},
        {"PR", 0, 0, 1, "", "OBRA CENTRO"},
        {"PR", 0, 1, 0, "", "ANULADO POR EL CLIENTE"},
        {"NP", 0, 0, 0, "2024-06-03 10:00:00", ""},
        {"NP", 0, 0, 0, "", ""},
        {"RM", 0, 0, 0, "", ""},
    };
    for (const Sale &v : sales) {
        ++number;
        const QString id = idComprobante(1, number, 'A');
        const char *name = kCustomers[number % int(std::size(kCustomers))];
        db.run(sale,
               Code(v.tc, 4),
               id,
               v.complement,
               id.mid(4, 8),
               "2024-06-01",
               Code("1000", 10),
               name,
               name,
               1000.0 + number % 100,
               v.voided,
               v.approved,
               v.prepared,
               v.note,
               number);
        if (*v.prepared == 0)
            db.exec(qPrintable(
                QStringLiteral("UPDATE V_MV_CPTE SET FechaPreparacion = NULL WHERE IDCOMPROBANTE = '%1'").arg(id)));
    }
}

// Orders, one with a guarantee and one received, and other purchases,
// numbered on from `number`.
void addLookupPurchases(Db &db, int &number)
{
    auto purchase = db.prepare("INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, "
                               "FECHA, CUENTA, RAZONSOCIAL, NOMBRE, IMPORTE, ANULADA, APROBADO, FINALIZADO, Garantia, "
                               "COMENTARIOS, ID) VALUES (?,?,0,'0001',?,'A',?,?,?,?,?,0,1,0,?,?,?)");
    struct Purchase
    {
        const char *tc;
        int guarantee;
        const char *note;
    };
    const Purchase purchases[] = {
        {"OC", 0, "ENTREGA EN OBRA"},
        {"OC", 1, "CON GARANTIA EXTENDIDA"},
        {"OC", 0, ""},
        {"FCC", 0, ""},
        {"RMC", 0, ""},
    };
    QString firstOrder;
    for (const Purchase &c : purchases) {
        ++number;
        const QString id = idComprobante(1, number, 'A');
        if (firstOrder.isEmpty())
            firstOrder = id;
        db.run(purchase,
               Code(c.tc, 4),
               id,
               id.mid(4, 8),
               "2024-06-02",
               Code("2000", 10),
               "DISTRIBUIDORA CENTRO SA",
               "DISTRIBUIDORA CENTRO SA",
               5000.0 + number % 100,
               c.guarantee,
               c.note,
               number);
    }
    // The first order's reception.
    auto reception = db.prepare(
        "INSERT INTO V_MV_STOCK (TC, IdComprobante, IdComplemento, Secuencia, Fecha, IdDeposito, "
        "IdArticulo, Descripcion, IdUnidad, Cantidad, Tc_Origen, IdComprobante_Origen) "
        "VALUES ('  IR',?,0,1,'2024-06-05','   1',?,?,'  UN',10,'  OC',?)");
    db.run(reception, idComprobante(1, ++number, 'A'), Code("ART0001", 25), kArticles[0], firstOrder);
}

// The lookups' samples, numbered from 9001 so that they stand apart from
// the generated vouchers.
void AddLookupSamples(Db &db)
{
    addLookupTrees(db);
    int number = 9000;
    addLookupSales(db, number);
    addLookupPurchases(db, number);

    auto third = db.prepare("INSERT INTO V_MV_CPTETERCEROS (ID, TC, IDCOMPROBANTE, IDCOMPLEMENTO, CUENTA, FECHA, "
                            "FECHAENVIADO, FECHARECIBIDO) VALUES (?,'  FC',?,0,?,?,?,?)");
    db.run(third, 1, idComprobante(1, 9001, 'A'), Code("1000", 10), "2024-06-01", "2024-06-02", "2024-06-04");
    db.run(third, 2, idComprobante(1, 9002, 'A'), Code("1001", 10), "2024-06-01", "2024-06-03", "");
    db.exec("UPDATE V_MV_CPTETERCEROS SET FECHARECIBIDO = NULL WHERE FECHARECIBIDO = ''");

    auto entry = db.prepare(
        "INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, CUENTA, FECHA, IMPORTE, [DEBE-HABER], "
        "DETALLE, SECUENCIA) VALUES ('NCPE','0001',?,'A',?,'2024-06-06',?,?,?,?)");
    db.run(entry, "00000001", Code("2000", 10), 250.0, "D", "BONIFICACION POR VOLUMEN", 1);
    db.run(entry, "00000001", Code("2000", 10), 250.0, "H", "BONIFICACION POR VOLUMEN", 2);
}

// What a stock movement's entry reads: the switch that asks for it, motives
// with accounts, stock accounts of articles, register types and their earlier
// entries, charges of accounts.
void addJournalData(Db &db)
{
    auto motive = db.prepare(
        "INSERT INTO V_TA_MOTIVOSTOCK (IDMOTIVOSTOCK, CUENTACONTABLE, Descripcion) VALUES (?,?,?)");
    db.run(motive, Code("1", 4), "5.1.01", "REMITOS");
    db.run(motive, Code("2", 4), "5.1.02", "TRANSFERENCIAS");
    db.run(motive, Code("3", 4), "5.1.03", "COMODATOS");
    db.run(motive, Code("4", 4), "5.1.04", "RECEPCION DE OC");
    auto config = db.prepare("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, DESCRIPCION) VALUES (?,?,?,?)");
    db.run(config, "MotivoStockComodato", "   3", "", "Motivo de stock de los comodatos");
    db.run(config, "MotivoStockRecepcionOC", "   4", "", "Motivo de stock de la recepción de órdenes");
    db.run(config, "AsientosXStock", "SI", "", "Asiento contable de los movimientos de stock");
    db.exec("INSERT INTO V_TA_MotivoVta (IdMotivoVta, Descripcion) SELECT '   9', 'VENTA DE MERCADERIA' "
            "WHERE NOT EXISTS (SELECT 1 FROM V_TA_MotivoVta WHERE IdMotivoVta = '   9')");
    db.exec("INSERT INTO V_TA_Input_Ventas (IdMotivoVta, COSTO_MERCADERIA) VALUES ('   9', '5.2.01')");
    db.exec("UPDATE V_MA_ARTICULOS SET cuentacontableC = CASE WHEN LTRIM(IDARTICULO) < 'ART0010' "
            "THEN '1.3.01' ELSE '1.3.02' END");
    auto subJournal = db.prepare("INSERT INTO MA_SUBDIARIOS (CODIGO, DESCRIPCION) VALUES (?,?)");
    db.run(subJournal, Code("2", 4), "STOCK");
    auto typeSubJournal = db.prepare("INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES (?,?)");
    db.run(typeSubJournal, Code("RM", 4), Code("2", 4));
    db.run(typeSubJournal, Code("IR", 4), Code("2", 4));
    auto entry = db.prepare("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA, CUENTA, FECHA, IMPORTE, "
                            "[DEBE-HABER], MES_OPERATIVO, PERIODO, TIPO_REG, [NUMERO ASIENTO]) "
                            "VALUES (?,'0001',?,'X',1,'5.1.01','2024-06-10',100,'D',6,2024,?,?)");
    db.run(entry, Code("AJ", 4), "00000001", Code("2", 4), 40);
    db.run(entry, Code("AJ", 4), "00000002", Code("3", 4), 7);
    auto charge = db.prepare("INSERT INTO V_MV_CargosAplicados (CUENTA, TC, IDCOMPROBANTE, SALDO) VALUES (?,?,?,?)");
    db.run(charge, Code("1000", 10), Code("FC", 4), "000100009001A", 120.5);
    db.run(charge, Code("1000", 10), Code("FC", 4), "000100009002A", 30.0);
}

void FillDemoDatabase(const QString &path, const Options &options, const std::vector<int> &types);

// Every date-time in the engine's one stored form (platform/ado/sqlite_datetime.h),
// the days written above without a time among them.
void storeDatesInOneForm(Db &db)
{
    const auto columns = db.pairs("SELECT m.name, p.type || '|' || p.name FROM sqlite_master m, "
                                  "pragma_table_info(m.name) p WHERE m.type = 'table'");
    for (const auto &[table, column] : columns) {
        if (ado::sqlite_values::describeType(column.section('|', 0, 0)) != ado::ColumnKind::Date)
            continue;
        const QString name = column.section('|', 1);
        db.exec(
            qPrintable(QStringLiteral("UPDATE \"%1\" SET \"%2\" = sqlsrv_datetime(\"%2\") WHERE length(\"%2\") <> %3")
                           .arg(table, name)
                           .arg(ado::sqlite_datetime::kStoredLength)));
    }
}

} // namespace

void CreateDemoDatabase(const QString &path, const Options &options)
{
    const std::vector<int> types = typeIndexes(options.types);
    CreateSchema(path, options.overwrite);
    // A run that fails leaves no file: a half-built one would pass for a
    // database and be refused by the next run without --force.
    try {
        FillDemoDatabase(path, options, types);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

namespace {

// Users, settings, depots and units.
void addSettings(Db &db)
{
    auto users = db.prepare(
        "INSERT INTO ta_usuarios (nombre, NombreCompleto, Administrador, UNegocio) VALUES (?,?,?,?)");
    db.run(users, "ADMIN", "Administrador del sistema", 1, Code("1", 4));
    db.run(users, "OPERADOR", "Operador de depósito", 0, Code("1", 4));

    auto config = db.prepare("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, DESCRIPCION) VALUES (?,?,?,?)");
    const char *const rows[][4] = {
        {"DepositoDefault", "   1", "", "Depósito por defecto"},
        {"TopConsArt", "1000", "", "Filas de las consultas de artículos"},
        {"UsaConsultaLIKE", "SI", "", "Búsqueda por parte del texto"},
        {"MostrarStockenConsultas", "NO", "", "Stock en las consultas"},
        {"ConfirmaUDEquiv", "NO", "", "Confirmar la unidad equivalente"},
        {"DescargaInsumosProduccion", "NO", "", "Descarga de insumos de producción"},
        {"MotivoStockRemito", "   1", "", "Motivo de stock de los remitos"},
        {"MotivoStockTransferencias", "   2", "", "Motivo de stock de las transferencias"},
        {"SeparadorHora", ":", "", "Separador de la hora"},
        {"Periodo", "2024", "", "Período contable"},
        {"NOM_PCLASE1", "Lista", "", "Precio 1"},
        {"NOM_PCLASE2", "Mayorista", "", "Precio 2"},
        {"EQU_  RM", "  FC", "", "Equivalencia de numeración"},
    };
    for (const auto &r : rows)
        db.run(config, r[0], r[1], r[2], r[3]);

    auto deposit = db.prepare("INSERT INTO V_TA_DEPOSITO (IDDEPOSITO, DESCRIPCION) VALUES (?,?)");
    db.run(deposit, Code("1", 4), "DEPOSITO CENTRAL");
    db.run(deposit, Code("2", 4), "SUCURSAL NORTE");
    auto unit = db.prepare("INSERT INTO V_TA_UNIDAD (IDUNIDAD, DESCRIPCION) VALUES (?,?)");
    db.run(unit, Code("UN", 4), "UNIDAD");
    db.run(unit, Code("KG", 4), "KILOGRAMO");
    db.run(unit, Code("M3", 4), "METRO CUBICO");
}

// Voucher types, the article catalogue and the people and tasks the vouchers name.
void addCatalogue(Db &db, const Options &options)
{
    // Voucher types with the system each belongs to: the four of the demo
    // vouchers, the consumption vouchers of production and the cost-of-sales entry.
    auto type = db.prepare("INSERT INTO TA_Comprobantes (CODIGO, DESCRIPCION, SISTEMA) VALUES (?,?,?)");
    for (int t = 0; t < 4; ++t)
        db.run(type, Code(kVoucherTypes[t], 4), kTypeNames[t], kSystems[t]);
    db.run(type, Code("PE", 4), "CONSUMO DE PRODUCCION", "STOCK");
    db.run(type, Code("CMV", 4), "COSTO DE MERCADERIAS VENDIDAS", "Contable");
    auto article = db.prepare("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, codigobarra, costo, "
                              "PRECIO1) VALUES (?,?,?,?,?,?)");
    const int sampleCount = int(std::size(kArticles));
    const int articleCount = std::max(1, options.articles);
    for (int a = 0; a < articleCount; ++a) {
        const QString name = a < sampleCount
                                 ? QString::fromUtf8(kArticles[a])
                                 : QStringLiteral("%1 %2").arg(QString::fromUtf8(kArticles[a % sampleCount])).arg(a + 1);
        const int sample = a % sampleCount;
        db.run(article,
               articleCode(a),
               name,
               Code("UN", 4),
               QStringLiteral("779%1").arg(100000 + a, 10, 10, QChar('0')),
               10.0 + sample * 1.25,
               15.5 + sample * 2.0);
    }
    auto task = db.prepare("INSERT INTO v_ta_tareas (IDTAREA, DESCRIPCION) VALUES (?,?)");
    for (int t = 0; t < int(std::size(kTasks)); ++t)
        db.run(task, Code(QStringLiteral("T%1").arg(t + 1), 10), kTasks[t]);
    auto customer = db.prepare(
        "INSERT INTO VT_CLIENTES (CODIGO, RAZONSOCIAL, RAZON_SOCIAL, CONTACTO, Dada_De_Baja) VALUES (?,?,?,?,?)");
    for (int c = 0; c < int(std::size(kCustomers)); ++c)
        db.run(customer, Code(QString::number(1000 + c), 10), kCustomers[c], kCustomers[c], kContacts[c % 4], 0);
    // A customer who closed down: the lookups leave it out.
    db.run(customer, Code("1999", 10), "ALMACEN LA ESQUINA", "ALMACEN LA ESQUINA", "ROSA DIAZ", 1);
    auto supplier = db.prepare(
        "INSERT INTO VT_PROVEEDORES (CODIGO, RAZONSOCIAL, RAZON_SOCIAL, Dada_De_Baja) VALUES (?,?,?,?)");
    for (int s = 0; s < int(std::size(kSuppliers)); ++s)
        db.run(supplier, Code(QString::number(2000 + s), 10), kSuppliers[s], kSuppliers[s], 0);
    auto contact = db.prepare(
        "INSERT INTO MA_CONTACTOS (CODIGO, Nombre_y_Apellido, Domicilio, Localidad, Telefono) VALUES (?,?,?,?,?)");
    for (int c = 0; c < int(std::size(kContacts)); ++c)
        db.run(contact,
               Code(QString::number(c + 1), 10),
               kContacts[c],
               kStreets[c],
               kTowns[c],
               QStringLiteral("0341-45%1").arg(1200 + c * 37));
    auto seller = db.prepare("INSERT INTO V_TA_VENDEDORES (IDVENDEDOR, NOMBRE) VALUES (?,?)");
    db.run(seller, Code("1", 4), "CARLOS GOMEZ");
    db.run(seller, Code("2", 4), "LAURA MARTINEZ");
    auto technician = db.prepare("INSERT INTO V_TA_TECNICOS (IDTECNICO, NOMBRE) VALUES (?,?)");
    db.run(technician, Code("1", 4), "PEDRO SOSA");
    db.run(technician, Code("2", 4), "MARTA RIOS");
    auto upkeep = db.prepare("INSERT INTO V_MA_MANTENIMIENTOS (CODIGO, DESCRIPCION) VALUES (?,?)");
    db.run(upkeep, Code("1", 10), "SERVICE AUTOELEVADOR");
    db.run(upkeep, Code("2", 10), "REVISION TABLERO ELECTRICO");
    db.run(upkeep, Code("3", 10), "CAMBIO DE FILTROS");
}

// The generated vouchers with their lines, tasks, observation and stock
// movements; the last number used of each of the four types.
std::array<int, 4> addVouchers(Db &db, const Options &options, const std::vector<int> &types)
{
    const int sampleCount = int(std::size(kArticles));
    const int articleCount = std::max(1, options.articles);
    auto header = db.prepare(
        "INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, FECHA, CUENTA, RAZONSOCIAL, "
        "IDDEPOSITO, UNEGOCIO, IMPORTE, USUARIO, FECHAHORA_GRABACION) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    auto purchase = db.prepare(
        "INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, SUCURSAL, NUMERO, LETRA, FECHA, CUENTA, RAZONSOCIAL, "
        "IDDEPOSITO, UNEGOCIO, IMPORTE, USUARIO) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    auto line = db.prepare(
        "INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, IdComplemento, RENGLON, IDARTICULO, "
        "DESCRIPCION, IDUNIDAD, CANTIDAD, PRECIO, IMPORTE, IDDEPOSITO) VALUES (?,?,?,?,?,?,?,?,?,?,?)");
    auto taskLine = db.prepare("INSERT INTO V_MV_CPTETAREAS (TC, IDCOMPROBANTE, IdComplemento, RENGLON, IDTAREA, "
                               "DESCRIPCION, HORAS, IMPORTE) VALUES (?,?,?,?,?,?,?,?)");
    auto note = db.prepare(
        "INSERT INTO V_MV_CPTE_OBSERV (TC, IDCOMPROBANTE, IdComplemento, OBSERVACIONES) VALUES (?,?,?,?)");
    auto stock = db.prepare("INSERT INTO V_MV_STOCK (TC, IdComprobante, IdComplemento, Secuencia, Fecha, IdDeposito, "
                            "IdArticulo, Descripcion, IdUnidad, Cantidad, CantidadUD, IdUnidadBase, IdMotivoStock, "
                            "PrecioVenta, Costo) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");

    const int vouchers = std::max(0, options.vouchers);
    const int perDay = std::max(1, options.perDay);
    const int dayGroups = (vouchers + perDay - 1) / perDay;
    const int timeCount = int(std::size(kTimesOfDay));
    std::array<int, 4> numbers = {0, 0, 0, 0};
    for (int v = 0; v < vouchers; ++v) {
        const int t = types[size_t(v) % types.size()];
        const QString tc = Code(kVoucherTypes[t], 4);
        // The samples' numbers are never generated, however many vouchers.
        if (numbers[t] + 1 == kPrimerNumeroMuestra)
            numbers[t] = kUltimoNumeroMuestra;
        const int number = ++numbers[t];
        const QString id = idComprobante(1, number, 'A');
        const int complement = options.complementEvery > 0 && (v + 1) % options.complementEvery == 0 ? 1 : 0;
        const int group = v / perDay;
        const qint64 dayOffset = dayGroups > 1 ? qint64(group) * (options.days - 1) / (dayGroups - 1) : 0;
        const QString date = options.firstDate.addDays(dayOffset).toString(QStringLiteral("yyyy-MM-dd")) + " "
                             + kTimesOfDay[(v % perDay) % timeCount];
        const QString account = Code(QString::number(1000 + v % int(std::size(kCustomers))), 10);
        const char *name = kCustomers[v % int(std::size(kCustomers))];
        const QString depot = Code(QString::number(1 + v % 2), 4);
        const int sign = t == 0 ? -1 : 1;
        double total = 0;
        for (int r = 0; r < 5; ++r) {
            // Vouchers use the sample articles only, whatever the catalogue's size.
            const int a = (v * 5 + r) % std::min(articleCount, sampleCount);
            const double qty = 1 + (v + r) % 12;
            const double price = 15.5 + a * 2.0;
            total += qty * price;
            const QString art = articleCode(a);
            const char *name = kArticles[a % sampleCount];
            db.run(line, tc, id, complement, r + 1, art, name, Code("UN", 4), qty, price, qty * price, depot);
            db.run(stock,
                   tc,
                   id,
                   complement,
                   r + 1,
                   date,
                   depot,
                   art,
                   name,
                   Code("UN", 4),
                   sign * qty,
                   sign * qty,
                   Code("UN", 4),
                   Code("1", 4),
                   price,
                   10.0 + a * 1.25);
        }
        for (int r = 0; r < 2; ++r) {
            const int k = (v + r) % int(std::size(kTasks));
            db.run(taskLine,
                   tc,
                   id,
                   complement,
                   r + 1,
                   Code(QStringLiteral("T%1").arg(k + 1), 10),
                   kTasks[k],
                   90.0 + 60 * r,
                   1200.0 * (r + 1));
        }
        db.run(note,
               tc,
               id,
               complement,
               QStringLiteral("Entregar en horario comercial. Comprobante %1 %2.").arg(tc.trimmed(), id));
        db.run(header,
               tc,
               id,
               complement,
               "0001",
               id.mid(4, 8),
               "A",
               date,
               account,
               name,
               depot,
               Code("1", 4),
               total,
               "ADMIN",
               date);
        if (t == 3) // the purchase-side twin of an order
            db.run(purchase,
                   tc,
                   id,
                   complement,
                   "0001",
                   id.mid(4, 8),
                   "A",
                   date,
                   account,
                   name,
                   depot,
                   Code("1", 4),
                   total,
                   "ADMIN");
    }
    return numbers;
}

void addBooks(Db &db, const std::array<int, 4> &numbers)
{
    // Numbering books, one per type: the demo vouchers' letter A at the number
    // after the last one used, "PE" and "CMV" with letter X from 1. The
    // cost-of-sales entries go to a sub-journal of their own.
    auto book = db.prepare("INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, DESCRIPCION, Letras, Sistema, "
                           "Modificanumeracion, Externo, A_ULTIMO_NRO, A_NRO_DESDE, A_NRO_HASTA, A_SUC_DEFAULT, "
                           "X_ULTIMO_NRO, X_NRO_DESDE, X_NRO_HASTA, X_SUC_DEFAULT) "
                           "VALUES (?,1,?,?,?,?,0,0,?,?,?,?,?,?,?,?)");
    for (int t = 0; t < 4; ++t)
        db.run(book,
               Code(kVoucherTypes[t], 4),
               Code("1", 4),
               kTypeNames[t],
               "A",
               kSystems[t],
               numbers[t] + 1,
               1,
               99999999,
               1,
               0,
               0,
               0,
               0);
    db.run(book, Code("PE", 4), Code("1", 4), "CONSUMO DE PRODUCCION", "X", "STOCK", 0, 0, 0, 0, 1, 1, 99999999, 1);
    db.run(book,
           Code("CMV", 4),
           Code("1", 4),
           "COSTO DE MERCADERIAS VENDIDAS",
           "X",
           "Contable",
           0,
           0,
           0,
           0,
           1,
           1,
           99999999,
           1);
    auto subJournal = db.prepare("INSERT INTO MA_SUBDIARIOS (CODIGO, DESCRIPCION) VALUES (?,?)");
    db.run(subJournal, Code("3", 4), "COSTO DE VENTAS");
    auto typeSubJournal = db.prepare("INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES (?,?)");
    db.run(typeSubJournal, Code("CMV", 4), Code("3", 4));
}

void FillDemoDatabase(const QString &path, const Options &options, const std::vector<int> &types)
{
    Db db(path);
    addSettings(db);
    addCatalogue(db, options);
    addBooks(db, addVouchers(db, options, types));
    const bool everySample = std::max(1, options.articles) >= int(std::size(kArticles));
    // What the voucher lookup shows of every voucher: its name; orders approved.
    db.exec("UPDATE V_MV_CPTE SET NOMBRE = RAZONSOCIAL");
    db.exec("UPDATE C_MV_CPTE SET NOMBRE = RAZONSOCIAL, APROBADO = 1");
    if (options.lookupSamples)
        AddLookupSamples(db);
    addStockData(db, everySample);
    addPostingData(db, everySample);
    AddEntryData(db);
    addJournalData(db);
    if (options.entrySamples && everySample)
        AddEntrySamples(db);
    storeDatesInOneForm(db);
    db.exec("COMMIT");
}

} // namespace

} // namespace demodata
