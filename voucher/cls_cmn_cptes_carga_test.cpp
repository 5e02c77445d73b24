// Loading a stored voucher into grids laid out for its type, on a company
// made from the schema.
#include "tests/support/carga.h"
#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "platform/ado/ado.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/text_box.h"
#include "tests/support/base_prueba.h"
#include "tests/support/empresa.h"
#include "tests/support/grilla.h"
#include "tools/datos_demo.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

using Carga = Comprobantes;

TEST_F(Carga, TasksLinesAndOtherConceptsTakeTheirColumns)
{
    using namespace GrillaArticulos;
    const ValoresFila clave = Mas(Clave("FC", QStringLiteral("000100000021B")), {{"IdComplemento", "2"}});
    Cabecera(clave, {{"IdReparto", "3"}, {"EnComodato", "1"}, {"CondicionIVA", "5"}, {"RAZONSOCIAL", "'JUAN PEREZ'"}});
    // The month-first trap: both days are 12 or less.
    Inserta(QStringLiteral("V_MV_CPTETAREAS"),
            Mas(clave,
                {{"RENGLON", "1"},
                 {"ID", "1"},
                 {"IDTAREA", "'        T1'"},
                 {"DESCRIPCION", "' ARMADO '"},
                 {"HORAS", "90"},
                 {"ValorHora", "1200"},
                 {"valorHora_S_Iva", "991.74"},
                 {"Total", "1800"},
                 {"descripcionadicional", "'con andamio'"},
                 {"IDTECNICO", "'   2'"},
                 {"FechaEstInicio", "'2024-03-05'"},
                 {"FechaEstFin", "'2024-04-06'"},
                 {"FechaREALInicio", "'2024-11-02 14:30:00'"},
                 {"FechaREALFin", "NULL"}}));
    Inserta(QStringLiteral("V_MV_CPTETAREAS"),
            Mas(clave, {{"RENGLON", "2"}, {"ID", "2"}, {"IDTAREA", "'        T2'"}, {"HORAS", "45"}, {"Total", "300"}}));
    Linea(clave,
          1,
          "ART1",
          "10",
          {{"DESCRIPCION", "'TORNILLO 1/4'"},
           {"IDUNIDAD", "'  UN'"},
           {"IdUnidadBase", "'  CJ'"},
           {"CANTIDADUD", "0.1"},
           {"IMPORTE", "15.5"},
           {"Exento", "0"},
           {"PorcDto", "5"},
           {"IDLista", "'   2'"},
           {"Equiv_UDBase", "100"},
           {"Presentacion", "NULL"},
           {"Costo", "9.25"},
           {"Importe_S_IVA", "12.81"},
           {"Impuestos", "0.5"},
           {"Total", "155"},
           {"Nro_Lote", "'|L1|'"},
           {"Nro_Serie", "'|S1|'"},
           {"ControladoPor", "'ADUANA'"},
           {"IdOrigen", "'  AR'"},
           {"AlicIVA", "21"}});
    Linea(clave,
          2,
          "ART2",
          "2.5",
          {{"IDUNIDAD", "'  M3'"}, {"IMPORTE", "30"}, {"Exento", "1"}, {"Presentacion", "'BOLSA'"}, {"Total", "75"}});
    Inserta(QStringLiteral("V_MV_CPTE_OBSERV"),
            Mas(clave,
                {{"ID", "2"},
                 {"Observacion", "'Flete'"},
                 {"Importe", "121"},
                 {"Importe_S_IVA", "100"},
                 {"TIPO_OBS", "'OC'"}}));
    Inserta(QStringLiteral("V_MV_CPTE_OBSERV"),
            Mas(clave, {{"ID", "1"}, {"Observacion", "'Seguro'"}, {"Importe", "10"}, {"TIPO_OBS", "'OC'"}}));
    Inserta(QStringLiteral("V_MV_CPTE_OBSERV"),
            Mas(clave, {{"ID", "3"}, {"OBSERVACIONES", "'Entregar de mañana'"}, {"TIPO_OBS", "'OB'"}}));
    Disposicion(QStringLiteral("FC"));

    ado::Recordset cabecera;
    Asigna(QStringLiteral("FC"), QStringLiteral(" 000100000021B "), QStringLiteral(" 2 "), false, {}, &cabecera);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();

    // Two tasks: the first in the empty row, the second in an added one, then an empty row.
    ASSERT_EQ(tareas.Rows(), 4);
    const std::vector<std::pair<int, const char *>> tarea1{{0, "T1"},
                                                           {11, "T1"},
                                                           {1, "ARMADO"},
                                                           {2, "01:30"},
                                                           {3, "1200.00"},
                                                           {6, "991.74"},
                                                           {4, "1800.00"},
                                                           {7, "con andamio"},
                                                           {8, "05/03/2024"},
                                                           {9, "06/04/2024"},
                                                           {10, "2"},
                                                           {12, "02/11/2024 14:30:00"},
                                                           {13, ""}};
    for (const auto &[col, texto] : tarea1)
        EXPECT_EQ(tareas.TextMatrix(1, col), QString::fromUtf8(texto)) << "task column " << col;
    EXPECT_EQ(tareas.TextMatrix(2, 0), QStringLiteral("T2"));
    EXPECT_EQ(tareas.TextMatrix(2, 2), QStringLiteral("00:45"));
    EXPECT_EQ(tareas.TextMatrix(2, 3), QStringLiteral("0.00"));
    EXPECT_EQ(tareas.TextMatrix(3, 0), QString());

    ASSERT_EQ(articulos.Rows(), 4);
    const std::vector<std::pair<int, const char *>> linea1{{ColArticulo, "ART1"},
                                                           {ColDescripcion, "TORNILLO 1/4"},
                                                           {ColUnidad, "UN"},
                                                           {ColAux67, "UN"},
                                                           {ColCantidad, "10"},
                                                           {ColUnidadEquiv, "CJ"},
                                                           {ColCantidadEquiv, "0.1"},
                                                           {ColImporte, "15.5"},
                                                           {AuxPrecioConIVA, "15.5"},
                                                           {ColPorcDto, "5"},
                                                           {ColLista, "2"},
                                                           {EnComodato, "1"},
                                                           {ColAux59, "FERRETERIA"},
                                                           {ColAux60, "CAJA X 100"},
                                                           {AuxEsExento, "0"},
                                                           {AuxPideSerie, "-1"},
                                                           {AuxPidelote, "0"},
                                                           {Auxesperecedero, "-1"},
                                                           {AuxCoeficiente, "100"},
                                                           {AuxTipoCoeficiente, "*"},
                                                           {AuxPideTalle, "0"},
                                                           {ColAux76, "-1"},
                                                           {ColAux77, "7790001"},
                                                           {ColAux41, "CJ"},
                                                           {ColAux38, "9.25"},
                                                           {AuxPrecioSinIVA, "12.81"},
                                                           {ColImpuestos, "0.5"},
                                                           {ColTotal, "155"},
                                                           {ColNroLote, "|L1|"},
                                                           {ColNroSerie, "|S1|"},
                                                           {Lote_Aduana, "ADUANA"},
                                                           {Lote_Origen, "AR"},
                                                           {AuxTasaIVA, "21"},
                                                           {ColTotalLinea, "160"},
                                                           {AuxRestoPorAplicar, "10"},
                                                           {ColAux69, "000100000021B"}};
    for (const auto &[col, texto] : linea1)
        EXPECT_EQ(A(1, col), QString::fromUtf8(texto)) << "article column " << col;
    // The second line: exempt (no price with VAT), its own presentation over
    // the master's, a Null equivalence read as 1, the base unit its own unit.
    const std::vector<std::pair<int, const char *>> linea2{{ColArticulo, "ART2"},
                                                           {ColCantidad, "2.5"},
                                                           {AuxPrecioConIVA, ""},
                                                           {AuxEsExento, "-1"},
                                                           {ColAux60, "BOLSA"},
                                                           {AuxCoeficiente, "1"},
                                                           {ColAux41, "M3"},
                                                           {AuxPideTalle, "-1"},
                                                           {ColAux76, "0"},
                                                           {ColAux59, "ARIDOS"},
                                                           {EnComodato, "1"},
                                                           {ColTotalLinea, "75"}};
    for (const auto &[col, texto] : linea2)
        EXPECT_EQ(A(2, col), QString::fromUtf8(texto)) << "article column " << col;
    EXPECT_EQ(A(3, ColArticulo), QString());

    // Other concepts in their order by ID; the plain observation is no concept.
    ASSERT_EQ(otros.Rows(), 4);
    EXPECT_EQ(otros.TextMatrix(1, 0), QStringLiteral("Seguro"));
    EXPECT_EQ(otros.TextMatrix(1, 1), QStringLiteral("0.00"));
    EXPECT_EQ(otros.TextMatrix(2, 0), QStringLiteral("Flete"));
    EXPECT_EQ(otros.TextMatrix(2, 2), QStringLiteral("121.00"));
    EXPECT_EQ(otros.TextMatrix(2, 1), QStringLiteral("100.00"));

    EXPECT_EQ(idReparto, 3);
    ASSERT_EQ(cabecera.State(), ado::adStateOpen);
    EXPECT_EQ(cabecera.Fields(QStringLiteral("RAZONSOCIAL")).Value().toString(), QStringLiteral("JUAN PEREZ"));
    EXPECT_EQ(EnviadasCon(QStringLiteral("SELECT * FROM V_MV_CPTE  WHERE TC = '  FC' AND IDCOMPROBANTE = "
                                         "'000100000021B' AND IdComplemento = 2 ORDER BY ID "))
                  .size(),
              1);
}

