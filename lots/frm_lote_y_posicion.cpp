#include "lots/frm_lote_y_posicion.h"

#include "database/db_dll.h"
#include "lots/posiciones_grilla.h"
#include "platform/component/component.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/units.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

using namespace PosicionesGrilla;

namespace {

// A typed quantity; the keyboard filter leaves "." as the one decimal mark, a
// "," still reads the same. Not a number (the empty text among them): error 13.
Currency CantidadTipeada(const QString &texto)
{
    bool ok = false;
    const double v = QString(texto).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok)
        Raise(vberr::TypeMismatch);
    return Currency::fromDouble(v);
}

} // namespace

FrmLoteyPosicion::FrmLoteyPosicion(QWidget *parent)
    : DialogoGrilla(QStringLiteral("FrmLoteyPosicion"),
                    QStringLiteral("Posiciones"),
                    5,
                    QStringLiteral("&Aceptar"),
                    parent)
{
    // A third button proposes how the quantity is taken.
    ImageList1.Add(style()->standardIcon(QStyle::SP_BrowserReload), QStringLiteral("Proponer"));
    Toolbar1->AddButton(QStringLiteral("Proponer Automaticamente"), 3);

    AjustaTamano();
    Form_Load();
}

FrmLoteyPosicion::~FrmLoteyPosicion() = default;

void FrmLoteyPosicion::reject()
{
    // Escape inside an edit belongs to the edit.
    if (m_editor->Editando())
        return;
    CmdCancelar_Click();
}

void FrmLoteyPosicion::CargaDatos()
{
    Steps paso = Steps::IgnoringErrors();
    paso([&] { EsPosicionYLote = EsPosicion && EsLote; });
    paso([&] {
        const QString deposito = Deposito + QLatin1Char(')');
        if (EsPosicionYLote)
            setWindowTitle(QStringLiteral("Posiciones y Lotes (Deposito: ") + deposito);
        else if (EsPosicion)
            setWindowTitle(QStringLiteral("Posiciones (Deposito: ") + deposito);
        else if (EsLote)
            setWindowTitle(QStringLiteral("Números de Lote (Deposito: ") + deposito);
    });
    paso([&] { lblArticulo->setText(vb::ProperCase(ArticuloDescripcion)); });
    paso([&] {
        InicializaGrid();
        VerificaAnteriores();
    });
    paso([&] { MSFlexGrid1.MoveTo(MSFlexGrid1.Rows() - 1, kCantidad); });
    paso([&] { AjustaTamano(); });
    paso([&] { gComponente().PreparaFormulario(this, false); });
}

void FrmLoteyPosicion::InicializaGrid()
{
    Datos d;
    d.EsPosicion = EsPosicion;
    d.EsPosicionYLote = EsPosicionYLote;
    PosicionesGrilla::InicializaGrid(MSFlexGrid1, d);
}

void FrmLoteyPosicion::VerificaAnteriores()
{
    Datos d;
    d.Deposito = Deposito;
    d.IUNIDAD = IUNIDAD;
    d.Articulo = Articulo;
    d.Cantidad1 = Cantidad1;
    d.EsPosicion = EsPosicion;
    d.EsPosicionYLote = EsPosicionYLote;
    d.EsConsultaDePosicionLote = EsConsultaDePosicionLote;
    d.PosicionesAnteriores = PosicionesAnteriores;
    d.LotesAnteriores = LotesAnteriores;
    m_hayDeposito = PosicionesGrilla::VerificaAnteriores(MSFlexGrid1, d, [this](const QString &t) {
        return ui::TextWidth(*this, t);
    });
}

double FrmLoteyPosicion::SumaFilas(std::int32_t MenosCual)
{
    return PosicionesGrilla::SumaFilas(MSFlexGrid1, int(MenosCual)).toDouble();
}

bool FrmLoteyPosicion::ValidaCantidadCantidadPedida()
{
    bool iguales = false;
    Steps paso = Pasos(QString());
    paso([&] { iguales = PosicionesGrilla::SumaFilas(MSFlexGrid1, -1) == Currency::fromDouble(Cantidad1); });
    return !paso.leaving() && iguales;
}

QString FrmLoteyPosicion::RechazoDeCantidad(const QString &texto, Steps &paso)
{
    if (gComponente().ConvierteACurrency(texto) < Currency())
        return QStringLiteral("La Cantidad no puede ser Menor a Cero");
    // Ignoring an unreadable text refuses it as beyond the available.
    QString mensaje = QStringLiteral("No hay disponible para esa posicion");
    paso([&] {
        const ui::FlexGrid &g = MSFlexGrid1;
        if (CantidadTipeada(texto) <= ValorInicial(g.TextMatrix(g.Row(), kDisponible)))
            mensaje.clear();
    });
    return mensaje;
}

