// The lookup's tree road end to end: the driver shows the tree dialog with
// its statement, the caller reads back the pick, and each lookup starts
// with a fresh dialog.
#include "lookup/lib_clscons3.h"

#include "lookup/lib_frm_cons3_arbol.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/tree_view.h"
#include "tests/support/clics_vistas.h"
#include "tests/support/empresa.h"
#include "tests/support/impresion_qt.h"

#include <QPushButton>
#include <QTest>

namespace {

using Arbol = ui::DefaultInstance<Lib_FrmCons3Tree>;

class CaminoArbol : public EmpresaEspiada
{
protected:
    void SetUp() override
    {
        EmpresaEspiada::SetUp();
        LiberaConsulta();
        Ejecuta({QStringLiteral("INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES ('1', 'FERRETERIA')"),
                 QStringLiteral("INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES ('11', 'TORNILLOS')"),
                 QStringLiteral("INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES ('2', 'PINTURERIA')")});
    }
    void TearDown() override
    {
        Arbol::Unload();
        ui::DestroyUnloaded();
        LiberaConsulta();
        EmpresaEspiada::TearDown();
    }
    // The operator's part while the tree is up.
    void AlMostrar(const std::function<void(Lib_FrmCons3Tree &)> &script)
    {
        operador.drive([script](QDialog &dialog) { script(static_cast<Lib_FrmCons3Tree &>(dialog)); });
    }
    static QModelIndex Indice(Lib_FrmCons3Tree &dlg, const char *clave)
    {
        ui::Node &n = dlg.TreeV->nodes().Item(QString::fromLatin1(clave));
        n.EnsureVisible();
        return dlg.TreeV->indexOf(n);
    }
    const QString sql = QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");
};

TEST_F(CaminoArbol, TicksComeBackInValoresAndTheDriverIsReset)
{
    Lib_ClsCons3 &c = gConsulta();
    c.CampoDevuelto = QStringLiteral("IDFAMILIA");
    c.Checks = true;
    c.Cantidades = std::make_shared<QList<Variant>>();
    Coleccion columnas = std::make_shared<QList<Variant>>(QList<Variant>{Variant(QStringLiteral("x"))});
    const Coleccion vistas = columnas;
    AlMostrar([&](Lib_FrmCons3Tree &dlg) {
        EXPECT_EQ(dlg.SQL, sql);
        EXPECT_EQ(dlg.CampoDevuelto, QStringLiteral("IDFAMILIA"));
        EXPECT_TRUE(dlg.CheckBoxes);
        EXPECT_EQ(c.Valores, nullptr);
        ClickCheckBox(*dlg.TreeV, Indice(dlg, "A1"));
        QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
    });
    c.ConsultaSearch(sql, &columnas, {}, nullptr, nullptr, {}, true);
    ASSERT_NE(c.Valores, nullptr);
    QStringList valores;
    for (const Variant &v : *c.Valores)
        valores << v.toString();
    EXPECT_EQ(valores, (QStringList{"1", "11"}));
    EXPECT_FALSE(c.Checks);
    EXPECT_TRUE(c.CampoDevuelto.isEmpty());
    EXPECT_EQ(columnas, nullptr);
    EXPECT_TRUE(vistas->isEmpty());
    EXPECT_FALSE(Arbol::Exists()); // the next lookup gets a fresh dialog
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(CaminoArbol, APickInSingleModeAndACancel)
{
    Lib_ClsCons3 &c = gConsulta();
    c.CampoDevuelto = QStringLiteral("IDFAMILIA");
    AlMostrar([&](Lib_FrmCons3Tree &dlg) {
        EXPECT_FALSE(dlg.CheckBoxes);
        DoubleClickRow(*dlg.TreeV, Indice(dlg, "A11"));
    });
    c.ConsultaSearch(sql, nullptr, {}, nullptr, nullptr, {}, true);
    EXPECT_EQ(c.ValorDevuelto.toString(), QStringLiteral("11"));
    ASSERT_NE(c.Valores, nullptr);
    EXPECT_TRUE(c.Valores->isEmpty());

    // A second lookup: a fresh dialog, cancelled.
    c.CampoDevuelto = QStringLiteral("IDFAMILIA");
    AlMostrar([&](Lib_FrmCons3Tree &dlg) {
        EXPECT_TRUE(dlg.sentenciaSinOrden().isEmpty());
        EXPECT_EQ(dlg.TreeV->nodes().Count(), 4);
        QTest::mouseClick(dlg.CmdCancelar, Qt::LeftButton);
    });
    c.ConsultaSearch(sql, nullptr, {}, nullptr, nullptr, {}, true);
    EXPECT_EQ(c.ValorDevuelto.toString(), QString());
    EXPECT_EQ(c.Valores, nullptr);
    EXPECT_EQ(operador.unexpected(), 0);
}

} // namespace