TEST_F(Carga, WhatTheGridAlreadyHolds)
{
    using namespace GrillaArticulos;
    const ValoresFila clave = Clave("RM", kRM);
    Cabecera(clave);
    Linea(clave, 1, "ART1", "4");
    Disposicion(QStringLiteral("RM"));
    // A line of the caller's own in the last row: the loaded one goes below it.
    articulos.setRows(3);
    articulos.setTextMatrix(2, ColArticulo, QStringLiteral("ART9"));
    Asigna(QStringLiteral("RM"), kRM);
    EXPECT_EQ(Lineas(ColArticulo), (QStringList{QString(), QStringLiteral("ART9"), QStringLiteral("ART1"), QString()}));
    // No tasks and no concepts: those grids are as the layout left them.
    EXPECT_EQ(tareas.Rows(), 2);
    EXPECT_EQ(otros.Rows(), 2);

    // An empty last row takes the line itself.
    Disposicion(QStringLiteral("RM"));
    Asigna(QStringLiteral("RM"), kRM);
    EXPECT_EQ(Lineas(ColArticulo), (QStringList{QStringLiteral("ART1"), QString()}));
}

TEST_F(Carga, OrdersOfTypeNPByPalletsWithoutTheirLots)
{
    using namespace GrillaArticulos;
    const ValoresFila clave = Clave("NP", kRM);
    Cabecera(clave);
    Linea(clave, 1, "ART1", "1", {{"PALLETS", "2"}, {"Nro_Lote", "'|L1|'"}, {"ControladoPor", "'X'"}});
    Linea(clave, 2, "ART2", "1", {{"PALLETS", "1"}, {"Nro_Serie", "'|S1|'"}, {"IdOrigen", "'AR'"}});
    const struct
    {
        const char *tc;
        QStringList orden;
        const char *clausula;
    } casos[] = {
        {"np", {QStringLiteral("ART2"), QStringLiteral("ART1"), QString()}, " ORDER BY PALLETS "},
        // The condition and the lot test trim the type; the order does not.
        {" NP", {QStringLiteral("ART1"), QStringLiteral("ART2"), QString()}, " ORDER BY ID "},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.tc);
        [&] {
            Disposicion(QStringLiteral("NP"));
            articulos.setTextMatrix(1, ColNroLote, QStringLiteral("dejado"));
            Asigna(QString::fromLatin1(c.tc), kRM);
            EXPECT_EQ(Lineas(ColArticulo), c.orden);
            for (int col : {ColNroLote, ColNroSerie, Lote_Origen, Lote_Aduana})
                EXPECT_EQ(A(2, col), QString()) << col;
            EXPECT_EQ(A(1, ColNroLote), QStringLiteral("dejado"));
            const QStringList lineas = EnviadasCon(QStringLiteral("FROM V_MV_CPTEINSUMOS"));
            ASSERT_EQ(lineas.size(), 1);
            EXPECT_TRUE(lineas[0].endsWith(QString::fromLatin1(c.clausula))) << lineas[0].toStdString();
            EXPECT_TRUE(lineas[0].contains(QStringLiteral("TC = '  NP'"), Qt::CaseInsensitive));
        }();
    }
}

