#include "purge/form1.h"

#include "purge/corrida_borrado.h"

#include "database/estilo_formularios.h"
#include "database/globales.h"
#include "database/progreso.h"
#include "platform/component/component.h"
#include "platform/runtime/end.h"
#include "platform/runtime/strings.h"
#include "platform/ui/do_events.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/ui.h"
#include "platform/ui/units.h"
#include "startup/inicio.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

namespace {

constexpr int kEnter = 13;
constexpr std::int32_t kColorBarra = 255; // pure red, as RGB

// Masks the access code with "*" whatever the platform's own bullet is.
class EstiloClave : public QProxyStyle
{
public:
    int styleHint(StyleHint hint,
                  const QStyleOption *option,
                  const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The window's picture box as the run's strip. Each voucher repaints it and
// lets pending events through, so the strip stays live; the window itself
// swallows the operator's input meanwhile (Form1::eventFilter).
class ProgresoVentana final : public ProgresoAnulacion
{
public:
    explicit ProgresoVentana(ui::PictureBox &picture)
        : m_picture(picture)
    {}
    void Muestra() override
    {
        m_picture.show();
        QCoreApplication::processEvents();
    }
    void Pinta(double porcentaje, const QString &texto) override
    {
        MuestraProgreso(m_picture, Variant(porcentaje), kColorBarra, texto);
        QCoreApplication::processEvents();
    }
    void Oculta() override { m_picture.hide(); }

private:
    ui::PictureBox &m_picture;
};

} // namespace

// While a run holds the window, the operator's clicks and keys on it are
// dropped (not queued for later), so a second click on Aceptar starts nothing.
class Form1::BloqueoEntrada final : public QObject
{
public:
    explicit BloqueoEntrada(Form1 &ventana)
        : m_ventana(ventana)
    {
        qApp->installEventFilter(this);
    }
    ~BloqueoEntrada() override
    {
        // Input that arrived during the run's last moments is dropped too.
        QCoreApplication::processEvents();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return Form1::EsEntradaDelOperador(m_ventana, watched, event);
    }

private:
    Form1 &m_ventana;
};

Form1::Form1(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitulo);

    txtPassWord = new QLineEdit(this);
    txtPassWord->setObjectName(QStringLiteral("txtPassWord"));
    txtPassWord->setEchoMode(QLineEdit::Password);
    auto *estilo = new EstiloClave;
    estilo->setParent(txtPassWord);
    txtPassWord->setStyle(estilo);

    Label1[0] = new QLabel(QStringLiteral("PassWord"), this);

    FrmDetalle = new QGroupBox(this);
    FrmDetalle->setObjectName(QStringLiteral("FrmDetalle"));
    FrmDetalle->setEnabled(false);

    txtTC = new QLineEdit(QStringLiteral("RM"), FrmDetalle);
    txtTC->setObjectName(QStringLiteral("txtTC"));
    txtTC->setMaxLength(4);

