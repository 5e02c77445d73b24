#include "lookup/lib_frm_cons3.h"

#include "lookup/anchos_columnas.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/regional.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/units.h"
#include "tests/support/empresa_consulta.h"
#include "tests/support/impresion_qt.h"

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
class ListaConsulta : public ConConsultas
{
protected:
    using ConConsultas::ConConsultas;
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
            Ejecuta(QStringLiteral("INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO) VALUES ('%1', '%2', '%3')")
                        .arg(QLatin1String(f[0]), QLatin1String(f[1]), QLatin1String(f[2])));
    }
    // Shows the dialog with the statement; `script` runs while it is up.
    // `respuestas` answer the boxes that come up while the dialog loads.
    Lib_FrmCons3 &muestra(const QString &sql,
                          const std::function<void(Lib_FrmCons3 &)> &script = {},
                          std::initializer_list<int> respuestas = {})
    {
        Lib_FrmCons3 &d = Consulta::Get();
        d.SQL = sql;
        operador.drive([script](QDialog &dialog) {
            auto &f = static_cast<Lib_FrmCons3 &>(dialog);
            QApplication::processEvents();
            if (script)
                script(f);
        });
        for (int r : respuestas)
            operador.answer(r);
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

TEST_F(ListaConsulta, AStatementTheDatabaseRejectsLeavesAnEmptyListBehindItsMessages)
{
    // The data layer's error dialog, the columns' message, the load's error dialog.
    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT NADA FROM VT_CLIENTES"), {}, {ui::vbAbort, ui::vbOK, ui::vbAbort});
    const std::vector<ui::Request> &r = operador.requests();
    ASSERT_EQ(r.size(), 4u); // the dialog itself, then three boxes
    EXPECT_TRUE(r[1].prompt.endsWith(QStringLiteral("Rutina: AbrirRecordset"))) << r[1].prompt.toStdString();
    EXPECT_EQ(r[2].style, ui::vbOKOnly);
    EXPECT_TRUE(r[3].prompt.endsWith(QStringLiteral("Rutina: FORM_LOAD"))) << r[3].prompt.toStdString();
    EXPECT_EQ(r[3].style, ui::vbAbortRetryIgnore + ui::vbCritical);
    EXPECT_EQ(operador.pending(), 0);
    EXPECT_EQ(operador.unexpected(), 0);
    EXPECT_EQ(d.ListView1->ListItems().Count(), 0);
    EXPECT_EQ(d.ListView1->ColumnHeaders().Count(), 0);
    EXPECT_TRUE(d.IsLoaded());
}

TEST_F(ListaConsulta, ATableNameClosingTheStatementStillKeysTheWidthFile)
{
    GrabaAnchos(ArchivoAnchos(), QStringLiteral("VT_CLIENTES"), {1500});
    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES"));
    EXPECT_EQ(d.ListView1->ColumnHeaders().Item(1).Width(), 1500);
    EXPECT_EQ(d.ListView1->ColumnHeaders().Item(2).Width(), ui::TextWidth(d, QString(60, QLatin1Char('X'))));
    EXPECT_EQ(d.SQL, QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES "));
    // Every load appends one more blank, and still finds the name.
    d.Form_Load();
    EXPECT_EQ(d.SQL, QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES  "));
    EXPECT_EQ(d.ListView1->ColumnHeaders().Item(1).Width(), 1500);
    EXPECT_EQ(d.ListView1->ListItems().Count(), 3);
}

TEST_F(ListaConsulta, ColumnsAreAsWideAsTheirSizeInLettersXUpToSixty)
{
    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT IDUNIDAD, DESCRIPCION, IDARTICULO, CONTACTO FROM V_MA_ARTICULOS, "
                                             "VT_CLIENTES"));
    const int letras[] = {4, 60, 25, 60}; // varchar(4), (100), (25), (60)
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(d.ListView1->ColumnHeaders().Item(k).Width(), ui::TextWidth(d, QString(letras[k - 1], QLatin1Char('X'))))
            << k;
}

TEST_F(ListaConsulta, PriceColumnsOfAnArticleListTakeTheConfiguredCaptions)
{
    Configura(QStringLiteral("NOM_PCLASE3"), QStringLiteral("Mayorista"));
    Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, PRECIO3) VALUES ('A1', 12.5)"));
    Lib_FrmCons3 &d = Consulta::Get();
    d.CampoDevuelto = QStringLiteral("PRECIO3");
    muestra(QStringLiteral("SELECT IDARTICULO, PRECIO3, precio1, costo FROM V_MA_ARTICULOS"), [](Lib_FrmCons3 &f) {
        f.ListView1->setSelectedItem(f.ListView1->ListItems().Item(1));
        f.CmdAceptar->click();
    });
    // A missing key gives one blank.
    EXPECT_EQ(titulos(d), (QStringList{"IDARTICULO", "Mayorista", " ", "costo"}));
    // Columns are found by caption: PRECIO3 is no caption any more.
    EXPECT_EQ(d.ValorDevuelto.toString(), QString());

    Consulta::Unload();
    Lib_FrmCons3 &otra = muestra(QStringLiteral("SELECT CODIGO AS PRECIO3 FROM VT_CLIENTES"));
    EXPECT_EQ(titulos(otra), (QStringList{"PRECIO3"}));
}

