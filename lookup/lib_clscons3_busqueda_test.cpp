// The lookup end to end: the driver builds the statement, shows the list
// dialog, and the caller reads back the pick and its own variables.
#include "lookup/lib_clscons3.h"

#include "lookup/lib_frm_cons3.h"
#include "platform/runtime/app.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/default_instance.h"
#include "tests/support/empresa_consulta.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace {

using Lista = ui::DefaultInstance<Lib_FrmCons3>;

class Driver : public ConConsultas
{
protected:
    void SetUp() override
    {
        ConConsultas::SetUp();
        SetAppPath(dir.path());
        mascaras({{"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|", ""},
                  {"UNIDADES", "V_TA_UNIDAD", "|DESCRIPCION|", ""}});
        const char *const filas[][4] = {{"C1", "Ana SRL", "LUIS", "0"},
                                        {"C2", "Bruno SA", "ROSA", "0"},
                                        {"C3", "Baja SA", "NADIE", "1"},
                                        {"C4", "Carla", "ANA", "0"}};
        for (const auto &f : filas)
            Ejecuta(
                QStringLiteral("INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO, Dada_De_Baja) VALUES ('%1', "
                               "'%2', '%3', %4)")
                    .arg(QLatin1String(f[0]), QLatin1String(f[1]), QLatin1String(f[2]), QLatin1String(f[3])));
    }
    void TearDown() override
    {
        ui::DestroyUnloaded();
        ConConsultas::TearDown();
    }
    static Coleccion coleccion(const QStringList &items)
    {
        auto c = std::make_shared<QList<Variant>>();
        for (const QString &i : items)
            c->append(Variant(i));
        return c;
    }
    static QStringList textos(const Coleccion &c)
    {
        QStringList out;
        for (const Variant &v : *c)
            out << v.toString().trimmed();
        return out;
    }
    // The operator's part while the list is up: `script` on the dialog.
    void alMostrar(const std::function<void(Lib_FrmCons3 &)> &script)
    {
        operador.drive([script](QDialog &dialog) {
            auto &d = static_cast<Lib_FrmCons3 &>(dialog);
            d.activateWindow();
            QApplication::processEvents();
            script(d);
        });
    }
};

