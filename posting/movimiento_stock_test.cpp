#include "posting/movimiento_stock.h"

#include "tests/support/posteo.h"

#include "database/armado_sql.h"
#include "database/globales.h"
#include "lots/lista_pipe.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using namespace posteo;

// One movement of one line, as the run hands it to the row.
struct Fila
{
    FilaDeGrilla linea = Linea(QStringLiteral("A1"), QStringLiteral("2"));
    EncabezadoStock enc;
    MovimientoStock mov;
};

struct CasoFila
{
    const char *nombre;
    std::function<void(Fila &)> prepara;
    std::map<QString, QString> columnas; // literal of each column named
    QStringList ausentes;                // columns the row leaves out
};

void PrintTo(const CasoFila &c, std::ostream *os)
{
    *os << c.nombre;
}

class ColumnasDeLaFila : public BasePosteo, public ::testing::WithParamInterface<CasoFila>
{
protected:
    static Fila Base()
    {
        Fila f;
        f.enc.TC = QStringLiteral("RM");
        f.enc.SucNroLetra = QStringLiteral("000100000001A");
        f.enc.IdComplemento = QStringLiteral("0");
        f.enc.Fecha = QStringLiteral("15/03/2024");
        f.enc.IdDeposito = QStringLiteral("'   1'");
        f.enc.IdDepositoDestino = QStringLiteral("NULL");
        f.enc.IdMotivoStock = QStringLiteral("'   1'");
        f.enc.TcOrigen = QStringLiteral("NULL");
        f.enc.ComprobanteOrigen = QStringLiteral("NULL");
        f.enc.Cuenta = QStringLiteral("NULL");
        f.enc.IdTecnico = QStringLiteral("NULL");
        f.enc.IdVendedor = QStringLiteral("1");
        f.enc.PIVA = 21;
        f.mov.Fila = 1;
        f.mov.Signo = -1;
        f.mov.Secuencia = 1;
        f.mov.Deposito = QStringLiteral("'   1'");
        f.mov.Cantidad = 2;
        return f;
    }
};

TEST_P(ColumnasDeLaFila, WrittenOrLeftOut)
{
    const CasoFila &c = GetParam();
    Fila f = Base();
    c.prepara(f);
    Grilla({f.linea});
    bool comodato = false;
    ArmaMovimientoStock(grilla, f.enc, f.mov, comodato);

    std::map<QString, QString> escritas;
    QStringList orden;
    for (const TipoCampoValor &campo : gCamposValores) {
        escritas[campo.NombreCampo] = campo.ValorCampo;
        orden << campo.NombreCampo;
    }
    for (const auto &[columna, literal] : c.columnas) {
        ASSERT_TRUE(escritas.count(columna))
            << columna.toStdString() << " missing from " << orden.join(',').toStdString();
        EXPECT_EQ(escritas[columna], literal) << columna.toStdString();
    }
    for (const QString &columna : c.ausentes)
        EXPECT_FALSE(escritas.count(columna)) << columna.toStdString() << " = " << escritas[columna].toStdString();
    // The statement the row makes is one the table takes.
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
    gDB().EjecutaConsultaSQL(InsertStock());
    EXPECT_EQ(gDB().gCnn().errors().Count(), 0);
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 1);
    EXPECT_TRUE(gCamposValores.empty());
}