TEST_F(Carga, PurchasesByTheSupplierWhateverTheComplement)
{
    using namespace GrillaArticulos;
    // One number under two suppliers.
    for (const char *cuenta : {"O'BRIEN", "ZARATE"}) {
        const ValoresFila clave = Clave("FCC", kRM, cuenta);
        Cabecera(clave, {{"IdReparto", "-1"}}, true);
        Linea(clave,
              1,
              cuenta[0] == 'O' ? "ART1" : "ART2",
              "10",
              {{"Precio_Lista", "1.5"},
               {"CodigoArtProveedor", "' P-77 '"},
               {"PorcDto", "9"},
               {"IDLista", "'   3'"},
               {"AlicIVA", "21"},
               {"Total", "20"},
               {"Impuestos", "1"}},
              true);
        Inserta(QStringLiteral("C_MV_CPTETAREAS"),
                Mas(clave,
                    {{"RENGLON", "1"},
                     {"IDTAREA", "'T1'"},
                     {"descripcionadicional", "'de compra'"},
                     {"FechaEstInicio", "'2024-01-02'"}}));
    }
    struct Caso
    {
        const char *nombre;
        const char *tc; // of the purchase system, in any case
        bool compras;   // the purchase tables
    };
    for (const Caso &c : {Caso{"purchase_tables", "fcc", true}, Caso{"sales_tables", "FCC", false}}) {
        SCOPED_TRACE(c.nombre);
        [&] {
            Disposicion(QStringLiteral("FCC"));
            for (int col : {ColLista, ColPorcDto, AuxTasaIVA, EnComodato})
                articulos.setTextMatrix(1, col, QStringLiteral("antes"));
            idReparto = 7;
            if (!c.compras) {
                // The same voucher on the sales side, under the complement.
                const ValoresFila clave = Mas(Clave("FCC", kRM), {{"IdComplemento", "0"}});
                Cabecera(clave, {{"IdReparto", "-1"}});
                Linea(clave, 1, "ART2", "3", {{"Precio_Lista", "NULL"}});
            }
            Asigna(QString::fromLatin1(c.tc),
                   kRM,
                   QStringLiteral("no es un número"),
                   c.compras,
                   QStringLiteral("O'BRIEN"));
            if (c.compras) {
                EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
                EXPECT_EQ(Lineas(ColArticulo), (QStringList{QStringLiteral("ART1"), QString()}));
                EXPECT_EQ(A(1, ColAux79), QStringLiteral("1.5"));
                EXPECT_EQ(A(1, ColAux75), QStringLiteral(" P-77 "));
                EXPECT_EQ(A(1, ColTotalLinea), QStringLiteral("30"));
                // A purchase shows its stored quantity.
                EXPECT_EQ(A(1, ColCantidad), QStringLiteral("10"));
                EXPECT_EQ(A(1, AuxRestoPorAplicar), QStringLiteral("10"));
                // Tasks of a purchase carry no sales details.
                EXPECT_EQ(tareas.TextMatrix(1, 0), QStringLiteral("T1"));
                EXPECT_EQ(tareas.TextMatrix(1, GrillaTareas::AuxObservAdic), QString());
                EXPECT_EQ(tareas.TextMatrix(1, GrillaTareas::AuxFechaInicio), QString());
                EXPECT_TRUE(EnviadasCon(QStringLiteral("IdComplemento")).isEmpty());
                EXPECT_EQ(EnviadasCon(QStringLiteral("AND CUENTA = 'O''BRIEN'")).size(), 4);
            } else {
                // The complement is no number: the handler says so and nothing is read.
                ASSERT_EQ(operador.requests().size(), 1u);
                EXPECT_TRUE(operador.requests()[0].title.contains(QStringLiteral("AsignarDatosPresupuesto")));
                EXPECT_TRUE(EnviadasCon(QStringLiteral("no es un")).isEmpty());
                EXPECT_EQ(A(1, ColArticulo), QString());
                operador.clear();
                Asigna(QString::fromLatin1(c.tc), kRM, QStringLiteral("0"), false);
                EXPECT_EQ(Lineas(ColArticulo), (QStringList{QStringLiteral("ART2"), QString()}));
                EXPECT_EQ(A(1, ColAux79), QString());
            }
            for (int col : {ColLista, ColPorcDto, AuxTasaIVA, EnComodato})
                EXPECT_EQ(A(1, col), QStringLiteral("antes")) << col;
            EXPECT_EQ(idReparto, 7);
        }();
    }
}

