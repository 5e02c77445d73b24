// A stored voucher loaded into the entry grids: its tasks, article lines and
// other concepts, from the sales ("V_") or the purchase ("C_") tables.
#include "voucher/cls_cmn_cptes.h"
#include "voucher/cls_cmn_cptes_p.h"

#include "database/armado_sql.h"
#include "database/articulos.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/currency.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/flex_grid.h"
#include "stock/ast.h"
#include "voucher/columnas.h"

#include <functional>
#include <optional>

namespace {

// A flag as the grid holds it; Null counts as off.
QString MenosUno(std::optional<bool> marca)
{
    return marca.value_or(false) ? QStringLiteral("-1") : QStringLiteral("0");
}

// A date as the day/month/year text of the regional settings, whatever form
// the engine hands it in, so that what a caller writes back names the same day.
QString Fecha(ado::Recordset &rs, const char *nombre)
{
    const Variant v = rs.Fields(QLatin1String(nombre)).Value();
    if (v.isNull() || v.isEmpty())
        return {};
    if (v.isDate())
        return vb::GeneralDate(v.toDate());
    const QString texto = vb::Trim(v.toString());
    if (const auto fecha = vb::ParseDate(texto))
        return vb::GeneralDate(*fecha);
    return texto;
}

QString Moneda(ado::Recordset &rs, const char *nombre)
{
    return FmtMoneda(Campo(rs, nombre), -1).toString();
}

// The complement goes into the statement without quotes: only a whole number may.
QString Complemento(const QString &IdComplemento)
{
    bool entero = false;
    const qlonglong n = vb::Trim(IdComplemento).toLongLong(&entero);
    if (!entero)
        Raise(vberr::TypeMismatch,
              QStringLiteral("El complemento del comprobante no es un número entero: ") + IdComplemento);
    return QString::number(n);
}

// One load: what the steps share.
class Carga
{
public:
    Carga(ClsCmnCptes &cptes, Steps &paso, cptes::Carga &estado)
        : m_cptes(cptes)
        , m_paso(paso)
        , m(estado)
    {}

    QString letra;
    bool sistemaCompras = false;
    bool enComodato = false;

    // The rows of a recordset into the grid: the first into its last row, a
    // row added before each further one and an empty row after them. A
    // retried failure opens a closed recordset again.
    void Llena(ui::FlexGrid *grilla, ado::Recordset &rs, QString &sentencia, const std::function<void()> &fila)
    {
        if (!grilla)
            return;
        bool hayFilas = false;
        int intento = 0;
        m_paso([&] {
            if (intento++ > 0 && rs.State() == ado::adStateClosed)
                Abre(sentencia, rs);
            hayFilas = !rs.Bof();
        });
        if (!hayFilas)
            return;
        for (bool primera = true;; primera = false) {
            bool fin = true;
            if (!m_paso([&] { fin = rs.Eof(); }) || fin)
                break;
            if (!primera && !m_paso([&] { grilla->setRows(grilla->Rows() + 1); }))
                return;
            fila();
            bool siguiente = false;
            m_paso([&] {
                rs.MoveNext();
                siguiente = true;
            });
            // A cursor that cannot move on ends the grid rather than writing one row for ever.
            if (!siguiente)
                break;
        }
        m_paso([&] { grilla->setRows(grilla->Rows() + 1); });
    }

    void Tarea(ui::FlexGrid &g, ado::Recordset &rs)
    {
        using namespace GrillaTareas;
        const int f = g.Rows() - 1;
        pon(g, f, ColTarea, [&] { return Campo(rs, "IdTarea"); });
        pon(g, f, CodigoOriginal, [&] { return Campo(rs, "IdTarea"); });
        pon(g, f, ColTareaDescripcion, [&] { return Campo(rs, "Descripcion"); });
        pon(g, f, ColHoras, [&] {
            std::int32_t horas = 0, minutos = 0;
            // Hours not recorded are no hours.
            return FormateaHoras(Variant(gComponente().ConvierteADouble(rs.Fields(QStringLiteral("Horas")).Value())),
                                 horas,
                                 minutos)
                .toString();
        });
        pon(g, f, ColValorHora, [&] { return Moneda(rs, "ValorHora"); });
        pon(g, f, ImporteSinIVA, [&] { return Moneda(rs, "valorHora_S_Iva"); });
        pon(g, f, ColTareaTotal, [&] { return Moneda(rs, "Total"); });
        if (m.Compras)
            return;
        pon(g, f, AuxObservAdic, [&] { return Campo(rs, "descripcionadicional"); });
        pon(g, f, AuxFechaInicio, [&] { return Fecha(rs, "FechaEstInicio"); });
        pon(g, f, AuxFechaFin, [&] { return Fecha(rs, "FechaEstFin"); });
        pon(g, f, AuxIdTecnico, [&] { return Campo(rs, "IdTecnico"); });
        pon(g, f, AuxFechaREALInicio, [&] { return Fecha(rs, "FechaREALInicio"); });
        pon(g, f, AuxFechaREALFin, [&] { return Fecha(rs, "FechaREALFin"); });
    }