auto Celda(int columna, const char *texto)
{
    return [=](Fila &f) { f.linea[columna] = QString::fromUtf8(texto); };
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ColumnasDeLaFila,
    ::testing::Values(
        CasoFila{"an issue of two units carries its sign, also in the base unit",
                 [](Fila &f) {
                     f.linea[ColAux41] = QStringLiteral("KG");
                     f.linea[ColAux74] = QStringLiteral("5,5");
                 },
                 {{"Cantidad", "-2"}, {"CantidadUD", "-5.5"}, {"IdUnidadBase", "'KG'"}, {"TC", "'  RM'"},
                  {"IdComprobante", "'000100000001A'"}, {"IdComplemento", "0"}, {"Secuencia", "1"},
                  {"Fecha", "'15/03/2024'"}, {"IdDeposito", "'   1'"}, {"IdArticulo", QString("'%1'").arg(QString("A1").rightJustified(25))}},
                 {"IDDEPOSITO_DESTINO", "IdTecnico", "IdOrigen", "CuentaProveedor"}},
        CasoFila{"no lot and no serial are bare NULLs", [](Fila &) {}, {{"NroLote", "NULL"}, {"NroSerie", "NULL"}}, {}},
        CasoFila{"lot and serial as the run gives them, a quote doubled",
                 [](Fila &f) {
                     f.mov.Lote = QStringLiteral("   L'1");
                     f.mov.Serie = QStringLiteral("S1");
                 },
                 {{"NroLote", "'   L''1'"}, {"NroSerie", "'S1'"}}, {}},
        CasoFila{"a description of 120 characters keeps its first 100, without quotes",
                 [](Fila &f) { f.linea[ColDescripcion] = QStringLiteral("  O'B") + QString(117, QLatin1Char('x')); },
                 {{"Descripcion", "'OB" + QString(97, QLatin1Char('x')) + "'"}}, {}},
        CasoFila{"an empty unit is NULL, an empty price unit still quoted",
                 Celda(ColUnidad, " "), {{"IdUnidad", "NULL"}, {"Ud_Pr", "''"}}, {}},
        CasoFila{"a unit and a price unit at width 4",
                 [](Fila &f) {
                     f.linea[ColUnidad] = QStringLiteral(" kg ");
                     f.linea[ColUnidadPrecio] = QStringLiteral("M2");
                 },
                 {{"IdUnidad", "'  kg'"}, {"Ud_Pr", "'  M2'"}}, {}},
        CasoFila{"a purchase type has no IdComplemento", [](Fila &f) { f.enc.EsCompras = true; }, {},
                 {"IdComplemento"}},
        CasoFila{"a cash desk written with quotes loses them",
                 [](Fila &) { gCaja = QStringLiteral("'1'"); }, {{"IdCaja", "'   1'"}}, {}},
        CasoFila{"no cash desk, no IdCaja", [](Fila &) { gCaja = QStringLiteral("  "); }, {}, {"IdCaja"}},
        CasoFila{"a VAT rate of 0 on a line that is not exempt takes the default rate",
                 Celda(AuxEsExento, "0"), {{"IVARI", "21"}}, {}},
        CasoFila{"an exempt line keeps its rate of 0", Celda(AuxEsExento, "-1"), {{"IVARI", "0"}}, {}},
        CasoFila{"a line's own VAT rate", Celda(AuxTasaIVA, "10.5"), {{"IVARI", "10.5"}}, {}},
        CasoFila{"an empty account is written as the empty text", [](Fila &f) { f.enc.Cuenta = QString(); },
                 {{"CuentaProveedor", "''"}}, {}},
        CasoFila{"each article's own supplier account",
                 [](Fila &f) { f.enc.Cuenta = QStringLiteral("PorDefault"); }, {{"CuentaProveedor", "'2001'"}}, {}},
        CasoFila{"an article without supplier account writes none",
                 [](Fila &f) {
                     f.enc.Cuenta = QStringLiteral("pordefault");
                     f.linea[ColArticulo] = QStringLiteral("A2");
                 },
                 {}, {"CuentaProveedor"}},
        CasoFila{"a technician \"null\" in any case is left out", [](Fila &f) { f.enc.IdTecnico = QStringLiteral(" Null "); },
                 {}, {"IdTecnico"}},
        CasoFila{"a technician at width 4", [](Fila &f) { f.enc.IdTecnico = QStringLiteral("3"); },
                 {{"IdTecnico", "'   3'"}}, {}},
        CasoFila{"an empty coefficient counts as 1", [](Fila &) {}, {{"EQUIV_UDBASE", "1"}}, {}},
        CasoFila{"the line's motive when the grid gives it",
                 [](Fila &f) {
                     f.enc.MotivoDeGrilla = true;
                     f.enc.IdMotivoStock = kElDelGrid;
                     f.linea[MotivoStock] = QStringLiteral("2");
                 },
                 {{"IdMotivoStock", "'   2'"}}, {}},
        CasoFila{"the line's origin voucher when the grid gives it",
                 [](Fila &f) {
                     f.enc.TcOrigenDeGrilla = f.enc.ComprobanteOrigenDeGrilla = true;
                     f.enc.TcOrigen = f.enc.ComprobanteOrigen = kElDelGrid;
                     f.linea[AuxCpteOrigen] = QStringLiteral("  NP000200000077B");
                     f.linea[AuxIdCpteOrigen] = QStringLiteral("77");
                 },
                 {{"Tc_Origen", "'NP'"}, {"IdComprobante_Origen", "'000200000077B'"}, {"Id_Origen", "77"}}, {}},
        CasoFila{"a transfer's issue names its destination",
                 [](Fila &f) {
                     f.enc.EsTransferencia = true;
                     f.mov.DepositoDestino = QStringLiteral("'   7'");
                 },
                 {{"IDDEPOSITO_DESTINO", "'   7'"}}, {}},
        CasoFila{"a transfer without destination writes null",
                 [](Fila &f) {
                     f.enc.EsTransferencia = true;
                     f.mov.DepositoDestino = QString();
                 },
                 {{"IDDEPOSITO_DESTINO", "null"}}, {}},
        CasoFila{"the line's own customs reference first",
                 [](Fila &f) {
                     f.linea[ControladoPor] = QStringLiteral(" D'1 ");
                     f.linea[Lote_Aduana] = QStringLiteral("AD2");
                     f.enc.Aduana = QStringLiteral("AD3");
                 },
                 {{"ControladoPor", "'D''1'"}}, {}},
        CasoFila{"then the lot's customs reference, without quotes",
                 [](Fila &f) {
                     f.linea[Lote_Aduana] = QStringLiteral(" A'D2");
                     f.enc.Aduana = QStringLiteral("AD3");
                 },
                 {{"ControladoPor", "'AD2'"}}, {}},
        CasoFila{"then the voucher's", [](Fila &f) { f.enc.Aduana = QStringLiteral(" AD3 "); },
                 {{"ControladoPor", "'AD3'"}}, {}},
        CasoFila{"the line's origin lot before the voucher's",
                 [](Fila &f) {
                     f.linea[Lote_Origen] = QStringLiteral("5");
                     f.enc.LoteOrigen = QStringLiteral("6");
                 },
                 {{"IdOrigen", "'   5'"}}, {}},
        CasoFila{"the voucher's origin lot", [](Fila &f) { f.enc.LoteOrigen = QStringLiteral(" 6"); },
                 {{"IdOrigen", "'   6'"}}, {}},
        CasoFila{"confirmed equivalent units: the line's equivalent quantity",
                 [](Fila &f) {
                     f.enc.ConfirmaUDEquiv = true;
                     f.linea[ColUnidadEquiv] = QStringLiteral("CJ ");
                     f.linea[ColCantidadEquiv] = QStringLiteral("4");
                     f.linea[ColAux41] = QStringLiteral("KG");
                 },
                 {{"CantidadUD", "-4"}, {"IdUnidadBase", "'  CJ'"}}, {}},
        CasoFila{"a weighed article takes its base unit even with confirmed units",
                 [](Fila &f) {
                     f.enc.ConfirmaUDEquiv = true;
                     f.linea[ColAux76] = QStringLiteral("1");
                     f.linea[ColAux41] = QStringLiteral("KG");
                     f.linea[ColAux74] = QStringLiteral("3");
                 },
                 {{"CantidadUD", "-3"}, {"IdUnidadBase", "'KG'"}}, {}},
        CasoFila{"a weighed article without base unit writes neither",
                 [](Fila &f) {
                     f.enc.ConfirmaUDEquiv = true;
                     f.linea[ColAux76] = QStringLiteral("SI");
                 },
                 {}, {"CantidadUD", "IdUnidadBase"}},
        CasoFila{"amounts as numbers",
                 [](Fila &f) {
                     f.linea[ColImporte] = QStringLiteral("12,5");
                     f.linea[AuxPrecioSinIVA] = QStringLiteral("10.33");
                     f.linea[ColAux38] = QStringLiteral("7");
                     f.linea[ColPorcDto] = QStringLiteral("x");
                     f.linea[EnComodato] = QStringLiteral("1");
                 },
                 {{"PrecioVenta", "12.5"}, {"Importe_S_Iva", "10.33"}, {"Costo", "7"}, {"DtoItem", "0"},
                  {"EnComodato", "1"}, {"IdVendedor", "'1'"}},
                 {}}));

