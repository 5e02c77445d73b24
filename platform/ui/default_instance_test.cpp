#include "platform/ui/default_instance.h"

#include <QDialog>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

int g_unloads = 0;

class Dialogo : public QDialog
{
public:
    Dialogo()
    {
        cerrar = new QPushButton(this);
        connect(cerrar, &QPushButton::clicked, this, [] { ui::DefaultInstance<Dialogo>::Unload(); });
    }
    void Form_Unload() { ++g_unloads; }
    QString valor;
    QPushButton *cerrar = nullptr;
};

class SinDescarga : public QDialog
{};

class DefaultInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override { g_unloads = 0; }
    void TearDown() override
    {
        ui::DefaultInstance<Dialogo>::Unload();
        ui::DefaultInstance<SinDescarga>::Unload();
        ui::DestroyUnloaded();
    }
};

TEST_F(DefaultInstanceTest, OneInstanceUntilUnloadedThenAFreshOne)
{
    EXPECT_FALSE(ui::DefaultInstance<Dialogo>::Exists());
    Dialogo &primero = ui::DefaultInstance<Dialogo>::Get();
    primero.valor = QStringLiteral("algo");
    EXPECT_EQ(&ui::DefaultInstance<Dialogo>::Get(), &primero);
    EXPECT_TRUE(ui::DefaultInstance<Dialogo>::Exists());

    QPointer<Dialogo> viejo(&primero);
    primero.show();
    ui::DefaultInstance<Dialogo>::Unload();
    EXPECT_EQ(g_unloads, 1);
    EXPECT_FALSE(ui::DefaultInstance<Dialogo>::Exists());
    ASSERT_TRUE(viejo);
    EXPECT_FALSE(viejo->isVisible());
    ui::DestroyUnloaded();
    EXPECT_FALSE(viejo) << "the unloaded dialog is destroyed";

    EXPECT_TRUE(ui::DefaultInstance<Dialogo>::Get().valor.isEmpty()) << "the next use starts fresh";
}

TEST_F(DefaultInstanceTest, UnloadWithoutInstanceOrFormUnloadIsHarmless)
{
    ui::DefaultInstance<Dialogo>::Unload();
    EXPECT_EQ(g_unloads, 0);
    ui::DefaultInstance<SinDescarga>::Get();
    ui::DefaultInstance<SinDescarga>::Unload();
    EXPECT_FALSE(ui::DefaultInstance<SinDescarga>::Exists());
}

TEST_F(DefaultInstanceTest, ADialogMayUnloadItselfFromItsOwnHandler)
{
    QPointer<Dialogo> d(&ui::DefaultInstance<Dialogo>::Get());
    d->cerrar->click();
    ASSERT_TRUE(d) << "still alive while its handler runs";
    EXPECT_EQ(g_unloads, 1);
    EXPECT_FALSE(ui::DefaultInstance<Dialogo>::Exists());
    ui::DestroyUnloaded();
    EXPECT_FALSE(d);
}

} // namespace
