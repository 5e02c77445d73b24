// The list lookup's search boxes, filters, keys, quantities and shortage
// report, driven through the real dialog with real key events.
#include "lookup/lib_frm_cons3.h"

#include "database/armado_sql.h"
#include "platform/runtime/app.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/regional.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/default_instance.h"
#include "tests/support/empresa_consulta.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>

#include <sqlite3.h>

#include <algorithm>

namespace {

using Consulta = ui::DefaultInstance<Lib_FrmCons3>;

class BusquedaLista : public ConConsultas
{
protected:
    void SetUp() override
    {
        ConConsultas::SetUp();
        SetAppPath(dir.path());
        const char *const filas[][3] = {
            {"C1", "abasto norte", "LUIS"},
            {"C2", "Abril SA", "ANA"},
            {"C3", "Bruno y Cia", "O'NEIL"},
            {"C4", "  Carla", "ANA"},
            {"C5", "O'Brien", "ROSA"},
            {"C6", "abrojos", "ANA"},
        };
        for (const auto &f : filas)
            Ejecuta(
                QStringLiteral("INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO) VALUES (%1, %2, %3)")
                    .arg(TextoSQL(QLatin1String(f[0])), TextoSQL(QLatin1String(f[1])), TextoSQL(QLatin1String(f[2]))));
        enviadas.clear();
    }
    void TearDown() override
    {
        Consulta::Unload();
        ui::DestroyUnloaded();
        ConConsultas::TearDown();
    }

    // Shows the dialog on the statement, prepared by `prepara`; `script` runs
    // while it is up and active.
    Lib_FrmCons3 &muestra(const QString &sql,
                          const std::function<void(Lib_FrmCons3 &)> &script,
                          const std::function<void(Lib_FrmCons3 &)> &prepara = {})
    {
        Lib_FrmCons3 &d = Consulta::Get();
        d.SQL = sql;
        if (prepara)
            prepara(d);
        operador.drive([script](QDialog &dialog) {
            auto &f = static_cast<Lib_FrmCons3 &>(dialog);
            f.activateWindow();
            QApplication::processEvents();
            script(f);
        });
        ui::ShowModal(d);
        return d;
    }
    static QString seleccionada(Lib_FrmCons3 &d)
    {
        const ui::ListItem f = d.ListView1->SelectedItem();
        return f ? f.Text() : QStringLiteral("(none)");
    }
    static QStringList columna(Lib_FrmCons3 &d, int k)
    {
        QStringList out;
        for (int i = 1; i <= d.ListView1->ListItems().Count(); ++i) {
            const ui::ListItem f = d.ListView1->ListItems().Item(i);
            out << (k == 1 ? f.Text() : f.SubItems(k - 1)).trimmed();
        }
        return out;
    }
    static void tecla(QWidget *w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(w, Qt::Key(key), mods);
    }
    static QWidget *foco() { return QApplication::focusWidget(); }
    static bool enFoco(QWidget *w)
    {
        QWidget *f = foco();
        return f && (f == w || w->isAncestorOf(f));
    }
    // The statements the dialog enviadas to the database, from the spy's log.
    QStringList consultas() const
    {
        QStringList out;
        for (const QString &s : enviadas)
            if (s.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive))
                out << s;
        return out;
    }

    const QString kClientes = QStringLiteral("SELECT RAZON_SOCIAL, CODIGO, CONTACTO FROM VT_CLIENTES ORDER BY CODIGO");
};

