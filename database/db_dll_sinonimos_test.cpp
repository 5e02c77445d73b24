#include "database/db_dll.h"

#include <gtest/gtest.h>

namespace {

struct SynonymCase
{
    const char *nombre;
    bool admin;
    const char *in;
    const char *out;
    friend void PrintTo(const SynonymCase &c, std::ostream *os) { *os << c.nombre; }
};

class SynonymTest : public ::testing::TestWithParam<SynonymCase>
{};

TEST_P(SynonymTest, Rewrites)
{
    const SynonymCase &c = GetParam();
    DB_Dll db;
    db.gEsAdmin = c.admin;
    const QString in = QString::fromUtf8(c.in);
    EXPECT_EQ(db.SS_TSinonimos(in), QString::fromUtf8(c.out));
    EXPECT_EQ(in, QString::fromUtf8(c.in)); // the argument itself is untouched
}

const SynonymCase kCases[] = {
    {"between_blanks", false, "SELECT * FROM MA_CUENTAS WHERE 1=1", "SELECT * FROM SS_MA_CUENTAS WHERE 1=1"},
    {"column_prefix",
     false,
     "SELECT MA_CUENTAS.CODIGO FROM MA_CUENTAS ",
     "SELECT SS_MA_CUENTAS.CODIGO FROM SS_MA_CUENTAS "},
    {"after_bracket", false, "SELECT * FROM (MA_CUENTAS X)", "SELECT * FROM (SS_MA_CUENTAS X)"},
    {"bracket_dot", false, "SELECT COUNT(MV_ASIENTOS.ID) FROM X", "SELECT COUNT(SS_MV_ASIENTOS.ID) FROM X"},
    {"comma_dot", false, "SELECT A,MA_CUENTAS.B FROM X", "SELECT A,SS_MA_CUENTAS.B FROM X"},
    {"brace_only_ma_cuentas", false, "{MA_CUENTAS.X} {MV_ASIENTOS.X}", "{SS_MA_CUENTAS.X} {MV_ASIENTOS.X}"},
    {"end_of_text", false, "SELECT * FROM MA_CUENTAS", "SELECT * FROM MA_CUENTAS"},
    {"before_closing_bracket",
     false,
     "SELECT * FROM (SELECT * FROM MA_CUENTAS)",
     "SELECT * FROM (SELECT * FROM MA_CUENTAS)"},
    {"before_comma", false, "SELECT * FROM MA_CUENTAS, V_TA_CAJAS ", "SELECT * FROM MA_CUENTAS, SS_V_TA_CAJAS "},
    {"lower_case", false, "select * from ma_cuentas where", "select * from SS_MA_CUENTAS where"},
    {"marker_reads_table", false, "SELECT * FROM @Admin_MV_ASIENTOS WHERE", "SELECT * FROM MV_ASIENTOS WHERE"},
    {"marker_lower_case", false, "SELECT * FROM @admin_MA_CUENTAS WHERE", "SELECT * FROM MA_CUENTAS WHERE"},
    {"ccosto_pair",
     false,
     "FROM AC_CUENTASDIARIO_CCOSTO , AC_CUENTASDIARIO WHERE",
     "FROM SS_AC_CUENTAS_DIARIO_CCOSTO , SS_AC_CUENTASDIARIO WHERE"},
    {"every_table",
     false,
     " V_TA_DEPOSITO  V_TA_FAMILIAS  V_TA_CAJAS ",
     " SS_V_TA_DEPOSITO  SS_V_TA_FAMILIAS  SS_V_TA_CAJAS "},
    {"longer_name_untouched", false, " XMA_CUENTAS  MA_CUENTASX ", " XMA_CUENTAS  MA_CUENTASX "},
    {"admin_unchanged", true, "SELECT * FROM MA_CUENTAS WHERE", "SELECT * FROM MA_CUENTAS WHERE"},
    {"admin_loses_marker", true, "SELECT * FROM @ADMIN_MA_CUENTAS WHERE", "SELECT * FROM MA_CUENTAS WHERE"},
    // A typed text in quotes is data, names and marker alike.
    {"quoted_text_untouched",
     false,
     "SELECT * FROM MA_CUENTAS WHERE D LIKE '% MA_CUENTAS @Admin_x%'",
     "SELECT * FROM SS_MA_CUENTAS WHERE D LIKE '% MA_CUENTAS @Admin_x%'"},
    {"admin_quoted_marker_stays", true, "UPDATE T SET OBS = '@Admin_' WHERE", "UPDATE T SET OBS = '@Admin_' WHERE"},
};

INSTANTIATE_TEST_SUITE_P(Contexts, SynonymTest, ::testing::ValuesIn(kCases), [](const auto &info) {
    return std::string(info.param.nombre);
});

} // namespace
