#include "database/conversiones.h"

#include "database/armado_sql.h"
#include "database/globales.h"
#include "platform/runtime/regional.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/empresa.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

namespace {

TEST(ConvierteBooleano, OnlyTheFalseWordsAreFalse)
{
    const struct
    {
        const char *texto;
        bool esperado;
    } cases[] = {
        {"no", false},
        {"No", false},
        {"NO", false},
        {"Falso", false},
        {"fAlSe", false},
        {"0", false},
        {"n", false},
        {"", true},
        {" ", true},
        {" NO", true},
        {"NO ", true},
        {"SI", true},
        {"00", true},
        {"1", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(ConvierteBooleano(QString::fromUtf8(c.texto)), c.esperado);
    }
}

TEST(ObtieneFormatoFechaHora, IsTheTrailPattern)
{
    EXPECT_EQ(ObtieneFormatoFechaHora(), QStringLiteral("dd/mm/yy hh:mm"));
}

class FmtMonedaTest : public ::testing::Test
{
protected:
    void SetUp() override { ui::SetResponder(&responder); }
    void TearDown() override
    {
        ReiniciaGlobales();
        ui::SetResponder(nullptr);
    }
    ui::ScriptedResponder responder;
};

TEST_F(FmtMonedaTest, DecimalCodesUnderBothDecimalMarks)
{
    vb::RegionalSettings punto;
    punto.currencyDigits = 3;
    vb::RegionalSettings coma = vb::CommaDecimalSettings();
    coma.currencyDigits = 3;
    const struct
    {
        const char *nombre;
        bool conComa;
        const char *importe;
        Variant decimales;
        const char *cantidadDecimales;
        const char *esperado;
    } cases[] = {
        {"-3 leaves the text", false, "abc", -3, "2", "abc"},
        {"-3 leaves the text (comma)", true, "3,456", -3, "2", "3,456"},
        {"2 decimals", false, "3.456", 2, "", "3.46"},
        {"2 decimals (comma)", true, "3,456", 2, "", "3,46"},
        {"-2 no decimals, no mark", false, "3.456", -2, "", "3"},
        {"-2 no decimals, no mark (comma)", true, "3,456", -2, "", "3"},
        {"-1 takes CantidadDecimales", false, "3.456", -1, "1", "3.5"},
        {"-1 (comma)", true, "3,456", -1, " 1", "3,5"},
        {"-1 with the key missing uses the currency digits", false, "2.5", -1, " ", "2.500"},
        {"0 uses the currency digits", true, "2,5", 0, "", "2,500"},
        {"more decimals than the amount has", false, "1.5", 6, "", "1.500000"},
        {"no digits before the mark", false, ".5", 2, "", "0.50"},
        {"negative amount", true, "-1234,567", 2, "", "-1234,57"},
        {"text holding no number", false, "abc", 2, "", "0.00"},
        {"decimals as text", false, "7", Variant("2"), "", "7.00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        vb::ScopedRegional r(c.conComa ? coma : punto);
        gCantidadDecimales = QString::fromUtf8(c.cantidadDecimales);
        EXPECT_EQ(FmtMoneda(QString::fromUtf8(c.importe), c.decimales).toString(), QString::fromUtf8(c.esperado));
    }
    EXPECT_EQ(responder.requests().size(), 0u);
}

TEST_F(FmtMonedaTest, BadDecimalCodeGoesToTheErrorTreatment)
{
    responder.answer(ui::vbAbort);
    const Variant r = FmtMoneda(QStringLiteral("3.5"), -4);
    EXPECT_TRUE(r.isEmpty());
    ASSERT_EQ(responder.requests().size(), 1u);
    EXPECT_TRUE(responder.last().title.contains(QStringLiteral("FmtMoneda"))) << responder.last().title.toStdString();
}

TEST(ConvierteAMinutos, ReadsHoursAndMinutes)
{
    const struct
    {
        const char *hora;
        const char *horas;
        const char *minutos;
        bool soloTexto;
        double esperado;
    } cases[] = {
        {"1:30", "", "", true, 90},
        {"1:30", "", "", false, 90},
        {"2", "", "", true, 120},
        {"1.5", "", "", true, 90},
        {"1.5", "", "", false, 90},
        {"x:y", "", "", true, 0},
        {"10:5x", "", "", true, 605},
        {"", "2", "15", false, 135},
        {"  ", "0", "0", false, 0},
        {"", "", "45", false, 45},
        {"", "2", "15", true, 0},
        {"25:10", "", "", false, 1510}, // no valid time: read as text
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.hora) + "|" + c.horas + "|" + c.minutos);
        EXPECT_DOUBLE_EQ(ConvierteAMinutos(QString::fromUtf8(c.hora),
                                           QString::fromUtf8(c.horas),
                                           QString::fromUtf8(c.minutos),
                                           c.soloTexto)
                             .toDouble(),
                         c.esperado);
    }
}

TEST(NormalizaCaracteres, RemovesTheSeparatorsAndTrims)
{
    EXPECT_EQ(NormalizaCaracteres(Variant(QStringLiteral("  LOTE1\n"))), QStringLiteral("LOTE1"));
    EXPECT_EQ(NormalizaCaracteres(Variant(QStringLiteral("L1") + vb::Chr(255) + QStringLiteral("S1") + vb::Chr(0))),
              QStringLiteral("L1S1"));
    EXPECT_EQ(NormalizaCaracteres(Variant(QStringLiteral("\tA "))), QStringLiteral("\tA"));
    EXPECT_EQ(NormalizaCaracteres(Variant::null()), QString());
}

TEST(BuscaEnArreglo, SearchesFromTheStartIndex)
{
    const QStringList a{QStringLiteral("uno"), QStringLiteral("DOS"), QStringLiteral("tres"), QStringLiteral("dos")};
    const struct
    {
        const char *texto;
        std::int16_t desde;
        std::int16_t esperado;
    } cases[] = {
        {"dos", 0, 1},
        {"dos", 2, 3},
        {"dos", 4, -1},
        {"cuatro", 0, -1},
        {"dos ", 0, -1},
        {"UNO", 0, 0},
        {"x", 100, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.texto) + " from " + std::to_string(c.desde));
        EXPECT_EQ(BuscaEnArreglo(a, QString::fromUtf8(c.texto), c.desde), c.esperado);
    }
    EXPECT_EQ(BuscaEnArreglo({}, QStringLiteral("x"), 0), -1);
    EXPECT_THROW(BuscaEnArreglo(a, QStringLiteral("x"), -1), VbException); // below the lower bound
}

