#include "lots/dialogo_grilla.h"

#include "database/db_dll.h"
#include "database/estilo_formularios.h"
#include "lots/lotes_grilla.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/text_box.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/ui.h"
#include "platform/ui/units.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFilasVisibles = 10;

const QString kAviso = QStringLiteral("Aviso al Operador");

// Whether the keys could have typed the text into a quantity cell: a text
// pasted or dropped into the box passes the same filter.
bool TipeableComoCantidad(const QString &texto)
{
    ui::TextBox caja;
    caja.setDataField(QStringLiteral("Cantidad"));
    for (const QChar c : texto) {
        int tecla = c.unicode();
        gTeclado().FiltraTecla(caja, tecla);
        if (tecla != c.unicode())
            return false;
        caja.insert(c);
    }
    return true;
}

// Beyond this no amount of four decimals holds the quantity.
constexpr double kCantidadMaxima = 1e14;

QString RechazoDeTexto(const QString &texto)
{
    if (!TipeableComoCantidad(texto))
        return QStringLiteral("La Cantidad sólo admite dígitos, un punto decimal y el signo menos al comienzo");
    if (std::fabs(vb::Val(texto)) >= kCantidadMaxima)
        return QStringLiteral("La Cantidad supera el máximo que puede informarse");
    return {};
}
const QString kAvisoFuerte = QStringLiteral("Aviso al Operador!!!");
const QString kAjustar = QStringLiteral("¿Desea Ajustar la Cantidad Solicitada en el Formulario?");

} // namespace

DialogoGrilla::DialogoGrilla(
    const QString &nombre, const QString &titulo, int columnas, const QString &textoAceptar, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(nombre);
    setWindowTitle(titulo);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // One fixed row and one fixed column, as designed.
    MSFlexGrid1.setName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1.setCols(columnas);
    MSFlexGrid1.setRows(2);
    MSFlexGrid1.setFixedRows(1);
    MSFlexGrid1.setFixedCols(1);

    ImageList1.Add(style()->standardIcon(QStyle::SP_ArrowDown), QStringLiteral("Llenar"));
    ImageList1.Add(style()->standardIcon(QStyle::SP_LineEditClearButton), QStringLiteral("Blanquear"));
    Toolbar1 = new ui::Toolbar(this);
    Toolbar1->setName(QStringLiteral("Toolbar1"));
    Toolbar1->setImageList(&ImageList1);
    Toolbar1->AddButton(QStringLiteral("Llenar las demas celdas con el valor de las seleccionadas"), 1);
    Toolbar1->AddButton(QStringLiteral("Blanquear las Celdas a partir de la celda seleccionada"), 2);

    lblArticulo = new QLabel(QStringLiteral("Artículo-Descripción"), this);
    lblArticulo->setObjectName(QStringLiteral("lblArticulo"));

    VistaMSFlexGrid1 = new ui::FlexGridView(MSFlexGrid1, this);
    VistaMSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));

    CmdAceptar = new QPushButton(textoAceptar, this);
    CmdAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdCancelar->setObjectName(QStringLiteral("CmdCancelar"));
    // Enter presses the button that has the focus, and no other.
    for (QPushButton *boton : {CmdAceptar, CmdCancelar}) {
        boton->setAutoDefault(true);
        boton->setDefault(false);
    }

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(CmdAceptar);
    botones->addWidget(CmdCancelar);
    auto *principal = new QVBoxLayout(this);
    principal->addWidget(Toolbar1);
    principal->addWidget(lblArticulo);
    principal->addWidget(VistaMSFlexGrid1, 1);
    principal->addLayout(botones);

    // Floats over the grid, outside the layout.
    TxtEdit = new ui::TextBox(this);
    TxtEdit->setName(QStringLiteral("TxtEdit"));
    ReglasEditor &reglas = *this;
    m_editor = std::make_unique<EditorCeldas>(*VistaMSFlexGrid1, *TxtEdit, reglas);

    setTabOrder(VistaMSFlexGrid1, CmdAceptar);
    setTabOrder(CmdAceptar, CmdCancelar);

    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    connect(Toolbar1, &ui::Toolbar::ButtonClick, this, [this](int Index) { Toolbar1_ButtonClick(Index); });
}

DialogoGrilla::~DialogoGrilla()
{
    // The grid is a member: its window and editor go first.
    m_editor.reset();
    delete VistaMSFlexGrid1;
}

void DialogoGrilla::Form_Load()
{
    gComponente().PreparaFormulario(this, false);
    AplicaIconoYEstilo(this);
}

void DialogoGrilla::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    // A dialog picks a default button when shown; these have none, so that
    // Enter in the grid or its box never accepts.
    if (visible) {
        CmdAceptar->setDefault(false);
        CmdCancelar->setDefault(false);
    }
}

