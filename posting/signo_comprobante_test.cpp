#include "posting/signo_comprobante.h"

#include "tests/support/empresa.h"
#include "voucher/cls_cmn_cptes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

const QString kNoExiste = QStringLiteral("El Tipo de Comprobante informado no existe en la tabla de comprobantes");

struct SignoCase
{
    const char *codigo; // as stored: right-aligned in 4
    const char *es;     // nullptr: NULL
    std::optional<int> signo;
    const char *tc; // as the caller gives it
    bool libroIVA;
    int esperado;
    friend void PrintTo(const SignoCase &c, std::ostream *os)
    {
        *os << '"' << c.codigo << "\" ES " << (c.es ? c.es : "NULL") << " SIGNO "
            << (c.signo ? std::to_string(*c.signo) : "NULL") << " as \"" << c.tc << '"'
            << (c.libroIVA ? " VAT book" : "");
    }
};

class Signo : public Empresa, public ::testing::WithParamInterface<SignoCase>
{};
class SignoEnLaEmpresa : public Empresa
{};

TEST_P(Signo, RowThenCodeDecide)
{
    const SignoCase &c = GetParam();
    Ejecuta(QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, ES, SIGNO) VALUES ('%1', %2, %3)")
                .arg(QString::fromLatin1(c.codigo),
                     c.es ? QStringLiteral("'%1'").arg(c.es) : QStringLiteral("NULL"),
                     c.signo ? QString::number(*c.signo) : QStringLiteral("NULL")));
    EXPECT_EQ(ObtieneSignoComprobante(QString::fromLatin1(c.tc), c.libroIVA), c.esperado);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tipos,
                         Signo,
                         ::testing::Values(
                             // Neither ES nor SIGNO: the lists.
                             SignoCase{"  FC", nullptr, std::nullopt, "FC", false, -1},
                             SignoCase{"  FC", nullptr, std::nullopt, "fc", false, -1},
                             SignoCase{"  FC", nullptr, std::nullopt, "FC", true, 1},
                             SignoCase{"  NC", nullptr, std::nullopt, "nc", true, -1},
                             SignoCase{"  NC", nullptr, std::nullopt, "NC", false, 1},
                             SignoCase{"NCCP", nullptr, std::nullopt, "NCCP", true, -1},
                             SignoCase{"  RM", nullptr, std::nullopt, "RM", false, -1},
                             SignoCase{" RMC", nullptr, std::nullopt, "RMC", false, 1},
                             // The lookup trims and pads; the lists take the code as given.
                             SignoCase{"  FC", nullptr, std::nullopt, "FC  ", false, 0},
                             SignoCase{"  FC", nullptr, std::nullopt, "FC  ", true, 1},
                             SignoCase{"  FC", "S", std::nullopt, "FC  ", false, -1},
                             // A type in no list.
                             SignoCase{"  XX", nullptr, std::nullopt, "XX", true, 1},
                             SignoCase{"  XX", nullptr, std::nullopt, "XX", false, 0},
                             SignoCase{"  XX", "N", std::nullopt, "XX", false, 0},
                             // ES wins over the list, in any case.
                             SignoCase{"  RM", "E", std::nullopt, "RM", false, 1},
                             SignoCase{"  RM", "e", std::nullopt, "RM", false, 1},
                             SignoCase{"  IR", "s", std::nullopt, "IR", false, -1},
                             // SIGNO decides the VAT book, ES does not.
                             SignoCase{"  IR", "S", -1, "IR", true, -1},
                             SignoCase{"  NC", nullptr, 1, "NC", true, 1},
                             SignoCase{"  XX", "E", 0, "XX", true, 0},
                             SignoCase{"  FC", nullptr, 0, "FC", false, -1}));

TEST_F(SignoEnLaEmpresa, AMissingTypeIsReportedAndGivesZero)
{
    Ejecuta(QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, ES, SIGNO) VALUES ('  FC', 'S', -1)"));
    for (bool libroIVA : {false, true}) {
        operador.clear();
        EXPECT_EQ(ObtieneSignoComprobante(QStringLiteral("ZZ"), libroIVA), 0);
        ASSERT_EQ(operador.requests().size(), 1u);
        EXPECT_EQ(operador.last().prompt, kNoExiste);
        EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al operador!!!"));
        EXPECT_EQ(operador.last().icon, ui::vbCritical);
        EXPECT_EQ(operador.last().buttons, QStringList{QStringLiteral("Aceptar")});
    }
}