struct ColorCase
{
    const char *nombre;
    double puntoPedido;
    double stock;
    long color; // -1: plain
    friend void PrintTo(const ColorCase &c, std::ostream *os) { *os << c.nombre; }
};

class ColoresDeStock : public ListaConsulta, public ::testing::WithParamInterface<ColorCase>
{
public:
    static constexpr long kNivel[] = {255, 65280, 16711680, 8421504};
};

TEST_P(ColoresDeStock, TheRowTakesTheColourOfItsStockLevel)
{
    const ColorCase &c = GetParam();
    Ejecuta(
        QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, costo, PRECIO1) VALUES ('A1', 'Tornillo', "
                       "%1, %2)")
            .arg(c.puntoPedido)
            .arg(c.stock));
    Lib_FrmCons3 &d = Consulta::Get();
    d.MuestraStock = QStringLiteral("si");
    d.StkNivel1 = Variant(255);
    d.StkNivel2 = Variant(65280L);
    d.StkNivel3 = Variant(16711680.0);
    d.StkNivel4 = Variant("8421504");
    muestra(
        QStringLiteral("SELECT IDARTICULO, DESCRIPCION, costo AS PUNTOPEDIDO, PRECIO1 AS Stock FROM V_MA_ARTICULOS"));
    ui::ListItem fila = d.ListView1->ListItems().Item(1);
    EXPECT_EQ(fila.ForeColor(), c.color);
    EXPECT_EQ(fila.Bold(), c.color >= 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(fila.ListSubItems(i).ForeColor(), c.color) << i;
        EXPECT_EQ(fila.ListSubItems(i).Bold(), c.color >= 0) << i;
    }
    EXPECT_EQ(operador.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lookup,
                         ColoresDeStock,
                         ::testing::Values(ColorCase{"no_reorder_point_with_stock", 0, 5, 255},
                                           ColorCase{"above_the_reorder_point", 10, 20, 65280},
                                           ColorCase{"below_the_reorder_point", 10, 3, 16711680},
                                           ColorCase{"at_the_reorder_point", 10, 10, 8421504},
                                           ColorCase{"nothing_at_all", 0, 0, 8421504},
                                           ColorCase{"negative_stock", 0, -2, 8421504},
                                           ColorCase{"negative_reorder_point", -1, 5, 8421504}),
                         [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(ListaConsulta, RowsStayPlainWithoutTheSwitchTheStockColumnsOrAColour)
{
    Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, costo, PRECIO1) VALUES ('A1', 0, 5)"));
    const auto plano = [&](const QString &muestraStock, const Variant &nivel1, const QString &sql) {
        Consulta::Unload();
        Lib_FrmCons3 &d = Consulta::Get();
        d.MuestraStock = muestraStock;
        d.StkNivel1 = nivel1;
        muestra(sql);
        ui::ListItem fila = d.ListView1->ListItems().Item(1);
        return fila.ForeColor() == -1 && !fila.Bold() && fila.ListSubItems(1).ForeColor() == -1;
    };
    const QString conStock = QStringLiteral(
        "SELECT IDARTICULO, costo AS PUNTOPEDIDO, PRECIO1 AS Stock FROM V_MA_ARTICULOS");
    EXPECT_FALSE(plano(QStringLiteral("SI"), Variant(255), conStock));
    EXPECT_TRUE(plano(QStringLiteral("NO"), Variant(255), conStock));
    EXPECT_TRUE(plano(QStringLiteral("SI"), Variant(" "), conStock));
    EXPECT_TRUE(plano(QStringLiteral("SI"), Variant("ROJO"), conStock));
    EXPECT_TRUE(
        plano(QStringLiteral("SI"), Variant(255), QStringLiteral("SELECT IDARTICULO, costo FROM V_MA_ARTICULOS")));
    EXPECT_EQ(operador.unexpected(), 0) << "missing stock columns are no error";
}

TEST_F(ListaConsulta, LayoutFollowsTheColumnsAndTheScreen)
{
    GrabaAnchos(ArchivoAnchos(), QStringLiteral("VT_CLIENTES"), {1000, 2000});
    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES"), [](Lib_FrmCons3 &f) {
        f.HScroll1->setValue(300);
        EXPECT_EQ(ui::Left(*f.picFields), -300);
    });
    const double esperado[][2] = {{0, 950}, {1000, 1950}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ui::Left(*d.CmbSearch->Item(i)), esperado[i][0]) << i;
        EXPECT_EQ(ui::Width(*d.CmbSearch->Item(i)), esperado[i][1]) << i;
    }
    EXPECT_EQ(d.HScroll1->maximum(), 2304); // (3000 + 360 + 480) * 0.6
    EXPECT_EQ(ui::Width(d), 3640);          // the list (3000 + 360) and 280
    // The resize lays the rest out from the window's size.
    EXPECT_EQ(ui::Width(*d.picFields), 3640 - 120);
    EXPECT_EQ(ui::Width(*d.ListView1), 3640 - 140);
    EXPECT_EQ(ui::Width(*d.HScroll1), 3640 - 120);
    EXPECT_EQ(ui::Top(*d.Frame1), ui::Height(d) - ui::Height(*d.Frame1) - 420);
    EXPECT_EQ(ui::Left(*d.Frame1), 3640 / 2 - ui::Width(*d.Frame1) / 2);

    // Wider than the screen: the window stops short of it.
    Consulta::Unload();
    GrabaAnchos(ArchivoAnchos(), QStringLiteral("VT_CLIENTES"), {1000, 40000});
    Lib_FrmCons3 &ancho = muestra(QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES"));
    EXPECT_EQ(ancho.HScroll1->maximum(), 32700);
    EXPECT_NEAR(ui::Width(ancho), ui::ScreenWidthTwips() - 480, 15);
}

