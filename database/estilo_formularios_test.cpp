#include "database/estilo_formularios.h"

#include "database/globales.h"
#include "platform/runtime/app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
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

// The program's own icon as drawn, at one of its sizes.
QImage Dibujo(int lado)
{
    return QImage(QStringLiteral(":/icons/%1/ICONVELGORA.png").arg(lado)).convertToFormat(QImage::Format_ARGB32);
}

QImage Muestra(const QIcon &icono, int lado)
{
    return icono.pixmap(QSize(lado, lado)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Each test in an application folder of its own, with the INI file it writes.
class FormStyle : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gFlatToolbars = Variant(1.0);
        previa = AppPath();
        SetAppPath(dir.path());
    }
    void TearDown() override
    {
        SetAppPath(previa);
        ReiniciaGlobales();
    }
    void Ini(const QByteArray &texto)
    {
        QFile f(QDir(dir.path()).filePath(QStringLiteral("VI000vi.INI")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto);
    }
    QTemporaryDir dir;
    QString previa;
};

TEST_F(FormStyle, WithoutTheKeyAWindowTakesTheProgramsOwnIconAtEachSize)
{
    ASSERT_FALSE(Dibujo(16).isNull());
    ASSERT_FALSE(Dibujo(32).isNull());
    QWidget w;
    AplicaIconoYEstilo(&w);
    for (int lado : {16, 32})
        EXPECT_EQ(Muestra(w.windowIcon(), lado), Dibujo(lado)) << lado;

    // The key names the same icon.
    Ini("[Iconos]\r\nIconoDelSistema=ICONVELGORA\r\n");
    QWidget otra;
    AplicaIconoYEstilo(&otra);
    EXPECT_EQ(Muestra(otra.windowIcon(), 32), Dibujo(32));
}

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
    Ini("[Iconos]\r\nIconoDelSistema=OTRO_ICONO\r\n");
    QWidget w;
    QPixmap px(16, 16);
    px.fill(Qt::green);
    w.setWindowIcon(QIcon(px));
    const qint64 antes = w.windowIcon().cacheKey();
    AplicaIconoYEstilo(&w);
    EXPECT_EQ(w.windowIcon().cacheKey(), antes);
}

// No window: nothing to dress, and the icon the program shows everywhere is
// not taken for it.
TEST_F(FormStyle, NullWindowIsIgnored)
{
    const QIcon previo = QApplication::windowIcon();
    QPixmap px(16, 16);
    px.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(px));
    const qint64 antes = QApplication::windowIcon().cacheKey();
    AplicaIconoYEstilo(nullptr);
    EXPECT_EQ(QApplication::windowIcon().cacheKey(), antes);
    QApplication::setWindowIcon(previo);
}

} // namespace

#include "estilo_formularios_test.moc"
