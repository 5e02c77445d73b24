#include "database/estilo_formularios.h"

#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QWidget>

namespace {

// An icon of the program's own resources, by name: one file, or the same
// name drawn at several sizes (:/icons/16/<name>.png, :/icons/32/...).
QIcon IconoDeRecursos(const QString &nombre)
{
    const QString candidatos[] = {QStringLiteral(":/") + nombre,
                                  QStringLiteral(":/") + nombre + QStringLiteral(".ico"),
                                  QStringLiteral(":/") + nombre + QStringLiteral(".png"),
                                  QStringLiteral(":/icons/") + nombre + QStringLiteral(".ico"),
                                  QStringLiteral(":/icons/") + nombre + QStringLiteral(".png")};
    for (const QString &ruta : candidatos) {
        if (QFileInfo::exists(ruta)) {
            QIcon icono(ruta);
            if (!icono.isNull())
                return icono;
        }
    }
    QIcon icono;
    for (int lado : {16, 24, 32, 48, 64}) {
        const QString ruta = QStringLiteral(":/icons/%1/%2.png").arg(lado).arg(nombre);
        if (QFileInfo::exists(ruta))
            icono.addFile(ruta, QSize(lado, lado));
    }
    return icono;
}

bool EsVentanaMarco(const QWidget *window)
{
    const QString tipo = QString::fromLatin1(window->metaObject()->className());
    return vb::EqualsText(tipo, QLatin1String("frmMDI"))
           || vb::EqualsText(window->objectName(), QLatin1String("frmMDI"));
}

} // namespace

QIcon IconoDelSistema()
{
    QIcon icono;
    Steps::IgnoringErrors()([&] {
        icono = IconoDeRecursos(gIni().LeeValor(QStringLiteral("VI000vi.INI"),
                                                QStringLiteral("Iconos"),
                                                QStringLiteral("IconoDelSistema"),
                                                QStringLiteral("ICONVELGORA")));
    });
    return icono;
}

void AplicaIconoYEstilo(QWidget *window)
{
    if (!window)
        return;
    Steps paso = Steps::IgnoringErrors();
    paso([&] {
        const QIcon icono = IconoDelSistema();
        if (!icono.isNull())
            window->setWindowIcon(icono);
    });
    paso([&] {
        // Only a window that still has no icon of its own takes the file.
        if (window->windowIcon().isNull() || !window->testAttribute(Qt::WA_SetWindowIcon)) {
            if (QFileInfo::exists(QStringLiteral("velgora.ico")))
                window->setWindowIcon(QIcon(QStringLiteral("velgora.ico")));
        }
    });
    if (EsVentanaMarco(window))
        return;
    paso([&] { gEntorno().AjustaFormulario(window); });
    for (const char *barra : {"UtilVel1", "TBarRep1", "Util0011"}) {
        paso([&] {
            if (QObject *toolbar = window->findChild<QObject *>(QLatin1String(barra)))
                toolbar->setProperty("StyleBar", gFlatToolbars.toDouble());
        });
    }
    paso([] { QCoreApplication::processEvents(); });
}
