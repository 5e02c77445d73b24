// The deletion run on a real database file: what goes, what stays, the log,
// the messages and the answers to the question.
#include "purge/corrida_borrado.h"
#include "tests/support/base_anulacion.h"
#include "tests/support/empresa.h"

#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/ado/recording_provider.h"
#include "platform/runtime/dates.h"
#include "platform/ui/scripted_responder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace purgetest;

namespace {

const QString kRM = QStringLiteral("  RM");

class Registro final : public ProgresoAnulacion
{
public:
    void Muestra() override { eventos << QStringLiteral("muestra"); }
    void Pinta(double porcentaje, const QString &texto) override
    {
        ultimoPorcentaje = porcentaje;
        ultimoTexto = texto;
        ++pintadas;
    }
    void Oculta() override { eventos << QStringLiteral("oculta"); }

    QStringList eventos;
    int pintadas = 0;
    double ultimoPorcentaje = -1;
    QString ultimoTexto;
};

QString ComoDma(const QString &iso)
{
    return QDate::fromString(iso, QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("d/M/yyyy"));
}

class AnulacionTest : public Empresa
{
protected:
    AnulacionTest()
        : Empresa({.abierta = false})
    {}

    void SetUp() override
    {
        Empresa::SetUp();
        ruta = BaseNueva(QStringLiteral("anulacion.db"), 60);
        AbreConexion(ruta);
        db = std::make_unique<Sqlite>(ruta);
        vb::FixClock(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 0)));
    }
    void TearDown() override
    {
        db.reset();
        CierraConexion();
        vb::SetClock({});
        Empresa::TearDown();
    }

    // A cut-off day in the middle of the RM vouchers' dates.
    QString DiaDeCorte()
    {
        const QStringList dias = db->Textos(
            QStringLiteral("SELECT DISTINCT substr(FECHA, 1, 10) FROM V_MV_CPTE WHERE TC = '  RM' ORDER BY 1"));
        EXPECT_GE(dias.size(), 3);
        return dias.value(dias.size() / 2);
    }

    // The first RM voucher dated after the given day.
    QString PrimeroDespuesDe(const QString &dia)
    {
        return db
            ->Textos(QStringLiteral("SELECT IDCOMPROBANTE FROM V_MV_CPTE WHERE TC = '  RM' AND "
                                    "substr(FECHA, 1, 10) > '%1' ORDER BY FECHA LIMIT 1")
                         .arg(dia))
            .value(0);
    }

    QString ruta;
    std::unique_ptr<Sqlite> db;
    ui::ScriptedResponder respuestas;
    Registro progreso;
};

TEST_F(AnulacionTest, BorraElTipoHastaElDiaInclusiveYNadaMas)
{
    const QString dia = DiaDeCorte();
    // A voucher stamped in the afternoon of the cut-off day belongs to that day.
    const QString tarde = PrimeroDespuesDe(dia);
    ASSERT_FALSE(tarde.isEmpty());
    EjecutaEnArchivo(ruta,
                     QStringLiteral(
                         "UPDATE V_MV_CPTE SET FECHA = '%1 14:30:00' WHERE TC = '  RM' AND IDCOMPROBANTE = '%2'")
                         .arg(dia, tarde));

    const Foto antes = TomaFoto(*db);
    const std::set<QString> idas = ClavesHasta(*db, kRM, dia);
    ASSERT_GT(idas.size(), 1u);
    const long long huerfanosAntes = Huerfanos(*db);

    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral(" RM "), ComoDma(dia), progreso);

    EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
    EXPECT_EQ(r.anulados, int(idas.size()));
    EXPECT_EQ(r.fallidos, 0);
    ComparaFotos(antes, TomaFoto(*db), idas);
    EXPECT_EQ(db->Numero(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE IDCOMPROBANTE = '%1' AND TC = '  RM'")
                             .arg(tarde)),
              0);
    EXPECT_EQ(Huerfanos(*db), huerfanosAntes);

    ASSERT_EQ(respuestas.requests().size(), 1u);
    const ui::Request &fin = respuestas.last();
    EXPECT_EQ(fin.prompt, QStringLiteral("Anulado sin Errores, se actualizaron %1 registros ").arg(idas.size()));
    EXPECT_EQ(fin.title, QStringLiteral("Aviso al Operador"));
    EXPECT_EQ(fin.style, ui::vbInformation);

    EXPECT_EQ(progreso.eventos, (QStringList{QStringLiteral("muestra"), QStringLiteral("oculta")}));
    EXPECT_EQ(progreso.pintadas, int(idas.size()));
    EXPECT_DOUBLE_EQ(progreso.ultimoPorcentaje, 100.0);
    EXPECT_TRUE(progreso.ultimoTexto.startsWith(kRM + QStringLiteral(" ")));
    EXPECT_TRUE(progreso.ultimoTexto.endsWith(QStringLiteral(" Leidos: %1 DE %1").arg(idas.size())));

    const QStringList log = LineasLog();
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("PC: ")));
    EXPECT_TRUE(log[0].contains(QStringLiteral("  Fecha : 10/12/2026 09:30:00 TC:   RM FECHA HASTA:") + ComoDma(dia)));
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("FECHA HASTA:") + ComoDma(dia)));
    EXPECT_EQ(log[1], QStringLiteral("Registros Anulados %1 Usuario Sistema: %2").arg(idas.size()).arg(gUsuarioLogeado));
}

