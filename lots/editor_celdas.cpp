#include "lots/editor_celdas.h"

#include "database/db_dll.h"
#include "platform/component/component.h"
#include "platform/runtime/steps.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/text_box.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>

namespace {

constexpr int kLargoTexto = 25;

} // namespace

EditorCeldas::EditorCeldas(ui::FlexGridView &MSFlexGrid1, ui::TextBox &TxtEdit, ReglasEditor &reglas, QObject *parent)
    : QObject(parent)
    , m_vista(MSFlexGrid1)
    , m_caja(TxtEdit)
    , m_reglas(reglas)
{
    m_caja.hide();
    connect(&m_vista, &ui::FlexGridView::KeyPress, this, &EditorCeldas::MSFlexGrid1_KeyPress);
    connect(&m_vista, &ui::FlexGridView::GotFocus, this, &EditorCeldas::MSFlexGrid1_GotFocus);
    connect(&m_vista.grid(), &ui::FlexGrid::LeaveCell, this, &EditorCeldas::MSFlexGrid1_LeaveCell);
    connect(&m_caja, &ui::TextBox::KeyPress, this, &EditorCeldas::TxtEdit_KeyPress);
    connect(&m_caja, &ui::TextBox::KeyDown, this, &EditorCeldas::TxtEdit_KeyDown);
    m_vista.installEventFilter(this);
    m_vista.viewport()->installEventFilter(this);
}

bool EditorCeldas::Editando() const
{
    return !m_caja.isHidden();
}

void EditorCeldas::Text_Propiedades(ui::TextBox &Texto, int Col)
{
    Texto.setDataField(QString());
    Texto.setMaxLength(kLargoTexto);
    Texto.setTag(QString());
    if (m_reglas.EsColumnaCantidad(Col)) {
        Texto.setDataField(QStringLiteral("Cantidad"));
        Texto.setMaxLength(0);
    }
}

void EditorCeldas::MsflexGridEdt(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyAscii)
{
    ui::FlexGrid &grilla = MsFlexGrid.grid();
    const int col = grilla.Col();
    if (m_reglas.PreparaAntesDeRechazar())
        Text_Propiedades(Edt, col);
    if (!m_reglas.AceptaEdicion(col))
        return;
    if (!m_reglas.PreparaAntesDeRechazar())
        Text_Propiedades(Edt, col);
    if (KeyAscii >= 0 && KeyAscii <= 32) {
        Edt.setText(grilla.Text());
        Edt.setSelStart(1000);
    } else {
        // The first character passes the box's filter as the next ones do:
        // a refused one opens nothing.
        Edt.setText(QString());
        gTeclado().FiltraTecla(Edt, KeyAscii);
        if (KeyAscii == 0)
            return;
        Edt.setText(QString(QChar(KeyAscii)));
        Edt.setSelStart(1);
    }
    m_validado = false;
    m_rechazada = false;
    Edt.setLeft(MsFlexGrid.Left() + grilla.CellLeft());
    Edt.setTop(MsFlexGrid.Top() + grilla.CellTop());
    Edt.setWidth(grilla.CellWidth());
    Edt.setHeight(grilla.CellHeight());
    Edt.raise();
    Edt.show();
    MuestraCeldaEntera(MsFlexGrid);
    Edt.setFocus();
}

void EditorCeldas::MuestraCeldaEntera(ui::FlexGridView &MsFlexGrid)
{
    ui::FlexGrid &grilla = MsFlexGrid.grid();
    if (grilla.CellTop() + grilla.CellHeight() > MsFlexGrid.Height())
        grilla.setTopRow(grilla.TopRow() + 1);
}

void EditorCeldas::FocoALaGrilla(ui::FlexGridView &MsFlexGrid)
{
    MsFlexGrid.setFocus();
    QCoreApplication::processEvents();
    if (Editando())
        Confirma(MsFlexGrid, m_caja);
}

bool EditorCeldas::Confirma(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt)
{
    if (Edt.isHidden())
        return true;
    if (!m_validado) {
        m_reglas.CampoValida(Edt);
        if (m_reglas.Cancelado()) {
            m_rechazada = true;
            Edt.setFocus();
            return false;
        }
    }
    m_validado = false;
    MsFlexGrid.grid().setText(Edt.Text());
    Edt.hide();
    return true;
}

bool EditorCeldas::ConfirmaEdicion()
{
    return Confirma(m_vista, m_caja);
}

