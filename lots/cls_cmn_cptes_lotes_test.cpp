// The voucher class's lot and serial requests, with the dialog driven from
// the script as the operator drives it.
#include "voucher/cls_cmn_cptes.h"

#include "platform/runtime/vberror.h"
#include "platform/ui/ui.h"
#include "tests/support/grilla.h"
#include "tests/support/lotes.h"
#include "voucher/columnas.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace GrillaArticulos;

class Pedidos : public ConStock
{
protected:
    void SetUp() override
    {
        ConStock::SetUp();
        Configura(QStringLiteral("DepositoDefault"), QStringLiteral("1"));
        Stock("A", "1", "A", "", "5");
        Stock("A", "1", "B", "", "10");
        cptes.emplace();
    }
    // The voucher's article grid: one map of cells per line, after the titles.
    void Lineas(const std::vector<FilaDeGrilla> &lineas, int actual)
    {
        std::vector<FilaDeGrilla> filas{{}};
        filas.insert(filas.end(), lineas.begin(), lineas.end());
        LlenaGrilla(grilla, Columnas, filas);
        grilla.MoveTo(actual, ColCantidad);
    }
    // The issue request for article A as a voucher line asks it.
    void Salida(double &cantidad,
                const QString &lotesAnt,
                const QString &cantidadesAnt,
                bool mostrar,
                QString deposito = QStringLiteral("1"))
    {
        cptes->PideSerieLote_Salidas(grilla,
                                     QStringLiteral("A"),
                                     QStringLiteral("Tornillo"),
                                     cantidad,
                                     lotesAnt,
                                     cantidadesAnt,
                                     lotesNvo,
                                     cantidadesNvo,
                                     true,
                                     false,
                                     false,
                                     deposito,
                                     mostrar);
        depositoFinal = deposito;
    }
    std::optional<ClsCmnCptes> cptes;
    ui::FlexGrid grilla;
    QString lotesNvo = QStringLiteral("sin tocar");
    QString cantidadesNvo = QStringLiteral("sin tocar");
    QString depositoFinal;
};

// ---------------------------------------------------------------- entry

TEST_F(Pedidos, EntryOfNothingAsksNothing)
{
    QString series = QStringLiteral("x"), lotes = QStringLiteral("y");
    cptes->PideSerieLote(QStringLiteral("A"),
                         0,
                         QStringLiteral("|S|"),
                         QStringLiteral("|L|"),
                         series,
                         lotes,
                         true,
                         true,
                         false);
    EXPECT_EQ(series, QString());
    EXPECT_EQ(lotes, QString());
    EXPECT_EQ(operador.requests().size(), 0u);
    EXPECT_FALSE(DialogoLotes::Exists());
}

TEST_F(Pedidos, EntryShowsTheDialogAndGivesBackWhatWasTyped)
{
    operador.drive([&](QDialog &d) {
        EnPantalla p(d);
        EXPECT_EQ(p.f.windowTitle(), QStringLiteral("Números de Lote (Deposito: )"));
        EXPECT_EQ(p.f.lblArticulo->text(), QStringLiteral("ART-01"));
        EXPECT_EQ(p.columna(2), (QStringList{"L1", "", ""})) << "the earlier list";
        p.pone(2, 2, QStringLiteral("L2"));
        p.foto(QStringLiteral("lotes_pedido_entrada"));
        p.tecla(Qt::Key_F2);
    });
    QString series, lotes;
    cptes->PideSerieLote(QStringLiteral("ART-01"),
                         3,
                         QString(),
                         QStringLiteral("|L1|||"),
                         series,
                         lotes,
                         false,
                         true,
                         false);
    EXPECT_EQ(lotes, QStringLiteral("|L1|L2|L1|"));
    EXPECT_EQ(series, QString());
    EXPECT_EQ(operador.unexpected(), 0);
    EXPECT_FALSE(DialogoLotes::Exists());
}

TEST_F(Pedidos, CancelGivesTheLineBackItsEarlierLists)
{
    struct
    {
        const char *nombre;
        std::function<void(EnPantalla &)> cancela;
    } casos[] = {{"Button", [](EnPantalla &p) { p.f.CmdCancelar->click(); }},
                 {"Window", [](EnPantalla &p) { p.f.close(); }},
                 {"EscapeOnAButton", [](EnPantalla &p) {
                      p.f.CmdCancelar->setFocus();
                      p.tecla(Qt::Key_Escape);
                  }}};
    for (const auto &k : casos) {
        SCOPED_TRACE(k.nombre);
        operador.drive([&](QDialog &d) {
            EnPantalla p(d);
            p.pone(1, 2, QStringLiteral("OTRO"));
            k.cancela(p);
            EXPECT_FALSE(p.f.isVisible());
        });
        QString series = QStringLiteral("x"), lotes = QStringLiteral("y");
        cptes->PideSerieLote(QStringLiteral("A"),
                             2,
                             QStringLiteral("  |S1|S2|  "),
                             QString(),
                             series,
                             lotes,
                             true,
                             false,
                             false);
        EXPECT_EQ(series, QStringLiteral("|S1|S2|")) << "trimmed";
        EXPECT_EQ(lotes, QString());
        EXPECT_FALSE(DialogoLotes::Exists());
    }
}