TEST_F(BasePosteo, TheRowWritesBackTheCellsItNormalises)
{
    Grilla({Linea(QStringLiteral("A1"),
                  QStringLiteral("1"),
                  {{ColUnidadEquiv, QStringLiteral(" cj")}, {ColAux76, QString()}})});
    EncabezadoStock enc;
    enc.IdMotivoStock = enc.TcOrigen = enc.ComprobanteOrigen = enc.IdDepositoDestino = QStringLiteral("NULL");
    MovimientoStock mov;
    mov.Fila = 1;
    mov.Signo = 1;
    bool comodato = false;
    ArmaMovimientoStock(grilla, enc, mov, comodato);
    EXPECT_EQ(grilla.TextMatrix(1, ColUnidadEquiv), QStringLiteral("  cj"));
    EXPECT_EQ(grilla.TextMatrix(1, ColAux76), QStringLiteral("0"));
    EXPECT_EQ(grilla.TextMatrix(1, AuxCoeficiente), QStringLiteral("1"));
    EXPECT_FALSE(comodato);

    // A line in loan sets the flag, which then stays set.
    grilla.setTextMatrix(1, EnComodato, QStringLiteral(" 1 unidad"));
    ArmaMovimientoStock(grilla, enc, mov, comodato);
    EXPECT_TRUE(comodato);
    grilla.setTextMatrix(1, EnComodato, QStringLiteral("0"));
    ArmaMovimientoStock(grilla, enc, mov, comodato);
    EXPECT_TRUE(comodato);
}

