#include "lookup/frm_cons_comprobantes.h"

#include "lookup/consulta_comprobantes.h"
#include "platform/runtime/strings.h"
#include "platform/ui/default_instance.h"
#include "tests/support/clics_vistas.h"
#include "tests/support/empresa.h"
#include "tests/support/impresion_qt.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>

namespace {

using ui::ListItem;

// ---- the list query ----

TEST(SentenciaComprobantes, OneStatementPerCase)
{
    struct Caso
    {
        const char *tc;
        bool pendientes;
        const char *filtro;
        bool remitoContado;
        bool entregaParcial;
        const char *sentencia;
    };
    const Caso casos[] = {
        {"RMC",
         true,
         "CUENTA = '1'",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM C_RemitosPendientes WHERE TC = ' "
         "RMC' AND CUENTA = '1' ORDER BY IDCOMPROBANTE DESC"},
        {"RMC",
         true,
         " ",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM C_RemitosPendientes WHERE TC = ' "
         "RMC' ORDER BY IDCOMPROBANTE DESC"},
        {"RM",
         true,
         "X = 1",
         true,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM V_RemitosPendientes "
         "WHERE TC = '  RM' AND X = 1 ORDER BY IDCOMPROBANTE DESC"},
        {"RM",
         true,
         "X = 1",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM V_MV_CPTE WHERE TC = '  "
         "RM' AND X = 1  AND FINALIZADA = 0 ORDER BY IDCOMPROBANTE DESC"},
        {"RM",
         true,
         "",
         true,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM V_RemitosPendientes "
         "WHERE TC = '  RM' ORDER BY IDCOMPROBANTE DESC"},
        {"RM",
         true,
         "",
         true,
         true,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM V_MV_CPTE WHERE TC = '  "
         "RM' AND FINALIZADA = 0 ORDER BY IDCOMPROBANTE DESC"},
        {"t3", false, "X = 1", false, false, "SELECT * FROM V_MV_CPTETERCEROS ORDER BY ID,IDCOMPROBANTE, IDCOMPLEMENTO"},
        {"NCPE",
         false,
         "X = 1",
         false,
         false,
         "SELECT * FROM MV_ASIENTOS WHERE TC = 'NCPE' AND X = 1 ORDER BY SUCURSAL, NUMERO, LETRA DESC "},
        {"NDPR",
         false,
         "",
         false,
         false,
         "SELECT * FROM MV_ASIENTOS WHERE TC = 'NDPR' AND SECUENCIA = 1 ORDER BY SUCURSAL, NUMERO, LETRA DESC"},
        {"FCC",
         false,
         "X = 1",
         false,
         false,
         "SELECT * FROM C_MV_CPTE WHERE TC = ' FCC' AND X = 1 ORDER BY IDCOMPROBANTE DESC "},
        {"RMC", false, "", false, false, "SELECT * FROM C_MV_CPTE WHERE TC = ' RMC' ORDER BY IDCOMPROBANTE DESC"},
        {"OT",
         true,
         "X = 1",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, IDCOMPlemento,ID,FECHA, Importe FROM "
         "V_OT_Pendientes WHERE TC = '  OT' AND X = 1 ORDER BY IDCOMPROBANTE DESC"},
        {"OT",
         true,
         "",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, IDCOMPlemento,ID,FECHA, Importe FROM "
         "V_OT_Pendientes WHERE TC = '  OT'  ORDER BY IDCOMPROBANTE DESC"},
        {"OT",
         false,
         "",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, IDCOMPlemento , ID,FECHA, Importe FROM "
         "V_OT_Pendientes WHERE TC = '  OT'  ORDER BY IDCOMPROBANTE DESC"},
        {"NP",
         true,
         "X = 1",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe, FechaPreparacion FROM "
         "V_MV_CPTE WHERE TC = '  NP' AND X = 1 AND FINALIZADA = 0 and anulada = 0 ORDER BY IDCOMPROBANTE DESC"},
        {"NP",
         true,
         "",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe,FechaPreparacion FROM "
         "V_MV_CPTE WHERE TC = '  NP' AND FINALIZADA = 0 and anulada = 0 ORDER BY IDCOMPROBANTE DESC"},
        {"PR",
         true,
         "X = 1",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe, comentarios FROM V_MV_CPTE "
         "WHERE TC = '  PR' AND APROBADO = 1 AND X = 1 AND FINALIZADA = 0 ORDER BY IDCOMPROBANTE DESC"},
        {"PR",
         true,
         "",
         false,
         false,
         " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe, comentarios FROM "
         "V_PR_PENDIENTES WHERE TC = '  PR' AND APROBADO = 1 ORDER BY IDCOMPROBANTE DESC"},
        {"OC",
         false,
         " a = 1",
         false,
         false,
         " SELECT FECHA, CUENTA , NOMBRE, ANULADA, APROBADO, TC,IDCOMPROBANTE, ID,Importe, comentarios, Garantia FROM "
         "C_MV_CPTE WHERE TC = '  OC' AND (APROBADO = 1) AND (FINALIZADO = 0) AND (ANULADA = 0) AND  a = 1 ORDER BY "
         "IDCOMPROBANTE DESC"},
        {"OC",
         false,
         "",
         false,
         false,
         " SELECT FECHA, CUENTA , NOMBRE, ANULADA, APROBADO, TC,IDCOMPROBANTE, ID,Importe, comentarios, Garantia FROM "
         "C_MV_CPTE WHERE TC = '  OC' AND (APROBADO = 1) AND (FINALIZADO = 0) AND (ANULADA = 0) ORDER BY IDCOMPROBANTE "
         "DESC"},
        {"PR",
         false,
         "",
         false,
         false,
         "SELECT * FROM V_MV_CPTE WHERE TC = '  PR' ORDER BY IDCOMPROBANTE DESC, IDCOMPLEMENTO ASC"},
        {"FC",
         false,
         "CUENTA = 'O''Brien'",
         false,
         false,
         "SELECT * FROM V_MV_CPTE WHERE TC = '  FC' AND CUENTA = 'O''Brien' ORDER BY  IDCOMPROBANTE DESC, "
         "IDCOMPLEMENTO ASC  "},
        // A quote in the type cannot end its literal.
        {"X'Y",
         false,
         "",
         false,
         false,
         "SELECT * FROM V_MV_CPTE WHERE TC = ' X''Y' ORDER BY IDCOMPROBANTE DESC, IDCOMPLEMENTO ASC"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.tc) + " / " + c.filtro);
        OpcionesConsultaComprobantes o;
        o.SoloPendientes = c.pendientes;
        o.UsaRemitoContado = c.remitoContado;
        o.EntregaParcialRemito = c.entregaParcial;
        EXPECT_EQ(SentenciaComprobantes(QString::fromLatin1(c.tc), QString::fromLatin1(c.filtro), o),
                  QString::fromLatin1(c.sentencia));
    }
}

