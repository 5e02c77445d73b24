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

// Input of the other kinds, queued before the yield, is dropped as well; the
// same input queued after it arrives.
TEST_F(Ventana, OtherInputQueuedBeforeAYieldIsDroppedToo)
{
    const std::vector<QEvent::Type> tipos = OtraEntradaDelOperador();
    CuentaEntradas vistas(caja, tipos);
    EncolaEntradas(caja, tipos);
    ui::DoEvents();
    QApplication::processEvents();
    for (QEvent::Type t : tipos)
        EXPECT_EQ(vistas.de(t), 0) << t;

    EncolaEntradas(caja, tipos);
    QApplication::processEvents();
    for (QEvent::Type t : tipos)
        EXPECT_EQ(vistas.de(t), 1) << t;
}

// What a yield drops and a busy window refuses: the operator's input, never
// the painting, timers and posted work that keep a window alive.
TEST(IsOperatorInput, InputOfEveryKindButNotTheWindowsOwnWork)
{
    struct Caso
    {
        const char *nombre;
        QEvent::Type tipo;
        bool entrada;
    };
    const Caso casos[] = {
        {"click", QEvent::MouseButtonPress, true},
        {"double click", QEvent::MouseButtonDblClick, true},
        {"key", QEvent::KeyPress, true},
        {"shortcut", QEvent::Shortcut, true},
        {"wheel", QEvent::Wheel, true},
        {"context menu", QEvent::ContextMenu, true},
        {"input method", QEvent::InputMethod, true},
        {"touch begin", QEvent::TouchBegin, true},
        {"touch update", QEvent::TouchUpdate, true},
        {"touch end", QEvent::TouchEnd, true},
        {"tablet press", QEvent::TabletPress, true},
        {"tablet release", QEvent::TabletRelease, true},
        {"drop", QEvent::Drop, true},
        {"paint", QEvent::Paint, false},
        {"update request", QEvent::UpdateRequest, false},
        {"timer", QEvent::Timer, false},
        {"posted call", QEvent::MetaCall, false},
        {"deferred delete", QEvent::DeferredDelete, false},
        {"resize", QEvent::Resize, false},
        {"focus", QEvent::FocusIn, false},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(ui::IsOperatorInput(c.tipo), c.entrada) << c.nombre;
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