TEST_F(Carga, ALineOfAVoucherOfLetterB)
{
    using namespace GrillaArticulos;
    struct Caso
    {
        const char *nombre;
        const char *condicionCliente;
        const char *exento; // of the line
        const char *precioConIva;
        const char *esExento;
    };
    const Caso casos[] = {
        {"b_taxed", "5", "0", "15.5", "0"},
        {"b_exempt", "5", "1", "", "-1"},
        {"b_null_exemption_taxed", "4", "NULL", "15.5", "0"},
        {"a_taxed", "2", "0", "", "0"},
    };
    int n = 0;
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        const QString id = QStringLiteral("0001000009%1B").arg(++n, 2, 10, QLatin1Char('0'));
        const ValoresFila clave = Clave("FC", id);
        Cabecera(clave, {{"CondicionIVA", QString::fromLatin1(c.condicionCliente)}});
        Linea(clave, 1, "ART1", "1", {{"IMPORTE", "15.5"}, {"Exento", QString::fromLatin1(c.exento)}});
        Disposicion(QStringLiteral("FC"));
        Asigna(QStringLiteral("FC"), id);
        EXPECT_EQ(A(1, AuxPrecioConIVA), QString::fromLatin1(c.precioConIva));
        EXPECT_EQ(A(1, AuxEsExento), QString::fromLatin1(c.esExento));
    }
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