TEST(SentenciaComprobantes, AliasesAndTheLeadingWhere)
{
    struct Alias
    {
        const char *entra;
        const char *tipo;
        bool pendientes;
    };
    const Alias alias[] = {
        {"rm/Pendientes", "RM", true},
        {"NP/PENDIENTES", "NP", true},
        {"Ot/pendientes", "OT", true},
        {"RM/PENDIENTES_compras", "RMC", true},
        {"pr/pendientes", "PR", true},
        {"fc/anticipos", "FC", false},
        {"RMC", "RMC", false},
        {" RM/PENDIENTES", " RM/PENDIENTES", false},
    };
    for (const Alias &a : alias) {
        SCOPED_TRACE(a.entra);
        QString tc = QString::fromLatin1(a.entra);
        bool pendientes = false;
        ResuelveAliasComprobante(tc, pendientes);
        EXPECT_EQ(tc, QString::fromLatin1(a.tipo));
        EXPECT_EQ(pendientes, a.pendientes);
    }
    const char *const where[][2] = {
        {"WHERE CUENTA = '1'", " CUENTA = '1'"},
        {"  where x = 1", "   x = 1"},
        {"Where(x = 1)", "(x = 1)"},
        {"CUENTA = '1'", "CUENTA = '1'"},
        {"NOWHERE = 1 AND WHERENOT = 2", "NOWHERE = 1 AND WHERENOT = 2"},
        {"COMENTARIOS = 'where'", "COMENTARIOS = 'where'"},
        {"CUENTA IN (SELECT C FROM T WHERE D = 1)", "CUENTA IN (SELECT C FROM T WHERE D = 1)"},
    };
    for (const auto &w : where)
        EXPECT_EQ(QuitaWhereInicial(QString::fromLatin1(w[0])), QString::fromLatin1(w[1])) << w[0];
}

