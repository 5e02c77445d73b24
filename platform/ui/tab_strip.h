#pragma once

#include "platform/runtime/variant.h"

#include <QPointer>
#include <QString>

class QTabWidget;

namespace ui {

// The tab control a caller form hands to the voucher class: tabs from 0,
// read through their visibility and caption. Not owning.
class TabStrip
{
public:
    explicit TabStrip(QTabWidget &tabs);

    // Null for a tab the control does not have (or once the control is gone);
    // callers count Null as hidden.
    Variant TabVisible(int index) const;
    // A tab the control does not have is error 380.
    QString TabCaption(int index) const;
    int Tabs() const;

private:
    QPointer<QTabWidget> m_tabs;
};

} // namespace ui
