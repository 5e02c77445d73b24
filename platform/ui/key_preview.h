#pragma once

#include <QObject>
#include <QPointer>

class QEvent;
class QWidget;

namespace ui {

// A window's key preview: every key pressed in the window, whichever of its
// controls has the focus, reaches KeyDown before the control sees it. A
// handler that sets KeyCode to 0 consumes the key.
class KeyPreview : public QObject
{
    Q_OBJECT
public:
    explicit KeyPreview(QWidget *window);
    ~KeyPreview() override;

signals:
    void KeyDown(int &KeyCode, int Shift);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_window;
    // The key event last previewed and its first receiver: the same event
    // travelling up to a parent is not previewed twice.
    const QEvent *m_lastEvent = nullptr;
    QPointer<QWidget> m_lastReceiver;
};

} // namespace ui