// ---- the dialog ----

class Comprobantes : public EmpresaEspiada
{
protected:
    struct Cpte
    {
        QString tc;
        QString id;
        int complemento = 0;
        QString fecha = QStringLiteral("2024-03-05");
        QString nombre = QStringLiteral("CLIENTE");
        double importe = 100;
        int anulada = 0;
        int aprobado = 0;
        QString extra = {}; // further "COLUMN = value" pairs
    };
    void Venta(const Cpte &c) { Inserta(QStringLiteral("V_MV_CPTE"), c); }
    void Compra(const Cpte &c) { Inserta(QStringLiteral("C_MV_CPTE"), c); }
    void Inserta(const QString &tabla, const Cpte &c)
    {
        Ejecuta({QStringLiteral(
                     "INSERT INTO %1 (TC, IDCOMPROBANTE, IdComplemento, FECHA, CUENTA, NOMBRE, IMPORTE, ANULADA, "
                     "APROBADO) VALUES ('%2', '%3', %4, '%5', '  1001', '%6', %7, %8, %9)")
                     .arg(tabla, c.tc.rightJustified(4), c.id)
                     .arg(c.complemento)
                     .arg(c.fecha, c.nombre)
                     .arg(c.importe)
                     .arg(c.anulada)
                     .arg(c.aprobado)});
        if (!c.extra.isEmpty())
            Ejecuta({QStringLiteral("UPDATE %1 SET %2 WHERE IDCOMPROBANTE = '%3'").arg(tabla, c.extra, c.id)});
    }
    void Config(const QString &clave, const QString &valor)
    {
        Ejecuta({QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux) VALUES ('%1', '%2', '')")
                     .arg(clave, valor)});
    }

    static QStringList Titulos(FrmConsComprobantes &dlg)
    {
        QStringList out;
        for (int i = 1; i <= dlg.ListView1->ColumnHeaders().Count(); ++i)
            out << dlg.ListView1->ColumnHeaders().Item(i).Text();
        return out;
    }
    static QStringList Celdas(FrmConsComprobantes &dlg, int fila)
    {
        const ListItem item = dlg.ListView1->ListItems().Item(fila);
        QStringList out{item.Text()};
        for (int i = 1; i < dlg.ListView1->ColumnHeaders().Count(); ++i)
            out << item.SubItems(i);
        return out;
    }
    static QString Imagen(FrmConsComprobantes &dlg, int fila)
    {
        const int i = dlg.ListView1->ListItems().Item(fila).SmallIcon();
        return i ? dlg.ImageList1.ListImages(i).Tag : QStringLiteral("(ninguna)");
    }
    QModelIndex Indice(FrmConsComprobantes &dlg, int fila)
    {
        return dlg.ListView1->model()->index(dlg.ListView1->ListItems().Item(fila).Index() - 1, 0);
    }
    void Selecciona(FrmConsComprobantes &dlg, int fila) { ClickRow(*dlg.ListView1, Indice(dlg, fila)); }

    // Shows a fresh dialog of a type; the script runs while it is open.
    void Abre(FrmConsComprobantes &dlg,
              const QString &tc,
              const QString &filtro,
              ui::ScriptedResponder::DialogScript script,
              std::initializer_list<int> respuestas = {})
    {
        dlg.TC = tc;
        dlg.Filtro = filtro;
        dlg.NroComprobante.clear();
        Muestra(dlg, std::move(script), respuestas);
    }
};

