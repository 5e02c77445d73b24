#include "database/form_style.h"

#include "database/globals.h"
#include "platform/runtime/app.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QToolBar>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A window type the suite names as its frame window.
class frmMDI : public QWidget
{
    Q_OBJECT
};

QToolBar *Barra(QWidget *w, const char *nombre)
{
    auto *t = new QToolBar(w);
    t->setObjectName(QLatin1String(nombre));
    return t;
}

class FormStyle : public ::testing::Test
{
protected:
    void SetUp() override { gFlatToolbars = Variant(1.0); }
};

TEST_F(FormStyle, ToolbarsTakeTheWorkstationStyle)
{
    gFlatToolbars = Variant(0.0);
    QWidget w;
    QToolBar *rep = Barra(&w, "TBarRep1");
    QToolBar *otra = Barra(&w, "OtraBarra");
    AplicaIconoYEstilo(&w);
    EXPECT_EQ(rep->property("StyleBar").toDouble(), 0.0);
    EXPECT_FALSE(otra->property("StyleBar").isValid());

    QWidget todas;
    QToolBar *barras[] = {Barra(&todas, "UtilVel1"), Barra(&todas, "TBarRep1"), Barra(&todas, "Util0011")};
    gFlatToolbars = Variant(1.0);
    AplicaIconoYEstilo(&todas);
    for (QToolBar *b : barras)
        EXPECT_EQ(b->property("StyleBar").toDouble(), 1.0) << b->objectName().toStdString();
}

TEST_F(FormStyle, FrameWindowGetsOnlyTheIcon)
{
    frmMDI w;
    QToolBar *b = Barra(&w, "UtilVel1");
    AplicaIconoYEstilo(&w);
    EXPECT_FALSE(b->property("StyleBar").isValid());
}

TEST_F(FormStyle, OwnIconIsKeptWhenNoResourceMatches)
{
    QWidget w;
    QPixmap px(16, 16);
    px.fill(Qt::green);
    w.setWindowIcon(QIcon(px));
    const qint64 antes = w.windowIcon().cacheKey();
    AplicaIconoYEstilo(&w);
    EXPECT_EQ(w.windowIcon().cacheKey(), antes);
}

TEST_F(FormStyle, NullWindowIsIgnored)
{
    AplicaIconoYEstilo(nullptr);
}

} // namespace

#include "form_style_test.moc"
