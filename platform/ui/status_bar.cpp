#include "platform/ui/status_bar.h"

#include "platform/runtime/vberror.h"

namespace ui {

StatusPanel::StatusPanel(const QString &key, QWidget *parent)
    : QLabel(parent)
    , m_key(key)
{}

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
{}

int StatusBar::AddPanel(const QString &Key, const QString &Text)
{
    auto *panel = new StatusPanel(Key, this);
    panel->setText(Text);
    addPermanentWidget(panel, 1);
    m_panels.push_back(panel);
    return Count();
}

StatusPanel &StatusBar::Panels(int index) const
{
    if (index < 1 || index > Count())
        Raise(vberr::IndexOutOfBounds);
    return *m_panels[std::size_t(index - 1)];
}

} // namespace ui
