#pragma once

// Input as the window system queues it, for tests of what a window does with
// events that arrive while it is busy.

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <QTabletEvent>
#include <QTouchEvent>

#include <algorithm>
#include <map>
#include <vector>

#include <gtest/gtest.h>

// A click: press and release on the button's middle, posted, not sent.
inline void EncolaClic(QPushButton &boton)
{
    const QPointF centro = QRectF(boton.rect()).center();
    const QPointF global = boton.mapToGlobal(centro);
    QCoreApplication::postEvent(&boton,
                                new QMouseEvent(QEvent::MouseButtonPress,
                                                centro,
                                                global,
                                                Qt::LeftButton,
                                                Qt::LeftButton,
                                                Qt::NoModifier));
    QCoreApplication::postEvent(&boton,
                                new QMouseEvent(QEvent::MouseButtonRelease,
                                                centro,
                                                global,
                                                Qt::LeftButton,
                                                Qt::NoButton,
                                                Qt::NoModifier));
}

// One event of the operator's input of the given type, as the window system
// would deliver it to the widget's middle: a context menu, text from an input
// method, touch, tablet. Posted, not sent.
inline void EncolaEntrada(QWidget &destino, QEvent::Type tipo)
{
    const QPointF centro = QRectF(destino.rect()).center();
    const QPointF global = destino.mapToGlobal(centro);
    QEvent *evento = nullptr;
    switch (tipo) {
    case QEvent::ContextMenu:
        evento = new QContextMenuEvent(QContextMenuEvent::Mouse, centro.toPoint(), global.toPoint());
        break;
    case QEvent::InputMethod: {
        auto *texto = new QInputMethodEvent;
        texto->setCommitString(QStringLiteral("x"));
        evento = texto;
        break;
    }
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        // A widget gets touch only when it takes it, and the rest of a touch
        // only once it took its start.
        destino.setAttribute(Qt::WA_AcceptTouchEvents);
        destino.setAttribute(Qt::WA_WState_AcceptedTouchBeginEvent);
        evento = new QTouchEvent(tipo);
        break;
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        evento = new QTabletEvent(tipo,
                                  QPointingDevice::primaryPointingDevice(),
                                  centro,
                                  global,
                                  0.5,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  Qt::NoModifier,
                                  Qt::LeftButton,
                                  Qt::LeftButton);
        break;
    default:
        ADD_FAILURE() << "no input of type " << int(tipo) << " is made here";
        return;
    }
    QCoreApplication::postEvent(&destino, evento);
}

// The operator's input besides keys, clicks and wheel turns that EncolaEntrada makes.
inline std::vector<QEvent::Type> OtraEntradaDelOperador()
{
    return {QEvent::ContextMenu,
            QEvent::InputMethod,
            QEvent::TouchBegin,
            QEvent::TouchUpdate,
            QEvent::TouchEnd,
            QEvent::TabletPress,
            QEvent::TabletRelease};
}

inline void EncolaEntradas(QWidget &destino, const std::vector<QEvent::Type> &tipos)
{
    for (QEvent::Type t : tipos)
        EncolaEntrada(destino, t);
}

// Counts the events of the given types that reach a widget, and keeps them
// from it (a context menu would open, a text would change).
class CuentaEntradas : public QObject
{
public:
    CuentaEntradas(QWidget &destino, std::vector<QEvent::Type> tipos)
        : m_destino(destino)
        , m_tipos(std::move(tipos))
    {
        destino.installEventFilter(this);
    }
    ~CuentaEntradas() override { m_destino.removeEventFilter(this); }
    int de(QEvent::Type tipo) const
    {
        const auto it = m_vistas.find(tipo);
        return it == m_vistas.end() ? 0 : it->second;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (std::find(m_tipos.begin(), m_tipos.end(), event->type()) == m_tipos.end())
            return false;
        ++m_vistas[event->type()];
        return true;
    }

private:
    QWidget &m_destino;
    std::vector<QEvent::Type> m_tipos;
    std::map<QEvent::Type, int> m_vistas;
};
