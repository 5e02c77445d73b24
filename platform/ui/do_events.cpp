#include "platform/ui/do_events.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace ui {

bool IsOperatorInput(QEvent::Type tipo)
{
    switch (tipo) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

namespace {

class DescartaEntrada final : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override { return IsOperatorInput(event->type()); }
};

} // namespace

void DoEvents()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    // A handler run from here may yield again: the outermost call filters.
    static int anidados = 0;
    static DescartaEntrada filtro;
    struct Nivel
    {
        QCoreApplication *app;
        explicit Nivel(QCoreApplication *a)
            : app(a)
        {
            if (anidados++ == 0)
                app->installEventFilter(&filtro);
        }
        ~Nivel()
        {
            if (--anidados == 0)
                app->removeEventFilter(&filtro);
        }
    } nivel(app);
    QCoreApplication::processEvents();
}

} // namespace ui
