#include "platform/ui/combo_box_array.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/key_preview.h"
#include "platform/ui/list_view.h"
#include "platform/ui/ui.h"
#include "platform/ui/units.h"
#include "tests/support/error_provocado.h"
#include "tests/support/impresion_qt.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace ui;

// A window with a row of boxes, a button created after box 0 and a list.
class FilaDeCajas : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(600, 300);
        boxes = new ComboBoxArray(&window);
        boxes->Item(0)->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
        after = new QPushButton(QStringLiteral("despues"), &window);
        after->move(0, 200);
        list = new ListView(&window);
        list->move(0, 60);
        QObject::connect(boxes, &ComboBoxArray::GotFocus, [this](int i) { events << QStringLiteral("got%1").arg(i); });
        QObject::connect(boxes, &ComboBoxArray::LostFocus, [this](int i) { events << QStringLiteral("lost%1").arg(i); });
        QObject::connect(boxes, &ComboBoxArray::Change, [this](int i) { events << QStringLiteral("change%1").arg(i); });
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
    static bool focused(QWidget *w)
    {
        QWidget *f = QApplication::focusWidget();
        return f && (f == w || w->isAncestorOf(f));
    }
    QStringList events; // outlives the window, whose boxes lose the focus as it goes
    QWidget window;
    ComboBoxArray *boxes = nullptr;
    QPushButton *after = nullptr;
    ListView *list = nullptr;
};

TEST_F(FilaDeCajas, LoadGrowsTheArrayAndABoxAlreadyThereStays)
{
    boxes->Item(0)->setText(QStringLiteral("ab"));
    EXPECT_FALSE(boxes->Load(0));
    EXPECT_EQ(boxes->Item(0)->Text(), QStringLiteral("ab"));
    EXPECT_EQ(RaisedNumber([&] { boxes->Item(1); }), vberr::ControlArrayElementMissing);

    ASSERT_TRUE(boxes->Load(1));
    ASSERT_TRUE(boxes->Load(2));
    boxes->Item(1)->setText(QStringLiteral("x"));
    EXPECT_FALSE(boxes->Load(1));
    EXPECT_EQ(boxes->Item(1)->Text(), QStringLiteral("x"));
    EXPECT_EQ(boxes->Count(), 3);
    EXPECT_EQ(boxes->UBound(), 2);
    // A new box is a hidden copy of box 0.
    EXPECT_FALSE(boxes->Item(2)->isVisible());
    EXPECT_EQ(boxes->Item(2)->toolTip(), QStringLiteral("F5 realiza nueva busqueda"));
    EXPECT_EQ(boxes->Item(2)->Index(), 2);
}

TEST_F(FilaDeCajas, NewBoxesFollowBoxZeroInTheTabOrder)
{
    boxes->Load(1);
    boxes->Load(2);
    for (int i = 0; i < 3; ++i) {
        boxes->Item(i)->move(i * 150, 0);
        boxes->Item(i)->setVisible(true);
    }
    boxes->Item(0)->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(focused(boxes->Item(0)));
    const QWidget *expected[] = {boxes->Item(1), boxes->Item(2), after};
    for (const QWidget *w : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_TRUE(focused(const_cast<QWidget *>(w))) << w->objectName().toStdString();
    }
}

TEST_F(FilaDeCajas, EventsArriveWithTheBoxsIndex)
{
    boxes->Load(1);
    boxes->Item(1)->setVisible(true);
    boxes->Item(1)->move(150, 0);
    boxes->Item(0)->setFocus();
    QApplication::processEvents();
    boxes->Item(1)->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("a"));
    boxes->Item(0)->setText(QStringLiteral("por programa"));
    EXPECT_EQ(events, (QStringList{"got0", "lost0", "got1", "change1", "change0"}));
}

TEST_F(FilaDeCajas, AKeyConsumedInABoxDoesNotReachItsText)
{
    ComboBox *box = boxes->Item(0);
    box->setFocus();
    QApplication::processEvents();
    QList<std::pair<int, int>> seen;
    QObject::connect(boxes, &ComboBoxArray::KeyDown, [&](int index, int &KeyCode, int) {
        seen.append({index, KeyCode});
        if (KeyCode == vbKeyA + 1)
            KeyCode = 0;
    });
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    EXPECT_EQ(box->Text(), QStringLiteral("ac"));
    EXPECT_EQ(seen, (QList<std::pair<int, int>>{{0, 65}, {0, 66}, {0, 67}, {0, vbKeyF5}}));
}

TEST_F(FilaDeCajas, BoxesArePlacedInTwipsAndReadBackAsPlaced)
{
    ComboBox *box = boxes->Item(0);
    SetLeft(*box, 1234);
    SetWidth(*box, 975.5);
    EXPECT_EQ(Left(*box), 1234);
    EXPECT_EQ(Width(*box), 975.5);
    EXPECT_EQ(box->x(), TwipsToPixels(1234));
    EXPECT_EQ(RaisedNumber([&] { SetWidth(*box, -10); }), vberr::InvalidPropertyValue);
    EXPECT_EQ(Width(*box), 975.5);
    // Moved by other means, the box reads its pixels back.
    box->move(30, 0);
    EXPECT_DOUBLE_EQ(Left(*box), PixelsToTwips(30));
}

TEST_F(FilaDeCajas, ABoxsBackColourIsKeptInBGR)
{
    ComboBox *box = boxes->Item(0);
    box->setBackColor(16776960);
    EXPECT_EQ(box->BackColor(), 16776960);
    EXPECT_EQ(box->lineEdit()->palette().color(QPalette::Base), QColor(0, 255, 255));
}

// ---- The key preview ----

TEST_F(FilaDeCajas, KeyPreviewSeesEveryKeyFirstOnceAndCanConsumeIt)
{
    KeyPreview preview(&window);
    QStringList order;
    QObject::connect(&preview, &KeyPreview::KeyDown, [&](int &KeyCode, int) {
        order << QStringLiteral("form%1").arg(KeyCode);
        if (KeyCode == vbKeyF12)
            KeyCode = 0;
    });
    QObject::connect(list, &ListView::KeyDown, [&](int &KeyCode, int) {
        order << QStringLiteral("list%1").arg(KeyCode);
    });
    QObject::connect(boxes, &ComboBoxArray::KeyDown, [&](int, int &KeyCode, int) {
        order << QStringLiteral("box%1").arg(KeyCode);
    });
    list->setFocus();
    QApplication::processEvents();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_F12);
    boxes->Item(0)->setFocus();
    QApplication::processEvents();
    // F3 means nothing to the box: it travels up to the window, previewed once.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    EXPECT_EQ(order, (QStringList{"form40", "list40", "form123", "form114", "box114", "form123"}));
}

} // namespace