void DialogoGrilla::closeEvent(QCloseEvent *event)
{
    CmdCancelar_Click();
    event->accept();
}

void DialogoGrilla::reject()
{
    CmdCancelar_Click();
}

void DialogoGrilla::AjustaTamano()
{
    // A column shown is never narrower than its title.
    const QHeaderView *titulos = VistaMSFlexGrid1->horizontalHeader();
    for (int c = 0; c < MSFlexGrid1.Cols(); ++c) {
        if (MSFlexGrid1.ColWidth(c) == 0 || MSFlexGrid1.TextMatrix(0, c).isEmpty())
            continue;
        const int necesario = titulos->sectionSizeHint(c);
        int twips = MSFlexGrid1.ColWidth(c);
        while (ui::TwipsToPixels(twips) < necesario)
            twips = std::max(twips + 1, ui::PixelsToTwips(necesario));
        if (twips != MSFlexGrid1.ColWidth(c))
            MSFlexGrid1.setColWidth(c, twips);
    }
    int ancho = 0;
    for (int c = 0; c < MSFlexGrid1.Cols(); ++c)
        if (MSFlexGrid1.ColWidth(c) > 0)
            ancho += ui::TwipsToPixels(MSFlexGrid1.ColWidth(c));
    ancho += 2 * VistaMSFlexGrid1->frameWidth() + VistaMSFlexGrid1->verticalScrollBar()->sizeHint().width() + 2;
    const int alto = VistaMSFlexGrid1->horizontalHeader()->height()
                     + kFilasVisibles * ui::TwipsToPixels(ui::FlexGrid::DefaultRowHeight)
                     + 2 * VistaMSFlexGrid1->frameWidth();
    VistaMSFlexGrid1->setMinimumSize(ancho, alto);
    adjustSize();
}

void DialogoGrilla::Text_Propiedades(ui::TextBox &Texto, std::int32_t Col)
{
    m_editor->Text_Propiedades(Texto, int(Col));
}

void DialogoGrilla::EditKeyCode(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyCode, int Shift)
{
    m_editor->EditKeyCode(MsFlexGrid, Edt, KeyCode, Shift);
}

void DialogoGrilla::MsflexGridEdt(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyAscii)
{
    m_editor->MsflexGridEdt(MsFlexGrid, Edt, KeyAscii);
}

void DialogoGrilla::CampoValida(ui::TextBox &Texto)
{
    m_cancelado = false;
    ui::FlexGrid &g = MSFlexGrid1;
    Steps paso = Pasos(QStringLiteral("CampoValida"));
    QString texto, campo;
    paso([&] {
        texto = vb::Trim(Texto.Text());
        campo = vb::Trim(Texto.DataField());
    });
    if (paso.leaving())
        return;
    if (!vb::EqualsText(campo, QStringLiteral("Cantidad"))) {
        paso([&] {
            if (g.Row() != 1)
                return;
            g.setText(texto);
            CompletaTodoIgual();
        });
        return;
    }
    QString mensaje = RechazoDeTexto(texto);
    if (mensaje.isEmpty())
        mensaje = RechazoDeCantidad(texto, paso);
    if (paso.leaving() || mensaje.isEmpty())
        return;
    m_cancelado = true;
    ui::MsgBox(mensaje, ui::vbOKOnly + ui::vbCritical, kAviso);
}

bool DialogoGrilla::AjustaCantidadPedida(Currency suma,
                                         double &cantidad,
                                         bool mostrarForm,
                                         const QString &menorSinMostrar)
{
    const auto ajusta = [&](const QString &motivo) {
        if (ui::MsgBox(motivo + QStringLiteral("\r\n") + kAjustar, ui::vbYesNo + ui::vbQuestion, kAvisoFuerte)
            == ui::vbYes) {
            cantidad = suma.toDouble();
            return true;
        }
        ui::MsgBox(QStringLiteral("Debe Ajustar la suma de las cantidades a :") + LotesGrilla::TextoCantidad(cantidad),
                   ui::vbOKOnly + ui::vbCritical,
                   kAviso);
        return false;
    };
    if (suma > Currency::fromDouble(cantidad))
        return ajusta(QStringLiteral(
            "La suma de las cantidades Informadas, supera a la solicitada en el Formulario de Carga de Datos"));
    if (!mostrarForm) {
        ui::MsgBox(menorSinMostrar, ui::vbOKOnly + ui::vbInformation, kAvisoFuerte);
        return false;
    }
    return ajusta(QStringLiteral(
        "La suma de las cantidades Informadas, Es Menor a la solicitada en el Formulario de Carga de Datos"));
}