TEST_F(Comprobantes, TheStatementSentAndTheSwitchesRead)
{
    Config(QStringLiteral("UsaRemitoContado"), QStringLiteral("si"));
    struct Caso
    {
        const char *tc;
        const char *filtro;
        bool leeContado;
        bool leeParcial;
        const char *tcDespues;
    };
    const Caso casos[] = {
        {"Rm/Pendientes", "", true, true, "RM"},
        {"RM/PENDIENTES", "CUENTA = '1'", true, false, "RM"},
        {"RM", "", false, false, "RM"},
        {"rm/pendientes_compras", "", false, false, "RMC"},
        {"FC/ANTICIPOS", "", false, false, "FC"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.tc);
        FrmConsComprobantes dlg;
        Abre(dlg, QString::fromLatin1(c.tc), QString::fromLatin1(c.filtro), [&](QDialog &) {});
        EXPECT_EQ(dlg.TC, QString::fromLatin1(c.tcDespues));
        const QString enviados = enviadas.join(QLatin1Char('\n'));
        EXPECT_EQ(enviados.contains(QStringLiteral("UsaRemitoContado")), c.leeContado);
        EXPECT_EQ(enviados.contains(QStringLiteral("EntregaParcialRemito")), c.leeParcial);
        EXPECT_TRUE(enviados.contains(QStringLiteral("UsaReferenciaPresupuestos")));
        EXPECT_EQ(dlg.soloPendientes(),
                  QString::fromLatin1(c.tc).contains(QLatin1Char('/'))
                      && !QString::fromLatin1(c.tc).contains(QStringLiteral("ANTICIPOS")));
        EXPECT_EQ(operador.unexpected(), 0);
        enviadas.clear();
    }
    // The list query reaches the connection as built.
    FrmConsComprobantes dlg;
    Abre(dlg, QStringLiteral("RM/PENDIENTES"), QStringLiteral("CUENTA = '1'"), [&](QDialog &) {});
    EXPECT_TRUE(
        enviadas.contains(QStringLiteral(" SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, "
                                         "Importe FROM V_RemitosPendientes WHERE TC = '  RM' AND CUENTA = '1' ORDER "
                                         "BY IDCOMPROBANTE DESC")))
        << enviadas.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Comprobantes, ColumnsAndCellsPerType)
{
    Ejecuta({QStringLiteral(
                 "INSERT INTO VT_PROVEEDORES (CODIGO, RAZONSOCIAL, RAZON_SOCIAL) VALUES ('  1001', 'x', 'ACEROS SA')"),
             QStringLiteral(
                 "INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, CUENTA, FECHA, IMPORTE, DETALLE, SECUENCIA) "
                 "VALUES ('NCPE', '0001', '00000042', 'A', '  1001', '2024-03-05', 55.5, 'BONIFICACION', 1)"),
             QStringLiteral("INSERT INTO V_MV_CPTETERCEROS (ID, TC, IDCOMPROBANTE, IDCOMPLEMENTO, FECHA, FECHAENVIADO, "
                            "FECHARECIBIDO) VALUES (7, '  FC', '000100000010A', 0, '2024-03-05', '2024-03-06', NULL)"),
             QStringLiteral(
                 "INSERT INTO V_MV_STOCK (TC, IdComprobante, IdComplemento, Secuencia, Fecha, IdArticulo, Cantidad, "
                 "Tc_Origen, IdComprobante_Origen) VALUES ('  IR', '000100000077A', 0, 1, '2024-03-08', 'A', 1, "
                 "'  OC', '000100000003A')")});
    Venta({"ND", "000100000001A", 0, "2024-03-05", "NOTA", 12.5});
    Venta({"PR", "000100000002A", 0, "2024-03-05", "PRESUP", 99, 0, 0, "COMENTARIOS = 'OBRA CENTRO'"});
    Compra({"FCC", "000100000009A", 0, "2024-03-05", "PROV", 300});
    Compra({"OC", "000100000003A", 0, "2024-03-05", "ACEROS", 1000, 0, 1, "COMENTARIOS = 'URGENTE'"});
    Compra({"OC", "000100000004A", 0, "2024-03-07", "PINTURAS", 2000, 0, 1});
    const QString dia = Variant(QDateTime(QDate(2024, 3, 5), QTime())).toString();

    struct Caso
    {
        const char *tc;
        bool referencia;
        QStringList titulos;
        QStringList celdas; // of the first row
    };
    const Caso casos[] = {
        {"ND",
         true,
         {"FECHA", "COMPROBANTE", "ID", "NOMBRE", "Referencia", "IMPORTE"},
         {dia, "000100000001A", "", "NOTA", "", "12.5"}},
        {"ND", false, {"FECHA", "COMPROBANTE", "ID", "NOMBRE", "IMPORTE"}, {dia, "000100000001A", "", "NOTA", "12.5"}},
        {"FCC",
         false,
         {"FECHA", "COMPROBANTE", "PROVEEDOR", "NOMBRE", "CONCEPTO", "IMPORTE"},
         {dia, "000100000009A", "  1001", "PROV", "", "300"}},
        {"NCPE",
         false,
         {"FECHA", "COMPROBANTE", "PROVEEDOR", "NOMBRE", "CONCEPTO", "IMPORTE"},
         {dia, "000100000042A", "  1001", "ACEROS SA", "BONIFICACION", "55.5"}},
        {"PR", false, {"FECHA", "COMPROBANTE", "NOMBRE", "ID", "IMPORTE"}, {dia, "000100000002A", "PRESUP", "", "99"}},
        {"PR",
         true,
         {"FECHA", "COMPROBANTE", "NOMBRE", "ID", "Referencia", "IMPORTE"},
         {dia, "000100000002A", "PRESUP", "", "OBRA CENTRO", "99"}},
        {"T3",
         false,
         {"Nº Int.", "FECHA", "COMPROBANTE", "ID", "FH Envio", "FH Recep"},
         {"7", dia, "000100000010A", "0", Variant(QDateTime(QDate(2024, 3, 6), QTime())).toString(), ""}},
        {"OC",
         false,
         {"FECHA", "PROVEEDOR", "COMPROBANTE", "IMPORTE", "COMENTARIOS", "Inf. Recepción"},
         {Variant(QDateTime(QDate(2024, 3, 7), QTime())).toString(), "  1001 PINTURAS", "000100000004A", "2000", "", ""}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.tc) + (c.referencia ? " with Referencia" : ""));
        [&] {
            Ejecuta({QStringLiteral("DELETE FROM TA_CONFIGURACION")});
            if (c.referencia)
                Config(QStringLiteral("UsaReferenciaPresupuestos"), QStringLiteral("SI"));
            FrmConsComprobantes dlg;
            Abre(dlg, QString::fromLatin1(c.tc), QString(), [&](QDialog &) {
                EXPECT_EQ(Titulos(dlg), c.titulos);
                ASSERT_GE(dlg.ListView1->ListItems().Count(), 1);
                EXPECT_EQ(Celdas(dlg, 1), c.celdas);
            });
            EXPECT_EQ(operador.unexpected(), 0);
        }();
    }
    // The order with its reception shows the reception's number.
    FrmConsComprobantes dlg;
    Abre(dlg, QStringLiteral("OC"), QString(), [&](QDialog &) {
        ASSERT_EQ(dlg.ListView1->ListItems().Count(), 2);
        EXPECT_EQ(Celdas(dlg, 2).value(5), QStringLiteral("000100000077A"));
        EXPECT_EQ(Celdas(dlg, 2).value(4), QStringLiteral("URGENTE"));
        EXPECT_TRUE(dlg.ListView1->Checkboxes());
    });
}

