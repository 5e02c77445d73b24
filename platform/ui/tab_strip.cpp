#include "platform/ui/tab_strip.h"

#include "platform/runtime/vberror.h"

#include <QTabWidget>

namespace ui {

TabStrip::TabStrip(QTabWidget &tabs)
    : m_tabs(&tabs)
{}

Variant TabStrip::TabVisible(int index) const
{
    if (!m_tabs || index < 0 || index >= m_tabs->count())
        return Variant::null();
    return Variant(m_tabs->isTabVisible(index));
}

QString TabStrip::TabCaption(int index) const
{
    if (!m_tabs || index < 0 || index >= m_tabs->count())
        Raise(vberr::InvalidPropertyValue);
    return m_tabs->tabText(index);
}

int TabStrip::Tabs() const
{
    return m_tabs ? m_tabs->count() : 0;
}

} // namespace ui