TEST_F(BusquedaLista, SearchBoxSelectsTheFirstRowByPrefix)
{
    struct Caso
    {
        int caja;
        const char *texto;
        const char *fila; // the selected row's main text afterwards
    };
    muestra(kClientes, [](Lib_FrmCons3 &d) {
        const Caso casos[] = {
            {0, "ab", "abasto norte"}, // without regard to case, the first in list order
            {0, "ABR", "Abril SA"},
            {0, "  carla ", "Carla"}, // cell and text both trimmed
            {0, "zz", "Carla"},       // no match keeps the selection
            {0, "", "abasto norte"},  // the empty text: the first row
            {1, "c5", "O'Brien"},     // a sub-item, shown right-aligned
            {2, "ana", "Abril SA"},
        };
        for (const Caso &c : casos) {
            SCOPED_TRACE(std::to_string(c.caja) + " [" + c.texto + "]");
            d.CmbSearch->Item(c.caja)->setText(QString::fromLatin1(c.texto));
            EXPECT_EQ(seleccionada(d), QString::fromLatin1(c.fila));
        }
        // The walk follows the list's order: sorted descending by name, "ab" meets abrojos first.
        d.ListView1_ColumnClick(1);
        EXPECT_EQ(d.Busqueda(0, QStringLiteral("ab")), 4);
        EXPECT_EQ(d.ListView1->ListItems().Item(4).Text(), QStringLiteral("abrojos"));
        EXPECT_EQ(d.Busqueda(0, QStringLiteral("q")), 0);
    });
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(BusquedaLista, FocusColoursAndTheActiveBox)
{
    muestra(kClientes, [this](Lib_FrmCons3 &d) {
        ui::ComboBox *c0 = d.CmbSearch->Item(0);
        ui::ComboBox *c2 = d.CmbSearch->Item(2);
        c2->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(c2->BackColor(), 16776960);
        EXPECT_EQ(c0->BackColor(), 16777215);
        d.ListView1->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(c2->BackColor(), 16777215);
        // Typing in the list goes to the box that last had the focus.
        tecla(d.ListView1, Qt::Key_R);
        EXPECT_EQ(c2->Text(), QStringLiteral("r"));
        EXPECT_TRUE(enFoco(c2));
        EXPECT_EQ(seleccionada(d), QStringLiteral("O'Brien"));
    });
}

TEST_F(BusquedaLista, TypingInTheListUsesTheTextTyped)
{
    struct Caso
    {
        bool checks;
        int key;
        Qt::KeyboardModifiers mods;
        const char *tecleado; // the text the key types; nullptr: what QTest makes of it
        const char *texto;    // the box afterwards, from "a"
        bool foco;            // the box has the focus afterwards
    };
    const Caso casos[] = {
        {false, Qt::Key_B, Qt::NoModifier, nullptr, "ab", true},
        {false, Qt::Key_B, Qt::ShiftModifier, "B", "aB", true},
        {false, Qt::Key_1, Qt::KeypadModifier, nullptr, "a1", true},
        {false, Qt::Key_Backspace, Qt::NoModifier, nullptr, "", true},
        {false, Qt::Key_Space, Qt::NoModifier, nullptr, "a ", true},
        {true, Qt::Key_Space, Qt::NoModifier, nullptr, "a", false}, // Space only ticks
        {false, Qt::Key_F3, Qt::NoModifier, nullptr, "a", false},
        {false, Qt::Key_Meta, Qt::NoModifier, nullptr, "a", false},
        {false, Qt::Key_C, Qt::ControlModifier, "\x03", "a", false},
        {false, Qt::Key_Comma, Qt::NoModifier, ",", "a,", true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::to_string(c.key) + (c.checks ? " checks" : ""));
        muestra(
            kClientes,
            [&](Lib_FrmCons3 &d) {
                ui::ComboBox *caja = d.CmbSearch->Item(0);
                caja->setFocus();
                caja->setText(QStringLiteral("a"));
                d.ListView1->setFocus();
                d.ListView1->setSelectedItem(d.ListView1->ListItems().Item(3));
                QApplication::processEvents();
                if (c.tecleado)
                    QTest::sendKeyEvent(QTest::Click,
                                        d.ListView1,
                                        Qt::Key(c.key),
                                        QString::fromLatin1(c.tecleado),
                                        c.mods);
                else
                    tecla(d.ListView1, c.key, c.mods);
                EXPECT_EQ(caja->Text(), QString::fromLatin1(c.texto));
                EXPECT_EQ(enFoco(caja), c.foco);
                if (c.checks) {
                    EXPECT_TRUE(d.ListView1->ListItems().Item(3).Checked());
                }
            },
            [&](Lib_FrmCons3 &d) { d.CheckBoxes = c.checks; });
        Consulta::Unload();
    }
    // A letter outside the plain keyboard, as typed.
    muestra(kClientes, [](Lib_FrmCons3 &d) {
        d.ListView1->setFocus();
        QApplication::processEvents();
        QTest::sendKeyEvent(QTest::Click, d.ListView1, Qt::Key_Ntilde, QStringLiteral("ñ"), Qt::NoModifier);
        EXPECT_EQ(d.CmbSearch->Item(0)->Text(), QStringLiteral("ñ"));
    });
}

TEST_F(BusquedaLista, ArrowAndPageKeysInABoxHandTheFocusToTheList)
{
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
        SCOPED_TRACE(key);
        muestra(kClientes, [&](Lib_FrmCons3 &d) {
            ui::ComboBox *caja = d.CmbSearch->Item(1);
            caja->setFocus();
            QApplication::processEvents();
            tecla(foco(), key);
            EXPECT_TRUE(enFoco(d.ListView1));
        });
        Consulta::Unload();
    }
}

