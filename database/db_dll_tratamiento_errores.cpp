#include "database/db_dll.h"

#include "platform/runtime/app.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/files.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

namespace {

QString PalabraDeRespuesta(int respuesta)
{
    switch (respuesta) {
    case ui::vbCancel:
        return QStringLiteral("Cancelar");
    case ui::vbAbort:
        return QStringLiteral("Abortar");
    case ui::vbRetry:
        return QStringLiteral("Reintentar");
    case ui::vbIgnore:
        return QStringLiteral("Ignorar");
    case ui::vbYes:
        return QStringLiteral("Sí");
    case ui::vbNo:
        return QStringLiteral("No");
    default:
        return {};
    }
}

} // namespace

Steps Pasos(const QString &rutina, DB_Dll &db)
{
    return Steps([&db, rutina](const ErrObject &err) { return db.TratamientoErrores(err, std::nullopt, rutina); });
}

std::int16_t DB_Dll::TratamientoErrores(const ErrObject &CodErr,
                                        std::optional<int> Botones,
                                        std::optional<QString> Rutina)
{
    // The treatment must never fail itself: a step that fails is skipped and
    // the next one runs, so the operator's answer always comes back.
    Steps paso = Steps::IgnoringErrors();

    QString rutaLog;
    paso([&] {
        rutaLog = gLogErr.isEmpty() ? vb::WithTrailingSeparator(AppPath()) + QStringLiteral("VGERR.LOG") : gLogErr;
    });

    const QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(CodErr.Number)
                            + QStringLiteral(") ") + vb::Trim(CodErr.Description);
    const QString rutina = Rutina ? QStringLiteral(" - ") + *Rutina : QString();
    const QString titulo = CodErr.Source + rutina + QStringLiteral(" Aviso al operador!!! ");
    const int estilo = Botones.value_or(ui::vbAbortRetryIgnore + ui::vbCritical);

    if (CodErr.Number == 0)
        return 0;

    int respuesta = 0;
    paso([&] { respuesta = ui::MsgBox(mensaje, estilo, titulo); });

    paso([&] {
        const QDateTime ahora = vb::Now();
        const QString linea = vb::ErrorLogDate(ahora) + QLatin1Char(' ') + vb::ErrorLogTime(ahora)
                              + QStringLiteral(" Rutina: ") + vb::Trim(rutina) + QStringLiteral(" Mensaje ")
                              + vb::Trim(mensaje) + QStringLiteral(" Respondió : ") + PalabraDeRespuesta(respuesta);
        vb::SequentialFile archivo(rutaLog, vb::OpenMode::Append);
        archivo.PrintLine(linea);
        archivo.Close();
    });

    return std::int16_t(respuesta);
}
