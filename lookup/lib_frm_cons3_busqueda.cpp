#include "lookup/lib_frm_cons3.h"

#include "database/db_dll.h"
#include "lookup/cantidades_consulta.h"
#include "lookup/faltantes_stock.h"
#include "lookup/filtros_consulta.h"
#include "platform/component/cls_componente.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/ui.h"

// The list lookup's search, filters, keys and quantities.

namespace {

constexpr long kFondoConFoco = 16776960; // cyan
constexpr long kFondoSinFoco = 16777215; // white

} // namespace

// ---- The incremental search ----

std::int32_t Lib_FrmCons3::Busqueda(std::int32_t Clave, const QString &QueValor)
{
    std::int32_t encontrada = 0;
    Steps::IgnoringErrors()([&] {
        const ui::ListItemCollection &filas = ListView1->ListItems();
        const int n = filas.Count();
        for (int i = 1; i <= n; ++i) {
            const ui::ListItem fila = filas.Item(i);
            if (CoincideBusqueda(Clave < 1 ? fila.Text() : fila.SubItems(Clave), QueValor)) {
                encontrada = i;
                return;
            }
        }
    });
    return encontrada;
}

void Lib_FrmCons3::CmbSearch_GotFocus(int Index)
{
    Steps paso = Steps::IgnoringErrors();
    paso([&] { IndiceBusquedaActiva = std::int16_t(Index); });
    paso([&] { CmbSearch->Item(Index)->setBackColor(kFondoConFoco); });
}

void Lib_FrmCons3::CmbSearch_LostFocus(int Index)
{
    Steps::IgnoringErrors()([&] { CmbSearch->Item(Index)->setBackColor(kFondoSinFoco); });
}

void Lib_FrmCons3::CmbSearch_Change(int Index)
{
    Steps paso = Steps::IgnoringErrors();
    std::int32_t fila = 0;
    paso([&] { fila = Busqueda(mComponente().ConvierteALong(Index), vb::Trim(CmbSearch->Item(Index)->Text())); });
    paso([&] {
        if (fila == 0)
            return;
        ui::ListItem item = ListView1->ListItems().Item(fila);
        ListView1->setSelectedItem(item);
        item.EnsureVisible();
    });
}

// A pick from the drop-down list is a change.
void Lib_FrmCons3::CmbSearch_Click(int Index)
{
    CmbSearch_Change(Index);
}

// ---- Keys in a search box ----

void Lib_FrmCons3::CmbSearch_KeyDown(int Index, int &KeyCode, int Shift)
{
    (void) Shift;
    Steps paso = Steps::IgnoringErrors();
    switch (KeyCode) {
    case ui::vbKeyF5:
        FiltroServidor(Index);
        break;
    case ui::vbKeyDown:
    case ui::vbKeyUp:
    case ui::vbKeyPageDown:
    case ui::vbKeyPageUp:
        paso([&] {
            int tecla = KeyCode;
            ListView1_KeyDown(tecla, 0);
        });
        paso([&] { ListView1->setFocus(); });
        break;
    default:
        break;
    }
}

void Lib_FrmCons3::FiltroServidor(int Index)
{
    Steps paso = Steps::IgnoringErrors();
    ui::ComboBox *caja = nullptr;
    QString texto;
    QString campo;
    paso([&] {
        caja = CmbSearch->Item(Index);
        texto = caja->Text();
        campo = caja->Tag();
    });
    if (!caja)
        return;
    SentenciaFiltrada filtrada;
    paso([&] {
        ClausulaOrden.clear();
        filtrada = ArmaFiltroServidor(SQL, SentenciaSinOrden, campo, texto, CfgUsaConsultaLIKE);
        ClausulaOrden = filtrada.ClausulaOrden;
    });
    // The begins-with form shows "*" as the "%" it stands for (which searches again).
    paso([&] {
        if (!CfgUsaConsultaLIKE)
            caja->setText(TextoCajaFiltro(texto, false));
    });
    paso([&] { SQL = filtrada.SQL; });
    paso([&] { caja->setText(QString()); });
    paso([&] { SentenciaSinOrden = SQL; });
    paso([&] { Form_Load(); });
}

void Lib_FrmCons3::CmdNueva_Click()
{
    Steps paso = Steps::IgnoringErrors();
    paso([&] { SQL = SentenciaOriginal; });
    paso([&] { Form_Load(); });
    paso([&] { CmbSearch->Item(0)->setFocus(); });
}

void Lib_FrmCons3::ListView1_ColumnClick(int position)
{
    Steps::IgnoringErrors()([&] {
        const int orden = ListView1->SortOrder() == ui::lvwAscending ? ui::lvwDescending : ui::lvwAscending;
        // Key and order set while unsorted, so the rows are sorted once.
        ListView1->setSorted(false);
        ListView1->setSortKey(position - 1);
        ListView1->setSortOrder(orden);
        ListView1->setSorted(true);
    });
}

// ---- Keys in the list ----