TEST_F(Comprobantes, TheIconTellsTheState)
{
    struct Caso
    {
        const char *tipo; // as the caller asks
        Cpte cpte;
        bool compra;
        const char *imagen;
    };
    const Caso casos[] = {
        {"FC", {"FC", "000100000001A"}, false, "FC"},
        {"FC", {"FC", "000100000001A", 0, "2024-03-05", "X", 1, 1, 1}, false, "Anulado"}, // voided beats approved
        {"FC", {"FC", "000100000001A", 0, "2024-03-05", "X", 1, 0, 1}, false, "Aprobado"},
        {"RM", {"RM", "000100000001A"}, false, "Generico"},
        {"NP", {"NP", "000100000001A"}, false, "Generico"},
        {"NP/PENDIENTES",
         {"NP", "000100000001A", 0, "2024-03-05", "X", 1, 0, 0, "FechaPreparacion = '2024-03-06'"},
         false,
         "Aprobado"},
        {"NP",
         {"NP", "000100000001A", 0, "2024-03-05", "X", 1, 0, 0, "FechaPreparacion = '2024-03-06'"},
         false,
         "Generico"},
        {"PR", {"PR", "000100000001A", 0, "2024-03-05", "X", 1, 1}, false, "Anulado"},
        {"FCC", {"FCC", "000100000001A"}, true, "Generico"},
        {"OC", {"OC", "000100000001A", 0, "2024-03-05", "X", 1, 0, 1, "Garantia = 1"}, true, "OCG"},
        {"OC", {"OC", "000100000001A", 0, "2024-03-05", "X", 1, 0, 1}, true, "OC"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.tipo) + " " + c.imagen);
        [&] {
            Ejecuta({QStringLiteral("DELETE FROM V_MV_CPTE"), QStringLiteral("DELETE FROM C_MV_CPTE")});
            if (c.compra)
                Compra(c.cpte);
            else
                Venta(c.cpte);
            FrmConsComprobantes dlg;
            Abre(dlg, QString::fromLatin1(c.tipo), QString(), [&](QDialog &) {
                ASSERT_EQ(dlg.ListView1->ListItems().Count(), 1);
                EXPECT_EQ(Imagen(dlg, 1), QString::fromLatin1(c.imagen));
            });
        }();
    }
    // A voided guarantee order: the OC list leaves voided orders out, so the rule is checked on the form.
    FrmConsComprobantes dlg;
    EXPECT_EQ(dlg.ObtieneIndiceImagen(QStringLiteral(" ocg ")), 11);
    EXPECT_EQ(dlg.ObtieneIndiceImagen(QStringLiteral("NCPE")), 8);
    EXPECT_EQ(dlg.ImageList1.Count(), 11);
    for (int i = 1; i <= dlg.ImageList1.Count(); ++i)
        EXPECT_FALSE(dlg.ImageList1.ListImages(i).Picture.pixmap(16, 16).isNull()) << i;
}

