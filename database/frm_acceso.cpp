#include "database/frm_acceso.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmAcceso::frmAcceso(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(QStringLiteral("Control de Acceso"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    framAcceso = new QGroupBox(this);
    framAcceso->setObjectName(QStringLiteral("framAcceso"));

    const auto box = [this](const char *name) {
        auto *edit = new QLineEdit(framAcceso);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(220);
        return edit;
    };
    TxtServidor = box("TxtServidor");
    TxtDbName = box("TxtDbName");
    TxtUserId = box("TxtUserId");
    TxtUserPassword = box("TxtUserPassword");
    TxtUserPassword->setEchoMode(QLineEdit::Password);
    // The suite's password boxes show "*", not the style's own bullet.
    TxtUserPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    CboPlataformaDB = new QComboBox(framAcceso);
    CboPlataformaDB->setObjectName(QStringLiteral("CboPlataformaDB"));
    CboPlataformaDB->addItem(QStringLiteral("SQL Server"));
    CboPlataformaDB->addItem(QStringLiteral("ORACLE"));
    CboPlataformaDB->setCurrentIndex(0);

    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, framAcceso);
        l->setBuddy(buddy);
        return l;
    };
    lblServidor = label(QStringLiteral("&Servidor"), TxtServidor);
    lblDbName = label(QStringLiteral("&Base de Datos"), TxtDbName);
    lblUserId = label(QStringLiteral("&Usuario"), TxtUserId);
    lblUserPassword = label(QStringLiteral("&Contraseña"), TxtUserPassword);
    lblPlataformaDB = label(QStringLiteral("&Plataforma"), CboPlataformaDB);

    auto *grid = new QGridLayout(framAcceso);
    const std::pair<QLabel *, QWidget *> rows[] = {{lblServidor, TxtServidor},
                                                   {lblDbName, TxtDbName},
                                                   {lblUserId, TxtUserId},
                                                   {lblUserPassword, TxtUserPassword},
                                                   {lblPlataformaDB, CboPlataformaDB}};
    int r = 0;
    for (const auto &[l, w] : rows) {
        grid->addWidget(l, r, 0);
        grid->addWidget(w, r, 1);
        ++r;
    }

    bcAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    bcAceptar->setObjectName(QStringLiteral("bcAceptar"));
    bcAceptar->setDefault(true);
    bcAceptar->setAutoDefault(true);
    bcCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    bcCancelar->setObjectName(QStringLiteral("bcCancelar"));
    bcCancelar->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bcAceptar);
    buttons->addWidget(bcCancelar);

    auto *main = new QVBoxLayout(this);
    main->addWidget(framAcceso);
    main->addLayout(buttons);
    setLayout(main);

    setTabOrder(TxtServidor, TxtDbName);
    setTabOrder(TxtDbName, TxtUserId);
    setTabOrder(TxtUserId, TxtUserPassword);
    setTabOrder(TxtUserPassword, CboPlataformaDB);
    setTabOrder(CboPlataformaDB, bcAceptar);
    setTabOrder(bcAceptar, bcCancelar);

    connect(bcAceptar, &QPushButton::clicked, this, [this] { bcAceptar_Click(); });
    connect(bcCancelar, &QPushButton::clicked, this, [this] { bcCancelar_Click(); });
    adjustSize();
}

void frmAcceso::bcAceptar_Click()
{
    Aceptar = true;
    done(QDialog::Accepted);
}

void frmAcceso::bcCancelar_Click()
{
    Aceptar = false;
    done(QDialog::Rejected);
}

// Escape and the window's close box mean Cancel.
void frmAcceso::reject()
{
    Aceptar = false;
    QDialog::reject();
}

void frmAcceso::showEvent(QShowEvent *event)
{
    Form_Load();
    QDialog::showEvent(event);
}

void frmAcceso::Form_Load()
{
    QScreen *s = screen();
    if (!s)
        return;
    const QRect area = s->geometry();
    const QSize own = frameGeometry().size();
    move(area.left() + area.width() / 2 - own.width() / 2, area.top() + area.height() / 2 - own.height() / 2);
    TxtServidor->setFocus();
}
