#include "lookup/lib_frm_cons3.h"

#include "lookup/anchos_columnas.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/units.h"
#include "tests/support/lookup_fixture.h"
#include "tests/support/qt_print.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Consulta = ui::DefaultInstance<Lib_FrmCons3>;

// The dialog over the fixture database, shown through the seam as the driver
// shows it; the column-width file lives in the test's application folder.
class ListaConsulta : public ConConsultas {
protected:
    void SetUp() override
    {
        ConConsultas::SetUp();
        SetAppPath(dir.path());
        clientes({{"C1", "Ana", "Sur"}, {"C2", "bruno", "Norte"}, {"C3", "Carla", ""}});
    }
    void TearDown() override
    {
        Consulta::Unload();
        ui::DestroyUnloaded();
        ConConsultas::TearDown();
    }
    void clientes(std::initializer_list<std::array<const char *, 3>> filas)
    {
        for (const auto &f : filas)
            exec(QStringLiteral("INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO) VALUES ('%1', '%2', '%3')")
                     .arg(QLatin1String(f[0]), QLatin1String(f[1]), QLatin1String(f[2])));
    }
    // Shows the dialog with the statement; `script` runs while it is up.
    Lib_FrmCons3 &muestra(const QString &sql, const std::function<void(Lib_FrmCons3 &)> &script = {})
    {
        Lib_FrmCons3 &d = Consulta::Get();
        d.SQL = sql;
        operador.drive([script](QDialog &dialog) {
            auto &f = static_cast<Lib_FrmCons3 &>(dialog);
            QApplication::processEvents();
            if (script)
                script(f);
        });
        ui::ShowModal(d);
        return d;
    }
    static QStringList textos(Lib_FrmCons3 &d, int columna)
    {
        QStringList out;
        for (int i = 1; i <= d.ListView1->ListItems().Count(); ++i) {
            ui::ListItem fila = d.ListView1->ListItems().Item(i);
            out << (columna == 1 ? fila.Text() : fila.SubItems(columna - 1));
        }
        return out;
    }
    static QStringList titulos(Lib_FrmCons3 &d)
    {
        QStringList out;
        for (int k = 1; k <= d.ListView1->ColumnHeaders().Count(); ++k)
            out << d.ListView1->ColumnHeaders().Item(k).Text();
        return out;
    }
    static QStringList valores(const Coleccion &c)
    {
        QStringList out;
        if (c)
            for (const Variant &v : *c)
                out << v.toString();
        return out;
    }
};

TEST_F(ListaConsulta, ListsEveryRowWithAColumnAndASearchBoxPerField)
{
    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT CODIGO, RAZON_SOCIAL, CONTACTO FROM VT_CLIENTES ORDER BY CODIGO"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Consulta..."));
    EXPECT_EQ(titulos(d), (QStringList{"CODIGO", "RAZON_SOCIAL", "CONTACTO"}));
    EXPECT_EQ(textos(d, 1), (QStringList{"C1", "C2", "C3"}));
    EXPECT_EQ(textos(d, 2), (QStringList{" Ana", "bruno", "Carla"}));
    // Short texts come right-aligned in four characters; an empty one stays empty.
    EXPECT_EQ(textos(d, 3), (QStringList{" Sur", "Norte", ""}));
    ASSERT_EQ(d.CmbSearch->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(d.CmbSearch->Item(i)->isHidden());
        EXPECT_EQ(d.CmbSearch->Item(i)->toolTip(), QStringLiteral("F5 realiza nueva busqueda"));
    }
    EXPECT_EQ(d.CmbSearch->Item(1)->Tag(), QStringLiteral("RAZON_SOCIAL"));
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(ListaConsulta, AnEmptyResultKeepsColumnsAndBoxesAndAcceptOnlyHides)
{
    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES WHERE CODIGO = 'ninguno'"),
                              [](Lib_FrmCons3 &f) { f.CmdAceptar->click(); });
    EXPECT_EQ(titulos(d), (QStringList{"CODIGO", "CONTACTO"}));
    EXPECT_EQ(d.CmbSearch->Count(), 2);
    EXPECT_EQ(d.ListView1->ListItems().Count(), 0);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.ValorDevuelto.isEmpty());
    ASSERT_TRUE(d.Valores);
    EXPECT_TRUE(d.Valores->isEmpty());
    EXPECT_EQ(operador.unexpected(), 0);
}

} // namespace