TEST_F(Comprobantes, HeaderClicksSortDatesAndAmountsByValue)
{
    // Dates across months and years, amounts 9 and 10: their texts sort otherwise.
    Venta({"FC", "000100000001A", 0, "2024-03-05", "B", 9});
    Venta({"FC", "000100000002A", 0, "2025-01-12", "c", 10});
    Venta({"FC", "000100000003A", 0, "2024-02-28", "a", 100});
    auto dia = [](int y, int m, int d) { return Variant(QDateTime(QDate(y, m, d), QTime())).toString(); };
    FrmConsComprobantes dlg;
    Abre(dlg, QStringLiteral("FC"), QString(), [&](QDialog &) {
        auto columna = [&](int c) {
            QStringList out;
            for (int i = 1; i <= dlg.ListView1->ListItems().Count(); ++i)
                out << Celdas(dlg, i).value(c);
            return out;
        };
        auto clic = [&](int c) {
            QHeaderView *h = dlg.ListView1->header();
            QTest::mouseClick(h->viewport(),
                              Qt::LeftButton,
                              Qt::NoModifier,
                              QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2));
        };
        clic(0); // first click: descending
        EXPECT_EQ(columna(0), (QStringList{dia(2025, 1, 12), dia(2024, 3, 5), dia(2024, 2, 28)}));
        clic(0);
        EXPECT_EQ(columna(0), (QStringList{dia(2024, 2, 28), dia(2024, 3, 5), dia(2025, 1, 12)}));
        clic(4); // another column after an ascending one: descending
        EXPECT_EQ(columna(4), (QStringList{"100", "10", "9"}));
        clic(3); // and the next ascending, by text without case
        EXPECT_EQ(columna(3), (QStringList{"a", "B", "c"}));
        EXPECT_EQ(dlg.ListView1->SortKey(), 3);
    });
}