// No error box and no column no one can see: a width in the file that cannot
// be used keeps the column's own, and a field of no size is as wide as its caption.
TEST_F(ListaConsulta, UnusableWidthsKeepTheColumnsOwnAndEveryColumnShows)
{
    const auto letras = [](Lib_FrmCons3 &f, int n) { return double(ui::TextWidth(f, QString(n, QLatin1Char('X')))); };
    QFile archivo(ArchivoAnchos());
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write("\"VT_MA_ARTICULOS\",\"0|-500|3000|abc|\"\r\n\"VT_CLIENTES\",\"15|99999999999|\"\r\n");
    archivo.close();
    Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION) VALUES ('A1', 'TORNILLO')"));

    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT IDARTICULO, DESCRIPCION, costo, PRECIO1 FROM VT_MA_ARTICULOS"));
    EXPECT_EQ(operador.requests().size(), 1u) << "the dialog and nothing else";
    const double anchos[] = {letras(d, 25), letras(d, 60), 3000, letras(d, 8)};
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(d.ListView1->ColumnHeaders().Item(k).Width(), anchos[k - 1]);
        EXPECT_GT(d.ListView1->header()->sectionSize(k - 1), 0);
        EXPECT_EQ(ui::Width(*d.CmbSearch->Item(k - 1)), anchos[k - 1] - 50);
    }

    // An expression of empty texts has no size; a width of 15 twips shows no
    // letter, and one of seventy million inches would only overflow the layout.
    Consulta::Unload();
    operador.clear();
    Lib_FrmCons3 &c = muestra(QStringLiteral("SELECT CODIGO, '' AS [**Cantidad**] FROM VT_CLIENTES"));
    EXPECT_EQ(operador.requests().size(), 1u) << "the dialog and nothing else";
    EXPECT_EQ(c.ListView1->ColumnHeaders().Item(1).Width(), letras(c, 10));
    EXPECT_EQ(c.ListView1->ColumnHeaders().Item(2).Width(), letras(c, 12));
    EXPECT_GT(c.ListView1->header()->sectionSize(1), 0);
}