TEST_F(Carga, AVoucherThatIsNotThereIsSaidAndChangesNothing)
{
    Disposicion(QStringLiteral("RM"));
    tareas.setTextMatrix(1, 0, QStringLiteral("T9"));
    ado::Recordset cabecera;
    operador.answer(ui::vbIgnore);
    Asigna(QStringLiteral("RM"), QStringLiteral("000199999999A"), QStringLiteral("0"), false, {}, &cabecera);
    ASSERT_EQ(operador.requests().size(), 1u);
    EXPECT_TRUE(operador.requests()[0].prompt.contains(QStringLiteral("No existe el comprobante RM 000199999999A")))
        << operador.requests()[0].prompt.toStdString();
    EXPECT_TRUE(operador.requests()[0].title.contains(QStringLiteral("AsignarDatosPresupuesto")));
    EXPECT_EQ(idReparto, 7);
    EXPECT_EQ(cabecera.State(), ado::adStateClosed);
    EXPECT_EQ(tareas.Rows(), 2);
    EXPECT_EQ(tareas.TextMatrix(1, 0), QStringLiteral("T9"));
    EXPECT_EQ(articulos.Rows(), 2);
    // Nothing but the header was asked for.
    EXPECT_TRUE(EnviadasCon(QStringLiteral("V_MV_CPTEINSUMOS")).isEmpty());
}