    void OtroConcepto(ui::FlexGrid &g, ado::Recordset &rs)
    {
        using namespace GrillaOtrosConceptos;
        const int f = g.Rows() - 1;
        pon(g, f, ColDetalle, [&] { return Campo(rs, "Observacion"); });
        pon(g, f, ColImporteConcepto, [&] { return Moneda(rs, "Importe"); });
        pon(g, f, ColImporteSinIva, [&] { return Moneda(rs, "Importe_S_IVA"); });
    }

    void Articulo(ui::FlexGrid &g, ado::Recordset &rs)
    {
        using namespace GrillaArticulos;
        // The caller's grid may end in a line of its own.
        m_paso([&] {
            if (cptes::EsLinea(g, g.Rows() - 1))
                g.setRows(g.Rows() + 1);
        });
        const int f = g.Rows() - 1;
        QString idArticulo;
        double cantidad = 0;
        m_paso([&] {
            idArticulo = CampoSinRecortar(rs, "IdArticulo");
            cantidad = gComponente().ConvierteADouble(CampoValor(rs, QStringLiteral("Cantidad")));
        });
        const double aplicada = cptes::CantidadAplicada(m_cptes, m, idArticulo, cantidad, m_paso);

        pon(g, f, ColArticulo, [&] { return Campo(rs, "IdArticulo"); });
        pon(g, f, ColDescripcion, [&] { return Campo(rs, "Descripcion"); });
        pon(g, f, ColUnidad, [&] { return Campo(rs, "IdUnidad"); });
        pon(g, f, ColAux67, [&] { return Campo(rs, "IdUnidad"); });
        pon(g, f, ColCantidad, [&] { return cptes::CantidadMostrada(m, cantidad, aplicada); });
        pon(g, f, ColUnidadEquiv, [&] { return Campo(rs, "IdUnidadBase"); });
        pon(g, f, ColCantidadEquiv, [&] { return Campo(rs, "CantidadUd"); });
        pon(g, f, ColImporte, [&] { return Campo(rs, "Importe"); });
        m_paso([&] {
            // The price with VAT of a "B" voucher; a Null exemption counts as none.
            if (!Indicador(rs, "Exento").value_or(false) && vb::EqualsText(letra, QStringLiteral("B")))
                g.setTextMatrix(f, AuxPrecioConIVA, Campo(rs, "Importe"));
        });

        if (!sistemaCompras) {
            pon(g, f, ColPorcDto, [&] { return Campo(rs, "PorcDto"); });
            pon(g, f, ColLista, [&] { return Campo(rs, "IDLista"); });
            pon(g, f, EnComodato, [&] { return enComodato ? QStringLiteral("1") : QStringLiteral("0"); });
        }

        Maestro(g, f, idArticulo);

        pon(g, f, AuxCoeficiente, [&] {
            return EsNulo(rs, "Equiv_UDBase") ? QStringLiteral("1") : Campo(rs, "Equiv_UDBase");
        });
        pon(g, f, ColAux41, [&] {
            return EsNulo(rs, "IdUnidadBase") ? g.TextMatrix(f, ColUnidad) : Campo(rs, "IdUnidadBase");
        });
        m_paso([&] {
            if (!EsNulo(rs, "Presentacion"))
                g.setTextMatrix(f, ColAux60, Campo(rs, "Presentacion"));
        });
        pon(g, f, ColAux38, [&] { return Campo(rs, "Costo"); });
        pon(g, f, AuxPrecioSinIVA, [&] { return Campo(rs, "Importe_S_IVA"); });
        pon(g, f, ColImpuestos, [&] { return Campo(rs, "Impuestos"); });
        pon(g, f, ColTotal, [&] { return Campo(rs, "Total"); });
        // An order's lots and serials are chosen when it is delivered.
        if (!vb::EqualsText(vb::Trim(m.TC), QStringLiteral("NP"))) {
            pon(g, f, ColNroLote, [&] { return Campo(rs, "Nro_Lote"); });
            pon(g, f, ColNroSerie, [&] { return Campo(rs, "Nro_Serie"); });
            pon(g, f, Lote_Aduana, [&] { return Campo(rs, "ControladoPor"); });
            pon(g, f, Lote_Origen, [&] { return Campo(rs, "IdOrigen"); });
        }
        pon(g, f, AuxEsExento, [&] { return MenosUno(Indicador(rs, "Exento")); });

        if (!sistemaCompras) {
            pon(g, f, AuxTasaIVA, [&] { return Campo(rs, "AlicIVA"); });
            pon(g, f, ColTotalLinea, [&] { return TotalLinea(g, f); });
        } else {
            m_paso([&] {
                if (!EsNulo(rs, "Precio_Lista"))
                    g.setTextMatrix(f, ColAux79, CampoSinRecortar(rs, "Precio_Lista"));
            });
            pon(g, f, ColTotalLinea, [&] { return TotalLinea(g, f); });
            pon(g, f, ColAux75, [&] { return CampoSinRecortar(rs, "CodigoArtProveedor"); });
        }

        // No stored field says the components go by percentage, and posting
        // reads a blank flag as on; a "-1" the caller wrote stays.
        m_paso([&] {
            if (vb::Trim(g.TextMatrix(f, Aux_InsumosPorPorcentaje)).isEmpty())
                g.setTextMatrix(f, Aux_InsumosPorPorcentaje, QStringLiteral("0"));
        });
        pon(g, f, AuxRestoPorAplicar, [&] { return cptes::RestoPorAplicar(cantidad, aplicada); });
        pon(g, f, ColAux69, [&] { return vb::Trim(m.SucNroLetra); });

        int filaDeLaLinea = f;
        if (!sistemaCompras && gMaderera && !m_paso.leaving())
            filaDeLaLinea = cptes::MedidasMadera(g, rs, m_paso);

        // The quantities in the configured units, of the row the line is in
        // (the earlier row of the same board, when it joined one).
        m_paso([&] { g.setRow(filaDeLaLinea); });
        m_paso([&] { cptes::CalculaEquivalenciasFila(g); });
    }

