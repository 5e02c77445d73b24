#include "lookup/cantidades_consulta.h"

#include "platform/runtime/regional.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum class Tecla { Insert, Delete };

struct Caso
{
    bool coma; // the workstation writes "," as decimal mark
    Tecla tecla;
    const char *celda;
    const char *resultado;
    int marca; // 1 checked, 0 unchecked, -1 as it was
};

TEST(Cantidades, KeysByStartingCellAndWorkstation)
{
    const Caso casos[] = {
        {false, Tecla::Insert, "", "1.0", 1},
        {false, Tecla::Insert, "1.0", "2.0", 1},
        {false, Tecla::Insert, "2.50", "3.5", 1},
        {false, Tecla::Insert, "abc", "1.0", 1},
        {false, Tecla::Insert, "-3", "-2.0", 1},
        {false, Tecla::Insert, "  7 u", "8.0", 1},
        {true, Tecla::Insert, "2,50", "3,5", 1},
        {true, Tecla::Insert, "", "1,0", 1},
        {true, Tecla::Insert, "1.5", "2,5", 1},
        {false, Tecla::Delete, "3.0", "2.0", -1},
        {false, Tecla::Delete, "1.0", "0.00", 0},
        {false, Tecla::Delete, "0.00", "0.00", 0},
        {false, Tecla::Delete, "1.5", "0.5", -1},
        {false, Tecla::Delete, "", "0.00", 0},
        {true, Tecla::Delete, "2,5", "1,5", -1},
        {true, Tecla::Delete, "1,0", "0.00", 0},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.coma ? ", " : ". ") + std::to_string(int(c.tecla)) + " [" + c.celda + "]");
        vb::ScopedRegional regional(c.coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
        const QString celda = QString::fromUtf8(c.celda);
        const CambioCantidad r = c.tecla == Tecla::Insert ? SumaCantidad(celda) : RestaCantidad(celda);
        EXPECT_EQ(r.celda, QString::fromUtf8(c.resultado));
        if (c.marca < 0)
            EXPECT_FALSE(r.marcada);
        else
            EXPECT_EQ(r.marcada, std::optional<bool>(c.marca == 1));
    }
}

struct CasoEscrito
{
    const char *nombre;
    const char *respuesta;
    std::optional<double> cantidad; // nullopt: no quantity, refused
};

TEST(Cantidades, TypedAnswerReadsACommaOrAPointAndRefusesTheRest)
{
    const std::string demasiados(400, '9'); // more digits than a number holds
    const CasoEscrito casos[] = {
        {"entero", "3", 3},
        {"coma", "1,5", 1.5},
        {"punto", "1.5", 1.5},
        {"blancos_alrededor", "  2,25 ", 2.25},
        {"signo", "-2", -2},
        {"sin_entero", ",5", 0.5},
        {"sin_decimales", "4.", 4},
        {"unidad_detras", "2.5kg", std::nullopt},
        {"letras", "muchos", std::nullopt},
        {"miles_y_decimales", "1.500,5", std::nullopt},
        {"dos_marcas", "1,5,0", std::nullopt},
        {"solo_marca", ",", std::nullopt},
        {"blanco_en_medio", "1 5", std::nullopt},
        {"exponente", "1e3", std::nullopt},
        {"demasiados_digitos", demasiados.c_str(), std::nullopt},
    };
    for (const CasoEscrito &c : casos) {
        SCOPED_TRACE(c.nombre);
        const QString respuesta = QString::fromUtf8(c.respuesta);
        for (bool coma : {false, true}) {
            vb::ScopedRegional regional(coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
            EXPECT_EQ(CantidadEscrita(respuesta), c.cantidad) << (coma ? "comma workstation" : "point workstation");
        }
    }
}

TEST(Cantidades, AnAnswerGoesInWithTwoDecimalsInTheWorkstationsMark)
{
    EXPECT_EQ(CantidadIngresada(1.5).celda, QStringLiteral("1.50"));
    EXPECT_EQ(CantidadIngresada(1.5).marcada, std::optional<bool>(true));
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    EXPECT_EQ(CantidadIngresada(3).celda, QStringLiteral("3,00"));
}

TEST(Cantidades, ThreeInsertsCountUp)
{
    QString celda;
    for (const char *esperado : {"1.0", "2.0", "3.0"})
        EXPECT_EQ(celda = SumaCantidad(celda).celda, QString::fromLatin1(esperado));
}

} // namespace