TEST_F(Carga, AQuoteInTheVoucherNumberIsPartOfIt)
{
    const QString id = QStringLiteral("0001'0000001A");
    const ValoresFila clave = Clave("RM", id);
    Cabecera(clave);
    Linea(clave, 1, "ART1", "2");
    Disposicion(QStringLiteral("RM"));
    Asigna(QStringLiteral("RM"), id);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
    EXPECT_EQ(A(1, GrillaArticulos::ColArticulo), QStringLiteral("ART1"));
    EXPECT_EQ(A(1, GrillaArticulos::ColAux69), id);
}

// A failing query: the data layer's box first (answered Abort: the
// recordset stays closed), then the load's own handler.
struct CasoFallo
{
    const char *nombre;
    std::vector<int> respuestas;
    int cuadros;
    bool articulos; // the article and other-concept grids loaded
    bool cabecera;  // the header handed back
    friend void PrintTo(const CasoFallo &c, std::ostream *os) { *os << c.nombre; }
};

class FalloDeConsulta : public Carga, public ::testing::WithParamInterface<CasoFallo>
{};

TEST_P(FalloDeConsulta, TheAnswerDecidesWhatTheGridsKeep)
{
    const CasoFallo &c = GetParam();
    const ValoresFila clave = Clave("RM", kRM);
    Cabecera(clave, {{"IdReparto", "5"}});
    Linea(clave, 1, "ART1", "2");
    Inserta(QStringLiteral("V_MV_CPTE_OBSERV"), Mas(clave, {{"Observacion", "'Flete'"}, {"TIPO_OBS", "'OC'"}}));
    Ejecuta(QStringLiteral("ALTER TABLE V_MV_CPTETAREAS RENAME TO V_MV_CPTETAREAS_FUERA"));
    Disposicion(QStringLiteral("RM"));
    for (int r : c.respuestas)
        operador.answer(r);
    ado::Recordset cabecera;
    Asigna(QStringLiteral("RM"), kRM, QStringLiteral("0"), false, {}, &cabecera);

    ASSERT_EQ(int(operador.requests().size()), c.cuadros) << operador.prompts().join('\n').toStdString();
    EXPECT_EQ(operador.unexpected(), 0);
    EXPECT_TRUE(operador.requests()[0].prompt.contains(QStringLiteral("AbrirRecordset")))
        << operador.requests()[0].prompt.toStdString();
    EXPECT_TRUE(operador.requests()[1].title.contains(QStringLiteral(" - AsignarDatosPresupuesto")))
        << operador.requests()[1].title.toStdString();
    EXPECT_EQ(tareas.Rows(), 2);
    EXPECT_EQ(A(1, GrillaArticulos::ColArticulo), c.articulos ? QStringLiteral("ART1") : QString());
    EXPECT_EQ(otros.TextMatrix(1, 0), c.articulos ? QStringLiteral("Flete") : QString());
    EXPECT_EQ(cabecera.State(), c.cabecera ? ado::adStateOpen : ado::adStateClosed);
    // The header was read before the grids.
    EXPECT_EQ(idReparto, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Respuestas,
    FalloDeConsulta,
    ::testing::Values(CasoFallo{"abort", {ui::vbAbort, ui::vbAbort}, 2, false, false},
                      CasoFallo{"ignore", {ui::vbAbort, ui::vbIgnore}, 2, true, true},
                      // A retry opens the query again: its box, then the handler's once more.
                      CasoFallo{"retry", {ui::vbAbort, ui::vbRetry, ui::vbAbort, ui::vbIgnore}, 4, true, true}),
    [](const ::testing::TestParamInfo<CasoFallo> &info) { return std::string(info.param.nombre); });

// The demo company's entry samples, loaded as a form would.
class CargaDemo : public Empresa
{
protected:
    void SetUp() override
    {
        Empresa::SetUp();
        demodata::Options opciones;
        opciones.vouchers = 8;
        opciones.entrySamples = true;
        UsaDemo(opciones);
    }
    void Carga(const char *tc, const char *id, bool compras = false, const QString &proveedor = {})
    {
        ClsCmnCptes cptes;
        cptes.InicializaGrids(&tareas, &articulos, &otros, &edit, nullptr, &edit3, form, QString::fromLatin1(tc), nullptr);
        std::int16_t reparto = 0;
        cptes.AsignarDatosComprobante(QString::fromLatin1(tc),
                                      QString::fromLatin1(id),
                                      QStringLiteral("0"),
                                      &tareas,
                                      &articulos,
                                      &otros,
                                      Variant(),
                                      nullptr,
                                      compras,
                                      proveedor,
                                      reparto);
    }
    QWidget form;
    ui::FlexGrid tareas, articulos, otros;
    ui::TextBox edit, edit3;
};

TEST_F(CargaDemo, AnOrderShowsWhatTheRemittanceLeftToDeliver)
{
    using namespace GrillaArticulos;
    Carga("NP", "000100009101A");
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
    // By pallet: delivered in full, not delivered, delivered in part.
    EXPECT_EQ(ColumnaCargada(articulos, ColArticulo),
              (QStringList{QStringLiteral("ART0005"), QStringLiteral("ART0019"), QStringLiteral("ART0001")}));
    EXPECT_EQ(ColumnaCargada(articulos, ColCantidad),
              (QStringList{QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("8")}));
    EXPECT_EQ(ColumnaCargada(articulos, AuxRestoPorAplicar),
              (QStringList{QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("8")}));
}

TEST_F(CargaDemo, AWorkOrderAndAPurchaseOfOneOfTwoSuppliers)
{
    Carga("OT", "000100009103A");
    EXPECT_EQ(ColumnaCargada(tareas, GrillaTareas::ColHoras),
              (QStringList{QStringLiteral("02:30"), QStringLiteral("00:45")}));
    EXPECT_EQ(ColumnaCargada(tareas, GrillaTareas::AuxFechaREALFin),
              (QStringList{QStringLiteral("09/07/2024 17:30:00"), QStringLiteral("10/07/2024 08:45:00")}));
    EXPECT_EQ(ColumnaCargada(otros, GrillaOtrosConceptos::ColDetalle),
              (QStringList{QStringLiteral("VIATICOS"), QStringLiteral("MATERIALES MENORES")}));
    EXPECT_EQ(ColumnaCargada(otros, GrillaOtrosConceptos::ColImporteConcepto),
              (QStringList{QStringLiteral("1815.00"), QStringLiteral("830.00")}));

    Carga("FCC", "000100009104A", true, demodata::Code(QStringLiteral("2003"), 10));
    EXPECT_EQ(ColumnaCargada(articulos, GrillaArticulos::ColArticulo), QStringList{QStringLiteral("ART0004")});
    EXPECT_EQ(ColumnaCargada(articulos, GrillaArticulos::ColCantidad), QStringList{QStringLiteral("300")});
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

} // namespace
