// The position and lot dialog, shown offscreen and driven with real keys and
// clicks, its message boxes answered from the script; and the request of the
// voucher class that shows it.
#include "lots/frm_lote_y_posicion.h"

#include "lots/posiciones_grilla.h"
#include "platform/component/component.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/text_box.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/ui.h"
#include "tests/support/esquema.h"
#include "tests/support/grilla.h"
#include "voucher/cls_cmn_cptes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace {

using Dialogo = ui::DefaultInstance<FrmLoteyPosicion>;
using PosicionesGrilla::kCantidad;

const QString kMenorNoMostrar = QStringLiteral("La suma de cantidades informadas es Menor a la cantidad solicitada ");
const QString kSupera = QStringLiteral(
    "La suma de las cantidades Informadas, supera a la solicitada en el Formulario de Carga de Datos\r\n"
    "¿Desea Ajustar la Cantidad Solicitada en el Formulario?");
const QString kMenor = QStringLiteral(
    "La suma de las cantidades Informadas, Es Menor a la solicitada en el Formulario de Carga de Datos\r\n"
    "¿Desea Ajustar la Cantidad Solicitada en el Formulario?");
const QString kDebeAjustar = QStringLiteral("Debe Ajustar la suma de las cantidades a :");
const QString kMenorACero = QStringLiteral("La Cantidad no puede ser Menor a Cero");
const QString kNoHay = QStringLiteral("No hay disponible para esa posicion");

QString Cod(const QString &texto, int ancho)
{
    return gComponente().FormateaCodigo(texto, ancho);
}

// Cement in deposit 1: P1 holds 4 bags of lot L1, P2 holds 3 of lot L2, and 2
// bags lie outside positions.
class Posiciones : public EmpresaEsquema
{
protected:
    void SetUp() override
    {
        EmpresaEsquema::SetUp();
        int id = 0;
        for (const auto &[posicion, orden] : {std::pair{"P1", 1}, std::pair{"P2", 2}})
            Ejecuta(QStringLiteral("INSERT INTO ma_posiciones (iddeposito, idposicion, ordeningreso) VALUES "
                                   "('%1','%2',%3)")
                        .arg(Cod(QStringLiteral("1"), 4), QLatin1String(posicion))
                        .arg(orden));
        const auto saldo = [&](const QString &posicion, const QString &lote, double cantidad) {
            Ejecuta(QStringLiteral("INSERT INTO AC_SALDOSLAYOUT (ID, iddeposito, idposicion, idarticulo, nrolote, "
                                   "idunidadbase, saldo) VALUES (%1,'%2',%3,'%4','%5','  UN',%6)")
                        .arg(++id)
                        .arg(Cod(QStringLiteral("1"), 4), posicion, Cod(QStringLiteral("CEM"), 25), lote)
                        .arg(cantidad));
        };
        saldo(QStringLiteral("'P1'"), QStringLiteral("L1"), 4);
        saldo(QStringLiteral("'P2'"), QStringLiteral("L2"), 3);
        saldo(QStringLiteral("NULL"), QString(), 2);
    }
    void TearDown() override
    {
        Dialogo::Unload();
        ui::DestroyUnloaded();
        EmpresaEsquema::TearDown();
    }
    // The dialog loaded for cement, in deposit 1, as the request leaves it.
    FrmLoteyPosicion &Carga(double cantidad,
                            bool posicion = true,
                            bool lote = true,
                            const QString &posiciones = {},
                            const QString &lotes = {})
    {
        FrmLoteyPosicion &f = Dialogo::Get();
        f.Cantidad1 = cantidad;
        f.EsConsultaDePosicionLote = !posiciones.isEmpty() || !lotes.isEmpty();
        f.EsPosicion = posicion;
        f.EsLote = lote;
        f.IUNIDAD = QStringLiteral("UN");
        f.Articulo = QStringLiteral("CEM");
        f.Deposito = QStringLiteral("1");
        f.PosicionesAnteriores = posiciones;
        f.LotesAnteriores = lotes;
        f.ArticuloDescripcion = QStringLiteral("CEMENTO portland");
        f.CargaDatos();
        return f;
    }
    // Shown, active, the grid with the focus.
    FrmLoteyPosicion &EnPantalla(FrmLoteyPosicion &f)
    {
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        f.VistaMSFlexGrid1->setFocus();
        return f;
    }
    // Types a value into CANT. of the row and ends the edit with the key.
    static void Pone(FrmLoteyPosicion &f, int fila, const QString &texto, Qt::Key fin = Qt::Key_Return)
    {
        f.MSFlexGrid1.MoveTo(fila, kCantidad);
        QTest::keyClick(f.VistaMSFlexGrid1, texto.at(0).toLatin1());
        QTest::keyClicks(f.TxtEdit, texto.mid(1));
        QTest::keyClick(QApplication::focusWidget(), fin);
    }
    static QStringList Cantidades(const FrmLoteyPosicion &f) { return Columna(f.MSFlexGrid1, kCantidad); }
    static void Boton(FrmLoteyPosicion &f, int indice)
    {
        QTest::mouseClick(f.Toolbar1->widgetForAction(f.Toolbar1->Button(indice)), Qt::LeftButton);
    }
    static void Foto(QWidget &w, const QString &nombre)
    {
        const QString carpeta = qEnvironmentVariable("ANULACION_CAPTURAS", QDir::tempPath());
        w.grab().save(QDir(carpeta).filePath(nombre + QStringLiteral(".png")));
    }
};