TEST_F(SignoEnLaEmpresa, AQuoteInTheTypeNeitherBreaksNorChangesTheQuery)
{
    Ejecuta(QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, ES, SIGNO) VALUES ('  FC', 'S', -1)"));
    // Unquoted, this would read the FC row: ... CODIGO='' OR CODIGO='  FC'.
    EXPECT_EQ(ObtieneSignoComprobante(QStringLiteral("' OR CODIGO='  FC"), false), 0);
    EXPECT_EQ(operador.prompts(), QStringList{kNoExiste});
    operador.clear();
    EXPECT_EQ(ObtieneSignoComprobante(QStringLiteral("F'C"), true), 0);
    EXPECT_EQ(operador.prompts(), QStringList{kNoExiste});
}

TEST_F(SignoEnLaEmpresa, ASignThatIsNoNumberGoesToTheErrorTreatment)
{
    // The column is numeric; the embedded engine keeps the text as given.
    Ejecuta(QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, SIGNO) VALUES ('  FC', 'menos')"));
    operador.answer(ui::vbIgnore);
    EXPECT_EQ(ObtieneSignoComprobante(QStringLiteral("FC"), true), 0);
    ASSERT_EQ(operador.requests().size(), 1u);
    EXPECT_TRUE(operador.last().title.contains(QStringLiteral(" - ObtieneSignoComprobante%")));
}

TEST_F(SignoEnLaEmpresa, TheVoucherClassForwardsTheSign)
{
    Ejecuta(QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, ES) VALUES ('  AJ', 'E')"));
    ClsCmnCptes cptes;
    EXPECT_EQ(cptes.ObtieneSignoComprobante(QStringLiteral("AJ"), false), 1);
}

struct TipoMovCase
{
    const char *tc;
    const char *origen;
    bool comodato;
    const char *cuenta;
    const char *cuentaCtroDist; // nullptr: no key
    int esperado;
    friend void PrintTo(const TipoMovCase &c, std::ostream *os)
    {
        *os << '"' << c.tc << "\" from \"" << c.origen << '"' << (c.comodato ? " on loan" : "") << " account \""
            << c.cuenta << "\" centre " << (c.cuentaCtroDist ? c.cuentaCtroDist : "no key");
    }
};

class TipoMov : public Empresa, public ::testing::WithParamInterface<TipoMovCase>
{};

TEST_P(TipoMov, FirstRuleThatHolds)
{
    const TipoMovCase &c = GetParam();
    if (c.cuentaCtroDist)
        Configura(QStringLiteral("CuentaCtroDist"), QString::fromLatin1(c.cuentaCtroDist));
    EXPECT_EQ(TipoMovimientoStock(QString::fromLatin1(c.tc),
                                  QString::fromLatin1(c.origen),
                                  c.comodato,
                                  QString::fromLatin1(c.cuenta)),
              c.esperado);
}

INSTANTIATE_TEST_SUITE_P(Reglas,
                         TipoMov,
                         ::testing::Values(TipoMovCase{"IR", "OC", false, "", nullptr, 5},
                                           TipoMovCase{"ir", "oc", true, "C1", "C1", 5},
                                           TipoMovCase{"RMC", "XX", false, "", nullptr, 5},
                                           TipoMovCase{"RMC", "", true, "", nullptr, 5},
                                           TipoMovCase{"IR", "RM", false, "", nullptr, 4},
                                           TipoMovCase{"IR", "FC", false, "", nullptr, 0},
                                           TipoMovCase{"IR", "", false, "", nullptr, 0},
                                           TipoMovCase{"RM", "", true, "C1", "C1", 2},
                                           TipoMovCase{"RM", "", false, "C1", "C1", 3},
                                           TipoMovCase{"rm", "", false, "c1", "C1", 3},
                                           TipoMovCase{"RM", "", false, "C1", "C2", 1},
                                           TipoMovCase{"RM", "", false, "C1", nullptr, 1},
                                           TipoMovCase{"RM", "", false, "", nullptr, 1},
                                           TipoMovCase{"FC", "OC", true, "", nullptr, 0},
                                           TipoMovCase{" RM", "", false, "", nullptr, 0}));

} // namespace