TEST_F(Comprobantes, AcceptPerGroup)
{
    Venta({"RM", "000100000001A", 1, "2024-03-05", "UNO"});
    Venta({"RM", "000100000002A", 0, "2024-03-06", "DOS"});
    Venta({"OT", "000100000003A", 2, "2024-03-05", "OT"});
    Compra({"FCC", "000100000009A", 0, "2024-03-05", "PROV"});
    Venta({"PR", "000100000004A"});
    Ejecuta({QStringLiteral(
        "INSERT INTO V_MV_CPTETERCEROS (ID, TC, IDCOMPROBANTE, IDCOMPLEMENTO, FECHA) VALUES (7, '  FC', "
        "'000100000010A', 0, '2024-03-05')")});
    enum Como { Boton, OrdenaYBoton, Enter, DobleClic, SinFila };
    struct Caso
    {
        const char *tc;
        const char *id; // row to pick, by its number
        Como como;
        const char *nro;
        const char *complemento;
        const char *proveedor;
    };
    const Caso casos[] = {
        {"RM", "000100000001A", Boton, "000100000001A", "1", "-"}, // the record's, not the blank cell
        {"RM", "000100000002A", Enter, "000100000002A", "0", "-"},
        {"RM", "000100000001A", OrdenaYBoton, "000100000001A", "1", "-"}, // the complement goes with its row
        {"OT", "000100000003A", DobleClic, "000100000003A", "2", "-"},
        {"FCC", "000100000009A", Boton, "000100000009A", "-", "  1001"},
        {"PR", "000100000004A", Enter, "000100000004A", "0", "-"},
        {"T3", "000100000010A", DobleClic, "7", "0", "-"},
        {"RM", "", SinFila, "", "-", "-"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.tc) + " " + c.id);
        [&] {
            FrmConsComprobantes dlg;
            dlg.IdComplemento = QStringLiteral("-");
            dlg.Proveedor = QStringLiteral("-");
            Abre(dlg, QString::fromLatin1(c.tc), QString(), [&](QDialog &) {
                if (c.como == OrdenaYBoton)
                    dlg.ListView1_ColumnClick(4); // by NOMBRE, descending: "UNO" moves first
                int fila = 0;
                for (int i = 1; i <= dlg.ListView1->ListItems().Count(); ++i)
                    if (Celdas(dlg, i).contains(QString::fromLatin1(c.id)))
                        fila = i;
                ASSERT_TRUE(c.como == SinFila || fila > 0);
                switch (c.como) {
                case OrdenaYBoton:
                    EXPECT_EQ(fila, 1);
                    [[fallthrough]];
                case Boton:
                    Selecciona(dlg, fila);
                    QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
                    break;
                case Enter:
                    Selecciona(dlg, fila);
                    QTest::keyClick(dlg.ListView1, Qt::Key_Return);
                    break;
                case DobleClic:
                    DoubleClickRow(*dlg.ListView1, Indice(dlg, fila));
                    break;
                case SinFila:
                    dlg.ListView1->setSelectedItem(ui::ListItem());
                    dlg.ListView1->setFocus();
                    QTest::keyClick(dlg.ListView1, Qt::Key_Return);
                    break;
                }
                EXPECT_FALSE(dlg.isVisible());
                EXPECT_EQ(dlg.ListView1->ListItems().Count(), 0); // unloaded
            });
            EXPECT_EQ(dlg.NroComprobante, QString::fromLatin1(c.nro));
            EXPECT_EQ(dlg.IdComplemento, QString::fromLatin1(c.complemento));
            EXPECT_EQ(dlg.Proveedor, QString::fromLatin1(c.proveedor));
        }();
    }
}

TEST_F(Comprobantes, OrdersTickedWinOverTheSelection)
{
    for (int n = 1; n <= 4; ++n)
        Compra({"OC", QStringLiteral("00010000000%1A").arg(n), 0, "2024-03-05", "P", 10.0 * n, 0, 1});
    struct Caso
    {
        const char *nombre;
        QList<int> tildes; // rows, in list order (highest number first)
        int seleccion;     // 0: none
        const char *nro;
    };
    const Caso casos[] = {
        {"three ticks", {1, 2, 4}, 3, "000100000004A,000100000003A,000100000001A"},
        {"no ticks", {}, 2, "000100000003A"},
        {"ticks without a selection", {2, 3}, 0, "000100000003A,000100000002A"},
        {"nothing", {}, 0, ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            FrmConsComprobantes dlg;
            Abre(dlg, QStringLiteral("OC"), QStringLiteral("WHERE IMPORTE > 0"), [&](QDialog &) {
                ASSERT_EQ(dlg.ListView1->ListItems().Count(), 4);
                for (int fila : c.tildes)
                    ClickCheckBox(*dlg.ListView1, Indice(dlg, fila));
                dlg.ListView1->setSelectedItem(c.seleccion ? dlg.ListView1->ListItems().Item(c.seleccion) : ListItem());
                QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
            });
            EXPECT_EQ(dlg.NroComprobante, QString::fromLatin1(c.nro));
            EXPECT_EQ(dlg.Filtro, QStringLiteral(" IMPORTE > 0"));
        }();
    }
}