class BuscaEnArregloGlobalTest : public ::testing::Test
{
protected:
    void TearDown() override { ReiniciaGlobales(); }
};

TEST_F(BuscaEnArregloGlobalTest, ComparesCleanedTrimmedKeys)
{
    gTotalesAgrupados = {
        {QStringLiteral("A1") + vb::Chr(255) + QStringLiteral("L1"), QStringLiteral("3")},
        {QStringLiteral("  b2  ") + vb::Chr(0), QStringLiteral("4")},
        {QStringLiteral("B2"), QStringLiteral("5")},
    };
    EXPECT_EQ(BuscaEnArregloGlobal(QStringLiteral("a1l1")), 0);
    EXPECT_EQ(BuscaEnArregloGlobal(QStringLiteral(" B2 ")), 1);
    EXPECT_EQ(BuscaEnArregloGlobal(QStringLiteral("C3")), -1);
}

TEST_F(BuscaEnArregloGlobalTest, NeverSizedListIsASubscriptError)
{
    EXPECT_EQ(RaisedNumber([&] { BuscaEnArregloGlobal(QStringLiteral("A1")); }), vberr::SubscriptOutOfRange);
}

class FormateaHorasTest : public EmpresaEspiada
{
protected:
    void SetUp() override
    {
        EmpresaEspiada::SetUp();
        gTablaConfiguracion.clear();
    }
    void Separador(const char *valor)
    {
        Ejecuta({QStringLiteral("DELETE FROM TA_CONFIGURACION")});
        if (valor)
            Ejecuta({QStringLiteral(
                         "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux) VALUES ('SeparadorHora', '%1', NULL)")
                         .arg(QLatin1String(valor))});
    }
};

TEST_F(FormateaHorasTest, BothSeparatorsUnderBothDecimalMarks)
{
    const struct
    {
        const char *separador; // null: no such key
        Variant minutos;
        const char *texto;
        std::int32_t horas, resto; // -1: left unchanged
    } cases[] = {
        {nullptr, 0, "00:00", 0, 0},
        {nullptr, 125, "02:05", 2, 5},
        {"  ", 61, "01:01", 1, 1},
        {":", 6000, "100:00", 100, 0},
        {"h", 90, "01h30", 1, 30},
        {" . ", 0, ".00", -1, -1},
        {".", 30, ".50", -1, -1},
        {".", 90, "1.50", -1, -1},
        {".", 125, "2.08", -1, -1},
    };
    for (const bool coma : {false, true}) {
        vb::ScopedRegional r(coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(c.separador ? c.separador : "(none)") + " " + c.minutos.toString().toStdString()
                         + (coma ? " (comma)" : ""));
            Separador(c.separador);
            std::int32_t horas = -1, resto = -1;
            EXPECT_EQ(FormateaHoras(c.minutos, horas, resto).toString(), QString::fromUtf8(c.texto));
            EXPECT_EQ(horas, c.horas);
            EXPECT_EQ(resto, c.resto);
        }
    }
}

} // namespace