// ---------------------------------------------------------------- issue

TEST_F(Pedidos, IssueOfNothingOnlyResolvesTheDepot)
{
    Lineas({{{ColArticulo, "A"}}}, 1);
    double cantidad = 0;
    Salida(cantidad, QStringLiteral("|x|"), QStringLiteral("|1|"), true, QString());
    EXPECT_EQ(depositoFinal, QStringLiteral("1")) << "the configured default";
    EXPECT_EQ(lotesNvo, QStringLiteral("sin tocar"));
    EXPECT_EQ(cantidadesNvo, QStringLiteral("sin tocar"));
    EXPECT_EQ(operador.requests().size(), 0u);
    EXPECT_FALSE(DialogoLotes::Exists());

    Salida(cantidad, {}, {}, true, QStringLiteral("2"));
    EXPECT_EQ(depositoFinal, QStringLiteral("2")) << "a given depot stays";
}

TEST_F(Pedidos, IssueShownOnTheDefaultDepot)
{
    Stock("A", "2", "C", "", "99");
    Lineas({{{ColArticulo, "A"}}}, 1);
    operador.drive([&](QDialog &d) {
        EnPantalla p(d);
        EXPECT_EQ(p.f.windowTitle(), QStringLiteral("Números de Lote (Deposito:    1)"));
        EXPECT_EQ(p.f.lblArticulo->text(), QStringLiteral("A - Tornillo"));
        const QRect pantalla = p.f.screen()->availableGeometry();
        EXPECT_NEAR(p.f.frameGeometry().center().x(), pantalla.center().x(), 2) << "centred at its size";
        EXPECT_NEAR(p.f.frameGeometry().center().y(), pantalla.center().y(), 2);
        EXPECT_EQ(p.columna(0), (QStringList{"A", "B", ""})) << "depot 1 only";
        EXPECT_EQ(p.columna(3), (QStringList{"5", "2", "0"}));
        p.pone(2, 3, QStringLiteral("3"));
        p.foto(QStringLiteral("lotes_pedido_salida"));
        p.f.CmdAceptar->click();
    });
    operador.answer(ui::vbYes); // 8 taken for 7: adjust the request
    double cantidad = 7;
    Salida(cantidad, QString(), QString(), true, QString());
    EXPECT_EQ(depositoFinal, QStringLiteral("1"));
    EXPECT_EQ(cantidad, 8);
    EXPECT_EQ(lotesNvo, QStringLiteral("|") + Clave("A") + "|" + Clave("B") + "|" + Y + "|");
    EXPECT_EQ(cantidadesNvo, QStringLiteral("|5|3|0|"));
    EXPECT_EQ(operador.unexpected(), 0);
    EXPECT_FALSE(DialogoLotes::Exists());
}

TEST_F(Pedidos, IssueUnseen)
{
    Lineas({{{ColArticulo, "A"}}}, 1);
    const struct
    {
        double pedida;
        QString lotes, cantidades;
        QStringList mensajes;
    } casos[] = {
        {7, QStringLiteral("|") + Clave("A") + "|" + Clave("B") + "|" + Y + "|", QStringLiteral("|5|2|0|"), {}},
        // Short of stock: the results are what the request set, the earlier lists.
        {40,
         QStringLiteral("|") + Clave("A") + "|",
         QStringLiteral("|1|"),
         {QStringLiteral("El Stock es Menor a la cantidad solicitada ")}},
    };
    for (const auto &k : casos) {
        SCOPED_TRACE(k.pedida);
        operador.clear();
        double cantidad = k.pedida;
        const bool conAnteriores = !k.mensajes.isEmpty();
        Salida(cantidad, conAnteriores ? k.lotes : QString(), conAnteriores ? k.cantidades : QString(), false);
        EXPECT_EQ(operador.prompts(), k.mensajes);
        EXPECT_EQ(operador.requests().size(), std::size_t(k.mensajes.size())) << "no dialog shown";
        EXPECT_EQ(lotesNvo, k.lotes);
        EXPECT_EQ(cantidadesNvo, k.cantidades);
        EXPECT_EQ(cantidad, k.pedida);
        EXPECT_FALSE(DialogoLotes::Exists());
    }
}

TEST_F(Pedidos, IssueCancelKeepsTheEarlierLists)
{
    Lineas({{{ColArticulo, "A"}}}, 1);
    operador.drive([&](QDialog &d) {
        EnPantalla p(d);
        p.pone(1, 3, QStringLiteral("4"));
        p.f.CmdCancelar->click();
    });
    double cantidad = 3;
    const QString lotes = QStringLiteral(" |") + Clave("A") + "| ";
    Salida(cantidad, lotes, QStringLiteral("|3|"), true);
    EXPECT_EQ(lotesNvo, lotes) << "untrimmed, as given";
    EXPECT_EQ(cantidadesNvo, QStringLiteral("|3|"));
    EXPECT_EQ(cantidad, 3);
}

