#include "platform/ui/combo_box_array.h"

#include "platform/runtime/vberror.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/units.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

namespace ui {

ComboBox::ComboBox(int index, QWidget *parent)
    : QComboBox(parent)
    , m_index(index)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The box's own completion would change what the operator typed.
    setCompleter(nullptr);
    connect(this, &QComboBox::editTextChanged, this, [this] { emit Change(); });
    connect(this, &QComboBox::activated, this, [this] { emit Click(); });
}

void ComboBox::setText(const QString &text)
{
    setEditText(text);
}

void ComboBox::setBackColor(long bgr)
{
    m_backColor = bgr;
    QPalette p = palette();
    p.setColor(QPalette::Base, FromBGR(bgr));
    setPalette(p);
    if (QLineEdit *edit = lineEdit()) {
        QPalette ep = edit->palette();
        ep.setColor(QPalette::Base, FromBGR(bgr));
        edit->setPalette(ep);
    }
}

void ComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    emit GotFocus();
}

void ComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    emit LostFocus();
}

void ComboBox::keyPressEvent(QKeyEvent *event)
{
    if (DispatchKey(*event, [this](int &code, int shift) { emit KeyDown(code, shift); }).cancelled)
        return;
    QComboBox::keyPressEvent(event);
}

ComboBoxArray::ComboBoxArray(QWidget *container)
    : QObject(container)
    , m_container(container)
{
    create(0);
}

ComboBox *ComboBoxArray::create(int index)
{
    auto *box = new ComboBox(index, m_container);
    box->setObjectName(QStringLiteral("CmbSearch_%1").arg(index));
    connect(box, &ComboBox::GotFocus, this, [this, index] { emit GotFocus(index); });
    connect(box, &ComboBox::LostFocus, this, [this, index] { emit LostFocus(index); });
    connect(box, &ComboBox::Change, this, [this, index] { emit Change(index); });
    connect(box, &ComboBox::Click, this, [this, index] { emit Click(index); });
    connect(box, &ComboBox::KeyDown, this, [this, index](int &KeyCode, int Shift) {
        emit KeyDown(index, KeyCode, Shift);
    });
    m_boxes[index] = box;
    return box;
}

ComboBox *ComboBoxArray::Item(int index) const
{
    const auto it = m_boxes.find(index);
    if (it == m_boxes.end() || !it->second)
        Raise(vberr::ControlArrayElementMissing);
    return it->second;
}

bool ComboBoxArray::IsLoaded(int index) const
{
    const auto it = m_boxes.find(index);
    return it != m_boxes.end() && it->second;
}

bool ComboBoxArray::Load(int index)
{
    if (index < 0)
        Raise(vberr::InvalidCall);
    if (IsLoaded(index))
        return false;
    ComboBox *first = Item(0);
    ComboBox *box = create(index);
    box->setToolTip(first->toolTip());
    box->setFont(first->font());
    box->resize(first->width(), first->height());
    box->setBackColor(first->BackColor());
    box->hide();
    // Right after the loaded element before it in the tab order.
    auto it = m_boxes.find(index);
    while (it != m_boxes.begin()) {
        --it;
        if (it->second) {
            QWidget::setTabOrder(it->second, box);
            break;
        }
    }
    return true;
}

int ComboBoxArray::UBound() const
{
    return m_boxes.empty() ? -1 : m_boxes.rbegin()->first;
}

} // namespace ui
