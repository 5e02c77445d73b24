#include "database/config.h"

#include "database/startup_test_util.h"

namespace {

TEST(CfgSwitches, ThreeRules)
{
    struct Case {
        const char *valor;
        bool si, noEsNo, definidoYNoEsNo;
    };
    const Case cases[] = {
        {" ", false, true, false},  // a missing key reads as one blank
        {"", false, true, false},   {"SI", true, true, true},   {"si", true, true, true},
        {" SI", false, true, true}, {"NO", false, false, false}, {"no", false, false, false},
        {"NO ", false, false, true}, {" no", false, false, true}, {"X", false, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("'") + c.valor + "'");
        const QString v = QString::fromUtf8(c.valor);
        EXPECT_EQ(CfgSi(v), c.si);
        EXPECT_EQ(CfgNoEsNo(v), c.noEsNo);
        EXPECT_EQ(CfgDefinidoYNoEsNo(v), c.definidoYNoEsNo);
    }
}

class CfgTest : public ConOperador {
protected:
    void SetUp() override
    {
        ConOperador::SetUp();
        gDB().gCnn().Open(empresa.connString());
        gDB().gOpenFlag = true;
    }
    EmpresaDemo empresa;
};

TEST_F(CfgTest, ReadsValueAndAux)
{
    empresa.config(QStringLiteral("Top_Default"), QStringLiteral("50"), QStringLiteral("extra"));
    QString aux = QStringLiteral("antes");
    EXPECT_EQ(Cfg(QStringLiteral("  Top_Default "), aux), QStringLiteral("50"));
    EXPECT_EQ(aux, QStringLiteral("extra"));
    EXPECT_EQ(gTablaConfiguracion, QStringLiteral("TA_CONFIGURACION"));

    EXPECT_EQ(Cfg(QStringLiteral("NoHay"), aux), QStringLiteral(" "));
    EXPECT_EQ(aux, QString());
}

TEST_F(CfgTest, NullValuesReadEmpty)
{
    empresa.exec(QStringLiteral("INSERT INTO ta_configuracion VALUES ('Nulo', NULL, NULL);"));
    QString aux = QStringLiteral("x");
    EXPECT_EQ(Cfg(QStringLiteral("Nulo"), aux), QString());
    EXPECT_EQ(aux, QString());
}

TEST_F(CfgTest, DateKeysRunUpperCased)
{
    empresa.config(QStringLiteral("[FECHA HASTA]"), QStringLiteral("31/12/2023"));
    EXPECT_EQ(Cfg(QStringLiteral("[fecha hasta]")), QStringLiteral("31/12/2023"));
    EXPECT_EQ(Cfg(QStringLiteral(" [Fecha Hasta] ")), QStringLiteral("31/12/2023"));
}

TEST_F(CfgTest, FailedReadIsTreatedAndReadsEmpty)
{
    gTablaConfiguracion = QStringLiteral("NO_EXISTE");
    operador.answer(ui::vbAbort);
    EXPECT_EQ(Cfg(QStringLiteral("Top_Default")), QString());
    ASSERT_GE(operador.requests().size(), 1u);
    // The query runner reports the failed open itself; Cfg's own treatment follows.
    const ui::Request &propio = operador.last();
    EXPECT_TRUE(propio.title.contains(QStringLiteral(" - Cfg"))) << propio.title.toStdString();
    EXPECT_EQ(propio.style, ui::vbAbortRetryIgnore + ui::vbCritical);
}

// The operator leaves the query runner's own report, then removes the cause
// (here: the table appears) and answers Retry to Cfg's report.
class ArreglaYReintenta : public ui::ScriptedResponder {
public:
    explicit ArreglaYReintenta(const EmpresaDemo &e) : m_e(e) {}
    int msgBox(const QString &prompt, int style, const QString &title) override
    {
        ++veces;
        if (title.contains(QStringLiteral(" - Cfg"))) {
            m_e.exec(QStringLiteral("CREATE TABLE ta_conf2 (CLAVE TEXT, VALOR TEXT, valoraux TEXT);"
                                    "INSERT INTO ta_conf2 VALUES ('K', 'V2', '');"));
            answer(ui::vbRetry);
        } else {
            answer(ui::vbAbort);
        }
        return ui::ScriptedResponder::msgBox(prompt, style, title);
    }
    int veces = 0;

private:
    const EmpresaDemo &m_e;
};

TEST_F(CfgTest, RetryRunsTheFailedReadAgain)
{
    gTablaConfiguracion = QStringLiteral("ta_conf2");
    ArreglaYReintenta arregla(empresa);
    ui::SetResponder(&arregla);
    const QString valor = Cfg(QStringLiteral("K"));
    ui::SetResponder(&operador);
    EXPECT_EQ(valor, QStringLiteral("V2"));
    EXPECT_EQ(arregla.veces, 2);
}

TEST_F(CfgTest, CargaConfiguracionFillsTheCompanySettings)
{
    const std::pair<const char *, const char *> filas[] = {
        {"MostrarStockenConsultas", "si"}, {"TituloClientes", "  Clientes  "}, {"UsaConsultaLike", " SI"},
        {"CantidadDecimales", " 3 "},      {"USACCOSTO", "SI"},                 {"UNIDADDEMEDIDA_KG", " KG "},
        {"PERIODO", "2024.5abc"},          {"VALIDACODIGOBARRA", " si "},       {"CLetra", "12,6"},
        {"ModuloOrdenDeTrabajo", "NO "},   {"V_ModificaCPrecio", "NO "},        {"C_ModificaCPrecio", " "},
        {"MADERERA", "no"},                {"MAD_TIRAS", " T "},                {"MaxDto", " 12.5 "},
        {"PideClave_StockNeg", "x"},       {"SS_BloqueoActivo", "SI"},          {"Top_Default", "  "},
    };
    for (const auto &[k, v] : filas)
        empresa.config(QString::fromUtf8(k), QString::fromUtf8(v));
    gUsuarioLogeado = QStringLiteral("ana");
    CargaConfiguracion(QStringLiteral("/app/"));

    EXPECT_EQ(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
    EXPECT_TRUE(gMostrarStockEnConsultas);
    EXPECT_EQ(gTituloClientes, QStringLiteral("Clientes"));
    EXPECT_EQ(gTituloProveedores, QString());
    EXPECT_EQ(gArchivoDocTareas, QStringLiteral("/app/VGDOCTareas.vgr"));
    EXPECT_FALSE(gUsaConsultaLike) << "compared untrimmed";
    EXPECT_EQ(gCantidadDecimales, QStringLiteral(" 3 "));
    EXPECT_TRUE(gUsaCCosto);
    EXPECT_FALSE(gUsaStockUdKg);
    EXPECT_EQ(gUNegocio, QStringLiteral("   2"));
    EXPECT_EQ(gUnidadKG, QStringLiteral("KG"));
    EXPECT_EQ(gPeriodo, 2024) << "2024.5 rounds to the even neighbour";
    EXPECT_TRUE(gValidaCodigoBarra) << "compared trimmed";
    EXPECT_EQ(gColorFondoFoco, 0xFFFF00) << "missing CFondo";
    EXPECT_EQ(gColorTextoFoco, 13);
    EXPECT_FALSE(gModuloOrdenDeTrabajo);
    EXPECT_TRUE(gVModificaCPrecio);
    EXPECT_FALSE(gCModificaCPrecio);
    EXPECT_FALSE(gMaderera);
    EXPECT_EQ(gMadTiras, QStringLiteral("T"));
    EXPECT_EQ(gMaxDto.toDouble(), 12.5);
    EXPECT_TRUE(gPideClaveStockNeg);
    EXPECT_FALSE(gPideClaveMarkUpBase);
    EXPECT_TRUE(gSSBloqueoActivo);
    EXPECT_EQ(gTopDefault, QStringLiteral("1000"));
}

TEST_F(CfgTest, UserWithoutBusinessUnitGetsOne)
{
    empresa.config(QStringLiteral("CFondo"), QStringLiteral("0"));
    empresa.config(QStringLiteral("Top_Default"), QStringLiteral("50"));
    gUsuarioLogeado = QStringLiteral("luis");
    CargaConfiguracion(QStringLiteral("/app/"));
    EXPECT_EQ(gUNegocio, QStringLiteral("   1"));
    EXPECT_EQ(gColorFondoFoco, 0xFFFF00);
    EXPECT_EQ(gTopDefault, QStringLiteral("50"));
    EXPECT_TRUE(gModuloOrdenDeTrabajo) << "missing key: on";
    EXPECT_EQ(gMaxDto.toDouble(), 0.0);
}

} // namespace
