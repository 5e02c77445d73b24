#include "stock/unidades.h"

#include "platform/runtime/strings.h"
#include "stock/stock_p.h"

#include <cmath>

using namespace stock_p;

namespace {

const QString kDividir = QStringLiteral("/");
const QString kMultiplicar = QStringLiteral("*");

// The row of S_TA_EQUIV for the article from one unit to the other, if any.
bool BuscaEquivalencia(const QString &articulo, const QString &unidad, const QString &unidadEquiv, double &coeficiente)
{
    QString sentencia = QStringLiteral("SELECT * FROM  S_TA_EQUIV WHERE IdArticulo = ")
                        + CodigoNormalizadoSQL(articulo, 25) + QStringLiteral(" AND IDUNIDAD = ")
                        + CodigoNormalizadoSQL(unidad, 4) + QStringLiteral(" AND IDUNIDAD_EQUIV = ")
                        + CodigoNormalizadoSQL(unidadEquiv, 4);
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    if (rs.Eof())
        return false;
    coeficiente = Numero(rs, QStringLiteral("Coeficiente"));
    return true;
}

// A product or quotient that is not a number the run time could hold is its
// error, never a silent infinity.
double Resultado(double valor)
{
    if (std::isnan(valor) || std::isinf(valor))
        Raise(vberr::Overflow);
    return valor;
}

double Divide(double cantidad, double coeficiente)
{
    if (coeficiente == 0)
        Raise(vberr::DivisionByZero);
    return Resultado(cantidad / coeficiente);
}

double Multiplica(double cantidad, double coeficiente)
{
    return Resultado(cantidad * coeficiente);
}

} // namespace

QString ObtieneUnidadArticulo(const QString &IdArticulo)
{
    QString sentencia = QStringLiteral("SELECT IDUNIDAD FROM V_MA_ARTICULOS WHERE IDARTICULO = ")
                        + CodigoNormalizadoSQL(IdArticulo, 25);
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    return Campo(rs, QStringLiteral("IdUnidad"));
}

bool IdArticuloTieneEquivalencias(const QString &IdArticulo,
                                  const QString &UnidadEquiv,
                                  QString &Operador,
                                  QString &Unidad,
                                  double &Coeficiente,
                                  bool &SinUnidad)
{
    Coeficiente = 0;
    SinUnidad = false;
    Steps pasos = Pasos(QStringLiteral("IdArticuloTieneEquivalencias"));

    QString unidad;
    pasos([&] { unidad = Unidad.isEmpty() ? ObtieneUnidadArticulo(IdArticulo) : Unidad; });
    if (pasos.leaving())
        return false;
    if (vb::Trim(unidad).isEmpty()) {
        SinUnidad = true;
        return false;
    }
    Unidad = unidad;

    bool encontrada = false;
    double coeficiente = 0;
    pasos([&] {
        if (BuscaEquivalencia(IdArticulo, unidad, UnidadEquiv, coeficiente)) {
            encontrada = true;
            Operador = kDividir;
        }
    });
    if (!encontrada)
        pasos([&] {
            if (BuscaEquivalencia(IdArticulo, UnidadEquiv, unidad, coeficiente)) {
                encontrada = true;
                Operador = kMultiplicar;
            }
        });
    if (pasos.leaving() || !encontrada)
        return false;
    Coeficiente = coeficiente;
    return true;
}

double ConvierteAUnidadEquivalente(const QString &IdArticulo,
                                   QString &UnidadDesde,
                                   double Cantidad,
                                   const QString &UnidadHasta)
{
    if (Cantidad == 0)
        return 0;
    if (vb::EqualsText(UnidadDesde, UnidadHasta))
        return Cantidad;
    QString operador;
    double coeficiente = 0;
    bool sinUnidad = false;
    if (!IdArticuloTieneEquivalencias(IdArticulo, UnidadHasta, operador, UnidadDesde, coeficiente, sinUnidad))
        return 0;
    if (operador == kDividir)
        return Multiplica(Cantidad, coeficiente);
    if (operador == kMultiplicar)
        return Divide(Cantidad, coeficiente);
    return 0;
}

double ConvierteDesdeUnidadEquivalente(const QString &IdArticulo,
                                       QString &Unidad,
                                       double Cantidad,
                                       const QString &UnidadEquiv)
{
    if (Cantidad == 0)
        return 0;
    if (vb::EqualsText(Unidad, UnidadEquiv))
        return Cantidad;
    QString operador;
    double coeficiente = 0;
    bool sinUnidad = false;
    if (!IdArticuloTieneEquivalencias(IdArticulo, UnidadEquiv, operador, Unidad, coeficiente, sinUnidad))
        return 0;
    if (operador == kDividir)
        return Divide(Cantidad, coeficiente);
    if (operador == kMultiplicar)
        return Multiplica(Cantidad, coeficiente);
    return 0;
}

double CantidadEnUnidadConfigurada(const QString &IdArticulo,
                                   const QString &Unidad,
                                   double Cantidad,
                                   const QString &UnidadConfigurada)
{
    // An unconfigured unit has no quantity, even on a line without unit.
    if (vb::Trim(UnidadConfigurada).isEmpty())
        return 0;
    QString unidad = Unidad;
    return ConvierteAUnidadEquivalente(IdArticulo, unidad, Cantidad, UnidadConfigurada);
}