TEST_F(Posiciones, CaptionLabelAndStartingCellByMode)
{
    struct Caso
    {
        bool posicion, lote;
        const char *titulo;
        int filas;
        const char *foto;
    };
    const std::vector<Caso> casos = {
        {true, true, "Posiciones y Lotes (Deposito: 1)", 4, "posiciones_y_lotes"},
        {true, false, "Posiciones (Deposito: 1)", 4, "posiciones"},
        {false, true, "Números de Lote (Deposito: 1)", 2, "lotes"},
        {false, false, "Posiciones", 2, "ninguno"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.titulo);
        FrmLoteyPosicion &f = Carga(5, c.posicion, c.lote);
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8(c.titulo));
        EXPECT_EQ(f.lblArticulo->text(), QStringLiteral("Cemento Portland"));
        EXPECT_EQ(f.MSFlexGrid1.Rows(), c.filas);
        EXPECT_EQ(f.MSFlexGrid1.Row(), f.MSFlexGrid1.Rows() - 1);
        EXPECT_EQ(f.MSFlexGrid1.Col(), kCantidad);
        EXPECT_EQ(f.EsPosicionYLote, c.posicion && c.lote);
        EXPECT_EQ(TitulosCortados(*f.VistaMSFlexGrid1), QStringList()) << "DISPONIBLE shows whole";
        EXPECT_EQ(f.windowIcon().pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32),
                  QImage(QStringLiteral(":/icons/32/ICONVELGORA.png")).convertToFormat(QImage::Format_ARGB32))
            << "the program's own icon";
        Foto(EnPantalla(f), QStringLiteral("frm_lote_y_posicion_") + QLatin1String(c.foto));
        Dialogo::Unload();
        ui::DestroyUnloaded();
    }
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(Posiciones, TypedQuantitiesAreCheckedAgainstTheRow)
{
    struct Caso
    {
        const char *nombre;
        const char *texto; // "\b": a key then Backspace (an empty text)
        int respuesta;     // to the error treatment, 0: none expected
        QStringList mensajes;
        const char *celda; // CANT. of row 1 after the edit (4 proposed at load)
        bool abierto;      // the box still open on the cell
    };
    const std::vector<Caso> casos = {
        {"within DISPONIBLE", "3", 0, {}, "3", false},
        {"all of it, with a decimal point", "4.0", 0, {}, "4.0", false},
        {"negative", "-1", 0, {kMenorACero}, "4", true},
        {"above DISPONIBLE", "4.5", 0, {kNoHay}, "4", true},
        {"empty, ignored: refused as above", "\b", ui::vbIgnore, {QString(), kNoHay}, "4", true},
        {"empty, left: no message", "\b", ui::vbAbort, {QString()}, "", false},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        operador.clear();
        FrmLoteyPosicion &f = EnPantalla(Carga(5));
        if (c.respuesta)
            operador.answer(c.respuesta);
        for (int i = 0; i < c.mensajes.size(); ++i)
            if (!c.mensajes[i].isEmpty())
                operador.answer(ui::vbOK);
        if (QLatin1String(c.texto) == QLatin1String("\b")) {
            f.MSFlexGrid1.MoveTo(1, kCantidad);
            QTest::keyClick(f.VistaMSFlexGrid1, '1');
            QTest::keyClick(f.TxtEdit, Qt::Key_Backspace);
            QTest::keyClick(f.TxtEdit, Qt::Key_Return);
        } else {
            Pone(f, 1, QString::fromUtf8(c.texto));
        }
        QStringList mensajes = operador.prompts();
        for (QString &m : mensajes)
            if (m.contains(QStringLiteral("Ha ocurrido")))
                m.clear();
        EXPECT_EQ(mensajes, c.mensajes);
        EXPECT_EQ(f.MSFlexGrid1.TextMatrix(1, kCantidad), QString::fromUtf8(c.celda));
        EXPECT_EQ(f.TxtEdit->isVisible(), c.abierto);
        if (!c.mensajes.isEmpty() && !c.mensajes.last().isEmpty()) {
            EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al Operador"));
            EXPECT_EQ(operador.last().icon, ui::vbCritical);
        }
        EXPECT_EQ(operador.unexpected(), 0);
        EXPECT_TRUE(f.isVisible());
        Dialogo::Unload();
        ui::DestroyUnloaded();
    }
}