TEST_F(BusquedaLista, F5FiltersOnTheServerAndFiltersAccumulate)
{
    muestra(kClientes, [this](Lib_FrmCons3 &d) {
        ui::ComboBox *nombre = d.CmbSearch->Item(0);
        nombre->setFocus();
        QApplication::processEvents();
        enviadas.clear();
        QTest::keyClicks(foco(), QStringLiteral("ab"));
        tecla(foco(), Qt::Key_F5);
        ASSERT_EQ(consultas().size(), 1);
        EXPECT_EQ(consultas().last(),
                  QStringLiteral("SELECT RAZON_SOCIAL, CODIGO, CONTACTO FROM VT_CLIENTES  where "
                                 "LTRIM(RAZON_SOCIAL) like 'ab%' ORDER BY CODIGO  "));
        EXPECT_EQ(columna(d, 1), (QStringList{"abasto norte", "Abril SA", "abrojos"}));
        EXPECT_EQ(nombre->Text(), QString()) << "the box of the filter is emptied";

        // A second filter in another box, with a quote and a "*".
        ui::ComboBox *contacto = d.CmbSearch->Item(2);
        contacto->setText(QStringLiteral("A*a"));
        contacto->setFocus();
        QApplication::processEvents();
        tecla(foco(), Qt::Key_F5);
        EXPECT_EQ(consultas().last(),
                  QStringLiteral("SELECT RAZON_SOCIAL, CODIGO, CONTACTO FROM VT_CLIENTES  where "
                                 "LTRIM(RAZON_SOCIAL) like 'ab%'  and LTRIM(CONTACTO) like 'A%a%' "
                                 "ORDER BY CODIGO   "));
        EXPECT_EQ(columna(d, 1), (QStringList{"Abril SA", "abrojos"}));

        // "Nueva Busqueda": the first statement's rows again, box 0 focused.
        d.CmdNueva->click();
        QApplication::processEvents();
        EXPECT_EQ(columna(d, 1).size(), 6);
        EXPECT_TRUE(enFoco(d.CmbSearch->Item(0)));
    });
}

TEST_F(BusquedaLista, F5WithAQuoteOrAContainsFilterFindsTheRow)
{
    struct Caso
    {
        bool contiene;
        int caja;
        const char *texto;
        QStringList filas;
    };
    const Caso casos[] = {
        {false, 0, "O'B", {"O'Brien"}},
        {true, 2, "'NE", {"Bruno y Cia"}},
        {true, 0, "or", {"abasto norte"}},
        {false, 1, "c", {"abasto norte", "Abril SA", "Bruno y Cia", "Carla", "O'Brien", "abrojos"}},
        {false, 0, "x' or 'a'='a", {}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.texto);
        muestra(
            kClientes,
            [&](Lib_FrmCons3 &d) {
                ui::ComboBox *caja = d.CmbSearch->Item(c.caja);
                caja->setText(QString::fromLatin1(c.texto));
                caja->setFocus();
                QApplication::processEvents();
                tecla(foco(), Qt::Key_F5);
                EXPECT_EQ(columna(d, 1), c.filas);
            },
            [&](Lib_FrmCons3 &d) { d.CfgUsaConsultaLIKE = c.contiene; });
        Consulta::Unload();
    }
    EXPECT_EQ(operador.requests().size(), size_t(std::size(casos)));
}