void EditorCeldas::EditKeyCode(ui::FlexGridView &MsFlexGrid, ui::TextBox &Edt, int KeyCode, int Shift)
{
    (void) Shift;
    ui::FlexGrid &grilla = MsFlexGrid.grid();
    Steps paso([this](const ErrObject &e) {
        if (m_reglas.SaltaError(e.Number))
            return Steps::Ignore;
        return int(gDB().TratamientoErrores(e, std::nullopt, QStringLiteral("EditKeyCode")));
    });
    switch (KeyCode) {
    case ui::vbKeyReturn: {
        const bool enLaUltima = grilla.Col() == m_reglas.UltimaColumnaEditable();
        paso([&] { FocoALaGrilla(MsFlexGrid); });
        paso([&] {
            if (enLaUltima) {
                if (grilla.Row() < grilla.Rows() - 1)
                    grilla.setRow(grilla.Row() + 1);
                else
                    m_reglas.EnterEnLaUltimaFila(grilla);
            } else if (m_reglas.AvanzaConEnter() && grilla.Col() + 1 < grilla.Cols()) {
                grilla.setCol(grilla.Col() + 1);
            }
        });
        paso([&] {
            if (enLaUltima && m_reglas.ColumnaTrasUltima() >= 0)
                grilla.setCol(m_reglas.ColumnaTrasUltima());
        });
        paso([&] {
            if (m_reglas.ColumnaTrasEnter() >= 0)
                grilla.setCol(m_reglas.ColumnaTrasEnter());
        });
        break;
    }
    case ui::vbKeyEscape:
        paso([&] { Edt.hide(); });
        paso([&] { FocoALaGrilla(MsFlexGrid); });
        break;
    case ui::vbKeyUp:
        paso([&] { FocoALaGrilla(MsFlexGrid); });
        paso([&] {
            if (grilla.Row() > grilla.FixedRows())
                grilla.setRow(grilla.Row() - 1);
        });
        break;
    case ui::vbKeyDown:
        paso([&] { FocoALaGrilla(MsFlexGrid); });
        paso([&] {
            if (grilla.Row() < grilla.Rows() - 1) {
                grilla.setRow(grilla.Row() + 1);
                grilla.setCol(0);
            }
        });
        break;
    default:
        break;
    }
    paso([&] { MuestraCeldaEntera(MsFlexGrid); });
}

void EditorCeldas::MSFlexGrid1_KeyPress(int &KeyAscii)
{
    MsflexGridEdt(m_vista, m_caja, KeyAscii);
}

void EditorCeldas::MSFlexGrid1_GotFocus()
{
    if (Editando())
        Confirma(m_vista, m_caja);
}

void EditorCeldas::MSFlexGrid1_LeaveCell()
{
    if (Editando())
        Confirma(m_vista, m_caja);
}

void EditorCeldas::TxtEdit_KeyPress(int &KeyAscii)
{
    gTeclado().FiltraTecla(m_caja, KeyAscii);
}

void EditorCeldas::TxtEdit_KeyDown(int &KeyCode, int Shift)
{
    if (!gTeclado().EsTeclaFinEdicion(KeyCode))
        return;
    const int tecla = KeyCode;
    KeyCode = 0;
    // Escape leaves the cell as it was: nothing to check.
    if (tecla != ui::vbKeyEscape) {
        m_reglas.CampoValida(m_caja);
        if (m_reglas.Cancelado())
            return;
        m_validado = true;
    }
    EditKeyCode(m_vista, m_caja, tecla, Shift);
}

bool EditorCeldas::eventFilter(QObject *watched, QEvent *event)
{
    // The window coming back to the front (a message box closed, a popup
    // gone) gives the grid the focus it had: that is no commit, and the box
    // takes the focus back.
    if (watched == &m_vista && event->type() == QEvent::FocusIn && Editando()) {
        const Qt::FocusReason razon = static_cast<QFocusEvent *>(event)->reason();
        if (razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason) {
            m_caja.setFocus();
            return true;
        }
    }
    if (watched == m_vista.viewport() && Editando()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        // The click's focus change has already run the check when the focus
        // came from the box; a refusal there is not asked twice.
        if (!m_rechazada)
            Confirma(m_vista, m_caja);
        m_rechazada = false;
        if (Editando())
            return true;
    }
    return QObject::eventFilter(watched, event);
}
