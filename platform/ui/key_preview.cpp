#include "platform/ui/key_preview.h"

#include "platform/ui/key_codes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {

KeyPreview::KeyPreview(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_window || !watched->isWidgetType())
        return false;
    auto *receiver = static_cast<QWidget *>(watched);
    if (receiver->window() != m_window)
        return false;
    // A key goes to the focused control first and may travel up to its
    // parents; only its first stop is previewed.
    QWidget *focus = QApplication::focusWidget();
    if (focus && receiver != focus && receiver->isAncestorOf(focus))
        return false;
    if (event == m_lastEvent && m_lastReceiver && receiver != m_lastReceiver && receiver->isAncestorOf(m_lastReceiver))
        return false;
    m_lastEvent = event;
    m_lastReceiver = receiver;
    auto *key = static_cast<QKeyEvent *>(event);
    return DispatchKey(*key, [this](int &code, int shift) { emit KeyDown(code, shift); }).cancelled;
}

} // namespace ui