TEST_F(ListaConsulta, AfterEndTheLastRowShowsWholeAboveTheScrollBar)
{
    for (int i = 0; i < 60; ++i)
        Ejecuta(QStringLiteral("INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL) VALUES ('X%1', 'Cliente %1')")
                    .arg(i, 2, 10, QLatin1Char('0')));
    QRect fila, vista, barra;
    QString elegida;
    muestra(QStringLiteral("SELECT CODIGO, RAZON_SOCIAL FROM VT_CLIENTES ORDER BY CODIGO"), [&](Lib_FrmCons3 &f) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        f.ListView1->setFocus();
        QTest::keyClick(f.ListView1, Qt::Key_End);
        QApplication::processEvents();
        const ui::ListItem ultima = f.ListView1->SelectedItem();
        ASSERT_TRUE(ultima);
        elegida = ultima.Text();
        const QModelIndex i = f.ListView1->model()->index(ultima.Index() - 1, 0);
        const QWidget *vp = f.ListView1->viewport();
        QRect r = f.ListView1->visualRect(i);
        r.setLeft(0);
        fila = QRect(vp->mapTo(&f, r.topLeft()), r.size());
        vista = QRect(vp->mapTo(&f, QPoint(0, 0)), vp->size());
        barra = f.HScroll1->geometry();
        f.CmdCancelar->click();
    });
    EXPECT_EQ(elegida, QStringLiteral("X59"));
    EXPECT_TRUE(vista.contains(fila.topLeft()) && vista.contains(fila.bottomLeft())) << "the row is whole in the list";
    EXPECT_LT(fila.bottom(), barra.top()) << "and above the scroll bar";
    EXPECT_LT(vista.bottom(), barra.top()) << "the list ends above the scroll bar";
}

TEST_F(ListaConsulta, ColumnsAreFoundByTrimmedCaptionWithoutCase)
{
    Lib_FrmCons3 &d = muestra(QStringLiteral("SELECT CODIGO, RAZON_SOCIAL, CONTACTO, CODIGO FROM VT_CLIENTES"));
    const std::pair<const char *, int> casos[]
        = {{"CODIGO", 1}, {" razon_social ", 2}, {"Contacto", 3}, {"NADA", 0}, {"", 0}, {"CODIGO ", 1}};
    for (const auto &[nombre, posicion] : casos)
        EXPECT_EQ(d.IndiceColumna(QString::fromLatin1(nombre)), posicion) << nombre;
}

struct AceptarCase
{
    const char *nombre;
    bool checkBoxes;
    const char *campoDevuelto;
    QStringList cmpsDevueltos; // empty: none given
    QList<int> checked;        // rows ticked (check-box mode)
    int selected;              // 0: none
    QStringList valores;
    const char *valorDevuelto;
    friend void PrintTo(const AceptarCase &c, std::ostream *os) { *os << c.nombre; }
};

class Aceptar : public ListaConsulta, public ::testing::WithParamInterface<AceptarCase>
{};