struct CasoCantidad
{
    std::int16_t signo;
    bool talle;
    const char *lote;
    const char *serie;
    double entrada;
    std::int32_t entradas;
    bool reparto;
    double esperada;
    friend void PrintTo(const CasoCantidad &c, std::ostream *os)
    {
        *os << "sign " << c.signo << (c.talle ? " size" : "") << " lot '" << c.lote << "' serial '" << c.serie << "' "
            << c.entrada << " x" << c.entradas << (c.reparto ? " shared" : "");
    }
};

class CantidadDelMovimiento : public ::testing::TestWithParam<CasoCantidad>
{};

TEST_P(CantidadDelMovimiento, ByTheSignAndWhatTheMovementCarries)
{
    const CasoCantidad &c = GetParam();
    EXPECT_EQ(CantidadMovimiento({.signo = c.signo,
                                  .talle = c.talle,
                                  .lote = QString::fromLatin1(c.lote),
                                  .serie = QString::fromLatin1(c.serie),
                                  .entrada = c.entrada,
                                  .linea = 10,
                                  .entradas = c.entradas,
                                  .reparto = c.reparto}),
              c.esperada);
}

// The line holds 10; the movement's own quantity is 3.
INSTANTIATE_TEST_SUITE_P(
    Reglas,
    CantidadDelMovimiento,
    ::testing::Values(CasoCantidad{1, true, "L1", "", 3, 2, false, 3},    // a size
                      CasoCantidad{1, false, "", "", 3, 1, false, 3},     // no lot
                      CasoCantidad{1, false, "L1", "S1", 1, 3, false, 1}, // a serial
                      CasoCantidad{1, false, "L1", "", 3, 1, false, 10},  // the line's one lot
                      CasoCantidad{1, false, "L1", "", 3, 2, false, 1},   // one of several lots, one unit each
                      CasoCantidad{1, false, "L1", "", 3, 2, true, 3},    // one of several lots, its share
                      CasoCantidad{-1, false, "L1", "", 3, 2, false, 3},
                      CasoCantidad{-1, false, "", "", 3, 1, false, 3},
                      CasoCantidad{-1, false, "  ", " ", 0, 1, false, 10},
                      CasoCantidad{0, false, "L1", "", 3, 1, false, 10},
                      CasoCantidad{2, false, "L1", "", 3, 1, false, 10}));

// A lot key as the lists hold it: the lot, CHR(255), the serial.
QString Clave(const char *lote, const char *serie)
{
    return QString::fromLatin1(lote) + ListaPipe::SeparadorLoteSerie() + QString::fromLatin1(serie);
}

QString A25(const char *codigo)
{
    return QString::fromLatin1(codigo).rightJustified(25);
}

