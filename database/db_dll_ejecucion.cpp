#include "database/db_dll.h"

#include "platform/ado/sql_text.h"

#include "platform/component/cls_componente.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

#include <array>

namespace {

// Failures the caller is left to find in the connection's error collection:
// the provider's generic failure, constraints, missing tables, command errors.
constexpr std::array<std::int32_t, 4> kSilentFailures{
    ado::E_FAIL_,
    ado::DB_E_INTEGRITYVIOLATION,
    ado::DB_E_NOTABLE,
    ado::DB_E_ERRORSINCOMMAND,
};

bool FallaSilenciosa(std::int32_t number)
{
    for (std::int32_t n : kSilentFailures)
        if (n == number)
            return true;
    return false;
}

// The server's native error for text or binary data that would be truncated.
constexpr std::int32_t kTruncamiento = 8152;

} // namespace

bool FallaNoInformada(const ado::Error &error)
{
    // A refused truncation stays in the collection for the caller: the row was not written.
    return FallaSilenciosa(error.Number) || error.NativeError == kTruncamiento;
}

void DB_Dll::EjecutaConsultaSQL(QString &SentenciaSQL, std::int32_t *RecordsAffected)
{
    // One handler for the whole run: it reports (or not) and the run ends;
    // nothing is retried and nothing reaches the caller.
    Steps run([&](const ErrObject &err) {
        ado::Errors &errors = gCnn().errors();
        const bool transaction = vb::ContainsText(ado::codeOutsideQuotes(SentenciaSQL), QStringLiteral("TRANS"));
        if (transaction)
            return 0;
        const bool callada = errors.Count() > 0 ? FallaNoInformada(errors.Item(0)) : FallaSilenciosa(err.Number);
        if (!callada)
            ui::MsgBox(err.Description, ui::vbCritical, QStringLiteral("Aviso al operador!!!"));
        return 0;
    });

    // The collection tells of this call only, also when nothing reaches the server.
    gCnn().errors().Clear();
    run([&] {
        // A text without "@" names no owner to remove.
        // Words inside quoted texts are data: only a text that holds both words
        // at all is read outside its quotes.
        const auto dropAndCreate = [&] {
            if (!vb::ContainsText(SentenciaSQL, QStringLiteral("DROP"))
                || !vb::ContainsText(SentenciaSQL, QStringLiteral("CREATE")))
                return false;
            const QString s = ado::codeOutsideQuotes(SentenciaSQL);
            return vb::ContainsText(s, QStringLiteral("DROP")) && vb::ContainsText(s, QStringLiteral("CREATE"))
                   && !vb::ContainsText(s, QStringLiteral("DELETE")) && !vb::ContainsText(s, QStringLiteral("@ADMIN_"));
        };
        if (dropAndCreate())
            SentenciaSQL = SS_TSinonimos(SentenciaSQL);
        else if (SentenciaSQL.contains(QLatin1Char('@')))
            SentenciaSQL = ado::replaceOutsideQuotes(SentenciaSQL, QStringLiteral("@Admin_"), QString());

        if (gCnn().platform() == ado::Platform::Oracle) {
            EjecutaScriptOracle(SentenciaSQL, RecordsAffected);
        } else {
            gCnn().Execute(SentenciaSQL, RecordsAffected, -1);
        }
    });
}

void DB_Dll::AbrirRecordset(QString &SentenciaSQL,
                            ado::Recordset &Lrcs,
                            ado::Connection *ConexionActiva,
                            int CursorType,
                            int LockType,
                            int Options,
                            bool ConvOracle)
{
    Steps step([&](const ErrObject &err) {
        return mComponente().MuestraError(err, Variant(), QStringLiteral("AbrirRecordset"));
    });

    ado::Connection &connection = ConexionActiva ? *ConexionActiva : gCnn();
    // A caller may reuse one recordset for successive queries.
    if (Lrcs.State() != ado::adStateClosed)
        step([&] { CierraRecordset(&Lrcs); });
    step([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); });
    const bool oracle = ConvOracle && connection.platform() == ado::Platform::Oracle;
    step([&] {
        Lrcs.Open(oracle ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL, connection, CursorType, LockType, Options);
    });
    // Leaving on the operator's answer: the recordset is left closed.
    if (step.leaving() && Lrcs.State() != ado::adStateClosed) {
        try {
            Lrcs.Close();
        } catch (const VbException &) {
        }
    }
}

void DB_Dll::CierraRecordset(ado::Recordset *LRCSTEMP)
{
    if (!LRCSTEMP)
        return;
    Steps step = Pasos(QStringLiteral("CierraRecordset"), *this);
    // The state is read again on a retry: a recordset that did close is left alone.
    step([&] {
        if (LRCSTEMP->State() != ado::adStateClosed)
            LRCSTEMP->Close();
    });
}