TEST_F(Posiciones, EscapeLeavesTheCellAndKeepsTheDialog)
{
    FrmLoteyPosicion &f = EnPantalla(Carga(5));
    const QString antes = f.MSFlexGrid1.TextMatrix(2, kCantidad);
    f.MSFlexGrid1.MoveTo(2, kCantidad);
    QTest::keyClick(f.VistaMSFlexGrid1, '1');
    QTest::keyClick(f.TxtEdit, Qt::Key_Escape);
    EXPECT_EQ(f.MSFlexGrid1.TextMatrix(2, kCantidad), antes);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.TxtEdit->isVisible());
}

TEST_F(Posiciones, EnterMovesDownAndOnTheLastRowGivesTheFocusToAccept)
{
    FrmLoteyPosicion &f = EnPantalla(Carga(3));
    Pone(f, 1, QStringLiteral("1"));
    EXPECT_EQ(f.MSFlexGrid1.Row(), 2);
    EXPECT_EQ(f.MSFlexGrid1.Col(), kCantidad);
    Pone(f, 3, QStringLiteral("2"));
    EXPECT_EQ(QApplication::focusWidget(), f.CmdAceptar);
    EXPECT_TRUE(f.isVisible()); // Enter never presses a button by itself
    EXPECT_EQ(Cantidades(f), (QStringList{"1", "0", "2"}));
}

TEST_F(Posiciones, ToolbarFillsBlanksAndProposes)
{
    struct Caso
    {
        const char *nombre;
        int boton;
        int fila, col;
        QStringList cantidades;
    };
    // Proposed at load: 4, 1, 0 for 5 bags.
    const std::vector<Caso> casos = {
        {"fill from the current row", 1, 2, kCantidad, {"4", "1", "1"}},
        {"fill off CANT. does nothing", 1, 2, 3, {"4", "1", "0"}},
        {"blank from the current row", 2, 2, kCantidad, {"4", "0", "0"}},
        {"blank off CANT. does nothing", 2, 2, 0, {"4", "1", "0"}},
        {"propose again", 3, 1, 3, {"4", "1", "0"}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            FrmLoteyPosicion &f = EnPantalla(Carga(5));
            ASSERT_EQ(Cantidades(f), (QStringList{"4", "1", "0"}));
            if (c.boton == 3)
                f.MSFlexGrid1.setTextMatrix(3, kCantidad, QStringLiteral("2"));
            f.MSFlexGrid1.MoveTo(c.fila, c.col);
            Boton(f, c.boton);
            EXPECT_EQ(Cantidades(f), c.cantidades);
            EXPECT_EQ(f.MSFlexGrid1.TextMatrix(0, kCantidad), QStringLiteral("CANT."));
            if (c.boton == 3) {
                EXPECT_EQ((std::pair{f.MSFlexGrid1.Row(), f.MSFlexGrid1.Col()}), (std::pair{3, kCantidad}));
            }
            Dialogo::Unload();
            ui::DestroyUnloaded();
        }();
    }
    FrmLoteyPosicion &f = Carga(5);
    EXPECT_EQ(f.Toolbar1->ToolTipText(1), QStringLiteral("Llenar las demas celdas con el valor de las seleccionadas"));
    EXPECT_EQ(f.Toolbar1->ToolTipText(2), QStringLiteral("Blanquear las Celdas a partir de la celda seleccionada"));
    EXPECT_EQ(f.Toolbar1->ToolTipText(3), QStringLiteral("Proponer Automaticamente"));
}

