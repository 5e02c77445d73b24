#pragma once

#include <QLineEdit>
#include <QString>

namespace ui {

// The edit box that the voucher class and the lot dialogs are handed: a
// one-line text with the names the suite's code sets on it. Place in twips.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString &name) { setObjectName(name); }
    // The value being edited.
    QString DataField() const { return m_dataField; }
    void setDataField(const QString &field) { m_dataField = field; }
    // 0: no limit.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length);
    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    QString Text() const { return text(); }
    void setText(const QString &text) { QLineEdit::setText(text); }
    // Caret position, from 0; beyond the end puts it at the end.
    int SelStart() const { return cursorPosition(); }
    void setSelStart(int start);
    bool Visible() const { return isVisible(); }
    void setVisible(bool visible) override { QLineEdit::setVisible(visible); }

    int Left() const;
    void setLeft(int twips);
    int Top() const;
    void setTop(int twips);
    int Width() const;
    void setWidth(int twips);
    int Height() const;
    void setHeight(int twips);

signals:
    // A typed character; a handler may change it, or cancel it with 0.
    void KeyPress(int &KeyAscii);
    // A key went down: its virtual-key code and shift state. A handler that
    // sets KeyCode to 0 keeps the box from acting on it.
    void KeyDown(int &KeyCode, int Shift);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_dataField;
    QString m_tag;
    int m_maxLength = 0;
};

} // namespace ui