TEST_F(BusquedaLista, ColumnClickFlipsTheOrderOnEveryClick)
{
    muestra(kClientes, [](Lib_FrmCons3 &d) {
        QHeaderView *h = d.ListView1->header();
        const auto click = [&](int seccion) {
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(seccion) + 5, 5));
        };
        click(2);
        EXPECT_TRUE(d.ListView1->Sorted());
        EXPECT_EQ(d.ListView1->SortKey(), 2);
        EXPECT_EQ(columna(d, 3), (QStringList{"ROSA", "O'NEIL", "LUIS", "ANA", "ANA", "ANA"}));
        click(0);
        EXPECT_EQ(d.ListView1->SortKey(), 0);
        EXPECT_EQ(d.ListView1->SortOrder(), ui::lvwAscending);
        EXPECT_EQ(columna(d, 1),
                  (QStringList{"abasto norte", "Abril SA", "abrojos", "Bruno y Cia", "Carla", "O'Brien"}));
        click(0);
        EXPECT_EQ(d.ListView1->SortOrder(), ui::lvwDescending);
        EXPECT_EQ(columna(d, 1).first(), QStringLiteral("O'Brien"));
    });
}

struct OrdenCase
{
    const char *nombre;
    int columna;            // position of the clicked column, from 1
    QStringList ascendente; // the column's trimmed texts, ascending; descending is the reverse
    friend void PrintTo(const OrdenCase &c, std::ostream *os) { *os << c.nombre; }
};

class OrdenPorColumna : public BusquedaLista, public ::testing::WithParamInterface<OrdenCase>
{};

