#include "platform/component/cls_entorno.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>
#include <QWidget>

#include <pwd.h>
#include <unistd.h>

QString ClsEntorno::NombrePC()
{
    return QSysInfo::machineHostName();
}

QString ClsEntorno::UsuarioPC()
{
    if (const passwd *pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    for (const char *name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

void ClsEntorno::AjustaFormulario(QWidget *window)
{
    if (!window || !window->isWindow())
        return;
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QSize size = window->size();
    size = size.boundedTo(area.size());
    if (size != window->size())
        window->resize(size);
    QPoint at = window->pos();
    at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - size.width() + 1)));
    at.setY(qBound(area.top(), at.y(), qMax(area.top(), area.bottom() - size.height() + 1)));
    if (at != window->pos())
        window->move(at);
}
