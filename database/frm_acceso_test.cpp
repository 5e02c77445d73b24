#include "database/frm_acceso.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

void Tecla(QWidget *w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

TEST(frmAcceso, ControlsAndTexts)
{
    frmAcceso f;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Control de Acceso"));
    const std::pair<QLabel *, QWidget *> etiquetas[] = {{f.lblServidor, f.TxtServidor},
                                                        {f.lblDbName, f.TxtDbName},
                                                        {f.lblUserId, f.TxtUserId},
                                                        {f.lblUserPassword, f.TxtUserPassword}};
    const char *textos[] = {"&Servidor", "&Base de Datos", "&Usuario", "&Contraseña"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(textos[i]);
        EXPECT_EQ(etiquetas[i].first->text(), QString::fromUtf8(textos[i]));
        EXPECT_EQ(etiquetas[i].first->buddy(), etiquetas[i].second);
        EXPECT_EQ(etiquetas[i].first->parentWidget(), f.framAcceso);
    }
    EXPECT_EQ(f.TxtUserPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(f.TxtUserPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, f.TxtUserPassword),
              int('*'));
    ASSERT_EQ(f.CboPlataformaDB->count(), 2);
    EXPECT_EQ(f.CboPlataformaDB->itemText(0), QStringLiteral("SQL Server"));
    EXPECT_EQ(f.CboPlataformaDB->itemText(1), QStringLiteral("ORACLE"));
    EXPECT_EQ(f.bcAceptar->text(), QStringLiteral("Aceptar"));
    EXPECT_EQ(f.bcCancelar->text(), QStringLiteral("Cancelar"));
    EXPECT_TRUE(f.bcAceptar->isDefault());
}

TEST(frmAcceso, TabOrderFollowsTheForm)
{
    frmAcceso f;
    QWidget *orden[]
        = {f.TxtServidor, f.TxtDbName, f.TxtUserId, f.TxtUserPassword, f.CboPlataformaDB, f.bcAceptar, f.bcCancelar};
    for (int i = 0; i + 1 < 7; ++i) {
        SCOPED_TRACE(i);
        QWidget *w = orden[i]->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        EXPECT_EQ(w, orden[i + 1]);
    }
}

TEST(frmAcceso, AcceptEnterCancelAndEscape)
{
    {
        frmAcceso f;
        f.show();
        f.bcAceptar->click();
        EXPECT_TRUE(f.Aceptar);
        EXPECT_FALSE(f.isVisible());
    }
    {
        frmAcceso f;
        f.show();
        f.TxtServidor->setFocus();
        Tecla(f.TxtServidor, Qt::Key_Return);
        EXPECT_TRUE(f.Aceptar) << "Enter presses the default button";
        EXPECT_FALSE(f.isVisible());
    }
    {
        frmAcceso f;
        f.Aceptar = true;
        f.show();
        f.bcCancelar->click();
        EXPECT_FALSE(f.Aceptar);
        EXPECT_FALSE(f.isVisible());
    }
    {
        frmAcceso f;
        f.Aceptar = true;
        f.show();
        Tecla(f.TxtServidor, Qt::Key_Escape);
        EXPECT_FALSE(f.Aceptar) << "Escape is the cancel button";
        EXPECT_FALSE(f.isVisible());
    }
}

TEST(frmAcceso, CentredOnTheScreen)
{
    frmAcceso f;
    f.TxtServidor->setText(QStringLiteral("SRV01"));
    f.TxtDbName->setText(QStringLiteral("VENTAS"));
    f.TxtUserId->setText(QStringLiteral("sa"));
    f.TxtUserPassword->setText(QStringLiteral("secreto"));
    f.show();
    QApplication::processEvents();
    const QRect pantalla = f.screen()->geometry();
    const QRect propio = f.frameGeometry();
    EXPECT_NEAR(propio.center().x(), pantalla.center().x(), 2);
    EXPECT_NEAR(propio.center().y(), pantalla.center().y(), 2);
    f.grab().save(QStringLiteral("/tmp/frmAcceso.png"));
}

} // namespace