    static void Abre(QString &sentencia, ado::Recordset &rs)
    {
        gDB().AbrirRecordset(sentencia, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    }

private:
    void pon(ui::FlexGrid &g, int fila, int col, const std::function<QString()> &valor)
    {
        m_paso([&] { g.setTextMatrix(fila, col, valor()); });
    }

    static QString TotalLinea(const ui::FlexGrid &g, int f)
    {
        using namespace GrillaArticulos;
        ClsComponente &c = gComponente();
        const Currency total = c.ConvierteACurrency(Variant(g.TextMatrix(f, ColTotal)))
                               + c.ConvierteACurrency(Variant(g.TextMatrix(f, ColImpuestos)))
                                     * c.ConvierteACurrency(Variant(g.TextMatrix(f, ColCantidad)));
        return vb::CStr(total);
    }

    // What the line takes from its article's master row.
    void Maestro(ui::FlexGrid &g, int f, const QString &idArticulo)
    {
        using namespace GrillaArticulos;
        ado::Recordset art;
        bool existe = false;
        m_paso([&] {
            QString codigo = CodigoAncho(idArticulo, 25);
            bool porCodigoBarra = false;
            QString descripcion;
            existe = BuscaArticuloPorCodigo(codigo, art, true, porCodigoBarra, descripcion);
        });
        if (existe) {
            pon(g, f, ColAux59, [&] {
                return gDB()
                    .DatosTabla(QStringLiteral("V_TA_TipoArticulo"),
                                Campo(art, "IdTipo"),
                                QStringLiteral("Descripcion"),
                                QStringLiteral("IdTipo"))
                    .toString();
            });
            pon(g, f, ColAux60, [&] { return Campo(art, "Presentacion"); });
            pon(g, f, AuxEsExento, [&] { return MenosUno(Indicador(art, "Exento")); });
            pon(g, f, AuxPideSerie, [&] { return MenosUno(Indicador(art, "UsaSerie")); });
            pon(g, f, AuxPidelote, [&] { return MenosUno(Indicador(art, "UsaLote")); });
            pon(g, f, Auxesperecedero, [&] { return MenosUno(Indicador(art, "Perecedero")); });
            pon(g, f, AuxCoeficiente, [] { return QStringLiteral("1"); });
            pon(g, f, AuxTipoCoeficiente, [] { return QStringLiteral("*"); });
            pon(g, f, AuxPideTalle, [&] { return MenosUno(Indicador(art, "UsaTalle")); });
            pon(g, f, ColAux76, [&] { return MenosUno(Indicador(art, "pesable")); });
            pon(g, f, ColAux77, [&] { return Campo(art, "CodigoBarra"); });
        }
        m_paso([&] { gDB().CierraRecordset(&art); });
    }

    ClsCmnCptes &m_cptes;
    Steps &m_paso;
    cptes::Carga &m;
};

} // namespace

void ClsCmnCptes::AsignarDatosComprobante(const QString &TC,
                                          const QString &SucNroLetra,
                                          const QString &IdComplemento,
                                          ui::FlexGrid *MSFlexGrid1,
                                          ui::FlexGrid *MSFlexGrid2,
                                          ui::FlexGrid *MSFlexGrid3,
                                          const Variant &Inicializar,
                                          ado::Recordset *LrcsCpte,
                                          bool Compras,
                                          const QString &Proveedor,
                                          std::int16_t &IdRepartoRM)
{
    (void) Inicializar; // the caller's own flag: the load reads nothing from it
    Steps paso = Pasos(QStringLiteral("AsignarDatosPresupuesto"));
    cptes::Carga estado;
    estado.TC = TC;
    estado.SucNroLetra = SucNroLetra;
    estado.Compras = Compras;
    Carga carga(*this, paso, estado);

    paso([&] { estado.entregaParcial = ConvierteBooleano(Cfg(QStringLiteral("EntregaParcialRemito"))); });
    estado.cantidadNegativa = IdRepartoRM == -98;
    const QString prefijo = Compras ? QStringLiteral("C_") : QStringLiteral("V_");

    QString condicion;
    paso([&] {
        condicion = QStringLiteral(" WHERE TC = ") + CodigoSQL(TC, 4) + QStringLiteral(" AND IDCOMPROBANTE = ")
                    + TextoSQL(vb::Trim(SucNroLetra));
        if (Compras)
            condicion += QStringLiteral(" AND CUENTA = ") + TextoSQL(Proveedor);
        else
            condicion += QStringLiteral(" AND IdComplemento = ") + Complemento(IdComplemento);
    });
    // Never a query without the voucher's condition.
    if (condicion.isEmpty())
        paso.leave();
    const QString orden = QStringLiteral(" ORDER BY ID ");

    paso([&] {
        carga.sistemaCompras = vb::EqualsText(vb::Trim(gDB()
                                                           .DatosTabla(QStringLiteral("V_TA_CPTE"),
                                                                       vb::Trim(TC),
                                                                       QStringLiteral("SISTEMA"),
                                                                       QStringLiteral("Codigo"))
                                                           .toString()),
                                              QStringLiteral("COMPRAS"));
    });

    QString sqlCabecera = QStringLiteral("SELECT * FROM ") + prefijo + QStringLiteral("MV_CPTE ") + condicion + orden;
    QString sqlTareas = QStringLiteral("SELECT * FROM ") + prefijo + QStringLiteral("MV_CPTETAREAS ") + condicion
                        + orden;
    QString sqlLineas = QStringLiteral("SELECT * FROM ") + prefijo + QStringLiteral("MV_CPTEINSUMOS ") + condicion
                        + (vb::EqualsText(TC, QStringLiteral("NP")) ? QStringLiteral(" ORDER BY PALLETS ") : orden);
    QString sqlOtros = QStringLiteral("SELECT * FROM ") + prefijo + QStringLiteral("MV_CPTE_Observ ") + condicion
                       + QStringLiteral(" AND TIPO_OBS ='OC' ") + orden;

    // A voucher that is not there is said so, and nothing of the grids changes.
    ado::Recordset cabecera, tareas, lineas, otros;
    bool existe = false;
    paso([&] {
        Carga::Abre(sqlCabecera, cabecera);
        if (cabecera.Eof())
            Raise(vberr::NoCurrentRecord,
                  QStringLiteral("No existe el comprobante ") + vb::Trim(TC) + QLatin1Char(' ') + vb::Trim(SucNroLetra));
        existe = true;
    });
    if (!existe)
        paso.leave();
    paso([&] { Carga::Abre(sqlTareas, tareas); });
    paso([&] { Carga::Abre(sqlLineas, lineas); });
    paso([&] { Carga::Abre(sqlOtros, otros); });

    if (!carga.sistemaCompras)
        paso([&] { IdRepartoRM = vb::CInt(vb::Val(Campo(cabecera, "IdReparto"))); });
    paso([&] { estado.repartoPendiente = vb::Val(Campo(cabecera, "IdReparto")) == -1; });
    paso([&] { carga.enComodato = Campo(cabecera, "EnComodato") == QLatin1String("1"); });
    paso([&] {
        carga.letra = ObtieneLetraComprobante(Cfg(QStringLiteral("CONDIVA")), Campo(cabecera, "CondicionIVA"));
    });

    carga.Llena(MSFlexGrid1, tareas, sqlTareas, [&] { carga.Tarea(*MSFlexGrid1, tareas); });
    carga.Llena(MSFlexGrid2, lineas, sqlLineas, [&] { carga.Articulo(*MSFlexGrid2, lineas); });
    carga.Llena(MSFlexGrid3, otros, sqlOtros, [&] { carga.OtroConcepto(*MSFlexGrid3, otros); });

    paso([&] {
        if (LrcsCpte)
            *LrcsCpte = std::move(cabecera);
    });
    paso([&] { gDB().CierraRecordset(&tareas); });
    paso([&] { gDB().CierraRecordset(&lineas); });
    paso([&] { gDB().CierraRecordset(&otros); });
}