// A file written before holds days without a time beside date-times: the
// run deletes exactly the vouchers dated on or before the cut-off, whatever
// their stored form, and the one dated the next day stays.
TEST_F(AnulacionTest, BorraLoMismoConFechasGuardadasEnDosFormas)
{
    const QString dia = DiaDeCorte();
    const QString siguiente = QDate::fromString(dia, Qt::ISODate).addDays(1).toString(Qt::ISODate);
    const QString manana = PrimeroDespuesDe(dia);
    ASSERT_FALSE(manana.isEmpty());
    EjecutaEnArchivo(ruta,
                     QStringLiteral(
                         "UPDATE V_MV_CPTE SET FECHA = '%1' WHERE TC = '  RM' AND IDCOMPROBANTE = '%2';\n"
                         "UPDATE V_MV_CPTE SET FECHA = substr(FECHA, 1, 10) WHERE substr(FECHA, 9, 2) % 2 = 0")
                         .arg(siguiente, manana));
    ASSERT_GT(db->Numero(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  RM' AND length(FECHA) = 10 AND "
                                        "FECHA <= '%1'")
                             .arg(dia)),
              0);
    ASSERT_GT(db->Numero(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  RM' AND length(FECHA) = 19 AND "
                                        "FECHA <= '%1'")
                             .arg(dia)),
              0);

    const Foto antes = TomaFoto(*db);
    const std::set<QString> idas = ClavesHasta(*db, kRM, dia);
    ASSERT_GT(idas.size(), 1u);

    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), ComoDma(dia), progreso);

    EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
    EXPECT_EQ(r.anulados, int(idas.size()));
    ComparaFotos(antes, TomaFoto(*db), idas);
    EXPECT_EQ(db->Numero(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE WHERE IDCOMPROBANTE = '%1' AND TC = '  RM'")
                             .arg(manana)),
              1);
    EXPECT_EQ(respuestas.last().prompt,
              QStringLiteral("Anulado sin Errores, se actualizaron %1 registros ").arg(idas.size()));
}