void FrmLoteyPosicion::CompletaTodoIgual()
{
    ui::FlexGrid &g = MSFlexGrid1;
    Steps paso = Steps::IgnoringErrors();
    QString valor;
    paso([&] { valor = vb::Trim(g.TextMatrix(1, 2)); });
    for (int fila = 1; fila < g.Rows(); ++fila)
        paso([&] {
            if (vb::Trim(g.TextMatrix(fila, 2)).isEmpty())
                g.setTextMatrix(fila, 2, valor);
        });
}

void FrmLoteyPosicion::CmdAceptar_Click()
{
    // An edit still open counts only once the dialog's check has accepted it.
    if (!m_editor->ConfirmaEdicion())
        return;
    ui::FlexGrid &g = MSFlexGrid1;
    if (!ValidaCantidadCantidadPedida()
        && !AjustaCantidadPedida(PosicionesGrilla::SumaFilas(g, -1),
                                 Cantidad1,
                                 MostrarForm,
                                 QStringLiteral("La suma de cantidades informadas es Menor a la cantidad solicitada ")))
        return;
    const auto lista = [&](int col, bool conCantidad) {
        QString texto = QStringLiteral("|");
        for (int fila = 1; fila < g.Rows(); ++fila) {
            const QString cantidad = vb::Trim(g.TextMatrix(fila, kCantidad));
            if (cantidad.isEmpty() || cantidad == QLatin1String("0"))
                continue;
            const QString item = m_hayDeposito && fila == g.Rows() - 1 ? QString() : vb::Trim(g.TextMatrix(fila, col));
            texto += conCantidad ? item + QLatin1Char('*') + cantidad + QLatin1Char('|') : item + QLatin1Char('|');
        }
        return texto;
    };
    if (EsPosicionYLote) {
        Posiciones = lista(kPosicion, true);
        Lotes = lista(kLote, false);
    } else if (EsPosicion) {
        Posiciones = lista(kPosicion, true);
    } else {
        // Nothing is chosen here: the line keeps the lists it had.
        Posiciones = PosicionesAnteriores;
        Lotes = LotesAnteriores;
    }
    hide();
}

void FrmLoteyPosicion::CmdCancelar_Click()
{
    // The line keeps the lists it had.
    Posiciones = PosicionesAnteriores;
    Lotes = LotesAnteriores;
    hide();
}

void FrmLoteyPosicion::Toolbar1_ButtonClick(int Index)
{
    if (Index < 1 || Index > 3)
        return;
    if (!m_editor->ConfirmaEdicion())
        return;
    ui::FlexGrid &g = MSFlexGrid1;
    if (Index == 3) {
        for (int fila = 1; fila < g.Rows(); ++fila)
            g.setTextMatrix(fila, kCantidad, QStringLiteral("0"));
        DistribuyeCantidadSolicitada(g, Currency::fromDouble(Cantidad1));
        if (g.Rows() > 1)
            g.MoveTo(g.Rows() - 1, kCantidad);
        return;
    }
    // Data rows only: with none, the cursor rests on the titles, which stay.
    if (g.Col() != kCantidad || g.Row() < g.FixedRows())
        return;
    const QString valor = Index == 1 ? vb::Trim(g.Text()) : QStringLiteral("0");
    for (int fila = g.Row(); fila < g.Rows(); ++fila)
        g.setTextMatrix(fila, kCantidad, valor);
}

bool FrmLoteyPosicion::AceptaEdicion(int Col) const
{
    return Col == kCantidad;
}

bool FrmLoteyPosicion::EsColumnaCantidad(int Col) const
{
    return Col == kCantidad;
}

int FrmLoteyPosicion::UltimaColumnaEditable() const
{
    return kCantidad;
}

void FrmLoteyPosicion::EnterEnLaUltimaFila(ui::FlexGrid &grilla)
{
    (void) grilla;
    CmdAceptar->setFocus();
}

int FrmLoteyPosicion::ColumnaTrasUltima() const
{
    return EsPosicionYLote ? kCantidad : -1;
}

bool FrmLoteyPosicion::SaltaError(int Numero) const
{
    return Numero == vberr::InvalidCall;
}
