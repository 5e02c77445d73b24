#include "database/configuracion.h"

#include "tests/support/empresa.h"
#include "tests/support/espia_sqlite.h"

#include <QRegularExpression>

namespace {

TEST(CfgSwitches, FourRules)
{
    struct Case
    {
        const char *valor;
        bool si, siRecortado, noEsNo, definidoYNoEsNo;
    };
    const Case cases[] = {
        {" ", false, false, true, false}, // a missing key reads as one blank
        {"", false, false, true, false},
        {"SI", true, true, true, true},
        {"si", true, true, true, true},
        {" SI", false, true, true, true},
        {"si ", false, true, true, true},
        {"NO", false, false, false, false},
        {"no", false, false, false, false},
        {"NO ", false, false, false, true},
        {" no", false, false, false, true},
        {"X", false, false, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("'") + c.valor + "'");
        const QString v = QString::fromUtf8(c.valor);
        EXPECT_EQ(CfgSi(v), c.si);
        EXPECT_EQ(CfgSiRecortado(v), c.siRecortado);
        EXPECT_EQ(CfgNoEsNo(v), c.noEsNo);
        EXPECT_EQ(CfgDefinidoYNoEsNo(v), c.definidoYNoEsNo);
    }
}

class CfgTest : public Empresa
{};

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
    EjecutaEnArchivo(empresa.path(),
                     QStringLiteral(
                         "INSERT INTO ta_configuracion (CLAVE, VALOR, valoraux) VALUES ('Nulo', NULL, NULL);"));
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
class ArreglaYReintenta : public ui::ScriptedResponder
{
public:
    explicit ArreglaYReintenta(const BaseEmpresa &e)
        : m_e(e)
    {}
    int msgBox(const QString &prompt, int style, const QString &title) override
    {
        ++veces;
        if (title.contains(QStringLiteral(" - Cfg"))) {
            EjecutaEnArchivo(m_e.path(),
                             QStringLiteral("CREATE TABLE ta_conf2 (CLAVE TEXT, VALOR TEXT, valoraux TEXT);"
                                            "INSERT INTO ta_conf2 VALUES ('K', 'V2', '');"));
            answer(ui::vbRetry);
        } else {
            answer(ui::vbAbort);
        }
        return ui::ScriptedResponder::msgBox(prompt, style, title);
    }
    int veces = 0;

private:
    const BaseEmpresa &m_e;
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
        {"MostrarStockenConsultas", "si"},
        {"TituloClientes", "  Clientes  "},
        {"UsaConsultaLike", " SI"},
        {"CantidadDecimales", " 3 "},
        {"USACCOSTO", "SI"},
        {"UNIDADDEMEDIDA_KG", " KG "},
        {"PERIODO", "2024.5abc"},
        {"VALIDACODIGOBARRA", " si "},
        {"CLetra", "12,6"},
        {"ModuloOrdenDeTrabajo", "NO "},
        {"V_ModificaCPrecio", "NO "},
        {"C_ModificaCPrecio", " "},
        {"MADERERA", "no"},
        {"MAD_TIRAS", " T "},
        {"MaxDto", " 12.5 "},
        {"PideClave_StockNeg", "x"},
        {"SS_BloqueoActivo", "SI"},
        {"Top_Default", "  "},
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

// The keys in the order they are read; the business unit comes between rows 11 and 13.
TEST_F(CfgTest, CargaConfiguracionReadsTheKeysInOrder)
{
    QStringList enviados;
    ado::Errors errores;
    auto motor = ado::SqliteProvider::open(empresa.path(), errores);
    ASSERT_TRUE(motor);
    gDB().gCnn().attachProvider(std::make_unique<SpyProvider>(std::move(motor), enviados));
    gUsuarioLogeado = QStringLiteral("ana");
    CargaConfiguracion(QStringLiteral("/app/"));

    const QRegularExpression clave(
        QStringLiteral("^SELECT VALOR, valoraux FROM ta_configuracion WHERE CLAVE = '(.*)'$"));
    QStringList leidas;
    for (const QString &s : enviados) {
        const QRegularExpressionMatch m = clave.match(s);
        const QString k = m.hasMatch() ? m.captured(1) : (s.contains(QStringLiteral("ta_usuarios")) ? "(usuario)" : s);
        if (leidas.isEmpty() || leidas.last() != k) // a key read twice in a row counts once
            leidas << k;
    }
    const QStringList esperadas = {"MostrarStockenConsultas",
                                   "TituloClientes",
                                   "TituloProveedores",
                                   "EXIGECLAVECONSULTALIKEARTICULOS",
                                   "UsaConsultaLike",
                                   "CantidadDecimales",
                                   "UsaMultilesMonedas",
                                   "UsaFacturaProforma",
                                   "USACCOSTO",
                                   "USA_STK_STOCK_UDKG",
                                   "(usuario)",
                                   "UNIDADDEMEDIDA_M3",
                                   "UNIDADDEMEDIDA_BL",
                                   "UNIDADDEMEDIDA_KG",
                                   "PERIODO",
                                   "VALIDACODIGOBARRA",
                                   "CFondo",
                                   "CLetra",
                                   "ModuloOrdenDeTrabajo",
                                   "V_ModificaCPrecio",
                                   "C_ModificaCPrecio",
                                   "MADERERA",
                                   "MAD_TIRAS",
                                   "MAD_P2",
                                   "MAD_ML",
                                   "MAD_M2",
                                   "MAD_HOJAS",
                                   "MAD_ML_P2",
                                   "MAD_M2_P2",
                                   "MAD_ML_M2",
                                   "CuentaCtroDist",
                                   "MaxDto",
                                   "PideClave_StockNeg",
                                   "PideClave_MarkUpBase",
                                   "PideClave_LimiteCredito",
                                   "SS_BloqueoActivo",
                                   "Top_Default"};
    EXPECT_EQ(leidas.join(QStringLiteral(", ")).toStdString(), esperadas.join(QStringLiteral(", ")).toStdString());
}

TEST_F(CfgTest, CargaConfiguracionTrimsEveryTextRow)
{
    const std::pair<const char *, QString *> filas[] = {
        {"TituloClientes", &gTituloClientes},
        {"TituloProveedores", &gTituloProveedores},
        {"UNIDADDEMEDIDA_M3", &gUnidadM3},
        {"UNIDADDEMEDIDA_BL", &gUnidadBL},
        {"UNIDADDEMEDIDA_KG", &gUnidadKG},
        {"MAD_TIRAS", &gMadTiras},
        {"MAD_P2", &gMadP2},
        {"MAD_ML", &gMadML},
        {"MAD_M2", &gMadM2},
        {"MAD_HOJAS", &gMadHojas},
        {"MAD_ML_P2", &gMadMLP2},
        {"MAD_M2_P2", &gMadM2P2},
        {"MAD_ML_M2", &gMadMLM2},
        {"CuentaCtroDist", &gCuentaCtroDist},
    };
    for (const auto &[k, var] : filas)
        empresa.config(QString::fromUtf8(k), QStringLiteral(" v_%1 ").arg(QString::fromUtf8(k)));
    CargaConfiguracion(QStringLiteral("/app/"));
    for (const auto &[k, var] : filas) {
        SCOPED_TRACE(k);
        EXPECT_EQ(*var, QStringLiteral("v_%1").arg(QString::fromUtf8(k)));
    }
}

// Every switch row under one value: which rule each key follows.
TEST_F(CfgTest, CargaConfiguracionSwitchRules)
{
    enum Regla { Si, SiRecortado, NoEsNo, DefinidoYNoEsNo };
    const std::tuple<const char *, bool *, Regla> filas[] = {
        {"MostrarStockenConsultas", &gMostrarStockEnConsultas, Si},
        {"EXIGECLAVECONSULTALIKEARTICULOS", &gExigeClaveConsultaLike, Si},
        {"UsaConsultaLike", &gUsaConsultaLike, Si},
        {"UsaMultilesMonedas", &gUsaMultilesMonedas, Si},
        {"UsaFacturaProforma", &gUsaFacturaProforma, Si},
        {"USACCOSTO", &gUsaCCosto, Si},
        {"USA_STK_STOCK_UDKG", &gUsaStockUdKg, Si},
        {"VALIDACODIGOBARRA", &gValidaCodigoBarra, SiRecortado},
        {"ModuloOrdenDeTrabajo", &gModuloOrdenDeTrabajo, NoEsNo},
        {"V_ModificaCPrecio", &gVModificaCPrecio, DefinidoYNoEsNo},
        {"C_ModificaCPrecio", &gCModificaCPrecio, DefinidoYNoEsNo},
        {"MADERERA", &gMaderera, DefinidoYNoEsNo},
        {"PideClave_StockNeg", &gPideClaveStockNeg, DefinidoYNoEsNo},
        {"PideClave_MarkUpBase", &gPideClaveMarkUpBase, DefinidoYNoEsNo},
        {"PideClave_LimiteCredito", &gPideClaveLimiteCredito, DefinidoYNoEsNo},
        {"SS_BloqueoActivo", &gSSBloqueoActivo, Si},
    };
    // Value (nullptr: no row), then the expected state per rule.
    const std::pair<const char *, std::array<bool, 4>> valores[] = {
        {nullptr, {false, false, true, false}},
        {"si", {true, true, true, true}},
        {" SI", {false, true, true, true}},
        {"NO ", {false, false, false, true}},
        {"no", {false, false, false, false}},
        {"x", {false, false, true, true}},
    };
    for (const auto &[valor, esperado] : valores) {
        SCOPED_TRACE(valor ? std::string("'") + valor + "'" : std::string("no row"));
        EjecutaEnArchivo(empresa.path(), QStringLiteral("DELETE FROM ta_configuracion;"));
        for (const auto &[k, var, regla] : filas) {
            *var = !esperado[regla];
            if (valor)
                empresa.config(QString::fromUtf8(k), QString::fromUtf8(valor));
        }
        CargaConfiguracion(QStringLiteral("/app/"));
        for (const auto &[k, var, regla] : filas)
            EXPECT_EQ(*var, esperado[regla]) << k;
    }
}

} // namespace