    TXTFECHA = new QLineEdit(FrmDetalle);
    TXTFECHA->setObjectName(QStringLiteral("TXTFECHA"));
    TXTFECHA->setMaxLength(10);
    TXTFECHA->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));

    Label1[1] = new QLabel(QStringLiteral("TC"), FrmDetalle);
    Label1[2] = new QLabel(QStringLiteral("HASTA LA FECHA INCLUSIVE"), FrmDetalle);

    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), FrmDetalle);
    CmdAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdCancelar->setObjectName(QStringLiteral("CmdCancelar"));
    // Neither button is a default: Enter and Escape mean nothing window-wide.
    for (QPushButton *b : {CmdAceptar, CmdCancelar}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    PicMsg = new ui::PictureBox(this);
    PicMsg->setObjectName(QStringLiteral("PicMsg"));
    PicMsg->setFixedHeight(22);
    PicMsg->setBackColor(Qt::white);
    {
        // The strip keeps its place while hidden, so the window does not jump.
        QSizePolicy sp = PicMsg->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        PicMsg->setSizePolicy(sp);
    }
    PicMsg->hide();

    auto *detalle = new QGridLayout(FrmDetalle);
    detalle->addWidget(Label1[1], 0, 0);
    detalle->addWidget(txtTC, 0, 1);
    detalle->addWidget(Label1[2], 1, 0);
    detalle->addWidget(TXTFECHA, 1, 1);
    detalle->addWidget(CmdAceptar, 2, 1, Qt::AlignRight);
    txtTC->setFixedWidth(txtTC->fontMetrics().horizontalAdvance(QStringLiteral("WWWWW")) + 12);
    TXTFECHA->setFixedWidth(TXTFECHA->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);

    auto *raiz = new QGridLayout(this);
    raiz->addWidget(Label1[0], 0, 0);
    raiz->addWidget(txtPassWord, 0, 1);
    raiz->addWidget(FrmDetalle, 1, 0, 1, 2);
    raiz->addWidget(CmdCancelar, 1, 2, Qt::AlignBottom);
    raiz->addWidget(PicMsg, 2, 0, 1, 3);
    raiz->setColumnStretch(1, 1);
    raiz->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order: code, type, date, accept, cancel.
    setTabOrder(txtPassWord, txtTC);
    setTabOrder(txtTC, TXTFECHA);
    setTabOrder(TXTFECHA, CmdAceptar);
    setTabOrder(CmdAceptar, CmdCancelar);
    for (QLabel *l : Label1)
        l->setFocusPolicy(Qt::NoFocus);
    FrmDetalle->setFocusPolicy(Qt::NoFocus);
    PicMsg->setFocusPolicy(Qt::NoFocus);

    connect(txtPassWord, &QLineEdit::textChanged, this, [this] { txtPassWord_Change(); });
    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    txtPassWord->installEventFilter(this);
    txtTC->installEventFilter(this);
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    bool armaParametros = false;
    QString cadenaConexion;
    InicializaSistema(armaParametros, QString(), cadenaConexion, 3);
    // The system icon, for this window and for every box and dialog that has
    // none of its own.
    QApplication::setWindowIcon(IconoDelSistema());
    AplicaIconoYEstilo(this);
    gComponente().PreparaFormulario(this, 0);
}

void Form1::Inicializa()
{
    txtTC->setText(QString());
}

void Form1::txtPassWord_Change()
{
    FrmDetalle->setEnabled(vb::EqualsText(txtPassWord->text(), kCodigoAcceso));
}

void Form1::focoEncendido(QLineEdit *box)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, ui::FromBGR(gColorFondoFoco));
    p.setColor(QPalette::Text, ui::FromBGR(gColorTextoFoco));
    box->setPalette(p);
}

void Form1::focoApagado(QLineEdit *box)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, ui::FromBGR(0xFFFFFF));
    p.setColor(QPalette::Text, ui::FromBGR(0));
    box->setPalette(p);
}

void Form1::txtPassWord_GotFocus()
{
    focoEncendido(txtPassWord);
}
void Form1::txtPassWord_LostFocus()
{
    focoApagado(txtPassWord);
}
void Form1::txtTC_GotFocus()
{
    focoEncendido(txtTC);
}
void Form1::txtTC_LostFocus()
{
    focoApagado(txtTC);
}

void Form1::ConvierteEnterEnTab1(int KeyAscii)
{
    if (KeyAscii == kEnter)
        ui::SendKeys(QStringLiteral("{TAB}"));
}

void Form1::txtPassWord_KeyPress(int &KeyAscii)
{
    ConvierteEnterEnTab1(KeyAscii);
}

void Form1::txtTC_KeyPress(int &KeyAscii)
{
    ConvierteEnterEnTab1(KeyAscii);
}

void Form1::CmdAceptar_Click()
{
    if (m_corriendo)
        return;
    m_corriendo = true;
    {
        BloqueoEntrada bloqueo(*this);
        ProgresoVentana progreso(*PicMsg);
        AnulaComprobantes(txtTC->text(), TXTFECHA->text(), progreso);
    }
    m_corriendo = false;
}

void Form1::CmdCancelar_Click()
{
    close();
    vb::End();
}

bool Form1::EsEntradaDelOperador(const QWidget &ventana, QObject *watched, QEvent *event)
{
    if (!ui::IsOperatorInput(event->type()))
        return false;
    // Only this window's own controls; the run's question and messages are
    // windows of their own and must stay answerable.
    auto *w = qobject_cast<QWidget *>(watched);
    return w && w->window() == &ventana;
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPassWord || watched == txtTC) {
        auto *box = static_cast<QLineEdit *>(watched);
        if (event->type() == QEvent::FocusIn)
            box == txtPassWord ? txtPassWord_GotFocus() : txtTC_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            box == txtPassWord ? txtPassWord_LostFocus() : txtTC_LostFocus();
        else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                int keyAscii = kEnter;
                box == txtPassWord ? txtPassWord_KeyPress(keyAscii) : txtTC_KeyPress(keyAscii);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // A run in progress is not cut short by closing the window.
    if (m_corriendo) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