// A run that finds nothing to delete changes nothing, says so and logs a whole run.
TEST_F(AnulacionTest, NadaQueAnularNoCambiaNada)
{
    const Foto antes = TomaFoto(*db);
    const struct
    {
        const char *nombre, *tipo, *fecha;
    } casos[] = {
        {"no voucher up to the day", "RM", "1/1/1990"},
        {"a quote in the type stays inside the literal", "' OR", "31/12/2099"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            QFile::remove(RutaLogAnulacion());
            progreso.eventos.clear();
            ui::ScriptedResponder local;
            ui::ScopedResponder scope(local);
            local.answer(ui::vbOK);
            const ResultadoAnulacion r = AnulaComprobantes(QString::fromUtf8(c.tipo),
                                                           QString::fromUtf8(c.fecha),
                                                           progreso);

            EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
            EXPECT_EQ(r.anulados, 0);
            EXPECT_EQ(TomaFoto(*db), antes);
            EXPECT_EQ(local.prompts(), QStringList{QStringLiteral("Anulado sin Errores, se actualizaron 0 registros ")});
            EXPECT_EQ(progreso.eventos, (QStringList{QStringLiteral("muestra"), QStringLiteral("oculta")}));
            const QStringList log = LineasLog();
            ASSERT_EQ(log.size(), 2);
            EXPECT_TRUE(log[1].startsWith(QStringLiteral("Registros Anulados 0 Usuario Sistema: ")));
        }();
    }
}

// The selection cannot be read (its table is gone; a selection that times
// out on a lock takes the same road): the run has failed, whatever the
// operator answers to the opener's box. No success message, no closing line.
TEST_F(AnulacionTest, SeleccionIlegibleEsUnaCorridaFallida)
{
    EjecutaEnArchivo(ruta, QStringLiteral("ALTER TABLE V_MV_CPTE RENAME TO V_MV_CPTE_APARTE"));
    const QString lineas = QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS");
    const long long lineasAntes = db->Numero(lineas);
    const struct
    {
        const char *nombre;
        std::vector<int> respuestas; // to the opener's box, in turn
    } casos[] = {
        {"ignored", {ui::vbIgnore}},
        {"aborted", {ui::vbAbort}},
        {"retried, then ignored", {ui::vbRetry, ui::vbIgnore}},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            QFile::remove(RutaLogAnulacion());
            progreso.eventos.clear();
            ui::ScriptedResponder local;
            ui::ScopedResponder scope(local);
            for (int r : c.respuestas)
                local.answer(r);
            const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("31/12/2099"), progreso);

            EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Abandonada);
            EXPECT_EQ(r.anulados, 0);
            ASSERT_EQ(local.requests().size(), c.respuestas.size());
            for (const ui::Request &q : local.requests()) {
                EXPECT_TRUE(q.prompt.contains(QStringLiteral("V_MV_CPTE"))) << q.prompt.toStdString();
                EXPECT_FALSE(q.prompt.contains(QStringLiteral("Anulado")));
            }
            EXPECT_EQ(local.unexpected(), 0);
            const QStringList log = LineasLog();
            ASSERT_EQ(log.size(), 1);
            EXPECT_TRUE(log[0].startsWith(QStringLiteral("PC: ")));
            EXPECT_EQ(db->Numero(lineas), lineasAntes);
        }();
    }
}

TEST_F(AnulacionTest, FechaInvalidaNoEscribeNiBorraNada)
{
    const Foto antes = TomaFoto(*db);
    const char *const fechas[] = {"", "   ", "31/02/2026", "2026-12-10", "ayer", "12/25/2020", "1/1/2026' OR '1'='1"};
    for (const char *fecha : fechas) {
        SCOPED_TRACE(fecha);
        [&] {
            ui::ScriptedResponder local;
            ui::ScopedResponder scope(local);
            local.answer(ui::vbOK);
            const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QString::fromUtf8(fecha), progreso);
            EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::FechaInvalida);
            ASSERT_EQ(local.requests().size(), 1u);
            EXPECT_EQ(local.last().title, QStringLiteral("Aviso al Operador"));
            EXPECT_TRUE(local.last().prompt.contains(QStringLiteral("dd/mm/aaaa")));
            EXPECT_EQ(local.unexpected(), 0);
        }();
    }
    EXPECT_FALSE(QFile::exists(RutaLogAnulacion()));
    EXPECT_TRUE(progreso.eventos.isEmpty());
    EXPECT_EQ(TomaFoto(*db), antes);
}

