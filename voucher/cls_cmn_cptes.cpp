#include "voucher/cls_cmn_cptes.h"

#include "database/configuracion.h"
#include "platform/component/component.h"
#include "platform/runtime/strings.h"
#include "platform/ui/text_box.h"

#include <array>

ClsCmnCptes::ClsCmnCptes()
    : mPIVA(gComponente().ConvierteACurrency(Cfg(QStringLiteral("PIVA"))).toDouble())
    , mAsientosXStock(CfgSi(Cfg(QStringLiteral("AsientosXStock"))))
{}

namespace {

// What the edit box of a grid column edits: the field, the master table whose
// codes the column takes (empty for free values) and the length limit.
struct Editor
{
    const char *dataField;
    const char *tag;
    int maxLength;
};

constexpr std::array<Editor, 5> kTareas{{
    {"IdTarea", "v_ta_tareas", 4},
    {"Descripcion", "", 0},
    {"HorasEstimadas", "", 0},
    {"ValorHora", "", 0},
    {"Total", "", 0},
}};

constexpr std::array<Editor, 16> kArticulos{{
    {"IdArticulo", "v_ma_articulos", 25},
    {"Descripcion", "", 50},
    {"IdListaPrecioArticulo", "V_MA_PRECIOS", 4},
    {"Espesor", "", 0},
    {"Ancho", "", 0},
    {"IdUnidad", "V_TA_UNIDAD", 4},
    {"IdDepositoArt", "V_TA_DEPOSITO", 4},
    {"Cantidad", "", 0},
    {"Largo", "", 0},
    {"IdUnidadEquiv", "V_TA_UNIDAD", 4},
    {"CantidadEquiv", "", 0},
    {"PorcDtoArticulo", "", 0},
    {"Ud_Pr", "V_TA_UNIDAD", 4},
    {"Importe_Ud", "", 0},
    {"ArtImporte", "", 0},
    {"Total", "", 0},
}};

constexpr std::array<Editor, 3> kOtrosConceptos{{
    {"OCDescripcion", "MA_CUENTAS/SOLOIMPUTABLES", 200},
    {"OCImporteSinIva", "", 0},
    {"OCImporte", "", 0},
}};

template<std::size_t N>
void Aplica(const std::array<Editor, N> &tabla, ui::TextBox &Texto, std::int32_t Columna)
{
    if (Columna < 0 || std::size_t(Columna) >= N)
        return;
    const Editor &e = tabla[std::size_t(Columna)];
    Texto.setDataField(QString::fromLatin1(e.dataField));
    Texto.setTag(QString::fromLatin1(e.tag));
    Texto.setMaxLength(e.maxLength);
}

} // namespace

void ClsCmnCptes::TextPropiedades(ui::TextBox &Texto, std::int32_t Columna)
{
    Texto.setDataField({});
    Texto.setMaxLength(0);
    Texto.setTag({});
    const QString nombre = vb::Trim(Texto.Name());
    if (vb::EqualsText(nombre, QStringLiteral("TxtEdit")))
        Aplica(kTareas, Texto, Columna);
    else if (vb::EqualsText(nombre, QStringLiteral("TxtEdit2")) || vb::EqualsText(nombre, QStringLiteral("TXTAUX1"))
             || vb::EqualsText(nombre, QStringLiteral("TXTAUX2")))
        Aplica(kArticulos, Texto, Columna);
    else if (vb::EqualsText(nombre, QStringLiteral("TxtEdit3")))
        Aplica(kOtrosConceptos, Texto, Columna);
}