TEST_P(Aceptar, HandsBackTheValuesOfThePickedRows)
{
    const AceptarCase &c = GetParam();
    Lib_FrmCons3 &d = Consulta::Get();
    d.CheckBoxes = c.checkBoxes;
    d.CampoDevuelto = QString::fromLatin1(c.campoDevuelto);
    if (!c.cmpsDevueltos.isEmpty()) {
        d.CmpsDevueltos = std::make_shared<QList<Variant>>();
        for (const QString &n : c.cmpsDevueltos)
            d.CmpsDevueltos->append(n);
    }
    muestra(QStringLiteral("SELECT CODIGO, RAZON_SOCIAL, CONTACTO FROM VT_CLIENTES ORDER BY CODIGO"),
            [&c](Lib_FrmCons3 &f) {
                for (int r : c.checked)
                    f.ListView1->ListItems().Item(r).setChecked(true);
                // The list starts on its first row; 0 takes the selection away.
                f.ListView1->setSelectedItem(c.selected > 0 ? f.ListView1->ListItems().Item(c.selected)
                                                            : ui::ListItem());
                f.CmdAceptar->click();
            });
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(valores(d.Valores), c.valores);
    EXPECT_EQ(d.ValorDevuelto.toString(), QString::fromLatin1(c.valorDevuelto));
    EXPECT_EQ(operador.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup,
    Aceptar,
    ::testing::Values(
        AceptarCase{"ticked_rows_in_list_order", true, "RAZON_SOCIAL", {}, {3, 1}, 2, {" Ana", "Carla"}, ""},
        AceptarCase{"ticked_without_returned_column_take_the_first", true, "", {}, {2}, 0, {"C2"}, ""},
        AceptarCase{"ticked_with_an_unknown_column_give_empty_texts", true, "NADA", {}, {1, 3}, 0, {"", ""}, ""},
        AceptarCase{"nothing_ticked", true, "CODIGO", {}, {}, 1, {}, ""},
        AceptarCase{"single_pick", false, "RAZON_SOCIAL", {}, {}, 2, {}, "bruno"},
        AceptarCase{"single_pick_with_further_columns",
                    false,
                    " razon_social ",
                    {"CONTACTO", "codigo"},
                    {},
                    2,
                    {"Norte", "C2"},
                    "bruno"},
        AceptarCase{"further_columns_only_the_last_is_returned",
                    false,
                    "",
                    {"CODIGO", "CONTACTO"},
                    {},
                    1,
                    {"C1", " Sur"},
                    " Sur"},
        // A name that matches no column gives the empty text in its place.
        AceptarCase{
            "unknown_names_keep_their_place", false, "NADA", {"NADA", "CODIGO", "OTRA"}, {}, 3, {"", "C3", ""}, ""},
        AceptarCase{"single_pick_without_a_selected_row_only_hides", false, "CODIGO", {"CODIGO"}, {2}, 0, {}, ""}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(ListaConsulta, TheListStartsOnItsFirstRowAfterALoadAndAfterF5)
{
    Lib_FrmCons3 &d = Consulta::Get();
    d.CampoDevuelto = QStringLiteral("CODIGO");
    QStringList tras;
    muestra(QStringLiteral("SELECT CODIGO, RAZON_SOCIAL FROM VT_CLIENTES ORDER BY CODIGO"), [&](Lib_FrmCons3 &f) {
        const auto seleccionada = [&] {
            const ui::ListItem fila = f.ListView1->SelectedItem();
            return fila ? fila.Text() : QStringLiteral("(none)");
        };
        tras << seleccionada();
        // F5 in a box reloads the list filtered by its column.
        ui::ComboBox *codigo = f.CmbSearch->Item(0);
        codigo->setFocus();
        codigo->setText(QStringLiteral("C"));
        QTest::keyClick(codigo, Qt::Key_F5);
        QApplication::processEvents();
        tras << seleccionada();
        f.ListView1->setFocus();
        QTest::keyClick(f.ListView1, Qt::Key_Down);
        tras << seleccionada();
        QTest::keyClick(f.ListView1, Qt::Key_Return);
    });
    EXPECT_EQ(tras, (QStringList{"C1", "C1", "C2"}));
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.ValorDevuelto.toString(), QStringLiteral("C2"));
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(ListaConsulta, ADoubleClickOnTheListAccepts)
{
    Lib_FrmCons3 &d = Consulta::Get();
    d.CampoDevuelto = QStringLiteral("CODIGO");
    muestra(QStringLiteral("SELECT CODIGO, RAZON_SOCIAL FROM VT_CLIENTES ORDER BY CODIGO"), [](Lib_FrmCons3 &f) {
        ui::ListView &l = *f.ListView1;
        QApplication::processEvents();
        const QRect celda = l.visualRect(l.model()->index(1, 1));
        QTest::mouseDClick(l.viewport(), Qt::LeftButton, {}, celda.center());
    });
    EXPECT_EQ(d.ValorDevuelto.toString(), QStringLiteral("C2"));
    EXPECT_FALSE(d.isVisible());
}

struct CancelarCase
{
    const char *nombre;
    std::function<void(Lib_FrmCons3 &)> how;
    bool unloads;
    friend void PrintTo(const CancelarCase &c, std::ostream *os) { *os << c.nombre; }
};

class Cancelar : public ListaConsulta, public ::testing::WithParamInterface<CancelarCase>
{};

TEST_P(Cancelar, GivesNothingBackAndHides)
{
    const CancelarCase &c = GetParam();
    Lib_FrmCons3 &d = Consulta::Get();
    d.CampoDevuelto = QStringLiteral("CODIGO");
    d.GrabarCfg = true;
    d.ValorDevuelto = QStringLiteral("anterior");
    d.CmpsDevueltos = std::make_shared<QList<Variant>>(QList<Variant>{Variant("CODIGO")});
    muestra(QStringLiteral("SELECT CODIGO FROM VT_CLIENTES"), [&c](Lib_FrmCons3 &f) {
        f.ListView1->setSelectedItem(f.ListView1->ListItems().Item(1));
        f.ListView1->setFocus();
        QApplication::processEvents();
        c.how(f);
    });
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.ValorDevuelto.toString(), QString());
    EXPECT_TRUE(d.ValorDevuelto.isString());
    EXPECT_FALSE(d.Valores);
    EXPECT_FALSE(d.CmpsDevueltos);
    // The close box unloads at once: the widths are saved and the list emptied.
    EXPECT_EQ(d.IsLoaded(), !c.unloads);
    EXPECT_EQ(vb::FileExists(ArchivoAnchos()), c.unloads);
    EXPECT_EQ(d.ListView1->ListItems().Count(), c.unloads ? 0 : 3);
    // The caller's unload after it saves once, not twice.
    Consulta::Unload();
    EXPECT_TRUE(vb::FileExists(ArchivoAnchos()));
    EXPECT_EQ(operador.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup,
    Cancelar,
    ::testing::Values(CancelarCase{"escape_in_the_list",
                                   [](Lib_FrmCons3 &f) { QTest::keyClick(f.ListView1, Qt::Key_Escape); },
                                   false},
                      CancelarCase{"cancel_button", [](Lib_FrmCons3 &f) { f.CmdCancelar->click(); }, false},
                      CancelarCase{"title_bar", [](Lib_FrmCons3 &f) { f.close(); }, true}),
    [](const auto &info) { return std::string(info.param.nombre); });

struct MarcaCase
{
    const char *nombre;
    const char *valoresDefault;
    QStringList checked; // codes that start ticked
    const char *campoDevuelto = "CODIGO";
    friend void PrintTo(const MarcaCase &c, std::ostream *os) { *os << c.nombre; }
};

class MarcasIniciales : public ListaConsulta, public ::testing::WithParamInterface<MarcaCase>
{};

TEST_P(MarcasIniciales, RowsWhoseValueIsAnItemOfTheListStartTicked)
{
    const MarcaCase &c = GetParam();
    Ejecuta(QStringLiteral("DELETE FROM VT_CLIENTES"));
    clientes({{"1", "", ""}, {"10", "", ""}, {"11", "", ""}, {"0", "", ""}, {"ab", "", ""}, {"  ", "", ""}});
    Lib_FrmCons3 &d = Consulta::Get();
    d.CheckBoxes = true;
    d.CampoDevuelto = QString::fromLatin1(c.campoDevuelto);
    d.ValoresDefault = QString::fromLatin1(c.valoresDefault);
    muestra(QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES"));
    QStringList ticked;
    for (int i = 1; i <= d.ListView1->ListItems().Count(); ++i)
        if (d.ListView1->ListItems().Item(i).Checked())
            ticked << d.ListView1->ListItems().Item(i).Text();
    EXPECT_EQ(ticked, c.checked);
    EXPECT_EQ(operador.prompts(), QStringList());
    EXPECT_EQ(operador.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup,
    MarcasIniciales,
    ::testing::Values(MarcaCase{"whole_items_only", "10,11", {"10", "11"}},
                      MarcaCase{"items_trimmed_without_case", " 10 , AB ", {"10", "ab"}},
                      MarcaCase{"empty_items_tick_nothing", ", ,", {}},
                      MarcaCase{"empty_list", "", {}},
                      MarcaCase{"no_match", "2", {}},
                      MarcaCase{"no_field_named_ticks_by_the_first_column", "10,ab", {"10", "ab"}, ""}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(ListaConsulta, QuantitiesTravelWithThePickedRowsWhenTheListHasTheirColumn)
{
    Ejecuta(QStringLiteral("UPDATE VT_CLIENTES SET CONTACTO = '2.5' WHERE CODIGO = 'C1'"));
    Ejecuta(QStringLiteral("UPDATE VT_CLIENTES SET CONTACTO = 'x' WHERE CODIGO = 'C2'"));
    Ejecuta(QStringLiteral("UPDATE VT_CLIENTES SET CONTACTO = '3' WHERE CODIGO = 'C3'"));
    const QString conCantidad = QStringLiteral(
        "SELECT CODIGO, CONTACTO AS [**Cantidad**] FROM VT_CLIENTES ORDER BY CODIGO");
    // The values and the quantities accept hands back.
    using Entrega = std::pair<QStringList, QList<double>>;
    const auto acepta = [&](bool checks, const QString &sql, const std::function<void(Lib_FrmCons3 &)> &marca) {
        Consulta::Unload();
        Lib_FrmCons3 &d = Consulta::Get();
        d.CheckBoxes = checks;
        d.CampoDevuelto = QStringLiteral("CODIGO");
        muestra(sql, [&](Lib_FrmCons3 &f) {
            marca(f);
            f.CmdAceptar->click();
        });
        QList<double> cantidades;
        for (const Variant &v : *d.Cantidades)
            cantidades << v.toDouble();
        return Entrega{checks ? valores(d.Valores) : QStringList{d.ValorDevuelto.toString()}, cantidades};
    };
    const auto marcaDosYTres = [](Lib_FrmCons3 &f) {
        f.ListView1->ListItems().Item(2).setChecked(true);
        f.ListView1->ListItems().Item(3).setChecked(true);
    };
    const auto eligeTres = [](Lib_FrmCons3 &f) { f.ListView1->setSelectedItem(f.ListView1->ListItems().Item(3)); };
    // One quantity per ticked row, in step with the values; "x" holds no number.
    EXPECT_EQ(acepta(true, conCantidad, marcaDosYTres), (Entrega{{"C2", "C3"}, {0, 3}}));
    EXPECT_EQ(acepta(false, conCantidad, eligeTres), (Entrega{{"C3"}, {3}}));
    EXPECT_EQ(acepta(true, QStringLiteral("SELECT CODIGO, CONTACTO FROM VT_CLIENTES ORDER BY CODIGO"), marcaDosYTres),
              (Entrega{{"C2", "C3"}, {}}));
    {
        vb::ScopedRegional coma(vb::CommaDecimalSettings());
        Ejecuta(QStringLiteral("UPDATE VT_CLIENTES SET CONTACTO = '2,5' WHERE CODIGO = 'C3'"));
        EXPECT_EQ(acepta(false, conCantidad, eligeTres), (Entrega{{"C3"}, {2.5}}));
    }
}

TEST_F(ListaConsulta, UnloadSavesTheWidthsOnlyWhenAskedAndUnderTheSharedKey)
{
    Ejecuta(QStringLiteral("CREATE VIEW Stk_ma_articulos AS SELECT * FROM V_MA_ARTICULOS"));
    muestra(QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM Stk_ma_articulos"));
    Consulta::Unload();
    EXPECT_FALSE(vb::FileExists(ArchivoAnchos()));

    Lib_FrmCons3 &g = Consulta::Get();
    g.GrabarCfg = true;
    muestra(QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM Stk_ma_articulos"),
            [](Lib_FrmCons3 &f) { f.ListView1->ColumnHeaders().Item(2).setWidth(2222); });
    Consulta::Unload();
    QFile f(ArchivoAnchos());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray linea = f.readAll();
    EXPECT_TRUE(linea.startsWith("\"VT_MA_ARTICULOS\",\"")) << linea.constData();
    EXPECT_TRUE(linea.endsWith("|2222|\"\r\n")) << linea.constData();
    f.close();

    // The next lookup on the same table finds what was saved.
    Lib_FrmCons3 &otra = muestra(QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM Stk_ma_articulos"));
    EXPECT_EQ(otra.ListView1->ColumnHeaders().Item(2).Width(), 2222);
}

TEST_F(ListaConsulta, AWidthFileThatCannotBeWrittenIsToldAndTheUnloadGoesOn)
{
    GrabaAnchos(ArchivoAnchos(), QStringLiteral("OTRA"), {10});
    QFile viejo(ArchivoAnchos());
    ASSERT_TRUE(viejo.open(QIODevice::ReadOnly));
    const QByteArray antes = viejo.readAll();
    viejo.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("CONSULTASLEN.AUX")));
    Lib_FrmCons3 &d = Consulta::Get();
    d.GrabarCfg = true;
    muestra(QStringLiteral("SELECT CODIGO FROM VT_CLIENTES"));
    operador.answer(ui::vbOK);
    Consulta::Unload();
    ASSERT_EQ(operador.requests().size(), 2u);
    const ui::Request &aviso = operador.last();
    EXPECT_EQ(aviso.title, QStringLiteral("Aviso al Operador"));
    EXPECT_EQ(aviso.icon, ui::vbCritical);
    EXPECT_FALSE(aviso.prompt.isEmpty());
    ASSERT_TRUE(viejo.open(QIODevice::ReadOnly));
    EXPECT_EQ(viejo.readAll(), antes);
}

class ListaDeArticulosDemo : public ListaConsulta
{
public:
    ListaDeArticulosDemo()
        : ListaConsulta(true)
    {}
    // Shows the statement, checks the boxes over their columns, photographs it.
    void foto(const QString &sql);
};

TEST_F(ListaDeArticulosDemo, EachSearchBoxSitsOverItsColumn)
{
    for (const char *sql :
         {"SELECT IDARTICULO, IDUNIDAD, PRECIO1 FROM V_MA_ARTICULOS ORDER BY IDARTICULO",
          "SELECT IDARTICULO, DESCRIPCION, IDUNIDAD, PRECIO1 FROM V_MA_ARTICULOS ORDER BY IDARTICULO"})
        foto(QString::fromLatin1(sql));
}

void ListaDeArticulosDemo::foto(const QString &sql)
{
    Consulta::Unload();
    Lib_FrmCons3 &d = Consulta::Get();
    d.CampoDevuelto = QStringLiteral("IDARTICULO");
    QImage foto;
    muestra(sql, [&](Lib_FrmCons3 &f) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        f.CmbSearch->Item(1)->setText(QStringLiteral("TORN"));
        f.ListView1->setSelectedItem(f.ListView1->ListItems().Item(2));
        QApplication::processEvents();
        foto = f.grab().toImage();
        QHeaderView *h = f.ListView1->header();
        for (int k = 0; k < f.ListView1->ColumnHeaders().Count(); ++k) {
            const QRect caja = f.CmbSearch->Item(k)->geometry().translated(f.picFields->pos());
            const QPoint origen = h->mapTo(&f, QPoint(h->sectionViewportPosition(k), 0));
            const QRect seccion(origen, QSize(h->sectionSize(k), h->height()));
            EXPECT_NEAR(caja.left(), seccion.left(), 3) << k;
            EXPECT_LE(caja.right(), seccion.right()) << k;
            EXPECT_GT(caja.right(), seccion.right() - 6) << k;
            EXPECT_LE(caja.bottom(), seccion.top()) << k;
        }
        // Nothing hides the buttons.
        EXPECT_GE(f.Frame1->geometry().top(), f.HScroll1->geometry().bottom());
        EXPECT_LE(f.Frame1->geometry().bottom(), f.height());
    });
    EXPECT_GT(d.ListView1->ListItems().Count(), 0);
    const QString carpeta = qEnvironmentVariable("ANULACION_CAPTURAS");
    if (!carpeta.isEmpty()) {
        EXPECT_TRUE(foto.save(
            QDir(carpeta).filePath(QStringLiteral("lista_consulta_%1.png").arg(d.ListView1->ColumnHeaders().Count()))));
    }
}

} // namespace
