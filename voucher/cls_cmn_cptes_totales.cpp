// Members of ClsCmnCptes: the item-totals grid, row and column colours, and
// the current line's detail in the status bar.
#include "voucher/cls_cmn_cptes.h"

#include "database/armado_sql.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tab_strip.h"
#include "voucher/columnas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Colours of the totals grid (BGR).
constexpr std::int32_t kColorSolapa = 12648447; // light yellow
constexpr std::int32_t kColorGrupo = 12640511;  // light orange
constexpr std::int32_t kColorUltima = 16711680; // blue

bool Visible(const ui::TabStrip &tabs, int indice)
{
    const Variant v = tabs.TabVisible(indice);
    return !v.isNull() && v.toBool();
}

// The rows of a grid that hold a line.
template<class F>
void PorLinea(const ui::FlexGrid &g, F f)
{
    for (int fila = 1; fila < g.Rows(); ++fila)
        if (!vb::Trim(g.TextMatrix(fila, 0)).isEmpty())
            f(fila);
}

// A group's value as DatosTabla looks it up: CHR(255) and CHR(0) out, trimmed.
QString ValorBuscado(const QString &grupo)
{
    return vb::Trim(gComponente().QuitaCaracteres(grupo, QString(QChar(0xFF)), QString(QChar(0))));
}

// A sum of quantities as the grid shows it: added at four decimals, so that
// a thousand lines of 0.1 make 100, and written with the configured decimals.
QString TextoSuma(Currency suma)
{
    const QString configurados = vb::Trim(gCantidadDecimales);
    const int decimales = configurados.isEmpty() ? 4 : std::clamp(int(vb::CInt(vb::Val(configurados))), 0, 4);
    return vb::CStr(vb::Round(suma, decimales));
}

} // namespace

void ClsCmnCptes::TotalizadorControl(const ui::FlexGrid &MSFlexGrid1,
                                     const ui::FlexGrid &MSFlexGrid2,
                                     const ui::FlexGrid &MSFlexGrid3,
                                     ui::FlexGrid &MSFlexGrid4,
                                     const ui::TabStrip &SSTab1,
                                     bool AbiertoPorRubro,
                                     bool AbiertoPorTipo)
{
    ui::FlexGrid &g = MSFlexGrid4;
    Steps paso = Pasos(QStringLiteral("TotalizadorControl"));
    // Writes the next row, colours it and opens the one after.
    const auto fila =
        [&](const QString &descripcion, const QString &items, const QString &cantidad, std::int32_t color) {
            const int f = g.Rows() - 1;
            g.setTextMatrix(f, GrillaTotales::ColTotDescripcion, descripcion);
            g.setTextMatrix(f, GrillaTotales::ColTotItems, items);
            g.setTextMatrix(f, GrillaTotales::ColTotCantidad, cantidad);
            PintarFila(f, g, color);
            g.setRows(g.Rows() + 1);
        };
    paso([&] { g.setRows(2); });

    if (!paso.leaving() && Visible(SSTab1, 0)) {
        int lineas = 0;
        long long minutos = 0;
        paso([&] {
            lineas = 0;
            minutos = 0;
            PorLinea(MSFlexGrid1, [&](int f) {
                ++lineas;
                const double m
                    = ConvierteAMinutos(MSFlexGrid1.TextMatrix(f, GrillaTareas::ColHoras), QString(), QString(), true)
                          .toDouble();
                minutos += static_cast<long long>(vb::Round(m, 0));
            });
        });
        paso([&] {
            fila(SSTab1.TabCaption(0),
                 QString::number(lineas),
                 QString::number(minutos / 60) + QLatin1Char(':') + QString::number(minutos % 60),
                 kColorSolapa);
        });
    }

    if (!paso.leaving() && Visible(SSTab1, 1)) {
        const int columna = AbiertoPorRubro  ? GrillaArticulos::AuxRubroArticulo
                            : AbiertoPorTipo ? GrillaArticulos::AuxTipoArticulo
                                             : GrillaArticulos::ColArticulo;
        QString tabla, clave;
        if (AbiertoPorRubro) {
            tabla = QStringLiteral("V_ta_Rubros");
            clave = QStringLiteral("IdRubro");
        } else if (AbiertoPorTipo) {
            tabla = QStringLiteral("V_ta_TipoArticulo");
            clave = QStringLiteral("Tipo");
        }
        int lineas = 0;
        Currency total;
        // By article code no table describes the groups: the grid's own
        // description of the first line of each code does.
        QStringList descripciones;
        std::vector<Currency> sumas; // each group's, as its text is written
        paso([&] {
            gTotalesAgrupados.assign(1, TipoCampoValor{});
            descripciones = QStringList{QString()};
            sumas.assign(1, Currency());
            lineas = 0;
            total = Currency();
            PorLinea(MSFlexGrid2, [&](int f) {
                const Currency q = gComponente().ConvierteACurrency(
                    Variant(MSFlexGrid2.TextMatrix(f, GrillaArticulos::ColCantidad)));
                total += q;
                ++lineas;
                const QString grupo = vb::Trim(MSFlexGrid2.TextMatrix(f, columna));
                const std::int32_t i = BuscaEnArregloGlobal(grupo);
                if (i < 0) {
                    gTotalesAgrupados.push_back(TipoCampoValor{grupo, TextoSuma(q)});
                    sumas.push_back(q);
                    descripciones << vb::Trim(MSFlexGrid2.TextMatrix(f, GrillaArticulos::ColDescripcion));
                } else {
                    TipoCampoValor &t = gTotalesAgrupados[std::size_t(i)];
                    Currency &suma = sumas[std::size_t(i)];
                    suma += q;
                    t.ValorCampo = TextoSuma(suma);
                }
            });
        });
        paso([&] { fila(SSTab1.TabCaption(1), QString::number(lineas), TextoSuma(total), kColorSolapa); });
        if (lineas > 0) {
            for (std::size_t i = 0; i < gTotalesAgrupados.size(); ++i) {
                const bool sigue = paso([&] {
                    const TipoCampoValor &t = gTotalesAgrupados[i];
                    const QString descripcion = tabla.isEmpty() ? descripciones.value(int(i))
                                                                : gDB()
                                                                      .DatosTabla(tabla,
                                                                                  ValorBuscado(t.NombreCampo),
                                                                                  QStringLiteral("Descripcion"),
                                                                                  clave,
                                                                                  8,
                                                                                  QString(),
                                                                                  true)
                                                                      .toString();
                    fila(t.NombreCampo + QLatin1Char('-') + descripcion, QString(), t.ValorCampo, kColorGrupo);
                });
                if (!sigue)
                    break;
            }
        }
    }

    if (!paso.leaving() && Visible(SSTab1, 2)) {
        int lineas = 0;
        paso([&] {
            lineas = 0;
            PorLinea(MSFlexGrid3, [&](int) { ++lineas; });
        });
        paso([&] { fila(SSTab1.TabCaption(2), QString::number(lineas), QString(), kColorSolapa); });
    }

    paso([&] { PintarFila(g.Rows() - 1, g, kColorUltima); });
}

