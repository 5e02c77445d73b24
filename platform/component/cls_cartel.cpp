#include "platform/component/cls_cartel.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

ClsCartel::ClsCartel() = default;

ClsCartel::~ClsCartel()
{
    // The module object outlives the application at exit; a window can only
    // be destroyed while the application exists.
    if (m_window && QCoreApplication::instance())
        delete m_window.data();
}

void ClsCartel::ensureWindow()
{
    if (m_window)
        return;
    auto *window = new QFrame(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->setObjectName(QStringLiteral("Cartel"));
    window->setFrameStyle(QFrame::Panel | QFrame::Raised);
    window->setLineWidth(2);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(18, 12, 18, 12);
    m_title = new QLabel(window);
    m_title->setObjectName(QStringLiteral("lblTitulo"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setAlignment(Qt::AlignCenter);
    m_text = new QLabel(window);
    m_text->setObjectName(QStringLiteral("lblTexto"));
    m_text->setAlignment(Qt::AlignCenter);
    m_detail = new QLabel(window);
    m_detail->setObjectName(QStringLiteral("lblDetalle"));
    m_detail->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_title);
    layout->addWidget(m_text);
    layout->addWidget(m_detail);
    window->setMinimumWidth(320);
    m_window = window;
}

void ClsCartel::Muestra(const QString &text, int option)
{
    Actualiza(option, text, QString());
}

void ClsCartel::Actualiza(int option, const QString &title, const QString &detail)
{
    Actualiza(option, title, QString(), detail);
}

void ClsCartel::Actualiza(int option, const QString &title, const QString &text, const QString &detail)
{
    (void) option; // one kind of banner
    ensureWindow();
    m_title->setText(title);
    m_text->setText(text);
    m_text->setVisible(!text.isEmpty());
    m_detail->setText(detail);
    m_detail->setVisible(!detail.isEmpty());
    m_window->adjustSize();
    if (!m_window->isVisible()) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = m_window->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            m_window->move(frame.topLeft());
        }
        m_window->show();
    }
    // The banner runs during long work that does not return to the event
    // loop: let it paint now.
    m_window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ClsCartel::Cierra()
{
    if (!m_window)
        return;
    m_window->hide();
    delete m_window.data();
    m_title = nullptr;
    m_text = nullptr;
    m_detail = nullptr;
}

bool ClsCartel::Visible() const
{
    return m_window && m_window->isVisible();
}

QString ClsCartel::Titulo() const
{
    return m_window ? m_title->text() : QString();
}

QString ClsCartel::Texto() const
{
    return m_window ? m_text->text() : QString();
}

QString ClsCartel::Detalle() const
{
    return m_window ? m_detail->text() : QString();
}
