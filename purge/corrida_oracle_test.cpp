// The deletion run on an Oracle connection: every statement passes through
// the script runner and the dialect conversion, so what reaches the server
// is checked call by call on a recorded connection.
#include "purge/corrida_borrado.h"
#include "tests/support/base_anulacion.h"
#include "tests/support/empresa.h"

#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/ado/recording_provider.h"
#include "platform/ui/scripted_responder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace purgetest;

namespace {

const QString kA = QStringLiteral("000100000001A");
const QString kB = QStringLiteral("000200000007B");

// The five statements of one voucher as the conversion leaves them: line
// breaks gone, the batch's own spacing before the number kept.
QStringList Borrados(const QString &id, int complemento)
{
    const QString clave = QStringLiteral(" WHERE TC = '  RM' AND IDCOMPROBANTE = '%1' AND IdComplemento =").arg(id);
    const QString n = QString::number(complemento);
    return {
        QStringLiteral("Execute DELETE V_MV_CPTEINSUMOS") + clave + QStringLiteral("  ") + n,
        QStringLiteral("Execute DELETE V_MV_CPTETAREAS") + clave + QStringLiteral("   ") + n,
        QStringLiteral("Execute DELETE V_MV_CPTE_OBSERV") + clave + QStringLiteral("  ") + n,
        QStringLiteral("Execute DELETE V_MV_CPTE") + clave + QStringLiteral(" ") + n,
        QStringLiteral("Execute DELETE V_MV_STOCK") + clave + QStringLiteral("  ") + n,
    };
}

QStringList Anulado(const QString &id, int complemento)
{
    return QStringList{QStringLiteral("BeginTrans")} + Borrados(id, complemento)
           + QStringList{QStringLiteral("CommitTrans")};
}

QString Seleccion(const QString &diaSiguiente)
{
    return QStringLiteral("Query SELECT TC, IdComprobante, IdComplemento FROM V_MV_CPTE WHERE TC = '  RM' AND "
                          "FECHA < TO_DATE('%1','DD/MM/YYYY')")
        .arg(diaSiguiente);
}

// Calls one to a line, so that a mismatch reads as text.
std::string Lineas(const QStringList &llamadas)
{
    return llamadas.join(u'\n').toStdString();
}

ado::RowSet Claves(const std::vector<std::pair<QString, int>> &claves)
{
    ado::RowSet set;
    set.columns = {{QStringLiteral("TC"), ado::ColumnKind::Text, 4, {}, {}},
                   {QStringLiteral("IdComprobante"), ado::ColumnKind::Text, 13, {}, {}},
                   {QStringLiteral("IdComplemento"), ado::ColumnKind::Integer, 4, {}, {}}};
    for (const auto &[id, complemento] : claves)
        set.rows.push_back({Variant(QStringLiteral("  RM")), Variant(id), Variant(complemento)});
    return set;
}

class AnulacionOracleTest : public Empresa
{
protected:
    AnulacionOracleTest()
        : Empresa({.abierta = false})
    {}

    void SetUp() override
    {
        Empresa::SetUp();
        // Start-up needs a real file; the recorder then takes its place.
        ruta = BaseNueva(QStringLiteral("anulacion_oracle.db"), 10);
        AbreConexion(ruta);
        auto p = std::make_unique<ado::RecordingProvider>(ado::Platform::Oracle);
        proveedor = p.get();
        // Every voucher's header is there to delete: the run counts it.
        proveedor->affect(QStringLiteral("DELETE V_MV_CPTE WHERE"), 1);
        gDB().gCnn().attachProvider(std::move(p));
        ASSERT_EQ(gDB().gCnn().platform(), ado::Platform::Oracle);
    }
    void TearDown() override
    {
        CierraConexion();
        QFile::remove(RutaLogAnulacion());
        QFile::remove(ruta);
        Empresa::TearDown();
    }

    QString ruta;
    ado::RecordingProvider *proveedor = nullptr;
    ui::ScriptedResponder respuestas;
    SinProgreso progreso;
};

TEST_F(AnulacionOracleTest, CadaComprobanteEnSuTransaccion)
{
    proveedor->answer(QStringLiteral("FROM V_MV_CPTE"), Claves({{kA, 0}, {kB, 1}}));
    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("14/3/2025"), progreso);

    EXPECT_EQ(Lineas(proveedor->calls()),
              Lineas(QStringList{Seleccion(QStringLiteral("15/03/2025"))} + Anulado(kA, 0) + Anulado(kB, 1)));
    EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
    EXPECT_EQ(r.anulados, 2);
    EXPECT_EQ(r.fallidos, 0);
    ASSERT_EQ(respuestas.requests().size(), 1u);
    EXPECT_EQ(respuestas.last().prompt, QStringLiteral("Anulado sin Errores, se actualizaron 2 registros "));
    EXPECT_EQ(respuestas.last().title, QStringLiteral("Aviso al Operador"));
    EXPECT_EQ(respuestas.last().style, ui::vbInformation);
    EXPECT_EQ(respuestas.unexpected(), 0);
    EXPECT_EQ(proveedor->transactionLevel(), 0);
}

