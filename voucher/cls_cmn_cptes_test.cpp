#include "voucher/cls_cmn_cptes.h"
#include "tests/support/empresa.h"

#include "platform/ui/text_box.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct CreacionCase
{
    const char *nombre;
    std::optional<QString> piva;           // nullopt: no row
    std::optional<QString> asientosXStock; // nullopt: no row
    double esperadoPIVA;
    bool esperadoAsientos;
    friend void PrintTo(const CreacionCase &c, std::ostream *os) { *os << c.nombre; }
};

class Creacion : public Empresa, public ::testing::WithParamInterface<CreacionCase>
{};

TEST_P(Creacion, ReadsPIVAAndAsientosXStockOnce)
{
    const CreacionCase &c = GetParam();
    if (c.piva)
        Configura(QStringLiteral("PIVA"), *c.piva);
    if (c.asientosXStock)
        Configura(QStringLiteral("AsientosXStock"), *c.asientosXStock);
    ClsCmnCptes cptes;
    EXPECT_DOUBLE_EQ(cptes.PIVA(), c.esperadoPIVA);
    EXPECT_EQ(cptes.AsientosXStock(), c.esperadoAsientos);
    // Fixed at creation: a later change reaches only a new instance.
    Ejecuta(QStringLiteral("DELETE FROM TA_CONFIGURACION"));
    Configura(QStringLiteral("PIVA"), QStringLiteral("99"));
    Configura(QStringLiteral("AsientosXStock"), QStringLiteral("SI"));
    EXPECT_DOUBLE_EQ(cptes.PIVA(), c.esperadoPIVA);
    EXPECT_EQ(cptes.AsientosXStock(), c.esperadoAsientos);
    EXPECT_TRUE(ClsCmnCptes().AsientosXStock());
    EXPECT_EQ(operador.requests().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Claves,
    Creacion,
    ::testing::Values(CreacionCase{"absent", std::nullopt, std::nullopt, 0.0, false},
                      CreacionCase{"si_lower_case", QStringLiteral("21"), QStringLiteral("si"), 21.0, true},
                      CreacionCase{"SI", QStringLiteral("10.5"), QStringLiteral("SI"), 10.5, true},
                      CreacionCase{"leading_blank", QStringLiteral("10,5"), QStringLiteral(" SI"), 10.5, false},
                      CreacionCase{"trailing_blank", QStringLiteral("27.00005"), QStringLiteral("SI "), 27.0, false},
                      CreacionCase{"not_a_number", QStringLiteral("IVA"), QStringLiteral("NO"), 0.0, false},
                      CreacionCase{"empty", QStringLiteral(""), QStringLiteral(""), 0.0, false}),
    [](const auto &info) { return std::string(info.param.nombre); });

struct EditorCase
{
    const char *nombre;
    int columna;
    const char *dataField;
    const char *tag;
    int maxLength;
    friend void PrintTo(const EditorCase &c, std::ostream *os) { *os << c.nombre; }
};

class TextPropiedades : public Empresa, public ::testing::WithParamInterface<EditorCase>
{};

TEST_P(TextPropiedades, SetsTheBoxForTheColumnOrLeavesItCleared)
{
    const EditorCase &c = GetParam();
    ui::TextBox box;
    box.setName(QString::fromUtf8(c.nombre));
    // What an earlier column left must not survive.
    box.setDataField(QStringLiteral("Anterior"));
    box.setTag(QStringLiteral("V_TA_ANTERIOR"));
    box.setMaxLength(9);
    ClsCmnCptes().TextPropiedades(box, c.columna);
    EXPECT_EQ(box.DataField(), QString::fromLatin1(c.dataField));
    EXPECT_EQ(box.Tag(), QString::fromLatin1(c.tag));
    EXPECT_EQ(box.MaxLength(), c.maxLength);
}

INSTANTIATE_TEST_SUITE_P(Cajas,
                         TextPropiedades,
                         ::testing::Values(EditorCase{"TxtEdit", 0, "IdTarea", "v_ta_tareas", 4},
                                           EditorCase{"TxtEdit", 2, "HorasEstimadas", "", 0},
                                           EditorCase{"TxtEdit", 4, "Total", "", 0},
                                           EditorCase{"TxtEdit", 5, "", "", 0},
                                           EditorCase{"  txtedit2 ", 0, "IdArticulo", "v_ma_articulos", 25},
                                           EditorCase{"TxtEdit2", 1, "Descripcion", "", 50},
                                           EditorCase{"TxtEdit2", 2, "IdListaPrecioArticulo", "V_MA_PRECIOS", 4},
                                           EditorCase{"TXTAUX1", 6, "IdDepositoArt", "V_TA_DEPOSITO", 4},
                                           EditorCase{"txtaux2", 11, "PorcDtoArticulo", "", 0},
                                           EditorCase{"TxtEdit2", 12, "Ud_Pr", "V_TA_UNIDAD", 4},
                                           EditorCase{"TxtEdit2", 15, "Total", "", 0},
                                           EditorCase{"TxtEdit2", 16, "", "", 0},
                                           EditorCase{"TxtEdit2", -1, "", "", 0},
                                           EditorCase{"TxtEdit3", 0, "OCDescripcion", "MA_CUENTAS/SOLOIMPUTABLES", 200},
                                           EditorCase{"TxtEdit3", 2, "OCImporte", "", 0},
                                           EditorCase{"TxtEdit3", 3, "", "", 0},
                                           EditorCase{"TxtEdit4", 0, "", "", 0},
                                           EditorCase{"", 0, "", "", 0}));

} // namespace