void ClsCmnCptes::PintarFila(std::int32_t Fila, ui::FlexGrid &MsFlexGrid, std::int32_t Color)
{
    const int columna = MsFlexGrid.Col();
    for (int c = 0; c < MsFlexGrid.Cols(); ++c) {
        MsFlexGrid.setCol(c);
        MsFlexGrid.setRow(int(Fila));
        MsFlexGrid.setCellBackColor(Color);
    }
    MsFlexGrid.setCol(columna);
}

void ClsCmnCptes::PintarColuma(
    std::int32_t Columna, ui::FlexGrid &MsFlexGrid, std::int32_t FilaDesde, std::int32_t FilaHasta, std::int32_t Color)
{
    Steps paso = Steps::IgnoringErrors();
    const int fila = MsFlexGrid.Row();
    const int desde = FilaDesde == -1 ? 0 : int(FilaDesde);
    const int hasta = FilaHasta == -1 ? MsFlexGrid.Rows() - 1 : int(FilaHasta);
    for (int f = desde; f <= hasta; ++f)
        paso([&] {
            MsFlexGrid.setCol(int(Columna));
            MsFlexGrid.setRow(f);
            MsFlexGrid.setCellBackColor(Color);
        });
    paso([&] { MsFlexGrid.setRow(fila); });
}

void ClsCmnCptes::MuestraDetalle(const QString &Detalle, ui::StatusBar &StatB, std::int32_t Columna)
{
    StatB.Panels(int(Columna)).setText(Detalle);
}

void ClsCmnCptes::MuestraDetalleTareas(const ui::FlexGrid &MSFlexGrid1, ui::StatusBar &StatB)
{
    const int f = MSFlexGrid1.Row();
    MuestraDetalle(vb::Trim(MSFlexGrid1.TextMatrix(f, GrillaTareas::ColTarea)) + QStringLiteral(" - ")
                       + vb::Trim(MSFlexGrid1.TextMatrix(f, GrillaTareas::ColTareaDescripcion)),
                   StatB,
                   4);
}

void ClsCmnCptes::MuestraDetalleArticulos(const ui::FlexGrid &MSFlexGrid2, ui::StatusBar &StatB, std::int32_t Columna)
{
    Steps paso = Steps::IgnoringErrors();
    paso([&] {
        const int f = MSFlexGrid2.Row();
        MuestraDetalle(vb::Trim(MSFlexGrid2.TextMatrix(f, GrillaArticulos::ColArticulo)) + QStringLiteral(" - ")
                           + vb::Trim(MSFlexGrid2.TextMatrix(f, GrillaArticulos::ColDescripcion)),
                       StatB,
                       Columna);
    });
    paso([&] {
        for (int i = 1; i <= StatB.Count(); ++i) {
            if (!vb::EqualsText(StatB.Panels(i).Key(), QStringLiteral("Stock")))
                continue;
            const double stock = gComponente().ConvierteADouble(
                MSFlexGrid2.TextMatrix(MSFlexGrid2.Row(), GrillaArticulos::AuxStockDisponible));
            StatB.Panels(i).setText(QStringLiteral("Stock: ") + vb::CStr(stock));
            break;
        }
    });
}

void ClsCmnCptes::MuestraDetalleOtrosConceptos(const ui::FlexGrid &MSFlexGrid3, ui::StatusBar &StatB)
{
    MuestraDetalle(vb::Trim(MSFlexGrid3.TextMatrix(MSFlexGrid3.Row(), GrillaOtrosConceptos::ColDetalle)), StatB, 4);
}
