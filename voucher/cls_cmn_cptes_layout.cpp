// The entry grids laid out for a voucher type: titles and widths by the
// type, the system it belongs to and the company's switches.
#include "voucher/cls_cmn_cptes.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/text_box.h"
#include "platform/ui/units.h"
#include "voucher/columnas.h"

#include <initializer_list>
#include <utility>

namespace {

// One grid being laid out: widths in twips, measured as n letters "X" in the
// caller form's font. Moving widths adds them to the column that takes them.
class Disposicion
{
public:
    Disposicion(ui::FlexGrid &grilla, const QWidget &obj)
        : m_grilla(grilla)
        , m_obj(obj)
    {}

    int x(int n) const { return ui::WidthOfX(m_obj, n); }
    int medida(const QString &texto) const { return ui::TextWidth(m_obj, texto); }

    void prepara(int filas, int columnas)
    {
        m_grilla.Clear();
        m_grilla.setRows(filas);
        m_grilla.setCols(columnas);
    }
    void columna(int col, const QString &titulo, int ancho)
    {
        m_grilla.setColWidth(col, ancho);
        m_grilla.setTextMatrix(0, col, titulo);
    }
    void ancho(int col, int twips) { m_grilla.setColWidth(col, twips); }
    void titulo(int col, const QString &titulo) { m_grilla.setTextMatrix(0, col, titulo); }
    void suma(int col, int twips) { m_grilla.setColWidth(col, m_grilla.ColWidth(col) + twips); }
    void mueve(std::initializer_list<int> desde, int hacia)
    {
        for (int col : desde) {
            suma(hacia, m_grilla.ColWidth(col));
            m_grilla.setColWidth(col, 0);
        }
    }
    void izquierda(int col) { m_grilla.setColAlignment(col, ui::flexAlignLeftCenter); }
    // Hidden columns keep a title; the other Parts read and write their cells.
    void ocultas(std::initializer_list<std::pair<int, const char *>> columnas)
    {
        for (const auto &[col, titulo] : columnas)
            columna(col, QString::fromUtf8(titulo), 0);
    }
    void sinTitulo(int desde, int hasta)
    {
        for (int col = desde; col <= hasta; ++col)
            columna(col, QString(), 0);
    }

private:
    ui::FlexGrid &m_grilla;
    const QWidget &m_obj;
};

// A grid's edit box is part of its layout: without one the caller's form is incomplete.
ui::TextBox &Requerido(ui::TextBox *caja)
{
    if (!caja)
        Raise(vberr::ObjectNotSet);
    return *caja;
}

// What the layout of a type's grids depends on.
struct Reglas
{
    QString tc;
    bool esStock = false;
    bool esVentas = false;
    bool pideDeposito = false;
    bool ocultaImportes = false;
};

Reglas LeeReglas(const QString &TC)
{
    // The system of the type; a type without a row has none, so neither the
    // "STOCK" nor the "VENTAS" rules apply to it.
    QString sentencia = QStringLiteral("SELECT SISTEMA FROM V_TA_CPTE WHERE CODIGO = ") + CodigoSQL(TC, 4);
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    const QString sistema = rs.Eof() ? QString() : Campo(rs, QStringLiteral("SISTEMA"));
    gDB().CierraRecordset(&rs);
    Reglas r;
    r.tc = TC;
    r.esStock = vb::EqualsText(sistema, QStringLiteral("STOCK"));
    r.esVentas = vb::EqualsText(sistema, QStringLiteral("VENTAS"));

    r.pideDeposito = CfgSi(Cfg(QStringLiteral("PideDepositoEnCptes")));
    if (vb::EqualsAnyText(TC, {"OP", "OC"})) {
        r.ocultaImportes = true;
    } else if (vb::EqualsText(TC, QStringLiteral("OT"))) {
        r.ocultaImportes = CfgSi(Cfg(QStringLiteral("NoMostrarImportesEnOT")));
        r.pideDeposito = false;
    } else if (vb::EqualsText(TC, QStringLiteral("PR"))) {
        r.pideDeposito = false;
    }
    return r;
}

void DisponeTareas(ui::FlexGrid &grilla, const QWidget &obj, const Reglas &r)
{
    using namespace GrillaTareas;
    Disposicion g(grilla, obj);
    g.prepara(Filas, Columnas);
    g.columna(ColTarea, QStringLiteral("Código"), g.x(7));
    g.columna(ColTareaDescripcion, QStringLiteral("Descripción"), g.x(37));
    g.izquierda(ColTareaDescripcion);
    g.columna(ColHoras, QStringLiteral("Horas"), g.x(7));
    g.columna(ColValorHora, QStringLiteral("Valor/Hora"), g.x(11));
    g.columna(ColTareaTotal, QStringLiteral("Total"), g.x(11));
    if (r.ocultaImportes)
        g.mueve({ColValorHora, ColTareaTotal}, ColTareaDescripcion);
    if (r.ocultaImportes && vb::EqualsText(vb::Trim(r.tc), QStringLiteral("OT")))
        g.mueve({ColHoras}, ColTareaDescripcion);
    g.ocultas({{AuxEsExento, "AuxEsExento"},
               {ImporteSinIVA, "ImporteSinIVA"},
               {AuxObservAdic, "AuxObservAdic"},
               {AuxFechaInicio, "AuxFechaInicio"},
               {AuxFechaFin, "AuxFechaFin"},
               {AuxIdTecnico, "AuxIdTecnico"},
               {CodigoOriginal, "CodigoOriginal"},
               {AuxFechaREALInicio, "AuxFechaREALInicio"},
               {AuxFechaREALFin, "AuxFechaREALFin"},
               {AuxCuentaContable, "AuxCuentaContable"},
               {AuxTasaIVA, "AuxTasaIVA"}});
}

// The article, its quantities and amounts, series and lots.
void DisponeArticulos(Disposicion &g, const Reglas &r, const QString &tituloArticulo)
{
    using namespace GrillaArticulos;
    g.prepara(Filas, Columnas);
    g.columna(ColArticulo, tituloArticulo, g.x(15));
    g.izquierda(ColArticulo);
    g.columna(ColDescripcion, QStringLiteral("Descripción"), r.esStock ? g.x(39) : g.x(29));
    g.izquierda(ColDescripcion);

    g.columna(ColLista, QStringLiteral("Lista"), 0);
    if (CfgSi(Cfg(QStringLiteral("V_ListaPreciosPorItemArticulos"))) && r.esVentas) {
        g.suma(ColArticulo, -g.x(1));
        g.suma(ColDescripcion, -g.x(3));
        g.ancho(ColLista, g.x(4));
    }

    g.columna(ColUnidad, QStringLiteral("UD"), g.x(4));
    g.columna(ColCantidad, QStringLiteral("Cant."), g.x(6));
    g.ancho(ColUnidadEquiv, 0);
    g.ancho(ColCantidadEquiv, 0);
    if (CfgSi(Cfg(QStringLiteral("ConfirmaUDEquiv")))) {
        g.columna(ColUnidadEquiv, QStringLiteral("UDEquiv"), g.x(7));
        g.columna(ColCantidadEquiv, QStringLiteral("Cant. Equiv"), g.x(9));
    }

    g.columna(ColDeposito, QStringLiteral("Dep."), r.pideDeposito ? g.x(4) : 0);
    g.columna(ColImporte, QStringLiteral("Importe"), g.x(11));

    if (!r.esStock) {
        g.columna(ColPorcDto, QStringLiteral("% Dto."), 0);
        if (CfgSi(Cfg(QStringLiteral("V_DescuentoPorArticulos"))) && r.esVentas) {
            g.suma(ColImporte, -g.x(1));
            g.suma(ColArticulo, -g.x(1));
            g.suma(ColDescripcion, -g.x(3));
            g.ancho(ColPorcDto, g.x(5));
        }
    } else {
        g.columna(ColPorcDto, QString(), 0);
    }

    g.columna(ColTotal, QStringLiteral("Total"), 0);
    if (!r.esStock)
        g.columna(ColTotalLinea, QStringLiteral("TOTAL"), g.x(10));
    else
        g.columna(ColTotalLinea, QString(), 0);
    if (r.ocultaImportes)
        g.mueve({ColImporte, ColTotal, ColTotalLinea}, ColDescripcion);

    g.ocultas({{AuxEsExento, "AuxEsExento"}, {AuxPrecioSinIVA, "AuxPrecioSinIVA"}});
    if (!r.esStock)
        g.columna(ColImpuestos, QStringLiteral("Impuestos"), g.x(10));
    else
        g.columna(ColImpuestos, QString(), 0);
    g.ocultas({{AuxPideSerie, "AuxPideSerie"}, {AuxPidelote, "AuxPidelote"}});

    if (vb::EqualsText(r.tc, QStringLiteral("DVPE"))) {
        g.columna(ColNroSerie, QStringLiteral("Nro. Serie"), g.medida(QStringLiteral("Nro. de Serie")));
        g.columna(ColNroLote, QStringLiteral("Nro. Lote"), g.medida(QStringLiteral("Nro. de Lote")));
    } else {
        g.ocultas({{ColNroSerie, "AuxNroSerie"}, {ColNroLote, "AuxNroLote"}});
    }
    g.ocultas({{AuxRestoPorAplicar, "AuxRestoPorAplicar"}});
}

// Stock types give the amounts' room to the description; then the hidden
// columns and the timber measures.
void DisponeArticulosAuxiliares(ui::FlexGrid &grilla, Disposicion &g, const Reglas &r)
{
    using namespace GrillaArticulos;
    if (r.esStock) {
        // The amount's room goes to the description, less a margin of 480.
        g.suma(ColDescripcion, grilla.ColWidth(ColImporte) - 480);
        g.ancho(ColImporte, 0);
        g.mueve({ColTotal}, ColDescripcion);
        g.suma(ColUnidad, g.x(4));
        g.suma(ColCantidad, g.x(7));
    }

    g.ocultas({{AuxTipoArticulo, "AuxTipoArticulo"},
               {AuxRubroArticulo, "AuxRubroArticulo"},
               {AuxListaConIVA, "AuxListaConIVA"},
               {AuxPrecioConIVA, "AuxPrecioConIVA"},
               {AuxCantidadInsumo, "AuxCantidadInsumo"},
               {AuxImporteDescuentoArticulo, "AuxImporteDescuentoArticulo"},
               {AuxTipoCoeficiente, "AuxTipoCoeficiente"},
               {AuxStockDisponible, "AuxStockDisponible"},
               {AuxStockMinimo, "AuxStockMinimo"},
               {AuxTasaIVA, "AuxTasaIVA"},
               {AuxCpteOrigen, "AuxCpteOrigen"},
               {AuxIdCpteOrigen, "AuxIdCpteOrigen"},
               {Lote_Origen, "Lote_Origen"},
               {Lote_Aduana, "Lote_Aduana"},
               {AuxCoeficiente, "AuxCoeficiente"},
               {AuxCodigoPercepcion, "AuxCodigoPercepcion"}});
    g.sinTitulo(ColAux38, ColAux39);
    g.sinTitulo(ColAux41, ColAux82);
    g.sinTitulo(MotivoStock, ControladoPor);

    if (r.esVentas && gMaderera) {
        g.columna(ColEspesor, QStringLiteral("Espesor"), g.x(7));
        g.columna(ColAncho, QStringLiteral("Ancho"), g.x(7));
        g.columna(AuxCoeficiente, QStringLiteral("Largo"), g.x(7));
        g.columna(ColUnidadPrecio, QStringLiteral("UD"), g.x(4));
        g.columna(ColImporteUnidad, QStringLiteral("Importe"), g.x(9));
        g.ancho(ColImporte, 0);
    } else {
        for (int col : {ColEspesor, ColAncho, ColUnidadPrecio, ColImporteUnidad})
            g.ancho(col, 0);
    }

    g.ocultas({{PideMedidas, "PideMedidas"},
               {LargoAnt, "LargoAnt"},
               {ColAux85, ""},
               {EnComodato, "EnComodato"},
               {MKBaseFamilia, "MKBaseFamilia"},
               {CodError, "CodError"}});
}

void DisponeOtrosConceptos(ui::FlexGrid &grilla, const QWidget &obj, const Reglas &r)
{
    using namespace GrillaOtrosConceptos;
    Disposicion g(grilla, obj);
    g.prepara(Filas, Columnas);
    g.columna(ColDetalle, QStringLiteral("Detalle"), g.x(49));
    g.izquierda(ColDetalle);
    g.columna(ColImporteSinIva, QStringLiteral("Importe S/Iva"), g.x(11));
    g.columna(ColImporteConcepto, QStringLiteral("Importe"), g.x(11));
    g.columna(ColCuenta, QStringLiteral("Cuenta"), 0);
    if (r.ocultaImportes)
        g.mueve({ColImporteSinIva, ColImporteConcepto}, ColDetalle);
    g.columna(ColConceptoAux5, QString(), 0);
    g.columna(ColConceptoAux4, QString(), 0);
}

void DisponeTotales(ui::FlexGrid &grilla, const QWidget &obj)
{
    using namespace GrillaTotales;
    Disposicion g(grilla, obj);
    g.prepara(Filas, Columnas);
    g.columna(ColTotDescripcion, QStringLiteral("Descripcion"), g.x(50));
    g.izquierda(ColTotDescripcion);
    g.columna(ColTotItems, QStringLiteral("Cantidad ITEM'S"), g.x(15));
    g.columna(ColTotCantidad, QStringLiteral("Cantidad"), g.x(10));
}

} // namespace