// Just before the run, a batch sent as the suite writes them failed between
// its BEGIN and its COMMIT (a repeated key): it leaves no transaction behind,
// so each voucher's COMMIT is a real one, on disk when the run says it is,
// and no other connection is locked out meanwhile.
TEST_F(AnulacionTest, UnLoteFallidoAntesNoDejaSinEfectoLosCommitsDeLaCorrida)
{
    const QString dia = DiaDeCorte();
    const std::set<QString> idas = ClavesHasta(*db, kRM, dia);
    ASSERT_GT(idas.size(), 1u);
    const Foto antes = TomaFoto(*db);
    const QString control = QStringLiteral("INSERT INTO V_MV_CTROL_CPTE (TC, SUCURSAL, NUMERO, LETRA) "
                                           "VALUES ('  FC', '0001', '%1', 'A')\r\n");

    gDB().EjecutaConsultaSQL(QStringLiteral("BEGIN TRANSACTION\r\n") + control.arg("00000901") + control.arg("00000901")
                             + QStringLiteral("COMMIT TRANSACTION\r\n"));
    const ado::Errors &errores = gDB().gCnn().errors();
    ASSERT_EQ(errores.Count(), 1);
    EXPECT_EQ(errores.Item(0).SQLState, QStringLiteral("23000"));
    EXPECT_EQ(gDB().gCnn().provider()->transactionLevel(), 0);
    EXPECT_EQ(db->Numero(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE WHERE NUMERO = '00000901'")), 0);

    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), ComoDma(dia), progreso);
    EXPECT_EQ(r.anulados, int(idas.size()));
    EXPECT_EQ(respuestas.last().prompt,
              QStringLiteral("Anulado sin Errores, se actualizaron %1 registros ").arg(idas.size()));
    EXPECT_EQ(LineasLog().value(1),
              QStringLiteral("Registros Anulados %1 Usuario Sistema: %2").arg(idas.size()).arg(gUsuarioLogeado));
    // Another connection reads them gone and writes while the program's is still open, and after it closes.
    ComparaFotos(antes, TomaFoto(*db), idas);
    EjecutaEnArchivo(ruta, control.arg("00000902"));
    CierraConexion();
    ComparaFotos(antes, TomaFoto(*db), idas);
    EXPECT_EQ(db->Numero(QStringLiteral("SELECT COUNT(*) FROM V_MV_CTROL_CPTE WHERE NUMERO = '00000902'")), 1);
}

// A trigger refuses the deletion of one voucher's rows in one table: the
// voucher must stay whole whichever of the five statements fails.
struct CasoFallo
{
    const char *tabla;
    int respuesta;
    friend void PrintTo(const CasoFallo &c, std::ostream *os) { *os << c.tabla << " answered " << c.respuesta; }
};

class FalloDeUnComprobante : public AnulacionTest, public ::testing::WithParamInterface<CasoFallo>
{};