// Texts sorted as texts would put "  30" before "12.5" and "28/12/2023" after
// "12/01/2025": numbers and dates sort by value, a Null before every value.
TEST_P(OrdenPorColumna, NumbersAndDatesSortByValueTextsByTextBothWays)
{
    const OrdenCase &c = GetParam();
    Ejecuta(
        QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, NOMBRE, IMPORTE, ID) VALUES "
                       "('FC', '1', 0, '2024-03-05', 'beta', 9, 2), "
                       "('FC', '2', 0, '2023-12-28', 'Alfa', 10, 10), "
                       "('FC', '3', 0, '2025-01-12', 'gamma', 12.5, 100), "
                       "('FC', '4', 0, '2024-02-28', 'Delta', 30, -1), "
                       "('FC', '5', 0, '2024-03-04', 'epsilon', 33.75, 7), "
                       "('FC', '6', 0, '2024-03-06', 'zeta', NULL, 55)"));
    muestra(QStringLiteral("SELECT ID, NOMBRE, FECHA, IMPORTE FROM V_MV_CPTE"), [&](Lib_FrmCons3 &d) {
        QHeaderView *h = d.ListView1->header();
        const auto click = [&] {
            QTest::mouseClick(h->viewport(),
                              Qt::LeftButton,
                              {},
                              QPoint(h->sectionViewportPosition(c.columna - 1) + 5, 5));
        };
        // The list starts ascending: the first click sorts descending.
        click();
        QStringList descendente = c.ascendente;
        std::reverse(descendente.begin(), descendente.end());
        EXPECT_EQ(columna(d, c.columna), descendente);
        click();
        EXPECT_EQ(columna(d, c.columna), c.ascendente);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Lookup,
    OrdenPorColumna,
    ::testing::Values(
        OrdenCase{"whole_number_in_the_main_text", 1, {"-1", "2", "7", "10", "55", "100"}},
        OrdenCase{"text_without_case", 2, {"Alfa", "beta", "Delta", "epsilon", "gamma", "zeta"}},
        OrdenCase{"date", 3, {"28/12/2023", "28/02/2024", "04/03/2024", "05/03/2024", "06/03/2024", "12/01/2025"}},
        OrdenCase{"amount_with_a_null", 4, {"", "9", "10", "12.5", "30", "33.75"}}),
    [](const auto &info) { return std::string(info.param.nombre); });

// ---- Quantities ----

class CantidadesLista : public BusquedaLista
{
protected:
    const QString kConCantidad = QStringLiteral(
        "SELECT CODIGO, RAZON_SOCIAL, CONTACTO AS [**Cantidad**] FROM VT_CLIENTES ORDER BY CODIGO");
};

TEST_F(CantidadesLista, InsertDeleteAndShiftInsertByStartingCell)
{
    struct Caso
    {
        bool coma;
        const char *celda;
        bool marcada; // before the key
        int key;
        Qt::KeyboardModifiers mods;
        // The input box's answers (Shift+Insert), in turn; empty: no box.
        std::vector<const char *> respuestas;
        const char *despues;
        bool marcadaDespues;
    };
    const Caso casos[] = {
        {false, "", false, Qt::Key_Insert, Qt::NoModifier, {}, "1.0", true},
        {false, "2.50", false, Qt::Key_Insert, Qt::NoModifier, {}, "3.5", true},
        {true, "2,50", false, Qt::Key_Insert, Qt::NoModifier, {}, "3,5", true},
        {false, "1.0", true, Qt::Key_Delete, Qt::NoModifier, {}, "0.00", false},
        {false, "3.0", true, Qt::Key_Delete, Qt::NoModifier, {}, "2.0", true},
        {true, "3,0", false, Qt::Key_Delete, Qt::NoModifier, {}, "2,0", false},
        {false, "0.00", false, Qt::Key_Delete, Qt::NoModifier, {}, "0.00", false},
        {false, "1.0", false, Qt::Key_Insert, Qt::ShiftModifier, {"3"}, "3.00", true},
        {true, "1,0", false, Qt::Key_Insert, Qt::ShiftModifier, {"2,5"}, "2,50", true},
        // The operators write a comma whatever the workstation says.
        {false, "1.0", false, Qt::Key_Insert, Qt::ShiftModifier, {"1,5"}, "1.50", true},
        {true, "1,0", false, Qt::Key_Insert, Qt::ShiftModifier, {"1.5"}, "1,50", true},
        // Text that is no quantity is told and asked again, never cut.
        {false, "1.0", false, Qt::Key_Insert, Qt::ShiftModifier, {"muchos", ""}, "1.0", false},
        {false, "1.0", false, Qt::Key_Insert, Qt::ShiftModifier, {"2.5kg", "2,5"}, "2.50", true},
        {false, "1.0", false, Qt::Key_Insert, Qt::ShiftModifier, {""}, "1.0", false}, // Cancel
        {false, "1.0", false, Qt::Key_Insert, Qt::ShiftModifier, {"   "}, "1.0", false},
        {false, "1.0", false, Qt::Key_Insert, Qt::ControlModifier, {}, "1.0", false},
        {false, "1.0", false, Qt::Key_Insert, Qt::AltModifier, {}, "1.0", false},
        {false, "1.0", true, Qt::Key_Delete, Qt::ShiftModifier, {}, "1.0", true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.coma ? ", " : ". ") + c.celda + " " + std::to_string(c.key) + " "
                     + std::to_string(int(c.mods)) + " " + (c.respuestas.empty() ? "" : c.respuestas[0]));
        [&] {
            vb::ScopedRegional regional(c.coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
            operador.clear();
            muestra(
                kConCantidad,
                [&](Lib_FrmCons3 &d) {
                    ui::ListItem fila = d.ListView1->ListItems().Item(2);
                    fila.setSubItems(2, QString::fromLatin1(c.celda));
                    fila.setChecked(c.marcada);
                    d.ListView1->setSelectedItem(fila);
                    d.ListView1->setFocus();
                    for (size_t i = 0; i < c.respuestas.size(); ++i) {
                        if (i > 0)
                            operador.answer(ui::vbOK);
                        operador.type(QString::fromLatin1(c.respuestas[i]));
                    }
                    tecla(d.ListView1, c.key, c.mods);
                    EXPECT_EQ(fila.SubItems(2), QString::fromLatin1(c.despues));
                    EXPECT_EQ(fila.Checked(), c.marcadaDespues);
                    EXPECT_EQ(d.CmbSearch->Item(0)->Text(), QString()) << "quantity keys type nothing";
                },
                [](Lib_FrmCons3 &d) { d.UsaCantidades = true; });
            Consulta::Unload();
            EXPECT_EQ(operador.pending(), 0);
            EXPECT_EQ(operador.unexpected(), 0);
            const std::vector<ui::Request> &r = operador.requests();
            ASSERT_EQ(r.size(), c.respuestas.empty() ? 1u : 2 * c.respuestas.size());
            QString antes = QString::fromLatin1(c.celda);
            for (size_t i = 0; i < c.respuestas.size(); ++i) {
                if (i > 0) {
                    const ui::Request &aviso = r[2 * i];
                    const QString escrita = QString::fromLatin1(c.respuestas[i - 1]);
                    EXPECT_EQ(aviso.prompt, QStringLiteral("La Cantidad ingresada (%1) no es un número.").arg(escrita));
                    EXPECT_EQ(aviso.title, QStringLiteral("Aviso al Operador"));
                    EXPECT_EQ(aviso.icon, ui::vbExclamation);
                    antes = escrita;
                }
                const ui::Request &box = r[2 * i + 1];
                EXPECT_EQ(box.kind, ui::Request::Kind::InputBox);
                EXPECT_EQ(box.prompt, QStringLiteral("Ingrese la Cantidad del Articulo..."));
                EXPECT_EQ(box.title, QStringLiteral("Carga de Datos"));
                EXPECT_EQ(box.defaultText, antes) << "asked again with what was typed";
            }
        }();
    }
}

TEST_F(CantidadesLista, WithoutTheColumnOrARowTheErrorDialogAsks)
{
    const auto falla = [this](const QString &sql, bool conFila) {
        operador.clear();
        muestra(
            sql,
            [&](Lib_FrmCons3 &d) {
                d.ListView1->setSelectedItem(conFila ? d.ListView1->ListItems().Item(1) : ui::ListItem());
                d.ListView1->setFocus();
                operador.answer(ui::vbAbort);
                tecla(d.ListView1, Qt::Key_Insert);
                EXPECT_TRUE(d.isVisible());
            },
            [](Lib_FrmCons3 &d) { d.UsaCantidades = true; });
        Consulta::Unload();
        ASSERT_EQ(operador.requests().size(), 2u);
        const ui::Request &m = operador.requests()[1];
        EXPECT_TRUE(m.prompt.contains(QStringLiteral("ListView1_KeyDown"))) << m.prompt.toStdString();
        EXPECT_EQ(m.style, ui::vbAbortRetryIgnore + ui::vbCritical);
    };
    {
        SCOPED_TRACE("no quantity column");
        falla(kClientes, true);
    }
    {
        SCOPED_TRACE("no selected row");
        falla(kConCantidad, false);
    }
}

// ---- The shortage report ----

class FaltantesLista : public BusquedaLista
{
protected:
    void SetUp() override
    {
        BusquedaLista::SetUp();
        Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION) VALUES ('A1', 'TORNILLO')"));
        Ejecuta(QStringLiteral(
            "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION) VALUES ('B''2', 'MADERA O''HIGGINS')"));
        vb::FixClock(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    }
    void TearDown() override
    {
        vb::SetClock({});
        BusquedaLista::TearDown();
    }
    QStringList faltantes()
    {
        ado::Recordset rs;
        rs.Open(QStringLiteral("SELECT FechaHora, IdArticulo, Descripcion, Usuario FROM V_MV_FALTANTES"),
                gDB().gCnn(),
                ado::adOpenForwardOnly,
                ado::adLockReadOnly);
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext())
            out << QStringLiteral("%1|%2|%3|%4")
                       .arg(rs.Fields(0).Value().toString(),
                            rs.Fields(1).Value().toString(),
                            rs.Fields(2).Value().toString(),
                            rs.Fields(3).Value().toString());
        return out;
    }
    // F12 on row `fila` of the article list, with the question answered.
    void f12(int fila, int respuesta, const QString &sql = {})
    {
        operador.clear();
        muestra(sql.isEmpty() ? kArticulos : sql, [&](Lib_FrmCons3 &d) {
            if (fila > 0)
                d.ListView1->setSelectedItem(d.ListView1->ListItems().Item(fila));
            d.CmbSearch->Item(0)->setFocus();
            QApplication::processEvents();
            operador.answer(respuesta);
            tecla(foco(), Qt::Key_F12);
            EXPECT_TRUE(d.isVisible()) << "the dialog goes on";
            EXPECT_EQ(d.CmbSearch->Item(0)->Text(), QString()) << "the key reached no box";
        });
        Consulta::Unload();
    }
    const QString kArticulos = QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM V_MA_ARTICULOS ORDER BY IDARTICULO");
};