// The next day's literal must reach the server as an unambiguous TO_DATE,
// across month, year and leap-day boundaries.
TEST_F(AnulacionOracleTest, FechaDeCorteComoToDate)
{
    const struct
    {
        const char *hasta;
        const char *siguiente;
    } casos[] = {
        {"31/12/2025", "01/01/2026"},
        {"28/2/2024", "29/02/2024"},
        {"9/11/2025", "10/11/2025"},
    };
    // An empty result still has its columns: the server found nothing.
    proveedor->answer(QStringLiteral("FROM V_MV_CPTE"), Claves({}));
    for (const auto &c : casos) {
        SCOPED_TRACE(c.hasta);
        proveedor->clearCalls();
        ui::ScriptedResponder local;
        ui::ScopedResponder scope(local);
        local.answer(ui::vbOK);
        const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QString::fromLatin1(c.hasta), progreso);
        EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
        EXPECT_EQ(Lineas(proveedor->calls()), Lineas({Seleccion(QString::fromLatin1(c.siguiente))}));
        EXPECT_EQ(local.prompts(), QStringList{QStringLiteral("Anulado sin Errores, se actualizaron 0 registros ")});
    }
}

// One of the first voucher's five statements is refused by the server.
struct CasoFallo
{
    int tabla; // index in kTablas
    int respuesta;
    friend void PrintTo(const CasoFallo &c, std::ostream *os)
    {
        *os << purgetest::kTablas[c.tabla] << " answered " << c.respuesta;
    }
};

class UnBorradoFalla : public AnulacionOracleTest, public ::testing::WithParamInterface<CasoFallo>
{};

TEST_P(UnBorradoFalla, DeshaceYPregunta)
{
    const CasoFallo caso = GetParam();
    proveedor->answer(QStringLiteral("FROM V_MV_CPTE"), Claves({{kA, 0}, {kB, 0}}));
    ado::Error error;
    error.Number = ado::DB_E_INTEGRITYVIOLATION;
    error.Description = QStringLiteral("ORA-02292: integrity constraint (VG.FK_PRUEBA) violated - child record found");
    error.NativeError = 2292;
    // The table name followed by WHERE keeps V_MV_CPTE apart from V_MV_CPTE_OBSERV.
    proveedor->fail(QStringLiteral("DELETE %1 WHERE TC = '  RM' AND IDCOMPROBANTE = '%2'")
                        .arg(QLatin1String(kTablas[caso.tabla]), kA),
                    error);

    ui::ScopedResponder scope(respuestas);
    respuestas.answer(caso.respuesta).answer(ui::vbOK);
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("31/12/2025"), progreso);

    // Nothing after the refused statement is sent; the rollback follows it.
    QStringList esperadas{Seleccion(QStringLiteral("01/01/2026")), QStringLiteral("BeginTrans")};
    esperadas << Borrados(kA, 0).mid(0, caso.tabla + 1) << QStringLiteral("RollbackTrans");

    EsperaPreguntaDeError(respuestas, error.Description);
    EXPECT_EQ(r.fallidos, 1);

    if (caso.respuesta == ui::vbYes) {
        esperadas << Anulado(kB, 0);
        EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
        EXPECT_EQ(r.anulados, 1);
        ASSERT_EQ(respuestas.requests().size(), 2u);
        EXPECT_EQ(respuestas.last().prompt,
                  QStringLiteral("Anulado con Errores, se actualizaron 1 registros, fallaron 1 registros "));
        EXPECT_EQ(respuestas.last().title, QStringLiteral("Aviso al Operador"));
    } else {
        EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Detenida);
        EXPECT_EQ(r.anulados, 0);
        EXPECT_EQ(respuestas.requests().size(), 1u);
        EXPECT_EQ(respuestas.pending(), 1);
    }
    EXPECT_EQ(Lineas(proveedor->calls()), Lineas(esperadas));
    EXPECT_EQ(proveedor->transactionLevel(), 0);
    EXPECT_EQ(respuestas.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Tablas,
                         UnBorradoFalla,
                         ::testing::Values(CasoFallo{0, ui::vbYes},
                                           CasoFallo{1, ui::vbYes},
                                           CasoFallo{3, ui::vbYes},
                                           CasoFallo{4, ui::vbYes},
                                           CasoFallo{2, ui::vbNo}),
                         [](const ::testing::TestParamInfo<CasoFallo> &i) {
                             return std::string(kTablas[i.param.tabla])
                                    + (i.param.respuesta == ui::vbYes ? "_Si" : "_No");
                         });

} // namespace