struct CasoEntrada
{
    const char *nombre;
    ItemsDeEntrada items; // the line holds 10 unless the case says otherwise
    QString lote;
    QString serie;
    double cantidad;
    bool deLaLista;
};

void PrintTo(const CasoEntrada &c, std::ostream *os)
{
    *os << c.nombre;
}

class EntradaDeLasListas : public ::testing::TestWithParam<CasoEntrada>
{};

TEST_P(EntradaDeLasListas, LotSerialAndQuantity)
{
    const CasoEntrada &c = GetParam();
    const EntradaElegida e = EligeEntrada(c.items);
    EXPECT_EQ(e.Lote, c.lote);
    EXPECT_EQ(e.Serie, c.serie);
    EXPECT_EQ(e.Cantidad, c.cantidad);
    EXPECT_EQ(e.DeLaLista, c.deLaLista);
}

INSTANTIATE_TEST_SUITE_P(
    Casos,
    EntradaDeLasListas,
    ::testing::Values(
        CasoEntrada{"an entry takes the items at its place, at width 25",
                    {.Signo = 1, .ItemLote = " L1", .ItemSerie = "S1 ", .Cantidad = 10},
                    A25("L1"),
                    A25("S1"),
                    10,
                    false},
        CasoEntrada{"a perishable article's one lot is its whole lot cell",
                    {.Signo = 1, .Perecedero = true, .Lotes = " V1 ", .ItemLote = "L1", .Cantidad = 10},
                    A25("V1"),
                    QString(),
                    10,
                    false},
        CasoEntrada{"an entry of a size: the lot of its key, the quantity of the other list",
                    {.Signo = 1, .Talle = true, .ItemLote = Clave("L1", "M"), .ItemSerie = "3", .Cantidad = 10},
                    A25("L1"),
                    QString(),
                    3,
                    true},
        CasoEntrada{"an entry without a lot takes the caller's fixed lot",
                    {.Signo = 1, .LoteFijo = " F1", .Cantidad = 10},
                    A25("F1"),
                    QString(),
                    10,
                    false},
        CasoEntrada{"a lot of its own wins over the fixed lot",
                    {.Signo = 1, .ItemLote = "L1", .LoteFijo = "F1", .Cantidad = 10},
                    A25("L1"),
                    QString(),
                    10,
                    false},
        CasoEntrada{"an entry of a serial splits its key and moves one unit",
                    {.Signo = 1, .Serie = true, .ItemSerie = Clave("L1", "S9"), .Cantidad = 10},
                    A25("L1"),
                    A25("S9"),
                    1,
                    false},
        CasoEntrada{"a transfer's serial key is in the lot list, its quantity in the other",
                    {.Signo = 1,
                     .Serie = true,
                     .Transferencia = true,
                     .ItemLote = Clave("L1", "S9"),
                     .ItemSerie = "2",
                     .Cantidad = 10},
                    A25("L1"),
                    A25("S9"),
                    2,
                    true},
        CasoEntrada{"an issue of a size takes the lot before the separator and the item's quantity",
                    {.Signo = -1, .Talle = true, .ItemLote = Clave("L1", ""), .ItemSerie = "4", .Cantidad = 10},
                    A25("L1"),
                    QString(),
                    4,
                    true},
        CasoEntrada{"an issue of a size without a key still takes the item's quantity, here none",
                    {.Signo = -1, .Talle = true, .ItemSerie = "0", .Cantidad = 10},
                    QString(),
                    QString(),
                    0,
                    true},
        CasoEntrada{"an issue from a lot takes lot and serial of its key and the item's quantity",
                    {.Signo = -1, .ItemLote = Clave("L1", "S1"), .ItemSerie = "2", .Cantidad = 10},
                    A25("L1"),
                    A25("S1"),
                    2,
                    true},
        CasoEntrada{"an issue without a lot moves the line",
                    {.Signo = -1, .ItemSerie = "2", .Cantidad = 10},
                    QString(),
                    QString(),
                    10,
                    false},
        CasoEntrada{"no sign takes nothing from the lists",
                    {.Signo = 0, .ItemLote = "L1", .ItemSerie = "S1", .Cantidad = 10},
                    QString(),
                    QString(),
                    10,
                    false}));

} // namespace