TEST_F(FaltantesLista, YesRecordsTheArticleAndNoRecordsNothing)
{
    f12(1, ui::vbNo);
    ASSERT_EQ(operador.requests().size(), 2u);
    const ui::Request &q = operador.requests()[1];
    EXPECT_EQ(q.prompt, QStringLiteral("Desea informar el articulo A1 TORNILLO\r\ncomo un faltante de stock?"));
    EXPECT_EQ(q.title, QStringLiteral("Atención!"));
    EXPECT_EQ(q.icon, ui::vbQuestion);
    EXPECT_EQ(q.buttons, ui::ButtonTexts(ui::vbYesNo));
    EXPECT_TRUE(faltantes().isEmpty());

    f12(1, ui::vbYes);
    f12(2, ui::vbYes);
    EXPECT_EQ(faltantes(),
              (QStringList{QStringLiteral("05/03/2024 14:07:09|%1A1|TORNILLO|ADMIN").arg(QString(23, ' ')),
                           QStringLiteral("05/03/2024 14:07:09|%1B'2|MADERA O'HIGGINS|ADMIN").arg(QString(22, ' '))}));
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(FaltantesLista, AFailedInsertIsTold)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(base.path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER sin_faltantes BEFORE INSERT ON V_MV_FALTANTES "
                           "BEGIN SELECT RAISE(ABORT, 'faltantes cerrados'); END",
                           nullptr,
                           nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    f12(1, ui::vbYes);
    ASSERT_EQ(operador.requests().size(), 3u);
    const ui::Request &aviso = operador.requests()[2];
    EXPECT_TRUE(aviso.prompt.contains(QStringLiteral("faltantes cerrados"))) << aviso.prompt.toStdString();
    EXPECT_EQ(aviso.icon, ui::vbCritical);
    EXPECT_EQ(aviso.title, QStringLiteral("Aviso al Operador"));
    EXPECT_TRUE(faltantes().isEmpty());
}

TEST_F(FaltantesLista, OnlyAnArticleListWithARowReports)
{
    f12(1, ui::vbYes, kClientes);
    EXPECT_EQ(operador.requests().size(), 1u) << "not an article list: nothing asked";
    f12(0, ui::vbYes, QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM V_MA_ARTICULOS WHERE IDARTICULO = 'Z'"));
    EXPECT_EQ(operador.requests().size(), 1u) << "no row: nothing asked";
    EXPECT_TRUE(faltantes().isEmpty());
}

} // namespace
