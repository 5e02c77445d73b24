#include "platform/ui/toolbar.h"

#include "platform/runtime/vberror.h"
#include "platform/ui/image_list.h"

#include <QAction>
#include <QToolButton>

namespace ui {

Toolbar::Toolbar(QWidget *parent)
    : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

int Toolbar::AddButton(const QString &ToolTipText, int Image, const QString &Key)
{
    QIcon icon;
    if (Image != 0) {
        if (!m_images)
            Raise(vberr::IndexOutOfBounds);
        icon = m_images->ListImages(Image).Picture;
    }
    QAction *action = addAction(icon, ToolTipText);
    action->setToolTip(ToolTipText);
    const int index = ButtonCount() + 1;
    m_buttons.push_back({action, Key});
    if (QWidget *button = widgetForAction(action))
        button->setFocusPolicy(Qt::NoFocus);
    connect(action, &QAction::triggered, this, [this, index] { emit ButtonClick(index); });
    return index;
}

const Toolbar::Boton &Toolbar::boton(int index) const
{
    if (index < 1 || index > ButtonCount())
        Raise(vberr::IndexOutOfBounds);
    return m_buttons[std::size_t(index - 1)];
}

QString Toolbar::ToolTipText(int index) const
{
    return boton(index).action->toolTip();
}

QString Toolbar::Key(int index) const
{
    return boton(index).key;
}

bool Toolbar::ButtonEnabled(int index) const
{
    return boton(index).action->isEnabled();
}

void Toolbar::setButtonEnabled(int index, bool enabled)
{
    boton(index).action->setEnabled(enabled);
}

QAction *Toolbar::Button(int index) const
{
    return boton(index).action;
}

} // namespace ui