TEST_F(Posiciones, WithNoBalanceRowsTheToolbarLeavesTheTitles)
{
    Ejecuta(QStringLiteral("DELETE FROM AC_SALDOSLAYOUT"));
    FrmLoteyPosicion &f = EnPantalla(Carga(5));
    ASSERT_EQ(f.MSFlexGrid1.Rows(), 1);
    ASSERT_EQ((std::pair{f.MSFlexGrid1.Row(), f.MSFlexGrid1.Col()}), (std::pair{0, kCantidad}));
    for (int boton : {1, 2, 3}) {
        SCOPED_TRACE(boton);
        Boton(f, boton);
        EXPECT_EQ(f.MSFlexGrid1.TextMatrix(0, kCantidad), QStringLiteral("CANT."));
        EXPECT_EQ(f.MSFlexGrid1.Rows(), 1);
    }
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(Posiciones, AcceptComparesTheSumWithTheRequestedQuantity)
{
    struct Caso
    {
        const char *nombre;
        bool mostrar;
        QStringList cantidades; // CANT. of P1, P2 and the deposit row
        std::vector<int> respuestas;
        QStringList mensajes;
        bool oculto;
        double cantidad1;
        const char *posiciones;
        const char *lotes;
    };
    const std::vector<Caso> casos = {
        {"equal", false, {"3", "0", "2"}, {}, {}, true, 5, "|P1*3|*2|", "|L1||"},
        {"larger, adjusted", false, {"4", "3", "0"}, {ui::vbYes}, {kSupera}, true, 7, "|P1*4|P2*3|", "|L1|L2|"},
        {"larger, not adjusted",
         false,
         {"4", "3", "0"},
         {ui::vbNo, ui::vbOK},
         {kSupera, kDebeAjustar + "5"},
         false,
         5,
         "",
         ""},
        {"smaller, not shown", false, {"1", "0", "0"}, {ui::vbOK}, {kMenorNoMostrar}, false, 5, "", ""},
        {"all at 0", false, {"0", "0", "0"}, {ui::vbOK}, {kMenorNoMostrar}, false, 5, "", ""},
        {"smaller, shown, adjusted", true, {"1", "0", "0.5"}, {ui::vbYes}, {kMenor}, true, 1.5, "|P1*1|*0.5|", "|L1||"},
        {"smaller, shown, not adjusted",
         true,
         {"1", "0", "0"},
         {ui::vbNo, ui::vbOK},
         {kMenor, kDebeAjustar + "5"},
         false,
         5,
         "",
         ""},
        {"a 0.0 row is taken with its text", false, {"5", "0.0", "00"}, {}, {}, true, 5, "|P1*5|P2*0.0|*00|", "|L1|L2||"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        operador.clear();
        FrmLoteyPosicion &f = EnPantalla(Carga(5));
        f.MostrarForm = c.mostrar;
        for (int fila = 1; fila <= 3; ++fila)
            f.MSFlexGrid1.setTextMatrix(fila, kCantidad, c.cantidades[fila - 1]);
        for (int r : c.respuestas)
            operador.answer(r);
        QTest::mouseClick(f.CmdAceptar, Qt::LeftButton);
        EXPECT_EQ(operador.prompts(), c.mensajes);
        EXPECT_EQ(operador.unexpected(), 0);
        EXPECT_EQ(!f.isVisible(), c.oculto);
        EXPECT_DOUBLE_EQ(f.Cantidad1, c.cantidad1);
        EXPECT_EQ(f.Posiciones, QString::fromUtf8(c.posiciones));
        EXPECT_EQ(f.Lotes, QString::fromUtf8(c.lotes));
        Dialogo::Unload();
        ui::DestroyUnloaded();
    }
}

TEST_F(Posiciones, AcceptWritesTheListsOfTheMode)
{
    FrmLoteyPosicion &solo = EnPantalla(Carga(5, true, false));
    QTest::mouseClick(solo.CmdAceptar, Qt::LeftButton);
    EXPECT_EQ(solo.Posiciones, QStringLiteral("|P1*4|P2*1|"));
    EXPECT_EQ(solo.Lotes, QString());
    Dialogo::Unload();
    ui::DestroyUnloaded();

    // Lots only: nothing is listed, and the line keeps what it had.
    FrmLoteyPosicion &lotes = EnPantalla(Carga(5, false, true, QStringLiteral("|*5|"), QStringLiteral("|L9|")));
    lotes.MSFlexGrid1.setTextMatrix(1, kCantidad, QStringLiteral("5"));
    QTest::mouseClick(lotes.CmdAceptar, Qt::LeftButton);
    EXPECT_FALSE(lotes.isVisible());
    EXPECT_EQ(lotes.Posiciones, QStringLiteral("|*5|"));
    EXPECT_EQ(lotes.Lotes, QStringLiteral("|L9|"));
}

TEST_F(Posiciones, CancelAndClosingGiveTheEarlierListsBack)
{
    for (bool cierra : {false, true}) {
        SCOPED_TRACE(cierra ? "closed" : "cancelled");
        FrmLoteyPosicion &f = EnPantalla(Carga(5, true, true, QStringLiteral("|P1*5|"), QStringLiteral("|L1|")));
        EXPECT_EQ(Cantidades(f), (QStringList{"5", "0", "0"}));
        f.MSFlexGrid1.setTextMatrix(2, kCantidad, QStringLiteral("3"));
        if (cierra)
            f.close();
        else
            QTest::mouseClick(f.CmdCancelar, Qt::LeftButton);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.Posiciones, QStringLiteral("|P1*5|"));
        EXPECT_EQ(f.Lotes, QStringLiteral("|L1|"));
        Dialogo::Unload();
        ui::DestroyUnloaded();
    }
}

class Pedido : public Posiciones
{};

TEST_F(Pedido, TheRequestGivesTheListsTrimmedAndTheAdjustedQuantity)
{
    ClsCmnCptes cptes;
    QString posiciones = QStringLiteral("x"), lotes = QStringLiteral("y");
    double cero = 0;
    cptes.PidePosicionLote(
        QStringLiteral("CEM"), QStringLiteral("UN"), cero, QStringLiteral("1"), {}, {}, posiciones, lotes, true, true);
    EXPECT_EQ(posiciones, QString());
    EXPECT_EQ(lotes, QString());
    EXPECT_TRUE(operador.requests().empty());

    bool consulta = true;
    QString etiqueta;
    operador.drive([&](QDialog &d) {
        auto &f = static_cast<FrmLoteyPosicion &>(d);
        consulta = f.EsConsultaDePosicionLote;
        etiqueta = f.lblArticulo->text();
        f.MSFlexGrid1.setTextMatrix(2, kCantidad, QStringLiteral("3"));
        QTest::mouseClick(f.CmdAceptar, Qt::LeftButton);
    });
    operador.answer(ui::vbYes);
    double cantidad = 5;
    cptes.PidePosicionLote(QStringLiteral("CEM"),
                           QStringLiteral("UN"),
                           cantidad,
                           QStringLiteral("1"),
                           {},
                           {},
                           posiciones,
                           lotes,
                           true,
                           true);
    EXPECT_FALSE(consulta);
    EXPECT_EQ(etiqueta, QStringLiteral("CEM"));
    EXPECT_EQ(posiciones, QStringLiteral("|P1*4|P2*3|"));
    EXPECT_EQ(lotes, QStringLiteral("|L1|L2|"));
    EXPECT_DOUBLE_EQ(cantidad, 7);
    EXPECT_FALSE(Dialogo::Exists());

    operador.drive([&](QDialog &d) {
        auto &f = static_cast<FrmLoteyPosicion &>(d);
        consulta = f.EsConsultaDePosicionLote;
        QTest::mouseClick(f.CmdCancelar, Qt::LeftButton);
    });
    cptes.PidePosicionLote(QStringLiteral("CEM"),
                           QStringLiteral("UN"),
                           cantidad,
                           QStringLiteral("1"),
                           QStringLiteral(" |P2*2| "),
                           {},
                           posiciones,
                           lotes,
                           true,
                           false);
    EXPECT_TRUE(consulta);
    EXPECT_EQ(posiciones, QStringLiteral("|P2*2|"));
    EXPECT_EQ(lotes, QString());
    EXPECT_EQ(operador.unexpected(), 0);
    EXPECT_FALSE(Dialogo::Exists());
}

} // namespace