TEST_F(Comprobantes, AFailingListQueryIsToldTwiceAndTheDialogStaysOpen)
{
    // A condition naming a column the table does not have.
    FrmConsComprobantes dlg;
    Abre(dlg,
         QStringLiteral("FC"),
         QStringLiteral("NO_EXISTE = 1"),
         [&](QDialog &) {
             EXPECT_TRUE(dlg.isVisible());
             EXPECT_EQ(dlg.ListView1->ListItems().Count(), 0);
         },
         {ui::vbIgnore, ui::vbAbort});
    const auto &r = operador.requests();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_TRUE(r[1].prompt.endsWith(QStringLiteral("Rutina: AbrirRecordset"))) << r[1].prompt.toStdString();
    EXPECT_TRUE(r[2].prompt.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (3704) ")))
        << r[2].prompt.toStdString();
    EXPECT_EQ(r[2].buttons, (QStringList{"Anular", "Reintentar", "Omitir"}));
    EXPECT_TRUE(r[2].title.endsWith(QStringLiteral(" Aviso al operador!!! "))) << r[2].title.toStdString();
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(Comprobantes, TheDefaultInstanceUnloadsItselfAndIsReleasedByItsCaller)
{
    Venta({"FC", "000100000001A"});
    using Instancia = ui::DefaultInstance<FrmConsComprobantes>;
    FrmConsComprobantes &dlg = Instancia::Get();
    dlg.TC = QStringLiteral("FC");
    dlg.Filtro.clear();
    dlg.NroComprobante.clear();
    operador.drive([&](QDialog &) {
        Selecciona(dlg, 1);
        QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
    });
    ui::ShowModal(dlg);
    EXPECT_TRUE(Instancia::Exists());
    EXPECT_EQ(Instancia::Get().NroComprobante, QStringLiteral("000100000001A"));
    Instancia::Unload();
    ui::DestroyUnloaded();
    EXPECT_FALSE(Instancia::Exists());
    EXPECT_TRUE(Instancia::Get().NroComprobante.isEmpty());
    Instancia::Unload();
    ui::DestroyUnloaded();
}

TEST_F(Comprobantes, TheDemoDatabaseShowsEveryIcon)
{
    demodata::Options o;
    o.vouchers = 8;
    o.lookupSamples = true;
    UsaDemo(o);
    QStringList vistas;
    for (const char *tc : {"FC", "NC", "ND", "OT", "PR", "NP/PENDIENTES", "RM", "OC", "T3", "FCC", "NCPE", "RMC"}) {
        SCOPED_TRACE(tc);
        FrmConsComprobantes dlg;
        Abre(dlg, QString::fromLatin1(tc), QString(), [&](QDialog &) {
            EXPECT_GT(dlg.ListView1->ListItems().Count(), 0);
            for (int i = 1; i <= dlg.ListView1->ListItems().Count(); ++i)
                if (!vistas.contains(Imagen(dlg, i)))
                    vistas << Imagen(dlg, i);
            if (vb::EqualsText(dlg.TC, QStringLiteral("OC"))) {
                QStringList recepciones;
                for (int i = 1; i <= dlg.ListView1->ListItems().Count(); ++i)
                    recepciones << Celdas(dlg, i).value(5);
                recepciones.removeAll(QString());
                EXPECT_EQ(recepciones.size(), 1);
            }
        });
        EXPECT_EQ(operador.unexpected(), 0);
    }
    vistas.sort();
    EXPECT_EQ(vistas, (QStringList{"Anulado", "Aprobado", "FC", "Generico", "NC", "ND", "OC", "OCG", "OT", "PR", "T3"}));
}

} // namespace
