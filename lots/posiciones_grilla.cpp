#include "lots/posiciones_grilla.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/db_dll.h"
#include "lots/lista_pipe.h"
#include "lots/lotes_grilla.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/flex_grid.h"
#include "stock/unidades.h"

#include <QStringList>

namespace PosicionesGrilla {
namespace {

const QString kCabezaConLotes = QStringLiteral(
    "SELECT AC_SALDOSLAYOUT.idposicion,AC_SALDOSLAYOUT.nrolote,AC_SALDOSLAYOUT.idunidadbase, "
    "isnull(AC_SALDOSLAYOUT.saldo,0) as disponible FROM AC_SALDOSLAYOUT, ma_posiciones WHERE  "
    "ac_saldoslayout.iddeposito=ma_posiciones.iddeposito and "
    "ac_saldoslayout.idposicion=ma_posiciones.idposicion and  ac_saldoslayout.IDDEPOSITO=");
const QString kCabezaSinLotes = QStringLiteral(
    "SELECT AC_SALDOSLAYOUT.idposicion,AC_SALDOSLAYOUT.idunidadbase, isnull(AC_SALDOSLAYOUT.saldo,0) as disponible "
    "FROM AC_SALDOSLAYOUT, ma_posiciones WHERE  ac_saldoslayout.iddeposito=ma_posiciones.iddeposito and "
    "ac_saldoslayout.idposicion=ma_posiciones.idposicion and  ac_saldoslayout.IDDEPOSITO=");
const QString kCola = QStringLiteral(" and ac_saldoslayout.saldo > 0 order by "
                                     "ac_saldoslayout.nrolote,ma_posiciones.ordeningreso,ac_saldoslayout.idposicion  ");

// A balance kept in the unit the row gives, in the line's unit. The same unit,
// padded or not, keeps the balance; a blank unit is the article's own.
double EnUnidadDeLaLinea(const Datos &d, const QString &unidadBase, double saldo)
{
    if (vb::EqualsText(vb::Trim(unidadBase), vb::Trim(d.IUNIDAD)))
        return saldo;
    QString desde = CodigoAncho(unidadBase, 4);
    return ConvierteAUnidadEquivalente(d.Articulo, desde, saldo, d.IUNIDAD);
}

void FilasDeSaldos(ui::FlexGrid &g, const Datos &d, bool conLotes)
{
    QString sentencia = (conLotes ? kCabezaConLotes : kCabezaSinLotes) + CodigoSQL(d.Deposito, 4)
                        + QStringLiteral(" and ac_saldoslayout.idarticulo=") + CodigoSQL(d.Articulo, 25) + kCola;
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    while (!rs.Eof()) {
        const int fila = g.Rows();
        g.setRows(fila + 1);
        g.setTextMatrix(fila, kPosicion, Campo(rs, QStringLiteral("IdPosicion")));
        if (conLotes)
            g.setTextMatrix(fila, kLote, Campo(rs, QStringLiteral("NroLote")));
        g.setTextMatrix(fila, kUnidad, d.IUNIDAD);
        const double saldo = gComponente().ConvierteADouble(rs.Fields(QStringLiteral("disponible")).Value());
        g.setTextMatrix(fila,
                        kDisponible,
                        TextoCantidad(
                            EnUnidadDeLaLinea(d, CampoSinRecortar(rs, QStringLiteral("IdUnidadBase")), saldo)));
        g.setTextMatrix(fila, kCantidad, QStringLiteral("0"));
        rs.MoveNext();
    }
}

bool FilaDelDeposito(ui::FlexGrid &g, const Datos &d, const AnchoTexto &ancho)
{
    QString sentencia = QStringLiteral("SELECT (ISNULL(SALDO,0)) AS SALDO, IDUNIDADBASE FROM AC_SALDOSLAYOUT WHERE "
                                       "IDDEPOSITO=")
                        + CodigoSQL(d.Deposito, 4) + QStringLiteral(" AND IDARTICULO=") + CodigoSQL(d.Articulo, 25)
                        + QStringLiteral(" and idposicion is null");
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    if (rs.Eof())
        return false;
    const int fila = g.Rows();
    g.setRows(fila + 1);
    g.setTextMatrix(fila, kPosicion, QStringLiteral("DEPOSITO ") + d.Deposito);
    g.setTextMatrix(fila, kLote, QString());
    g.setTextMatrix(fila, kUnidad, QString());
    const double saldo = gComponente().ConvierteADouble(rs.Fields(QStringLiteral("Saldo")).Value());
    g.setTextMatrix(fila,
                    kDisponible,
                    TextoCantidad(EnUnidadDeLaLinea(d, CampoSinRecortar(rs, QStringLiteral("IdUnidadBase")), saldo)));
    g.setTextMatrix(fila, kCantidad, QStringLiteral("0"));
    if (ancho)
        g.setColWidth(kPosicion, ancho(QStringLiteral("   DEPOSITO ") + d.Deposito));
    return true;
}

// The earlier items back on their rows: by position (and lot), any case; an
// item without position goes to the deposit row. Items that find no row are
// dropped.
void ColocaAnteriores(ui::FlexGrid &g,
                      const QStringList &posiciones,
                      const QStringList &cantidades,
                      const QStringList &lotes,
                      bool porLote,
                      bool hayDeposito)
{
    const int n = int(posiciones.size()) - 1;
    for (int k = 0; k < n; ++k) {
        if (porLote && k >= lotes.size())
            Raise(vberr::SubscriptOutOfRange);
        for (int fila = 1; fila < g.Rows(); ++fila) {
            if (vb::EqualsText(g.TextMatrix(fila, kPosicion), posiciones[k])
                && (!porLote || vb::EqualsText(g.TextMatrix(fila, kLote), lotes[k]))) {
                g.setTextMatrix(fila, kCantidad, cantidades[k]);
                break;
            }
            if (posiciones[k].isEmpty()) {
                if (hayDeposito)
                    g.setTextMatrix(g.Rows() - 1, kCantidad, cantidades[k]);
                break;
            }
        }
    }
}

} // namespace

QString TextoCantidad(Currency cantidad)
{
    return LotesGrilla::TextoCantidad(cantidad);
}

QString TextoCantidad(double cantidad)
{
    return LotesGrilla::TextoCantidad(cantidad);
}

Currency ValorInicial(const QString &texto)
{
    return LotesGrilla::ValorInicial(texto);
}

void InicializaGrid(ui::FlexGrid &g, const Datos &d)
{
    g.Clear();
    g.setCols(5);
    if (d.EsPosicionYLote) {
        const QStringList titulos{QStringLiteral("POSICION"),
                                  QStringLiteral("LOTE"),
                                  QStringLiteral("UNIDAD"),
                                  QStringLiteral("DISPONIBLE"),
                                  QStringLiteral("CANT.")};
        for (int col = 0; col < titulos.size(); ++col)
            g.setTextMatrix(0, col, titulos[col]);
        g.setRows(1);
        g.setColAlignment(kPosicion, ui::flexAlignCenterTop);
        g.setColAlignment(kLote, ui::flexAlignCenterTop);
    } else if (d.EsPosicion) {
        g.setTextMatrix(0, kPosicion, QStringLiteral("POSICION"));
        g.setTextMatrix(0, kUnidad, QStringLiteral("UNIDAD"));
        g.setTextMatrix(0, kDisponible, QStringLiteral("DISPONIBLE"));
        g.setTextMatrix(0, kCantidad, QStringLiteral("CANT."));
        g.setRows(1);
        g.setColAlignment(kPosicion, ui::flexAlignCenterTop);
        g.setColAlignment(kLote, ui::flexAlignCenterTop);
        g.setColWidth(kLote, 0);
    }
}

bool VerificaAnteriores(ui::FlexGrid &g, const Datos &d, const AnchoTexto &ancho)
{
    bool hayDeposito = false;
    try {
        if (d.EsConsultaDePosicionLote) {
            QStringList posiciones, cantidades, lotes;
            ListaPipe::DescomponePosicionCantidadLote(d.PosicionesAnteriores,
                                                      d.LotesAnteriores,
                                                      posiciones,
                                                      cantidades,
                                                      lotes);
            FilasDeSaldos(g, d, d.EsPosicionYLote);
            hayDeposito = FilaDelDeposito(g, d, ancho);
            ColocaAnteriores(g, posiciones, cantidades, lotes, d.EsPosicionYLote, hayDeposito);
        } else if (d.EsPosicion) {
            FilasDeSaldos(g, d, d.EsPosicionYLote);
            hayDeposito = FilaDelDeposito(g, d, ancho);
            DistribuyeCantidadSolicitada(g, Currency::fromDouble(d.Cantidad1));
        }
    } catch (const VbException &) {
        // The rows filled so far stay; the dialog goes on with its next step.
    }
    return hayDeposito;
}

void DistribuyeCantidadSolicitada(ui::FlexGrid &g, Currency cantidad)
{
    Currency resto = cantidad;
    if (g.Rows() == 2) {
        g.setTextMatrix(1, kCantidad, TextoCantidad(cantidad));
        return;
    }
    for (int fila = 1; fila < g.Rows(); ++fila) {
        const Currency disponible = ValorInicial(g.TextMatrix(fila, kDisponible));
        const Currency tomado = ValorInicial(g.TextMatrix(fila, kCantidad));
        if (resto + tomado <= disponible) {
            g.setTextMatrix(fila, kCantidad, TextoCantidad(resto + tomado));
            resto = Currency();
        } else {
            // A row short of stock gives what it has, never a negative quantity.
            g.setTextMatrix(fila, kCantidad, TextoCantidad(disponible > Currency() ? disponible : Currency()));
            resto = cantidad - SumaFilas(g, -1);
        }
        if (resto == Currency())
            break;
    }
}

Currency SumaFilas(const ui::FlexGrid &g, int MenosCual)
{
    Currency suma;
    Steps paso = Pasos(QStringLiteral("SumaFilas#"));
    for (int fila = 1; fila < g.Rows(); ++fila) {
        if (fila == MenosCual)
            continue;
        if (!paso([&] { suma += gComponente().ConvierteACurrency(g.TextMatrix(fila, kCantidad)); }))
            return Currency();
    }
    return suma;
}

} // namespace PosicionesGrilla
