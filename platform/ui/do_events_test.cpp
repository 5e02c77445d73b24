#include "platform/ui/do_events.h"
#include "tests/support/clics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

void EncolaTecla(QWidget &destino, Qt::Key tecla, const QString &texto)
{
    QCoreApplication::postEvent(&destino, new QKeyEvent(QEvent::KeyPress, tecla, Qt::NoModifier, texto));
    QCoreApplication::postEvent(&destino, new QKeyEvent(QEvent::KeyRelease, tecla, Qt::NoModifier, texto));
}

class Ventana : public ::testing::Test
{
protected:
    void SetUp() override
    {
        boton.setText(QStringLiteral("Aceptar"));
        boton.move(0, 0);
        boton.show();
        caja.move(0, 40);
        caja.show();
        QObject::connect(&boton, &QPushButton::clicked, [this] { ++clics; });
        QApplication::processEvents();
    }
    QPushButton boton;
    QLineEdit caja;
    int clics = 0;
};

TEST_F(Ventana, KeysAndClicksQueuedBeforeAYieldAreDroppedForGood)
{
    EncolaClic(boton);
    caja.setFocus();
    EncolaTecla(caja, Qt::Key_A, QStringLiteral("a"));
    ui::DoEvents();
    // Nothing was kept for the next turn of the event loop either.
    QApplication::processEvents();
    EXPECT_EQ(clics, 0);
    EXPECT_EQ(caja.text(), QString());
}

TEST_F(Ventana, TimersAndPostedWorkStillRun)
{
    int corridas = 0;
    QTimer::singleShot(0, [&] { ++corridas; });
    QMetaObject::invokeMethod(
        &boton, [&] { ++corridas; }, Qt::QueuedConnection);
    ui::DoEvents();
    EXPECT_EQ(corridas, 2);
}

TEST_F(Ventana, InputIsTheOperatorsAgainOnceTheYieldReturns)
{
    // A handler that yields in its turn does not end the outer yield's filter
    // early, and the last one out leaves nothing behind.
    bool interiorTermino = false;
    QTimer::singleShot(0, [&] {
        ui::DoEvents();
        interiorTermino = true;
        QTest::mouseClick(&boton, Qt::LeftButton); // delivered at once, still inside the outer yield
    });
    ui::DoEvents();
    ASSERT_TRUE(interiorTermino);
    EXPECT_EQ(clics, 0);

    EncolaClic(boton);
    QApplication::processEvents();
    QTest::mouseClick(&boton, Qt::LeftButton);
    EXPECT_EQ(clics, 2);
}

// The first call yields; calls within the interval leave the queued work
// queued; the first call after it yields again.
TEST(DoEventsEvery, YieldsOnceAnInterval)
{
    int corridas = 0;
    const auto encola = [&] { QTimer::singleShot(0, [&] { ++corridas; }); };
    ui::DoEventsEvery eventos(40);
    encola();
    eventos();
    EXPECT_EQ(corridas, 1);
    encola();
    eventos();
    EXPECT_EQ(corridas, 1);
    QThread::msleep(60);
    eventos();
    EXPECT_EQ(corridas, 2);
}

} // namespace