void ClsCmnCptes::InicializaGrids(ui::FlexGrid *MSFlexGrid1,
                                  ui::FlexGrid *MSFlexGrid2,
                                  ui::FlexGrid *MSFlexGrid3,
                                  ui::TextBox *TxtEdit,
                                  ui::TextBox *txtEdit2,
                                  ui::TextBox *txtEdit3,
                                  const QWidget &Obj,
                                  const QString &TC,
                                  ui::FlexGrid *MSFlexGrid4)
{
    const Reglas r = LeeReglas(TC);

    if (MSFlexGrid1) {
        DisponeTareas(*MSFlexGrid1, Obj, r);
        MSFlexGrid1->Refresh();
        Requerido(TxtEdit).setVisible(false);
    }

    // Read even without the article grid, as the form's other captions may use it.
    QString tituloArticulo = Cfg(QStringLiteral("NombreArticulos"));
    if (vb::Trim(tituloArticulo).isEmpty())
        tituloArticulo = QStringLiteral("Código");
    tituloArticulo = vb::ProperCase(tituloArticulo);

    if (MSFlexGrid2) {
        Disposicion g(*MSFlexGrid2, Obj);
        DisponeArticulos(g, r, tituloArticulo);
        DisponeArticulosAuxiliares(*MSFlexGrid2, g, r);
        MSFlexGrid2->Refresh();
        if (txtEdit2)
            txtEdit2->setVisible(false);
    }

    if (MSFlexGrid3) {
        Requerido(txtEdit3).setText(QString());
        DisponeOtrosConceptos(*MSFlexGrid3, Obj, r);
    }

    if (MSFlexGrid4)
        DisponeTotales(*MSFlexGrid4, Obj);
}
