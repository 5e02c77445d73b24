// The cell editor driven as an operator drives it: keys typed on the grid and
// in the box, clicks on cells, in a small window that supplies the rules.
#include "lots/editor_celdas.h"

#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/text_box.h"
#include "platform/ui/units.h"
#include "tests/support/empresa.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

// A window with a grid of 6 rows (row 0 the titles) and 4 columns (column 0
// fixed, column 2 read only, column 3 a quantity), the editor's box, and
// rules a test can change. The check refuses the text "malo".
class Ventana : public QDialog, public ReglasEditor
{
public:
    ui::FlexGrid grilla;
    ui::FlexGridView *vista = new ui::FlexGridView(grilla, this);
    ui::TextBox *caja = new ui::TextBox(this);
    EditorCeldas editor{*vista, *caja, *this};

    bool preparaAntes = true;
    int ultima = 3;
    int trasUltima = -1;
    bool avanza = false;
    int trasEnter = -1;
    std::set<int> saltados;
    QStringList validados; // the texts the check saw
    int alFinal = 0;

    explicit Ventana(int filas = 6)
    {
        resize(520, 300);
        vista->setGeometry(10, 10, 500, 200);
        grilla.setRows(filas);
        grilla.setCols(4);
        for (int r = 1; r < filas; ++r)
            for (int c = 0; c < 4; ++c)
                grilla.setTextMatrix(r, c, QStringLiteral("%1%2").arg(QChar('a' + c)).arg(r));
        grilla.setTextMatrix(1, 3, QStringLiteral("5"));
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
        vista->setFocus();
        grilla.MoveTo(1, 3);
    }

    bool AceptaEdicion(int Col) const override { return Col >= grilla.FixedCols() && Col != 2; }
    bool PreparaAntesDeRechazar() const override { return preparaAntes; }
    bool EsColumnaCantidad(int Col) const override { return Col == 3; }
    int UltimaColumnaEditable() const override { return ultima; }
    void EnterEnLaUltimaFila(ui::FlexGrid &g) override
    {
        ++alFinal;
        g.setCol(1);
    }
    int ColumnaTrasUltima() const override { return trasUltima; }
    bool AvanzaConEnter() const override { return avanza; }
    int ColumnaTrasEnter() const override { return trasEnter; }
    bool SaltaError(int Numero) const override { return saltados.count(Numero) > 0; }
    void CampoValida(ui::TextBox &Texto) override
    {
        validados << Texto.Text();
        m_cancelado = vb::Trim(Texto.Text()) == QLatin1String("malo");
        if (m_cancelado)
            ui::MsgBox(QStringLiteral("No"), ui::vbCritical, QStringLiteral("Aviso al Operador"));
    }
    bool Cancelado() const override { return m_cancelado; }

