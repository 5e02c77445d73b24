#include "platform/ui/toolbar.h"

#include "platform/ui/image_list.h"
#include "tests/support/error_provocado.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace ui;

QIcon Color(Qt::GlobalColor c)
{
    QPixmap p(16, 16);
    p.fill(c);
    return QIcon(p);
}

// A window with an edit box and a toolbar of three buttons, the edit box focused.
struct Ventana
{
    QWidget window;
    QLineEdit *edit = new QLineEdit(&window);
    ImageList images;
    Toolbar *bar = new Toolbar(&window);
    std::vector<int> clicks;

    Ventana()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(bar);
        layout->addWidget(edit);
        images.Add(Color(Qt::red));
        images.Add(Color(Qt::blue));
        bar->setImageList(&images);
        bar->AddButton(QStringLiteral("Primero"), 2);
        bar->AddButton(QStringLiteral("Segundo"), 1, QStringLiteral("dos"));
        bar->AddButton(QStringLiteral("Tercero"));
        QObject::connect(bar, &Toolbar::ButtonClick, [this](int index) { clicks.push_back(index); });
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
    }
    void click(int index) { QTest::mouseClick(bar->widgetForAction(bar->Button(index)), Qt::LeftButton); }
};

TEST(Toolbar, ButtonsByIndexWithTooltipsAndImages)
{
    Ventana v;
    ASSERT_EQ(v.bar->ButtonCount(), 3);
    EXPECT_EQ(v.bar->ToolTipText(1), QStringLiteral("Primero"));
    EXPECT_EQ(v.bar->ToolTipText(3), QStringLiteral("Tercero"));
    EXPECT_EQ(v.bar->Key(2), QStringLiteral("dos"));
    const QImage blue = v.bar->Button(1)->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(QColor(blue.pixel(8, 8)), QColor(Qt::blue)) << "image 2 of the list";
    EXPECT_TRUE(v.bar->Button(3)->icon().isNull());
    for (int wrong : {0, 4, -1})
        EXPECT_EQ(RaisedNumber([&] { (void) v.bar->ToolTipText(wrong); }), vberr::IndexOutOfBounds) << wrong;
    EXPECT_EQ(RaisedNumber([&] { v.bar->AddButton(QStringLiteral("x"), 3); }), vberr::IndexOutOfBounds);
    EXPECT_EQ(v.bar->ButtonCount(), 3) << "a button with a missing image is not added";
}

TEST(Toolbar, AClickRaisesTheButtonsIndexAndLeavesTheFocusAlone)
{
    Ventana v;
    v.click(2);
    v.click(1);
    v.click(3);
    EXPECT_EQ(v.clicks, (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(QApplication::focusWidget(), v.edit);

    v.bar->setButtonEnabled(1, false);
    EXPECT_FALSE(v.bar->ButtonEnabled(1));
    v.click(1);
    EXPECT_EQ(v.clicks.size(), 3u) << "a disabled button does not click";
}

} // namespace