TEST_F(Pedidos, OtherLinesTakesLowerTheStockButTheLinesOwnDoesNot)
{
    // Line 1 took 3 of A; line 2, asked again, had taken 2 of B.
    const QString propios = QStringLiteral("|") + Clave("B") + "|";
    Lineas({{{ColArticulo, "A"}, {ColNroLote, "|" + Clave("A") + "|"}, {ColNroSerie, "|3|"}},
            {{ColArticulo, "A"}, {ColNroLote, propios}, {ColNroSerie, "|2|"}},
            {{ColArticulo, "OTRO"}, {ColNroLote, "|" + Clave("B") + "|"}, {ColNroSerie, "|9|"}}},
           2);
    operador.drive([&](QDialog &d) {
        EnPantalla p(d);
        EXPECT_EQ(p.columna(0), (QStringList{"A", "B", ""}));
        EXPECT_EQ(p.columna(2), (QStringList{"2", "10", ""}));
        EXPECT_EQ(p.columna(3), (QStringList{"0", "2", "0"})) << "the line's own earlier take";
        p.f.CmdAceptar->click();
    });
    double cantidad = 2;
    Salida(cantidad, propios, QStringLiteral("|2|"), true);
    EXPECT_EQ(cantidadesNvo, QStringLiteral("|0|2|0|"));
}

TEST_F(Pedidos, JoiningTheListsOfAnArticlesLines)
{
    Lineas({{{ColArticulo, "X"}, {ColNroLote, "|L1|"}, {ColNroSerie, "|1|"}},
            {{ColArticulo, "Y"}, {ColNroLote, "|L2|"}, {ColNroSerie, "|2|"}},
            {{ColArticulo, "x"}, {ColNroLote, "|L3|"}, {ColNroSerie, "|3|"}},
            {{ColArticulo, " X"}, {ColNroLote, "|L4|"}, {ColNroSerie, "|4|"}},
            {{ColArticulo, "Z"}, {ColNroSerie, "|5|"}},
            {{ColArticulo, "Z"}, {ColNroLote, "|L6|L7|"}, {ColNroSerie, "|6|7|"}}},
           1);
    const struct
    {
        const char *articulo;
        int excluida;
        const char *lotes, *cantidades;
    } casos[] = {
        {"X", -1, "|L1|L3|", "|1|3|"}, // case ignored, blanks not
        {"X", 1, "|L3|", "|3|"},
        {"X", 3, "|L1|", "|1|"},
        {"Z", -1, "|L6|L7|", "|5|6|7|"}, // an empty first cell lets the next one in whole
        {"NADA", -1, "", ""},
    };
    for (const auto &k : casos) {
        SCOPED_TRACE(std::string(k.articulo) + " " + std::to_string(k.excluida));
        QString lotes = QStringLiteral("antes"), cantidades = QStringLiteral("antes");
        if (k.excluida < 0)
            cptes->CuentaLotesEnGrilla(grilla, QString::fromUtf8(k.articulo), lotes, cantidades);
        else
            cptes->CuentaLotesEnGrilla(grilla, QString::fromUtf8(k.articulo), lotes, cantidades, k.excluida);
        EXPECT_EQ(lotes, QString::fromUtf8(k.lotes));
        EXPECT_EQ(cantidades, QString::fromUtf8(k.cantidades));
    }
}

TEST_F(Pedidos, AnErrorAnsweredAbortLeavesNoLoadedDialog)
{
    Lineas({{{ColArticulo, "A"}}}, 1);
    const auto falla = [](QDialog &) { Raise(vberr::InternalError); };
    for (bool salida : {false, true}) {
        SCOPED_TRACE(salida);
        [&] {
            operador.clear();
            operador.drive(falla).answer(ui::vbAbort);
            QString series = QStringLiteral("antes"), lotes = QStringLiteral("antes");
            double cantidad = 2;
            if (salida) {
                Salida(cantidad, {}, {}, true);
            } else {
                cptes->PideSerieLote(QStringLiteral("A"), 2, {}, {}, series, lotes, true, false, false);
                EXPECT_EQ(series, QStringLiteral("antes")) << "the results set so far";
            }
            ASSERT_EQ(operador.prompts().size(), 1);
            EXPECT_TRUE(operador.prompts().front().startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (51)")));
            EXPECT_TRUE(operador.last().title.contains(QStringLiteral("PideSerieLote")));
            EXPECT_FALSE(DialogoLotes::Exists());
        }();
    }

    // The next request meets a fresh dialog: nothing of the issue is left.
    operador.clear();
    operador.drive([](QDialog &d) {
        EnPantalla p(d);
        EXPECT_FALSE(p.f.EsConsultaDeSerieLote);
        EXPECT_EQ(p.f.Lotes, QString());
        p.tecla(Qt::Key_F2);
    });
    QString series, lotes;
    cptes->PideSerieLote(QStringLiteral("A"), 1, {}, {}, series, lotes, false, true, false);
    EXPECT_EQ(lotes, QString());
    EXPECT_EQ(operador.unexpected(), 0);
}

} // namespace
