#pragma once

#include <QComboBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <map>

namespace ui {

// An editable combo box as an element of a control array. Change fires for
// every change of the text, also one the program makes; Click for a pick from
// the drop-down list.
class ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(int index, QWidget *parent = nullptr);

    int Index() const { return m_index; }
    QString Text() const { return currentText(); }
    void setText(const QString &text);
    // What the box carries for its owner (a field name, for one).
    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    // BGR.
    long BackColor() const { return m_backColor; }
    void setBackColor(long bgr);

signals:
    void GotFocus();
    void LostFocus();
    void Change();
    void Click();
    // A handler that sets KeyCode to 0 keeps the box from acting on the key.
    void KeyDown(int &KeyCode, int Shift);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_index;
    QString m_tag;
    long m_backColor = 0xFFFFFF;
};

// A control array of combo boxes: element 0 exists from the start; others
// are loaded at run time as copies of element 0 (tool tip, font, height),
// hidden, and placed in the tab order right after the element before them.
// The events of every element arrive with its index.
class ComboBoxArray : public QObject
{
    Q_OBJECT
public:
    explicit ComboBoxArray(QWidget *container);

    // Error 340 when the element is not loaded.
    ComboBox *Item(int index) const;
    ComboBox *operator()(int index) const { return Item(index); }
    bool IsLoaded(int index) const;
    // Loads element index; an element already loaded stays as it is, and the
    // answer is then false.
    bool Load(int index);
    int Count() const { return int(m_boxes.size()); }
    int UBound() const;

signals:
    void GotFocus(int Index);
    void LostFocus(int Index);
    void Change(int Index);
    void Click(int Index);
    void KeyDown(int Index, int &KeyCode, int Shift);

private:
    ComboBox *create(int index);
    QWidget *m_container;
    std::map<int, QPointer<ComboBox>> m_boxes;
};

} // namespace ui