TEST_P(FalloDeUnComprobante, QuedaEnteroYLaRespuestaDecide)
{
    const CasoFallo caso = GetParam();
    const QString dia = DiaDeCorte();
    const std::set<QString> idas = ClavesHasta(*db, kRM, dia);
    ASSERT_GE(idas.size(), 3u);
    const QString victima = *std::next(idas.begin());
    const QString id = victima.section(u'|', 1, 1);
    EjecutaEnArchivo(ruta,
                     QStringLiteral("CREATE TRIGGER falla_prueba BEFORE DELETE ON %1 WHEN old.TC = '  RM' AND "
                                    "old.IDCOMPROBANTE = '%2' BEGIN SELECT RAISE(ABORT, 'Borrado bloqueado'); END")
                         .arg(QLatin1String(caso.tabla), id));
    const Foto antes = TomaFoto(*db);
    ASSERT_TRUE(antes.count(victima));
    const long long huerfanosAntes = Huerfanos(*db);

    ui::ScopedResponder scope(respuestas);
    respuestas.answer(caso.respuesta).answer(ui::vbOK);
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), ComoDma(dia), progreso);

    const Foto despues = TomaFoto(*db);
    ASSERT_TRUE(despues.count(victima));
    EXPECT_EQ(despues.at(victima), antes.at(victima)); // whole: every table as before
    EXPECT_EQ(r.fallidos, 1);

    EsperaPreguntaDeError(respuestas, QStringLiteral("Borrado bloqueado"), true);

    const QStringList log = LineasLog();
    if (caso.respuesta == ui::vbYes) {
        std::set<QString> sinVictima = idas;
        sinVictima.erase(victima);
        EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
        EXPECT_EQ(r.anulados, int(sinVictima.size()));
        ComparaFotos(antes, despues, sinVictima);
        ASSERT_EQ(respuestas.requests().size(), 2u);
        EXPECT_EQ(respuestas.last().prompt,
                  QStringLiteral("Anulado con Errores, se actualizaron %1 registros, "
                                 "fallaron 1 registros ")
                      .arg(sinVictima.size()));
        EXPECT_EQ(respuestas.last().title, QStringLiteral("Aviso al Operador"));
        ASSERT_EQ(log.size(), 2);
        EXPECT_TRUE(log[1].startsWith(QStringLiteral("Registros Anulados %1 Usuario Sistema: ").arg(sinVictima.size())));
    } else {
        EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Detenida);
        EXPECT_EQ(respuestas.requests().size(), 1u); // no final message
        EXPECT_EQ(log.size(), 1);                    // header only
        EXPECT_EQ(respuestas.pending(), 1);
        // Nothing after the stop was touched; what went before went whole.
        for (const QString &k : idas) {
            if (despues.count(k)) {
                EXPECT_EQ(despues.at(k), antes.at(k)) << k.toStdString();
            }
        }
        EXPECT_TRUE(progreso.eventos.contains(QStringLiteral("muestra")));
        EXPECT_FALSE(progreso.eventos.contains(QStringLiteral("oculta")));
    }
    // The connection is usable afterwards: no transaction was left open.
    EjecutaEnArchivo(ruta, QStringLiteral("DROP TRIGGER falla_prueba"));
    EXPECT_EQ(Huerfanos(*db), huerfanosAntes);
}

INSTANTIATE_TEST_SUITE_P(Tablas,
                         FalloDeUnComprobante,
                         ::testing::Values(CasoFallo{"V_MV_CPTETAREAS", ui::vbYes},
                                           CasoFallo{"V_MV_CPTETAREAS", ui::vbNo},
                                           CasoFallo{"V_MV_STOCK", ui::vbYes},
                                           CasoFallo{"V_MV_STOCK", ui::vbNo}));

// The server refuses one voucher's COMMIT (a deferred constraint, a lost
// connection): seen only through a recorded connection, where what is sent
// after the failure can be checked statement by statement.
class CommitQueFalla : public AnulacionTest, public ::testing::WithParamInterface<int>
{
protected:
    // Fails the commit of the n-th voucher: the COMMIT text is the same for
    // all, so the rule is armed when the run paints that voucher.
    class ArmaEnElComprobante final : public ProgresoAnulacion
    {
    public:
        ArmaEnElComprobante(ado::RecordingProvider &p, int n, ado::Error e)
            : proveedor(p)
            , cual(n)
            , error(std::move(e))
        {}
        void Muestra() override {}
        void Pinta(double, const QString &) override
        {
            if (++pintadas == cual)
                proveedor.fail(QStringLiteral("COMMIT TRANSACTION"), error, 1);
        }
        void Oculta() override {}

    private:
        ado::RecordingProvider &proveedor;
        int cual;
        ado::Error error;
        int pintadas = 0;
    };

    // Replaces the open file's engine; TearDown's CierraConexion closes it.
    ado::RecordingProvider &Graba()
    {
        auto p = std::make_unique<ado::RecordingProvider>(ado::Platform::SqlServer);
        ado::RecordingProvider &ref = *p;
        // Every voucher's header is there to delete: the run counts it.
        ref.affect(QStringLiteral("DELETE V_MV_CPTE WHERE"), 1);
        gDB().gCnn().attachProvider(std::move(p));
        return ref;
    }

