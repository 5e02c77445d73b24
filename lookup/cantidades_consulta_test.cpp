#include "lookup/cantidades_consulta.h"

#include "platform/runtime/regional.h"
#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

namespace {

enum class Tecla { Insert, Delete, ShiftInsert };

struct Caso
{
    bool coma; // the workstation writes "," as decimal mark
    Tecla tecla;
    const char *celda;     // Shift+Insert: the input box's answer
    const char *resultado; // nullptr: nothing changes
    int marca;             // 1 checked, 0 unchecked, -1 as it was
};

TEST(Cantidades, KeysByStartingCellAndWorkstation)
{
    const Caso casos[] = {
        {false, Tecla::Insert, "", "1.0", 1},          {false, Tecla::Insert, "1.0", "2.0", 1},
        {false, Tecla::Insert, "2.50", "3.5", 1},      {false, Tecla::Insert, "abc", "1.0", 1},
        {false, Tecla::Insert, "-3", "-2.0", 1},       {false, Tecla::Insert, "  7 u", "8.0", 1},
        {true, Tecla::Insert, "2,50", "3,5", 1},       {true, Tecla::Insert, "", "1,0", 1},
        {true, Tecla::Insert, "1.5", "2,5", 1},        {false, Tecla::Delete, "3.0", "2.0", -1},
        {false, Tecla::Delete, "1.0", "0.00", 0},      {false, Tecla::Delete, "0.00", "0.00", 0},
        {false, Tecla::Delete, "1.5", "0.5", -1},      {false, Tecla::Delete, "", "0.00", 0},
        {true, Tecla::Delete, "2,5", "1,5", -1},       {true, Tecla::Delete, "1,0", "0.00", 0},
        {false, Tecla::ShiftInsert, "3", "3.00", 1},   {false, Tecla::ShiftInsert, "2.5kg", "2.50", 1},
        {false, Tecla::ShiftInsert, "abc", "0.00", 1}, {false, Tecla::ShiftInsert, " ", "0.00", 1},
        {false, Tecla::ShiftInsert, "", nullptr, -1},  {true, Tecla::ShiftInsert, "2,5", "2,50", 1},
        {true, Tecla::ShiftInsert, "abc", "0,00", 1},  {true, Tecla::ShiftInsert, "", nullptr, -1},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.coma ? ", " : ". ") + std::to_string(int(c.tecla)) + " [" + c.celda + "]");
        vb::ScopedRegional regional(c.coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
        const QString celda = QString::fromUtf8(c.celda);
        std::optional<CambioCantidad> r;
        switch (c.tecla) {
        case Tecla::Insert:
            r = SumaCantidad(celda);
            break;
        case Tecla::Delete:
            r = RestaCantidad(celda);
            break;
        case Tecla::ShiftInsert:
            r = CantidadIngresada(celda);
            break;
        }
        if (!c.resultado) {
            EXPECT_FALSE(r);
            continue;
        }
        ASSERT_TRUE(r);
        EXPECT_EQ(r->celda, QString::fromUtf8(c.resultado));
        if (c.marca < 0)
            EXPECT_FALSE(r->marcada);
        else
            EXPECT_EQ(r->marcada, std::optional<bool>(c.marca == 1));
    }
}

TEST(Cantidades, ThreeInsertsCountUp)
{
    QString celda;
    for (const char *esperado : {"1.0", "2.0", "3.0"})
        EXPECT_EQ(celda = SumaCantidad(celda).celda, QString::fromLatin1(esperado));
}

} // namespace
