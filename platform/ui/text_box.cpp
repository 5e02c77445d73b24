#include "platform/ui/text_box.h"

#include "platform/ui/key_codes.h"
#include "platform/ui/units.h"

#include <QKeyEvent>

#include <algorithm>

namespace ui {

namespace {
constexpr int kNoLimit = 32767;
}

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    QLineEdit::setMaxLength(kNoLimit);
}

void TextBox::setMaxLength(int length)
{
    m_maxLength = std::max(length, 0);
    QLineEdit::setMaxLength(m_maxLength == 0 ? kNoLimit : m_maxLength);
}

void TextBox::setSelStart(int start)
{
    setCursorPosition(std::clamp(start, 0, int(text().size())));
}

int TextBox::Left() const
{
    return PixelsToTwips(x());
}
void TextBox::setLeft(int twips)
{
    move(TwipsToPixels(twips), y());
}
int TextBox::Top() const
{
    return PixelsToTwips(y());
}
void TextBox::setTop(int twips)
{
    move(x(), TwipsToPixels(twips));
}
int TextBox::Width() const
{
    return PixelsToTwips(width());
}
void TextBox::setWidth(int twips)
{
    resize(TwipsToPixels(twips), height());
}
int TextBox::Height() const
{
    return PixelsToTwips(height());
}
void TextBox::setHeight(int twips)
{
    resize(width(), TwipsToPixels(twips));
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    const KeyOutcome key = DispatchKey(
        *event,
        [this](int &code, int shift) { emit KeyDown(code, shift); },
        [this](int &ascii) { emit KeyPress(ascii); });
    if (key.cancelled)
        return;
    if (key.keyAscii != key.typed) {
        if (key.keyAscii >= 32)
            insert(QString(QChar(key.keyAscii)));
        event->accept();
        return;
    }
    // Enter and Escape end an edit through KeyDown; they never reach the form.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace ui