    static ado::RowSet Claves(const std::vector<std::pair<QString, int>> &claves)
    {
        ado::RowSet set;
        set.columns = {{QStringLiteral("TC"), ado::ColumnKind::Text, 4, {}, {}},
                       {QStringLiteral("IdComprobante"), ado::ColumnKind::Text, 13, {}, {}},
                       {QStringLiteral("IdComplemento"), ado::ColumnKind::Integer, 4, {}, {}}};
        for (const auto &[id, complemento] : claves)
            set.rows.push_back({Variant(kRM), Variant(id), Variant(complemento)});
        return set;
    }
};

TEST_P(CommitQueFalla, PreguntaCitandoElErrorYDeshace)
{
    const int respuesta = GetParam();
    const QString a = QStringLiteral("000100000001A"), b = QStringLiteral("000100000002A"),
                  c = QStringLiteral("000100000003A");
    ado::RecordingProvider &proveedor = Graba();
    proveedor.answer(QStringLiteral("SELECT TC, IdComprobante, IdComplemento FROM V_MV_CPTE"),
                     Claves({{a, 0}, {b, 1}, {c, 0}}));
    ado::Error error;
    error.Number = -2147217900;
    error.Description = QStringLiteral("The transaction ended in the trigger. The batch has been aborted.");
    error.NativeError = 3609;
    ArmaEnElComprobante falla(proveedor, 2, error);

    ui::ScopedResponder scope(respuestas);
    respuestas.answer(respuesta).answer(ui::vbOK);
    const ResultadoAnulacion r = AnulaComprobantes(QStringLiteral("RM"), QStringLiteral("31/12/2025"), falla);

    EsperaPreguntaDeError(respuestas, error.Description);
    EXPECT_EQ(r.fallidos, 1);

    const QString commit = QStringLiteral("Execute COMMIT TRANSACTION");
    const QString rollback = QStringLiteral("Execute ROLLBACK TRANSACTION");
    const auto lote = [](const QString &id, int complemento) {
        return QStringLiteral("Execute ") + SentenciaBorrado(kRM, id, complemento);
    };
    // The failed commit is followed at once by the rollback; the first
    // voucher's commit stood and is not undone.
    QStringList esperadas{lote(a, 0), commit, lote(b, 1), commit, rollback};
    const QStringList llamadas = proveedor.calls();
    ASSERT_FALSE(llamadas.isEmpty());
    EXPECT_TRUE(llamadas.first().startsWith(
        QStringLiteral("Query SELECT TC, IdComprobante, IdComplemento FROM V_MV_CPTE WHERE TC = '  RM' AND FECHA < ")))
        << llamadas.first().toStdString();
    const QStringList log = LineasLog();
    if (respuesta == ui::vbYes) {
        esperadas << lote(c, 0) << commit;
        EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Normal);
        EXPECT_EQ(r.anulados, 2);
        ASSERT_EQ(respuestas.requests().size(), 2u);
        EXPECT_EQ(respuestas.last().prompt,
                  QStringLiteral("Anulado con Errores, se actualizaron 2 registros, fallaron 1 registros "));
        EXPECT_EQ(respuestas.last().title, QStringLiteral("Aviso al Operador"));
        EXPECT_EQ(respuestas.last().style, ui::vbExclamation);
        ASSERT_EQ(log.size(), 2);
        EXPECT_EQ(log[1], QStringLiteral("Registros Anulados 2 Usuario Sistema: %1").arg(gUsuarioLogeado));
    } else {
        EXPECT_EQ(r.fin, ResultadoAnulacion::Fin::Detenida);
        EXPECT_EQ(r.anulados, 1);
        EXPECT_EQ(respuestas.requests().size(), 1u); // no final message
        EXPECT_EQ(respuestas.pending(), 1);
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log[0].startsWith(QStringLiteral("PC: ")));
    }
    EXPECT_EQ(llamadas.mid(1), esperadas);
    EXPECT_EQ(proveedor.transactionLevel(), 0);
    EXPECT_EQ(respuestas.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Respuestas,
                         CommitQueFalla,
                         ::testing::Values(int(ui::vbYes), int(ui::vbNo)),
                         [](const ::testing::TestParamInfo<int> &i) {
                             return i.param == ui::vbYes ? std::string("Si") : std::string("No");
                         });

} // namespace
