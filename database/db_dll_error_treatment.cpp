#include "database/db_dll.h"

#include "platform/runtime/app.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/files.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

namespace {

QString AnswerWord(int answer)
{
    switch (answer) {
    case ui::vbCancel: return QStringLiteral("Cancelar");
    case ui::vbAbort: return QStringLiteral("Abortar");
    case ui::vbRetry: return QStringLiteral("Reintentar");
    case ui::vbIgnore: return QStringLiteral("Ignorar");
    case ui::vbYes: return QStringLiteral("Sí");
    case ui::vbNo: return QStringLiteral("No");
    default: return {};
    }
}

} // namespace

Steps Pasos(const QString &rutina, DB_Dll &db)
{
    return Steps([&db, rutina](const ErrObject &err) { return db.TratamientoErrores(err, std::nullopt, rutina); });
}

std::int16_t DB_Dll::TratamientoErrores(const ErrObject &CodErr, std::optional<int> Botones,
                                        std::optional<QString> Rutina)
{
    // The treatment must never fail itself: a step that fails is skipped and
    // the next one runs, so the operator's answer always comes back.
    Steps step = Steps::IgnoringErrors();

    QString logPath;
    step([&] {
        logPath = gLogErr.isEmpty() ? vb::WithTrailingSeparator(AppPath()) + QStringLiteral("VGERR.LOG") : gLogErr;
    });

    const QString message = QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(CodErr.Number)
                            + QStringLiteral(") ") + vb::Trim(CodErr.Description);
    const QString routine = Rutina ? QStringLiteral(" - ") + *Rutina : QString();
    const QString title = CodErr.Source + routine + QStringLiteral(" Aviso al operador!!! ");
    const int style = Botones.value_or(ui::vbAbortRetryIgnore + ui::vbCritical);

    if (CodErr.Number == 0)
        return 0;

    int answer = 0;
    step([&] { answer = ui::MsgBox(message, style, title); });

    step([&] {
        const QDateTime now = vb::Now();
        const QString line = vb::ErrorLogDate(now) + QLatin1Char(' ') + vb::ErrorLogTime(now)
                             + QStringLiteral(" Rutina: ") + vb::Trim(routine) + QStringLiteral(" Mensaje ")
                             + vb::Trim(message) + QStringLiteral(" Respondió : ") + AnswerWord(answer);
        vb::SequentialFile log(logPath, vb::OpenMode::Append);
        log.PrintLine(line);
        log.Close();
    });

    return std::int16_t(answer);
}