    // Typed as an operator types: the first key on the grid opens the box,
    // the rest goes to the box.
    void escribe(const QString &texto)
    {
        QTest::keyClick(vista, texto.at(0).toLatin1());
        QTest::keyClicks(caja, texto.mid(1));
    }
    void clic(int fila, int col)
    {
        const QRect r = vista->visualRect(grilla.index(fila - grilla.headerRows(), col));
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    std::pair<int, int> celda() const { return {grilla.Row(), grilla.Col()}; }

private:
    bool m_cancelado = false;
};

class Editor : public Empresa
{
protected:
    Editor()
        : Empresa({.abierta = false})
    {}
};

struct Apertura
{
    const char *nombre;
    int col;
    QString escrito; // typed on the grid
    bool abre;
    QString texto; // the box's text
    int cursor;
    QString campo; // DataField
    int largo;     // MaxLength
    friend void PrintTo(const Apertura &c, std::ostream *os) { *os << c.nombre; }
};

class AbreEdicion : public Editor, public ::testing::WithParamInterface<Apertura>
{};

TEST_P(AbreEdicion, TheKeyTypedOnTheGridDecidesTheStartingText)
{
    const Apertura &k = GetParam();
    Ventana v;
    v.grilla.MoveTo(1, k.col);
    const QString antes = v.grilla.TextMatrix(1, k.col);
    QTest::keyClicks(v.vista, k.escrito);
    ASSERT_EQ(v.editor.Editando(), k.abre);
    EXPECT_EQ(v.caja->Text(), k.texto);
    EXPECT_EQ(v.caja->DataField(), k.campo);
    EXPECT_EQ(v.caja->MaxLength(), k.largo);
    if (!k.abre)
        return;
    EXPECT_EQ(v.caja->SelStart(), k.cursor);
    EXPECT_EQ(QApplication::focusWidget(), v.caja);
    const QRect celda
        = v.vista->visualRect(v.grilla.index(0, k.col)).translated(v.vista->viewport()->mapTo(&v, QPoint(0, 0)));
    EXPECT_NEAR(v.caja->geometry().left(), celda.left(), 2) << "the box lies over the cell";
    EXPECT_NEAR(v.caja->geometry().top(), celda.top(), 2);
    EXPECT_NEAR(v.caja->geometry().width(), celda.width(), 2);
    EXPECT_EQ(v.grilla.TextMatrix(1, k.col), antes) << "nothing written yet";
}

INSTANTIATE_TEST_SUITE_P(Teclas,
                         AbreEdicion,
                         ::testing::Values(Apertura{"DigitReplaces", 3, "7", true, "7", 1, "Cantidad", 0},
                                           Apertura{"BlankKeepsTheText", 3, " ", true, "5", 1, "Cantidad", 0},
                                           Apertura{"EnterKeepsTheText", 3, "\r", true, "5", 1, "Cantidad", 0},
                                           Apertura{"CommaIsTheDecimalPoint", 3, ",", true, ".", 1, "Cantidad", 0},
                                           Apertura{"LetterRefusedInAQuantity", 3, "x", false, "", 0, "Cantidad", 0},
                                           Apertura{"TextCell", 1, "L", true, "L", 1, "", 25},
                                           Apertura{"TextCellKeepsItsText", 1, " ", true, "b1", 2, "", 25},
                                           Apertura{"PipeOpensNothing", 1, "|", false, "", 0, "", 25},
                                           Apertura{"ReadOnlyColumn", 2, "7", false, "", 0, "", 25},
                                           Apertura{"FixedColumn", 0, "7", false, "", 0, "", 25}),
                         [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(Editor, ARefusedColumnLeavesItsSettingsOnlyWhenTheDialogSetsUpFirst)
{
    for (bool antes : {true, false}) {
        SCOPED_TRACE(antes);
        Ventana v;
        v.preparaAntes = antes;
        QTest::keyClick(v.vista, '7'); // a quantity edit...
        QTest::keyClick(v.caja, Qt::Key_Escape);
        v.grilla.MoveTo(1, 2);
        QTest::keyClick(v.vista, '7'); // ...then the read-only column
        EXPECT_FALSE(v.editor.Editando());
        EXPECT_EQ(v.caja->DataField(), antes ? QString() : QStringLiteral("Cantidad"));
    }
}

struct Movida
{
    const char *nombre;
    std::pair<int, int> desde;
    Qt::Key tecla;
    std::pair<int, int> hasta;
    QString celda; // the text of the cell edited, afterwards
    friend void PrintTo(const Movida &c, std::ostream *os) { *os << c.nombre; }
};

class TeclaFinal : public Editor, public ::testing::WithParamInterface<Movida>
{};

TEST_P(TeclaFinal, CommitsAndMoves)
{
    const Movida &k = GetParam();
    Ventana v;
    v.grilla.MoveTo(k.desde.first, k.desde.second);
    QTest::keyClick(v.vista, '8');
    QTest::keyClick(v.caja, k.tecla);
    EXPECT_FALSE(v.editor.Editando());
    EXPECT_EQ(v.celda(), k.hasta);
    EXPECT_EQ(v.grilla.TextMatrix(k.desde.first, k.desde.second), k.celda);
    EXPECT_EQ(QApplication::focusWidget(), v.vista);
    EXPECT_EQ(v.validados, k.tecla == Qt::Key_Escape ? QStringList() : QStringList{QStringLiteral("8")});
    EXPECT_EQ(operador.requests().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Teclas,
                         TeclaFinal,
                         ::testing::Values(Movida{"EnterGoesDown", {2, 3}, Qt::Key_Return, {3, 3}, "8"},
                                           Movida{"EnterOnTheLastRow", {5, 3}, Qt::Key_Enter, {5, 1}, "8"},
                                           Movida{"EscapeKeepsTheOldText", {1, 3}, Qt::Key_Escape, {1, 3}, "5"},
                                           Movida{"UpOnTheFirstRowStays", {1, 3}, Qt::Key_Up, {1, 3}, "8"},
                                           Movida{"Up", {3, 1}, Qt::Key_Up, {2, 1}, "8"},
                                           Movida{"DownGoesToColumnZero", {2, 3}, Qt::Key_Down, {3, 0}, "8"},
                                           Movida{"DownOnTheLastRowStays", {5, 3}, Qt::Key_Down, {5, 3}, "8"}),
                         [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(Editor, ARefusedValueKeepsTheBoxOpenOnItsCellUntilEscape)
{
    Ventana v;
    v.grilla.MoveTo(2, 1);
    v.escribe(QStringLiteral("malo"));
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Up}) {
        QTest::keyClick(v.caja, k);
        EXPECT_TRUE(v.editor.Editando());
        EXPECT_EQ(v.caja->Text(), QStringLiteral("malo"));
        EXPECT_EQ(v.celda(), std::make_pair(2, 1));
        EXPECT_EQ(v.grilla.TextMatrix(2, 1), QStringLiteral("b2"));
        EXPECT_EQ(QApplication::focusWidget(), v.caja);
    }
    EXPECT_EQ(operador.prompts(), QStringList(3, QStringLiteral("No")));

    QTest::keyClick(v.caja, Qt::Key_Backspace);
    QTest::keyClick(v.caja, Qt::Key_Return);
    EXPECT_EQ(v.grilla.TextMatrix(2, 1), QStringLiteral("mal")) << "corrected, then accepted";

    v.escribe(QStringLiteral("malo"));
    QTest::keyClick(v.caja, Qt::Key_Return);
    QTest::keyClick(v.caja, Qt::Key_Escape);
    EXPECT_FALSE(v.editor.Editando());
    EXPECT_EQ(v.grilla.TextMatrix(3, 1), QStringLiteral("b3"));
}

TEST_F(Editor, AClickOnTheGridCommitsOnlyWhatTheCheckAccepts)
{
    Ventana v;
    v.grilla.MoveTo(2, 1);
    v.escribe(QStringLiteral("L9"));
    v.clic(4, 3);
    EXPECT_EQ(v.validados, QStringList{QStringLiteral("L9")});
    EXPECT_EQ(v.grilla.TextMatrix(2, 1), QStringLiteral("L9"));
    EXPECT_FALSE(v.editor.Editando());
    EXPECT_EQ(v.celda(), std::make_pair(4, 3));

    v.grilla.MoveTo(4, 1);
    v.escribe(QStringLiteral("malo"));
    v.clic(1, 3);
    EXPECT_TRUE(v.editor.Editando());
    EXPECT_EQ(v.celda(), std::make_pair(4, 1)) << "the click did not move the cursor";
    EXPECT_EQ(v.grilla.TextMatrix(4, 1), QStringLiteral("b4"));
    EXPECT_EQ(QApplication::focusWidget(), v.caja);
    EXPECT_EQ(operador.prompts(), QStringList{QStringLiteral("No")});
}

TEST_F(Editor, TheWindowComingBackToTheFrontCommitsNothing)
{
    // As after a refusal's message box: the grid gets the focus back with
    // its window, and must not check (and refuse, and show the box) again.
    for (Qt::FocusReason razon : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        Ventana v;
        v.grilla.MoveTo(2, 1);
        v.escribe(QStringLiteral("malo"));
        QTest::keyClick(v.caja, Qt::Key_Return);
        ASSERT_EQ(v.validados.size(), 1);
        v.vista->setFocus(razon);
        EXPECT_EQ(v.validados.size(), 1);
        EXPECT_TRUE(v.editor.Editando());
        EXPECT_EQ(QApplication::focusWidget(), v.caja);
        v.vista->setFocus(Qt::OtherFocusReason);
        EXPECT_EQ(v.validados.size(), 2) << "any other focus on the grid is a commit";
        operador.clear();
    }
}

TEST_F(Editor, ChangingTheCellFromCodeCommitsAfterTheCheck)
{
    Ventana v;
    QTest::keyClick(v.vista, '4');
    EXPECT_TRUE(v.editor.ConfirmaEdicion());
    EXPECT_EQ(v.grilla.TextMatrix(1, 3), QStringLiteral("4"));
    EXPECT_TRUE(v.editor.ConfirmaEdicion()) << "nothing open: nothing to refuse";

    QTest::keyClick(v.vista, '6');
    v.grilla.MoveTo(2, 3);
    EXPECT_EQ(v.grilla.TextMatrix(1, 3), QStringLiteral("6"));
    EXPECT_EQ(v.validados, (QStringList{QStringLiteral("4"), QStringLiteral("6")}));
}

struct ReglaEnter
{
    const char *nombre;
    int ultima, trasUltima;
    bool avanza;
    int trasEnter;
    std::pair<int, int> desde, hasta;
    int alFinal;
    friend void PrintTo(const ReglaEnter &c, std::ostream *os) { *os << c.nombre; }
};

class EnterPorReglas : public Editor, public ::testing::WithParamInterface<ReglaEnter>
{};

TEST_P(EnterPorReglas, TheDialogsRulesDecideWhereEnterGoes)
{
    const ReglaEnter &k = GetParam();
    Ventana v;
    v.ultima = k.ultima;
    v.trasUltima = k.trasUltima;
    v.avanza = k.avanza;
    v.trasEnter = k.trasEnter;
    v.grilla.MoveTo(k.desde.first, k.desde.second);
    QTest::keyClick(v.vista, '1');
    QTest::keyClick(v.caja, Qt::Key_Return);
    EXPECT_EQ(v.celda(), k.hasta);
    EXPECT_EQ(v.alFinal, k.alFinal);
}

INSTANTIATE_TEST_SUITE_P(
    Reglas,
    EnterPorReglas,
    ::testing::Values(ReglaEnter{"OtherColumnStays", 3, -1, false, -1, {2, 1}, {2, 1}, 0},
                      ReglaEnter{"OtherColumnGoesRight", 3, -1, true, -1, {2, 1}, {2, 2}, 0},
                      ReglaEnter{"NeverPastTheLastColumn", 1, -1, true, -1, {2, 3}, {2, 3}, 0},
                      ReglaEnter{"LastColumnThenBack", 3, 1, true, -1, {2, 3}, {3, 1}, 0},
                      ReglaEnter{"GoingRightIsNotTheLastColumn", 3, 1, true, -1, {2, 1}, {2, 2}, 0},
                      ReglaEnter{"LastRowToTheDialog", 3, -1, false, -1, {5, 3}, {5, 1}, 1},
                      ReglaEnter{"AfterEveryEnter", 3, 1, false, 3, {5, 3}, {5, 3}, 1},
                      ReglaEnter{"AfterEveryEnterOnOtherColumns", 3, -1, true, 3, {2, 1}, {2, 3}, 0}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(Editor, AFailingMoveIsSkippedOrReportedAsTheDialogSays)
{
    const QString titulo = QStringLiteral("EditKeyCode");
    // Column 9 does not exist: the step after Enter on the last column fails
    // with 30010; the step after it brings the cursor to column 1.
    struct
    {
        bool saltado;
        int respuesta;
        std::pair<int, int> hasta;
        int mensajes;
    } casos[] = {{true, 0, {3, 1}, 0}, {false, ui::vbIgnore, {3, 1}, 1}, {false, ui::vbAbort, {3, 3}, 1}};
    for (const auto &k : casos) {
        SCOPED_TRACE(k.respuesta);
        [&] {
            operador.clear();
            Ventana v;
            v.trasUltima = 9;
            v.trasEnter = 1;
            if (k.saltado)
                v.saltados = {30010};
            else
                operador.answer(k.respuesta);
            v.grilla.MoveTo(2, 3);
            QTest::keyClick(v.vista, '1');
            QTest::keyClick(v.caja, Qt::Key_Return);
            EXPECT_EQ(v.celda(), k.hasta);
            ASSERT_EQ(int(operador.requests().size()), k.mensajes);
            if (k.mensajes) {
                EXPECT_TRUE(
                    operador.last().prompt.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (30010)")));
                EXPECT_TRUE(operador.last().title.contains(titulo)) << operador.last().title.toStdString();
            }
        }();
    }
}

TEST_F(Editor, TheNextCellIsScrolledIntoSight)
{
    Ventana v(40);
    v.vista->setGeometry(10, 10, 500, 5 * v.vista->rowHeight(0) + 6);
    QApplication::processEvents();
    v.grilla.MoveTo(1, 3);
    int fila = 1;
    while (v.grilla.CellTop() + 2 * v.grilla.CellHeight() <= v.vista->Height()) {
        v.grilla.MoveTo(++fila, 3);
        ASSERT_LT(fila, 30);
    }
    const int arriba = v.grilla.TopRow();
    QTest::keyClick(v.vista, '2');
    QTest::keyClick(v.caja, Qt::Key_Return);
    EXPECT_EQ(v.celda(), std::make_pair(fila + 1, 3));
    EXPECT_EQ(v.grilla.TopRow(), arriba + 1);
    const QRect celda = v.vista->visualRect(v.grilla.index(fila, 3));
    EXPECT_LE(celda.bottom(), v.vista->viewport()->height()) << "the new cell is wholly in sight";
}

} // namespace
