#pragma once

// Input as the window system queues it, for tests of what a window does with
// events that arrive while it is busy.

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>

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