void Lib_FrmCons3::ListView1_KeyDown(int &KeyCode, int Shift)
{
    Steps paso([this](const ErrObject &err) {
        return mComponente().MuestraError(err, {}, QStringLiteral("ListView1_KeyDown"));
    });
    const bool sinModificador = (Shift & (ui::vbShiftMask | ui::vbCtrlMask | ui::vbAltMask)) == 0;
    if (KeyCode == ui::vbKeySpace && CheckBoxes)
        return; // the list ticks the row itself
    if (KeyCode == ui::vbKeyReturn) {
        paso([&] { CmdAceptar_Click(); });
        return;
    }
    const bool insertar = KeyCode == ui::vbKeyInsert && (Shift == ui::vbShiftMask || sinModificador);
    const bool borrar = KeyCode == ui::vbKeyDelete && sinModificador;
    if (!UsaCantidades || !(insertar || borrar))
        return; // what a key types reaches the search box through ListView1_KeyPress

    int columna = 0;
    ui::ListItem fila;
    QString celda;
    paso([&] { columna = IndiceColumna(QString::fromUtf16(kColumnaCantidad)); });
    paso([&] { fila = ListView1->SelectedItem(); });
    paso([&] { celda = fila.SubItems(columna - 1); });
    std::optional<CambioCantidad> cambio;
    if (KeyCode == ui::vbKeyInsert && Shift == ui::vbShiftMask) {
        paso([&] {
            // An answer that is no quantity is told and asked again, with
            // what was typed, rather than cut to the number it begins with.
            QString respuesta = celda;
            for (;;) {
                respuesta = ui::InputBox(QString::fromUtf16(kPreguntaCantidad),
                                         QString::fromUtf16(kTituloCantidad),
                                         respuesta);
                if (vb::Trim(respuesta).isEmpty())
                    return;
                if (const std::optional<double> cantidad = CantidadEscrita(respuesta)) {
                    cambio = CantidadIngresada(*cantidad);
                    return;
                }
                ui::MsgBox(AvisoCantidadNoValida(respuesta),
                           ui::vbExclamation,
                           QString::fromUtf16(kTituloAvisoCantidad));
            }
        });
    } else if (KeyCode == ui::vbKeyInsert) {
        paso([&] { cambio = SumaCantidad(celda); });
    } else {
        paso([&] { cambio = RestaCantidad(celda); });
    }
    if (!cambio)
        return;
    paso([&] { fila.setSubItems(columna - 1, cambio->celda); });
    paso([&] {
        if (cambio->marcada)
            fila.setChecked(*cambio->marcada);
    });
}

void Lib_FrmCons3::ListView1_KeyPress(int &KeyAscii)
{
    // What the key types, as typed, goes to the search box that last had the
    // focus; Backspace takes its last character back. Space ticks rows in
    // check-box mode and types nothing then.
    if (CheckBoxes && KeyAscii == ui::vbKeySpace)
        return;
    const bool retroceso = KeyAscii == ui::vbKeyBack;
    if (!retroceso && !QChar(KeyAscii).isPrint())
        return;
    Steps paso = Steps::IgnoringErrors();
    ui::ComboBox *caja = nullptr;
    paso([&] { caja = CmbSearch->Item(IndiceBusquedaActiva); });
    if (!caja)
        return;
    paso([&] {
        const QString texto = caja->Text();
        caja->setText(retroceso ? texto.left(texto.size() - 1) : texto + QChar(KeyAscii));
    });
    paso([&] { caja->setFocus(); });
}

// ---- The shortage report ----

void Lib_FrmCons3::Form_KeyDown(int &KeyCode, int Shift)
{
    (void) Shift;
    if (KeyCode != ui::vbKeyF12 || !EsConsultaArticulos)
        return;
    KeyCode = 0;
    Steps paso = Steps::IgnoringErrors();
    ui::ListItem fila;
    paso([&] { fila = ListView1->SelectedItem(); });
    // Nothing to report without a row.
    if (!fila)
        return;
    QString articulo;
    QString descripcion;
    paso([&] { articulo = ValorDeColumna(fila, IndiceColumna(QStringLiteral("idarticulo"))); });
    paso([&] { descripcion = ValorDeColumna(fila, IndiceColumna(QStringLiteral("Descripcion"))); });
    int respuesta = ui::vbNo;
    paso([&] {
        respuesta = ui::MsgBox(PreguntaFaltante(articulo, descripcion),
                               ui::vbQuestion + ui::vbYesNo,
                               QString::fromUtf16(kTituloFaltante));
    });
    if (respuesta != ui::vbYes)
        return;
    paso([&] { gDB().EjecutaConsultaSQL(SentenciaFaltante(articulo, descripcion, gDB().gUsuario, vb::Now())); });
    // The runner keeps some failures to itself; a report that was not recorded must not look recorded.
    paso([&] {
        const ado::Errors &errores = gDB().gCnn().errors();
        if (errores.Count() > 0 && FallaNoInformada(errores.Item(0)))
            ui::MsgBox(errores.Item(0).Description, ui::vbCritical, QStringLiteral("Aviso al Operador"));
    });
}