TEST_F(Driver, ListRoadHandsTheDialogItsInputsAndTheCallerThePick)
{
    Lib_ClsCons3 &c = driver();
    c.CampoDevuelto = QStringLiteral("CODIGO");
    Coleccion cmps = coleccion({QStringLiteral("CONTACTO"), QStringLiteral("RAZON_SOCIAL")});
    const Coleccion delLlamador = cmps;
    QString campo;
    QString where = QStringLiteral("CODIGO <> 'C4'");
    alMostrar([&](Lib_FrmCons3 &d) {
        EXPECT_EQ(d.SQL.trimmed(),
                  QStringLiteral("SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE  "
                                 "(CODIGO <> 'C4')  ORDER BY RAZON_SOCIAL"));
        EXPECT_EQ(d.FiltroInicial, QStringLiteral("br"));
        EXPECT_EQ(d.CampoBusqueda, QStringLiteral("RAZON_SOCIAL"));
        EXPECT_EQ(d.CampoDevuelto, QStringLiteral("CODIGO"));
        EXPECT_FALSE(d.OrdenarPorLwv) << "the statement has its ORDER BY";
        EXPECT_FALSE(d.CheckBoxes);
        EXPECT_EQ(d.CmpsDevueltos, delLlamador);
        // The first box opened with the caller's text: its row is selected.
        EXPECT_EQ(d.ListView1->SelectedItem().Text(), QStringLiteral("Bruno SA"));
        QTest::keyClick(d.ListView1, Qt::Key_Return);
    });
    c.ConsultaSearch(QStringLiteral("vt_clientes"), &cmps, QStringLiteral("br"), &campo, &where);

    EXPECT_EQ(c.ValorDevuelto.toString().trimmed(), QStringLiteral("C2"));
    ASSERT_TRUE(c.Valores);
    EXPECT_EQ(textos(c.Valores), (QStringList{"ROSA", "Bruno SA"}));
    EXPECT_EQ(campo, QStringLiteral("RAZON_SOCIAL"));
    EXPECT_EQ(where, QStringLiteral(" (CODIGO <> 'C4') "));
    EXPECT_FALSE(cmps) << "the caller's variable is set to Nothing";
    EXPECT_TRUE(delLlamador->isEmpty()) << "and its collection emptied";
    EXPECT_TRUE(c.CampoDevuelto.isEmpty());
    EXPECT_FALSE(c.Checks);
    EXPECT_FALSE(Lista::Exists()) << "the dialog is unloaded";
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(Driver, CancelEmptiesTheCallersColumnsAndLeavesNoPick)
{
    Lib_ClsCons3 &c = driver();
    c.ValorDevuelto = Variant(QStringLiteral("antes"));
    Coleccion cmps = coleccion({QStringLiteral("CODIGO")});
    const Coleccion delLlamador = cmps;
    alMostrar([](Lib_FrmCons3 &d) { d.CmdCancelar->click(); });
    c.ConsultaSearch(QStringLiteral("VT_CLIENTES"), &cmps);
    EXPECT_TRUE(c.ValorDevuelto.toString().isEmpty());
    EXPECT_FALSE(c.Valores);
    EXPECT_FALSE(cmps);
    EXPECT_TRUE(delLlamador->isEmpty());
    EXPECT_FALSE(Lista::Exists());
}

TEST_F(Driver, TheMessagePathShowsNoDialogAndHandsBackNoEarlierPick)
{
    Lib_ClsCons3 &c = driver();
    // An earlier lookup's pick.
    c.CampoDevuelto = QStringLiteral("CODIGO");
    alMostrar([](Lib_FrmCons3 &d) {
        d.ListView1->setSelectedItem(d.ListView1->ListItems().Item(1));
        d.CmdAceptar->click();
    });
    c.ConsultaSearch(QStringLiteral("VT_CLIENTES"));
    ASSERT_FALSE(c.ValorDevuelto.toString().isEmpty());
    ASSERT_TRUE(c.Valores);

    c.CampoDevuelto = QStringLiteral("IDUNIDAD");
    c.Checks = true;
    Coleccion cmps = coleccion({QStringLiteral("IDUNIDAD")});
    operador.clear();
    c.ConsultaSearch(QStringLiteral("V_TA_UNIDAD"), &cmps);
    ASSERT_EQ(operador.requests().size(), 1u);
    EXPECT_EQ(operador.last().prompt, QStringLiteral("Debe configurar la consulta para esta tabla"));
    EXPECT_TRUE(c.ValorDevuelto.toString().isEmpty());
    EXPECT_FALSE(c.Valores);
    EXPECT_FALSE(c.Cantidades);
    ASSERT_TRUE(cmps) << "left as it was";
    EXPECT_EQ(cmps->size(), 1);
    EXPECT_EQ(c.CampoDevuelto, QStringLiteral("IDUNIDAD"));
    EXPECT_TRUE(c.Checks);
}

TEST_F(Driver, PassThroughIsSortedByTheListAndChecksReturnEveryTickedRow)
{
    Lib_ClsCons3 &c = driver();
    c.Checks = true;
    c.UsaCantidades = true;
    c.CampoDevuelto = QStringLiteral("CODIGO");
    alMostrar([](Lib_FrmCons3 &d) {
        EXPECT_TRUE(d.OrdenarPorLwv);
        EXPECT_TRUE(d.CheckBoxes);
        EXPECT_TRUE(d.UsaCantidades);
        EXPECT_EQ(d.SQL.trimmed(), QStringLiteral("select CODIGO, CONTACTO AS [**Cantidad**] from VT_CLIENTES"));
        // Sorted by the list: C4 (row 4) comes last; two Inserts on row 2 tick it with 2.0.
        ui::ListItem fila = d.ListView1->ListItems().Item(2);
        EXPECT_EQ(fila.Text(), QStringLiteral("C2"));
        fila.setSubItems(1, QString());
        d.ListView1->setSelectedItem(fila);
        QTest::keyClick(d.ListView1, Qt::Key_Insert);
        QTest::keyClick(d.ListView1, Qt::Key_Insert);
        d.CmdAceptar->click();
    });
    c.ConsultaSearch(QStringLiteral("select CODIGO, CONTACTO AS [**Cantidad**] from VT_CLIENTES"),
                     nullptr,
                     {},
                     nullptr,
                     nullptr,
                     {},
                     false,
                     QStringLiteral("C4"));
    ASSERT_TRUE(c.Valores);
    EXPECT_EQ(textos(c.Valores), (QStringList{"C2", "C4"})) << "ticked by ValoresDefault and by the quantity";
    ASSERT_TRUE(c.Cantidades);
    ASSERT_EQ(c.Cantidades->size(), 2);
    EXPECT_EQ(c.Cantidades->at(0).toDouble(), 2.0);
    EXPECT_FALSE(c.Checks);
}

// The driver hands an article list on as VT_MA_ARTICULOS: its price columns
// still take the configured captions, by the mask road and by a SELECT.
TEST_F(Driver, ArticleListsShowThePriceCaptionsWhicheverNameTheyCarry)
{
    Configura(QStringLiteral("NOM_PCLASE1"), QStringLiteral("Lista"));
    Configura(QStringLiteral("NOM_PCLASE2"), QStringLiteral("Mayorista"));
    Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, PRECIO1, PRECIO2) VALUES ('A1', "
                           "'TORNILLO', 10, 8)"));
    mascaras({{"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|PRECIO1|PRECIO2|", ""}});
    Lib_ClsCons3 &c = driver();
    for (const char *sql : {"V_MA_ARTICULOS",
                            "select IDARTICULO, DESCRIPCION, PRECIO1, PRECIO2 from V_MA_ARTICULOS",
                            "select IDARTICULO, DESCRIPCION, PRECIO1, PRECIO2 from VT_MA_ARTICULOS"}) {
        SCOPED_TRACE(sql);
        QStringList titulos;
        QString sentencia;
        alMostrar([&](Lib_FrmCons3 &d) {
            sentencia = d.SQL;
            for (int k = 1; k <= d.ListView1->ColumnHeaders().Count(); ++k)
                titulos << d.ListView1->ColumnHeaders().Item(k).Text();
            d.CmdCancelar->click();
        });
        c.ConsultaSearch(QString::fromLatin1(sql));
        EXPECT_TRUE(sentencia.contains(QStringLiteral("FROM VT_MA_ARTICULOS"), Qt::CaseInsensitive))
            << sentencia.toStdString();
        EXPECT_TRUE(titulos.contains(QStringLiteral("Lista")) && titulos.contains(QStringLiteral("Mayorista")))
            << titulos.join(QLatin1Char('|')).toStdString();
        EXPECT_FALSE(titulos.contains(QStringLiteral("PRECIO1")));
        ui::DestroyUnloaded();
    }
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(Driver, EachLookupStartsWithAFreshDialog)
{
    Lib_ClsCons3 &c = driver();
    alMostrar([](Lib_FrmCons3 &d) {
        d.CmbSearch->Item(0)->setText(QStringLiteral("zz"));
        d.CmdCancelar->click();
    });
    c.ConsultaSearch(QStringLiteral("VT_CLIENTES"));
    ui::DestroyUnloaded();
    alMostrar([](Lib_FrmCons3 &d) {
        EXPECT_TRUE(d.CmbSearch->Item(0)->Text().isEmpty());
        // "Nueva Busqueda" goes back to this lookup's statement.
        d.CmdNueva->click();
        EXPECT_EQ(d.ListView1->ListItems().Count(), 4);
        EXPECT_EQ(d.ListView1->ListItems().Item(1).Text(), QStringLiteral("C1"));
        d.CmdCancelar->click();
    });
    c.ConsultaSearch(QStringLiteral("select CODIGO from VT_CLIENTES order by CODIGO"));
    EXPECT_EQ(operador.unexpected(), 0);
}

} // namespace
