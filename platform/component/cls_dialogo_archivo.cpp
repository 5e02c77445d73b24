#include "platform/component/cls_dialogo_archivo.h"

#include "platform/runtime/app.h"
#include "platform/ui/ui.h"

#include <QStringList>

namespace {

// "Textos|*.txt|Todos|*.*" (the platform's pairs) becomes Qt's
// "Textos (*.txt);;Todos (*)"; a filter already in Qt's form passes through.
QString qtFilter(const QString &description)
{
    if (description.isEmpty() || !description.contains(QLatin1Char('|')))
        return description;
    const QStringList parts = description.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns);
    }
    if (parts.size() % 2)
        filters << parts.back().trimmed();
    return filters.join(QStringLiteral(";;"));
}

} // namespace

void ClsDialogoArchivo::MuestraAbrir()
{
    const QString folder = CarpetaInicial.isEmpty() ? AppPath() : CarpetaInicial;
    NombreArchivo = ui::GetOpenFileName(Titulo, qtFilter(DescripcionTipo), folder);
    FueCancelado = NombreArchivo.isEmpty();
}
