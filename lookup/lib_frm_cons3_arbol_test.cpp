#include "lookup/lib_frm_cons3_arbol.h"

#include "lookup/consulta_arbol.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/tree_view.h"
#include "tests/support/clics_vistas.h"
#include "tests/support/empresa.h"
#include "tests/support/impresion_qt.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

using ui::Node;

const QString kFamilias = QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");

// The tree as "text(children)" from a node's first child on.
QString Forma(const Node *first)
{
    QStringList parts;
    for (const Node *n = first; n; n = n->Next()) {
        QString part = n->Text().section(QStringLiteral(" - "), 0, 0).trimmed();
        if (n->Child())
            part += QLatin1Char('(') + Forma(n->Child()) + QLatin1Char(')');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

QString Forma(const Lib_FrmCons3Tree &dlg)
{
    return dlg.TreeV->nodes().Count() ? Forma(&dlg.TreeV->nodes().Item(1)) : QString();
}

QStringList Textos(const Coleccion &c)
{
    QStringList out;
    if (c)
        for (const Variant &v : *c)
            out << v.toString();
    return out;
}

class ArbolTest : public EmpresaEspiada
{
protected:
    // The company's codes hold four characters; a tree of five levels needs
    // one more.
    void SetUp() override
    {
        EmpresaEspiada::SetUp();
        CambiaTipoDeColumna(QStringLiteral("V_TA_FAMILIAS"), QStringLiteral("IDFAMILIA"), QStringLiteral("varchar(5)"));
    }
    void Familias(const QStringList &codigos)
    {
        QStringList sql;
        for (const QString &c : codigos)
            sql << QStringLiteral("INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES ('%1', 'FAMILIA %2')")
                       .arg(c, c.trimmed());
        Ejecuta(sql);
    }
    ui::ComboBox &Caja(Lib_FrmCons3Tree &dlg) { return *dlg.CmbSearch->Item(0); }
    // Types over what the box holds, as the operator does after selecting it.
    void Escribe(Lib_FrmCons3Tree &dlg, const QString &texto)
    {
        QLineEdit *edit = Caja(dlg).lineEdit();
        Caja(dlg).setFocus();
        edit->selectAll();
        if (texto.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        for (QChar ch : texto) {
            if (ch.unicode() < 128)
                QTest::keyClick(edit, ch.toLatin1());
            else
                edit->insert(QString(ch)); // QTest types ASCII only
        }
    }
    void Activa(QDialog &dlg)
    {
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }
    QString Seleccionado(const Lib_FrmCons3Tree &dlg)
    {
        const Node *n = dlg.TreeV->SelectedItem();
        return n ? n->Key() : QStringLiteral("(ninguno)");
    }
};

TEST_F(ArbolTest, LevelsFollowTheLengthOfTheCodes)
{
    struct Caso
    {
        const char *nombre;
        QStringList codigos;
        QString forma;
    };
    const Caso casos[] = {
        {"nested", {"1", "11", "111", "12", "2"}, "Consulta...(1(11(111) 12) 2)"},
        {"fixed width: flat", {"   1", "   2", "  11", " 111"}, "Consulta...(1 2 11 111)"},
        {"five levels", {"1", "12", "123", "1234", "12345", "2"}, "Consulta...(1(12(123(1234(12345)))) 2)"},
        {"no rows", {}, "Consulta..."},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Ejecuta({QStringLiteral("DELETE FROM V_TA_FAMILIAS")});
        Familias(c.codigos);
        Lib_FrmCons3Tree dlg;
        dlg.SQL = kFamilias;
        Muestra(dlg, [&](QDialog &) {
            EXPECT_EQ(Forma(dlg), c.forma);
            const Node &raiz = dlg.TreeV->nodes().Item(1);
            EXPECT_EQ(raiz.Key(), QStringLiteral("A"));
            EXPECT_EQ(raiz.Text(), QStringLiteral("Consulta..."));
            EXPECT_TRUE(raiz.Expanded());
            if (dlg.TreeV->nodes().Count() > 1) {
                // Keys and texts keep the code as the column delivers it.
                const Node &primero = dlg.TreeV->nodes().Item(2);
                EXPECT_EQ(primero.Key(), QStringLiteral("A") + c.codigos[0]);
                EXPECT_EQ(primero.Text(), c.codigos[0] + QStringLiteral(" - FAMILIA ") + c.codigos[0].trimmed());
                EXPECT_FALSE(primero.Expanded());
            }
        });
        EXPECT_EQ(operador.unexpected(), 0);
        EXPECT_NE(dlg.Valores, nullptr);
        EXPECT_TRUE(dlg.Valores->isEmpty());
    }
}

TEST_F(ArbolTest, RowsThatCannotBeNodesGoToTheErrorDialog)
{
    // A repeated code (skipped), a Null description (skipped), a second
    // repeated code (the operator leaves): the rows after it are not read.
    Lib_FrmCons3Tree dlg;
    dlg.SQL = QStringLiteral(
        "SELECT c, d FROM (SELECT '1' AS c, 'uno' AS d, 1 AS o UNION ALL SELECT '1', 'otra', 2 UNION ALL "
        "SELECT '2', 'dos', 3 UNION ALL SELECT '3', NULL, 4 UNION ALL SELECT '2', 'otra', 5 UNION ALL "
        "SELECT '4', 'cuatro', 6) x ORDER BY o");
    Muestra(dlg,
            [&](QDialog &) { EXPECT_EQ(Forma(dlg), QStringLiteral("Consulta...(1 2)")); },
            {ui::vbIgnore, ui::vbIgnore, ui::vbAbort});
    const auto &r = operador.requests();
    ASSERT_EQ(r.size(), 4u); // the dialog, then three boxes
    const QString repetida = QStringLiteral("Se produjo el error 35602:\nLa clave no es única en la colección\n"
                                            "Origen: anulacion\nRutina: ArmarTreeVAutomatico");
    EXPECT_EQ(r[1].prompt, repetida) << r[1].prompt.toStdString();
    EXPECT_EQ(r[1].title, QStringLiteral("Aviso al operador!!!"));
    EXPECT_EQ(r[1].buttons,
              (QStringList{QStringLiteral("Anular"), QStringLiteral("Reintentar"), QStringLiteral("Omitir")}));
    EXPECT_EQ(r[1].icon, int(ui::vbCritical));
    EXPECT_EQ(r[2].prompt,
              QStringLiteral(
                  "Se produjo el error 94:\nUso no válido de Null\nOrigen: anulacion\nRutina: ArmarTreeVAutomatico"))
        << r[2].prompt.toStdString();
    EXPECT_EQ(r[3].prompt, repetida);
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(ArbolTest, AnEmptyCodeRepeatsTheRootsKey)
{
    Familias({"1"});
    Lib_FrmCons3Tree dlg;
    dlg.SQL = QStringLiteral(
        "SELECT '' AS c, 'sin código' AS d UNION ALL SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS");
    Muestra(dlg, [&](QDialog &) { EXPECT_EQ(Forma(dlg), QStringLiteral("Consulta...(1)")); }, {ui::vbIgnore});
    EXPECT_EQ(operador.prompts().size(), 1);
}

TEST_F(ArbolTest, TypingSelectsTheFirstNodeByCodeOrDescription)
{
    Familias({"1", "11", "111", "12", "2"});
    Ejecuta({QStringLiteral("UPDATE V_TA_FAMILIAS SET DESCRIPCION = 'Ferretería' WHERE IDFAMILIA = '12'")});
    struct Caso
    {
        const char *escrito;
        const char *clave;
    };
    const Caso casos[] = {
        {"1", "A1"},
        {"11", "A11"},
        {"111", "A111"},
        {"12", "A12"},
        {"fERR", "A12"},
        {"familia 2", "A2"},
        {"", "A"},
        {"cons", "A"},
        {"2", "A2"},
        {"zzz", "A2"}, // no match: the selection stays
    };
    Lib_FrmCons3Tree dlg;
    dlg.SQL = kFamilias;
    Muestra(dlg, [&](QDialog &) {
        for (const Caso &c : casos) {
            SCOPED_TRACE(c.escrito);
            Escribe(dlg, QString::fromUtf8(c.escrito));
            EXPECT_EQ(Seleccionado(dlg), QString::fromLatin1(c.clave));
        }
        // A selected node deep in the tree is shown: its parents are expanded.
        Escribe(dlg, QStringLiteral("111"));
        EXPECT_TRUE(dlg.TreeV->nodes().Item(QStringLiteral("A11")).Expanded());
        EXPECT_TRUE(dlg.TreeV->nodes().Item(QStringLiteral("A1")).Expanded());
    });
}

TEST_F(ArbolTest, ArrowAndPageKeysInTheBoxGoToTheTree)
{
    Familias({"1", "2"});
    Lib_FrmCons3Tree dlg;
    dlg.SQL = kFamilias;
    Muestra(dlg, [&](QDialog &) {
        Activa(dlg);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
            SCOPED_TRACE(key);
            [&] {
                Caja(dlg).setFocus();
                ASSERT_TRUE(Caja(dlg).hasFocus());
                QTest::keyClick(Caja(dlg).lineEdit(), key);
                EXPECT_TRUE(dlg.TreeV->hasFocus());
            }();
        }
        Caja(dlg).setFocus();
        QTest::keyClick(Caja(dlg).lineEdit(), Qt::Key_Right);
        EXPECT_TRUE(Caja(dlg).hasFocus());
    });
}

TEST(FiltraConsultaArbol, JoinsTheConditionBeforeTheOrderClause)
{
    struct Caso
    {
        const char *nombre;
        QString sql;
        QString texto;
        QString esperada;
    };
    const Caso casos[] = {
        {"order by, no where",
         QStringLiteral("SELECT a, b FROM t ORDER BY a"),
         QStringLiteral("x"),
         QStringLiteral("SELECT a, b FROM t  where Descripcion like '%x%' ORDER BY a")},
        {"where and order by",
         QStringLiteral("SELECT a, b FROM t WHERE a > 1 order  by a"),
         QStringLiteral("x"),
         QStringLiteral("SELECT a, b FROM t WHERE a > 1  and Descripcion like '%x%' order  by a")},
        {"neither",
         QStringLiteral("SELECT a, b FROM t"),
         QStringLiteral("x"),
         QStringLiteral("SELECT a, b FROM t where Descripcion like '%x%' ")},
        {"a quote",
         QStringLiteral("SELECT a, b FROM t"),
         QStringLiteral("O'Brien"),
         QStringLiteral("SELECT a, b FROM t where Descripcion like '%O''Brien%' ")},
        {"wildcards keep their meaning",
         QStringLiteral("SELECT a, b FROM t"),
         QStringLiteral("10%_a"),
         QStringLiteral("SELECT a, b FROM t where Descripcion like '%10%_a%' ")},
        {"a column ORDEN and no order by",
         QStringLiteral("SELECT a, b FROM t WHERE ORDEN > 0"),
         QStringLiteral("x"),
         QStringLiteral("SELECT a, b FROM t WHERE ORDEN > 0 and Descripcion like '%x%' ")},
        {"ORDEN and an order by",
         QStringLiteral("SELECT a, ORDEN FROM t ORDER BY ORDEN"),
         QStringLiteral("x"),
         QStringLiteral("SELECT a, ORDEN FROM t  where Descripcion like '%x%' ORDER BY ORDEN")},
        {"order by and where inside an earlier filter's quotes",
         QStringLiteral("SELECT a FROM t  where Descripcion like '%order by%' ORDER BY a"),
         QStringLiteral("1; DELETE FROM t --"),
         QStringLiteral("SELECT a FROM t  where Descripcion like '%order by%'  and Descripcion like "
                        "'%1; DELETE FROM t --%' ORDER BY a")},
        {"where only in quotes",
         QStringLiteral("SELECT a, 'where' FROM t"),
         QStringLiteral("x"),
         QStringLiteral("SELECT a, 'where' FROM t where Descripcion like '%x%' ")},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        QString sinOrden, orden;
        EXPECT_EQ(FiltraConsultaArbol(c.sql, QStringLiteral("Descripcion"), c.texto, sinOrden, orden), c.esperada);
    }
}

TEST_F(ArbolTest, F5FiltersByDescriptionAndNuevaBusquedaKeepsTheFilters)
{
    Familias({"1", "11", "2", "21"});
    Ejecuta({QStringLiteral("UPDATE V_TA_FAMILIAS SET DESCRIPCION = 'Caños O''Brien' WHERE IDFAMILIA IN ('1', '11')"),
             QStringLiteral("UPDATE V_TA_FAMILIAS SET DESCRIPCION = 'Caños' WHERE IDFAMILIA = '2'")});
    Lib_FrmCons3Tree dlg;
    dlg.SQL = kFamilias;
    Muestra(dlg, [&](QDialog &) {
        Escribe(dlg, QStringLiteral("caños"));
        QTest::keyClick(Caja(dlg).lineEdit(), Qt::Key_F5);
        EXPECT_EQ(dlg.SQL,
                  QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS  where Descripcion like "
                                 "'%caños%' ORDER BY IDFAMILIA"));
        EXPECT_EQ(Caja(dlg).Text(), QString());
        EXPECT_EQ(Caja(dlg).Tag(), QStringLiteral("Descripcion"));
        EXPECT_EQ(Forma(dlg), QStringLiteral("Consulta...(1(11) 2)"));

        Escribe(dlg, QStringLiteral("O'Brien"));
        QTest::keyClick(Caja(dlg).lineEdit(), Qt::Key_F5);
        EXPECT_EQ(dlg.SQL,
                  QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS  where Descripcion like "
                                 "'%caños%'  and Descripcion like '%O''Brien%' ORDER BY IDFAMILIA"));
        EXPECT_EQ(dlg.sentenciaSinOrden(), dlg.SQL);
        EXPECT_EQ(Forma(dlg), QStringLiteral("Consulta...(1(11))"));

        QTest::mouseClick(dlg.CmdNueva, Qt::LeftButton);
        EXPECT_TRUE(dlg.SQL.contains(QStringLiteral("O''Brien")));
        EXPECT_EQ(Forma(dlg), QStringLiteral("Consulta...(1(11))"));
    });
    EXPECT_EQ(operador.unexpected(), 0);
}

class TildesTest : public ArbolTest
{
protected:
    void SetUp() override
    {
        ArbolTest::SetUp();
        Familias({"1", "12", "123", "1234", "12345", "2"});
    }
    QStringList Tildados(const Lib_FrmCons3Tree &dlg)
    {
        QStringList out;
        for (int i = 1; i <= dlg.TreeV->nodes().Count(); ++i)
            if (dlg.TreeV->nodes().Item(i).Checked())
                out << dlg.TreeV->nodes().Item(i).Key();
        return out;
    }
    QModelIndex Indice(Lib_FrmCons3Tree &dlg, const char *clave)
    {
        Node &n = dlg.TreeV->nodes().Item(QString::fromLatin1(clave));
        n.EnsureVisible();
        return dlg.TreeV->indexOf(n);
    }
};

TEST_F(TildesTest, ATickPassesToEveryDescendantAndTheRootIsNoCode)
{
    Lib_FrmCons3Tree dlg;
    dlg.SQL = kFamilias;
    dlg.CheckBoxes = true;
    dlg.CampoDevuelto = QStringLiteral("idfamilia");
    Muestra(dlg, [&](QDialog &) {
        ClickCheckBox(*dlg.TreeV, Indice(dlg, "A"));
        EXPECT_EQ(Tildados(dlg).join(QLatin1Char(' ')), QStringLiteral("A A1 A12 A123 A1234 A12345 A2"));
        // Space on a node in the middle clears it and everything below it only.
        dlg.TreeV->nodes().Item(QStringLiteral("A12")).setSelected(true);
        dlg.TreeV->setFocus();
        QTest::keyClick(dlg.TreeV, Qt::Key_Space);
        EXPECT_EQ(Tildados(dlg).join(QLatin1Char(' ')), QStringLiteral("A A1 A2"));
        // Ticking a leaf changes nothing else.
        ClickCheckBox(*dlg.TreeV, Indice(dlg, "A12345"));
        EXPECT_EQ(Tildados(dlg).join(QLatin1Char(' ')), QStringLiteral("A A1 A12345 A2"));
        QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(Textos(dlg.Valores), (QStringList{"1", "12345", "2"}));
    EXPECT_TRUE(dlg.ValorDevuelto.isEmpty());
}

TEST_F(TildesTest, TickedCodesPerKindOfCode)
{
    Ejecuta({QStringLiteral(
        "INSERT INTO ma_posiciones (iddeposito, idposicion, descripcion) VALUES ('   1', '12', 'ESTANTE')")});
    struct Caso
    {
        const char *campo;
        QStringList valores;
    };
    const Caso casos[] = {
        {"CODIGO", {"1", "12", "123"}},
        {"IDPOSICION", {"12"}}, // only the positions that exist
        {"OTRO", {}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.campo);
        Lib_FrmCons3Tree dlg;
        dlg.SQL = kFamilias;
        dlg.CheckBoxes = true;
        dlg.CampoDevuelto = QString::fromLatin1(c.campo);
        Muestra(dlg, [&](QDialog &) {
            ClickCheckBox(*dlg.TreeV, Indice(dlg, "A1"));
            ClickCheckBox(*dlg.TreeV, Indice(dlg, "A1234")); // off again, with its child
            DoubleClickRow(*dlg.TreeV, Indice(dlg, "A2"));
            EXPECT_FALSE(dlg.isVisible());
        });
        EXPECT_EQ(Textos(dlg.Valores), c.valores);
    }
}

TEST_F(ArbolTest, SingleAcceptReturnsTheCodeAsItsTableHoldsIt)
{
    Familias({"1", "11"});
    Ejecuta({QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('7', 'TALLER')"),
             QStringLiteral(
                 "INSERT INTO ma_posiciones (iddeposito, idposicion, descripcion) VALUES ('   1', 'P1', 'ESTANTE')")});
    const QString unaFila = QStringLiteral("SELECT '%1' AS c, 'x' AS d");
    struct Caso
    {
        const char *nombre;
        QString campo;
        QString sql;
        QString clave; // node to pick; empty: none
        bool dobleClic;
        Variant esperado;
    };
    const Caso casos[] = {
        {"family found",
         QStringLiteral("IDFAMILIA"),
         kFamilias,
         QStringLiteral("A11"),
         false,
         Variant(QStringLiteral("11"))},
        {"family found, double click",
         QStringLiteral("IDFAMILIA"),
         kFamilias,
         QStringLiteral("A1"),
         true,
         Variant(QStringLiteral("1"))},
        {"family missing",
         QStringLiteral("IDFAMILIA"),
         unaFila.arg(QStringLiteral("99")),
         QStringLiteral("A99"),
         false,
         Variant(QString())},
        {"root", QStringLiteral("IDFAMILIA"), kFamilias, QStringLiteral("A"), false, Variant(QString())},
        {"nothing selected", QStringLiteral("IDFAMILIA"), kFamilias, QString(), false, Variant(QString())},
        {"position",
         QStringLiteral("idposicion"),
         unaFila.arg(QStringLiteral("P1")),
         QStringLiteral("AP1"),
         false,
         Variant(QStringLiteral("P1"))},
        {"cost centre",
         QStringLiteral("CODIGO"),
         unaFila.arg(QStringLiteral("7")),
         QStringLiteral("A7"),
         false,
         Variant(QStringLiteral("7"))},
        {"unknown field", QStringLiteral("DESCRIPCION"), kFamilias, QStringLiteral("A1"), false, Variant()},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Lib_FrmCons3Tree dlg;
        dlg.SQL = c.sql;
        dlg.CampoDevuelto = c.campo;
        Muestra(dlg, [&](QDialog &) {
            if (c.clave.isEmpty()) {
                QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
            } else {
                Node &n = dlg.TreeV->nodes().Item(c.clave);
                n.EnsureVisible();
                if (c.dobleClic) {
                    DoubleClickRow(*dlg.TreeV, dlg.TreeV->indexOf(n));
                } else {
                    ClickRow(*dlg.TreeV, dlg.TreeV->indexOf(n));
                    QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
                }
            }
            EXPECT_FALSE(dlg.isVisible());
        });
        EXPECT_EQ(dlg.ValorDevuelto.isEmpty(), c.esperado.isEmpty());
        EXPECT_EQ(dlg.ValorDevuelto.toString(), c.esperado.toString());
        EXPECT_EQ(operador.unexpected(), 0);
    }
}

TEST_F(ArbolTest, CancelAndTheCloseBox)
{
    Familias({"1"});
    // Escape is the cancel button, in the tree as in the search box.
    const std::pair<const char *, std::function<void(Lib_FrmCons3Tree &)>> cancelan[] = {
        {"cancel button", [](Lib_FrmCons3Tree &d) { QTest::mouseClick(d.CmdCancelar, Qt::LeftButton); }},
        {"escape in the tree", [](Lib_FrmCons3Tree &d) { QTest::keyClick(d.TreeV, Qt::Key_Escape); }},
        {"escape in the search box", [](Lib_FrmCons3Tree &d) { QTest::keyClick(d.CmbSearch->Item(0), Qt::Key_Escape); }},
    };
    for (const auto &[nombre, cancela] : cancelan) {
        SCOPED_TRACE(nombre);
        Lib_FrmCons3Tree dlg;
        dlg.SQL = kFamilias;
        dlg.CmpsDevueltos = std::make_shared<QList<Variant>>();
        Muestra(dlg, [&](QDialog &) {
            dlg.TreeV->nodes().Item(QStringLiteral("A1")).setSelected(true);
            cancela(dlg);
            EXPECT_FALSE(dlg.isVisible());
        });
        EXPECT_EQ(dlg.Valores, nullptr);
        EXPECT_EQ(dlg.CmpsDevueltos, nullptr);
        EXPECT_FALSE(dlg.ValorDevuelto.isEmpty());
        EXPECT_EQ(dlg.ValorDevuelto.toString(), QString());
        EXPECT_EQ(dlg.TreeV->nodes().Count(), 2); // cancel only hides
    }
    {
        Lib_FrmCons3Tree dlg;
        dlg.SQL = kFamilias;
        Muestra(dlg, [&](QDialog &) {
            dlg.close();
            EXPECT_FALSE(dlg.isVisible());
        });
        EXPECT_TRUE(dlg.ValorDevuelto.isEmpty());
        ASSERT_NE(dlg.Valores, nullptr);
        EXPECT_TRUE(dlg.Valores->isEmpty());
        EXPECT_EQ(dlg.TreeV->nodes().Count(), 0); // unloaded
    }
}

TEST_F(ArbolTest, AQueryThatCannotOpenLeavesTheRootOnly)
{
    Lib_FrmCons3Tree dlg;
    dlg.SQL = QStringLiteral("SELECT a, b FROM NO_EXISTE");
    Muestra(dlg, [&](QDialog &) { EXPECT_EQ(Forma(dlg), QStringLiteral("Consulta...")); }, {ui::vbOK, ui::vbAbort});
    // The data layer's own report, then the tree's error dialog, left at once.
    const QStringList p = operador.prompts();
    ASSERT_EQ(p.size(), 2);
    EXPECT_TRUE(p[1].endsWith(QStringLiteral("Rutina: ArmarTreeVAutomatico"))) << p[1].toStdString();
}

TEST_F(ArbolTest, TheDemoFamiliesNestByCodeLength)
{
    demodata::Options o;
    o.vouchers = 4;
    o.lookupSamples = true;
    UsaDemo(o);
    Lib_FrmCons3Tree dlg;
    dlg.SQL = kFamilias;
    Muestra(dlg, [&](QDialog &) {
        EXPECT_EQ(Forma(dlg), QStringLiteral("Consulta...(1(11(111 112) 12) 2(21 22) 3(31(311)))"));
    });
}

} // namespace
