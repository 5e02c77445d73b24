// Line-count, item and repeated-code checks of ClsCmnCptes.
#include "voucher/cls_cmn_cptes.h"

#include "voucher/cls_cmn_cptes_p.h"
#include "voucher/columnas.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/db_dll.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"

#include <cmath>

bool ClsCmnCptes::ValidaCantidadLineasCpte(const QString &TC,
                                           const QString &Letra,
                                           const ui::FlexGrid *MSFlexGrid1,
                                           const ui::FlexGrid *MSFlexGrid2,
                                           const ui::FlexGrid *MSFlexGrid3,
                                           std::int16_t &CantLineas,
                                           std::int16_t &CantLineasUsadas,
                                           std::int32_t Agragarle,
                                           bool LineasAnteriores)
{
    Steps paso = Pasos(QStringLiteral("ValidaCantidadLineasCpte"));
    if (!LineasAnteriores) {
        ado::Recordset rs;
        paso([&] {
            QString sentencia = QStringLiteral("SELECT CANTLINEAS FROM TA_CONFIG_IMP_CPTE WHERE TC=") + TextoSQL(TC)
                                + QStringLiteral(" AND LETRA=") + TextoSQL(Letra) + QStringLiteral(" ORDER BY ID");
            gDB().AbrirRecordset(sentencia, rs);
        });
        paso([&] {
            if (rs.Bof() && rs.Eof())
                CantLineas = 0;
            else
                CantLineas = vb::CInt(
                    gComponente().ConvierteACurrency(CampoValor(rs, QStringLiteral("CantLineas"))).toDouble());
        });
        paso([&] { gDB().CierraRecordset(&rs); });
        if (paso.leaving())
            return false;
    }
    // No limit: every count fits.
    if (CantLineas == 0)
        return true;
    bool caben = false;
    paso([&] {
        const std::int32_t usadas = cptes::CuentaLineas(MSFlexGrid1) + cptes::CuentaLineas(MSFlexGrid2)
                                    + cptes::CuentaLineas(MSFlexGrid3);
        CantLineasUsadas = vb::CInt(double(usadas));
        caben = CantLineas >= std::int64_t(vb::CLng(double(CantLineasUsadas) + double(Agragarle)));
    });
    return !paso.leaving() && caben;
}

std::int32_t ClsCmnCptes::CuentaItems(const ui::FlexGrid *MSFlexGrid1,
                                      const ui::FlexGrid *MSFlexGrid2,
                                      const ui::FlexGrid *MSFlexGrid3,
                                      std::int32_t &CantTareas,
                                      std::int32_t &CantArticulos,
                                      std::int32_t &CantOtrosConceptos,
                                      std::int32_t &TotUnidades)
{
    CantTareas = 0;
    CantArticulos = 0;
    CantOtrosConceptos = 0;
    TotUnidades = 0;
    Steps paso = Pasos(QStringLiteral("CuentaItems&"));
    paso([&] { CantTareas = cptes::CuentaLineas(MSFlexGrid1); });
    paso([&] {
        if (!MSFlexGrid2)
            return;
        std::int32_t lineas = 0;
        std::int32_t unidades = 0;
        for (int fila = 1; fila < MSFlexGrid2->Rows(); ++fila) {
            if (!cptes::EsLinea(*MSFlexGrid2, fila))
                continue;
            ++lineas;
            // The running total is whole after every line: small fractions add nothing.
            const Currency cantidad = gComponente().ConvierteACurrency(
                vb::Trim(MSFlexGrid2->TextMatrix(fila, GrillaArticulos::ColCantidad)));
            unidades = vb::CLng((Currency::fromDouble(unidades) + cantidad).toDouble());
        }
        CantArticulos = lineas;
        TotUnidades = unidades;
    });
    paso([&] { CantOtrosConceptos = cptes::CuentaLineas(MSFlexGrid3); });
    if (paso.leaving())
        return 0;
    return CantTareas + CantArticulos + CantOtrosConceptos;
}

namespace {

// The first row but FilaIgnorar whose code equals the given one (both
// trimmed, case ignored). Rows that are not lines take part too.
bool CodigoRepetido(const ui::FlexGrid &grilla,
                    const QString &codigo,
                    std::int32_t FilaIgnorar,
                    std::int32_t &FilaEncontrada)
{
    const QString buscado = vb::Trim(codigo);
    for (int fila = 1; fila < grilla.Rows(); ++fila) {
        if (fila == FilaIgnorar)
            continue;
        if (vb::EqualsText(vb::Trim(grilla.TextMatrix(fila, 0)), buscado)) {
            FilaEncontrada = fila;
            return true;
        }
    }
    return false;
}

} // namespace

bool ClsCmnCptes::TareaRepetida(const ui::FlexGrid &MSFlexGrid1,
                                const QString &Tarea,
                                std::int32_t FilaIgnorar,
                                std::int32_t &FilaEncontrada)
{
    return CodigoRepetido(MSFlexGrid1, Tarea, FilaIgnorar, FilaEncontrada);
}

bool ClsCmnCptes::ArticuloRepetido(const ui::FlexGrid &MSFlexGrid2,
                                   const QString &Articulo,
                                   std::int32_t FilaIgnorar,
                                   std::int32_t &FilaEncontrada)
{
    return CodigoRepetido(MSFlexGrid2, Articulo, FilaIgnorar, FilaEncontrada);
}

bool ClsCmnCptes::OtrosConceptosRepetidos(const ui::FlexGrid &MSFlexGrid3,
                                          const QString &OtroConcepto,
                                          std::int32_t FilaIgnorar,
                                          std::int32_t &FilaEncontrada)
{
    return CodigoRepetido(MSFlexGrid3, OtroConcepto, FilaIgnorar, FilaEncontrada);
}

bool ClsCmnCptes::NumeroEsFraccion(const Variant &Numero)
{
    // Any size of number: a quantity of 40000 is whole, not an overflow.
    const double x = gComponente().ConvierteADouble(Numero);
    return std::isfinite(x) && x != std::floor(x);
}
