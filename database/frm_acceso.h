#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login dialog "Control de Acceso": server, database, user, password and
// the database platform. Accept and cancel set Aceptar and hide the dialog;
// the caller reads the boxes afterwards.
class frmAcceso : public QDialog
{
    Q_OBJECT
public:
    explicit frmAcceso(QWidget *parent = nullptr);

    bool Aceptar = false;

    QGroupBox *framAcceso = nullptr;
    QLabel *lblServidor = nullptr;
    QLabel *lblDbName = nullptr;
    QLabel *lblUserId = nullptr;
    QLabel *lblUserPassword = nullptr;
    QLabel *lblPlataformaDB = nullptr;
    QLineEdit *TxtServidor = nullptr;
    QLineEdit *TxtDbName = nullptr;
    QLineEdit *TxtUserId = nullptr;
    QLineEdit *TxtUserPassword = nullptr;
    QComboBox *CboPlataformaDB = nullptr;
    QPushButton *bcAceptar = nullptr;
    QPushButton *bcCancelar = nullptr;

    void bcAceptar_Click();
    void bcCancelar_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    // Centres the dialog on its screen.
    void Form_Load();
};
