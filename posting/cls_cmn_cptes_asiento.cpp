// Members of ClsCmnCptes that posting/ defines: the accounting entry of a
// stock movement.
#include "voucher/cls_cmn_cptes.h"

#include "posting/asiento_stock.h"

#include "database/armado_sql.h"
#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/ui.h"
#include "stock/ast.h"
#include "voucher/columnas.h"

#include <QDateTime>

using namespace GrillaArticulos;

namespace {

void Avisa(const QString &texto)
{
    ui::MsgBox(texto, ui::vbOKOnly | ui::vbCritical, QStringLiteral("Aviso al operador"));
}

} // namespace

void ClsCmnCptes::NuevoAsientoStock()
{
    mAsientoCpte.clear();
    mAsientoFilas.clear();
    mAsientoDetenido = false;
    mAsientoIncompleto = false;
}

QString ClsCmnCptes::GeneraAsientoStock(ui::FlexGrid &Grid,
                                        QString &eMotivoStock,
                                        QString &TC,
                                        QString &Suc,
                                        QString &Nro,
                                        QString &Letra,
                                        const QString &Fecha,
                                        bool &EsDebito,
                                        std::int16_t TipoMov,
                                        std::int32_t SoloRegistro,
                                        std::int16_t &Secuencia)
{
    mAsientoIncompleto = false;
    if (!mAsientosXStock)
        return {};
    eMotivoStock = gComponente().Reemplaza(eMotivoStock, QStringLiteral("'"), QString());

    // A line is valued once per voucher: its further lots and serials, and the
    // second pass of a transfer, add nothing.
    const QString clave = CodigoAncho(TC, 4) + Suc + Nro + Letra;
    const bool porLinea = SoloRegistro > 0;
    const bool nuevoCpte = porLinea && clave != mAsientoCpte;
    if (porLinea && !nuevoCpte && (mAsientoDetenido || mAsientoFilas.contains(SoloRegistro)))
        return {};

    const bool dif = vb::EqualsText(Grid.Name(), QLatin1String("MSFlexGridDif"));
    const MotivoAsiento eleccion = EligeMotivoAsiento(TipoMov, TC, dif);
    if (!AplicaMotivoAsiento(eleccion, TC, EsDebito, eMotivoStock))
        return {};

    CabeceraAsiento cab;
    cab.CostoDeVenta = TipoMov == 99;
    const bool produccion = vb::EqualsText(TC, QLatin1String("OP"));
    if (cab.CostoDeVenta) {
        // The cost of a sale is a voucher of its own that names the sale.
        cab.TcOrigen = CodigoAncho(TC, 4);
        cab.CpteOrigen = Suc + Nro + Letra;
        TC = QStringLiteral("CMV");
        bool modifica = false;
        Obtener_Nro_Comprobante(TC, Suc, Nro, Letra, modifica, true, QString(), QString());
        // No book could number it (the operator has been told): no entry.
        if (Nro.isEmpty()) {
            mAsientoIncompleto = true;
            return {};
        }
    }
    if (!CuentaDelMotivo(eMotivoStock, cab.CostoDeVenta, cab.CuentaMotivo, cab.Detalle))
        return {};

    cab.Mes = QString::number(vb::CDate(Fecha).date().month());
    cab.Periodo = QString::number(gPeriodo);

    if (porLinea && nuevoCpte) {
        mAsientoCpte = clave;
        mAsientoFilas.clear();
        mAsientoDetenido = false;
    }
    // The voucher may already have its entry: per line too, or its rows would
    // add onto the old ones.
    if (!porLinea || nuevoCpte) {
        QString asiento;
        if (ExisteAsientoComprobante(TC, Suc, Nro, Letra, asiento, QString())) {
            Avisa(QStringLiteral("El comprobante ya ha Sido Cargado. Asiento ") + asiento);
            mAsientoDetenido = porLinea;
            return {};
        }
    }
    // The register type first: the number is the next one of its own register.
    cab.TipoReg = ObtieneTipoRegCont(TC);
    if (cab.TipoReg.isEmpty()) {
        Avisa(QStringLiteral("No se ha informado El Tipo de Registro que generará el Asiento, corrija esto desde "
                             "configuración y vuelva a intentarlo"));
        mAsientoIncompleto = true;
        mAsientoDetenido = porLinea;
        return {};
    }
    const auto nuevoNumero = [&] {
        const std::int32_t n = ValidaTCRegistraciones(Variant(cab.Mes), Variant(cab.Periodo), Variant(cab.TipoReg));
        if (n > INT16_MAX || n < INT16_MIN)
            Raise(vberr::Overflow);
        return std::int16_t(n);
    };
    if (!porLinea) {
        // The register's next number, or past what this instance gave that
        // register earlier in a batch that is not written yet.
        std::int16_t numero = nuevoNumero();
        const QString registro = cab.TipoReg + QLatin1Char('|') + cab.Mes + QLatin1Char('|') + cab.Periodo;
        const auto dado = mUltimosAsientos.constFind(registro);
        if (dado != mUltimosAsientos.cend() && *dado >= numero) {
            if (*dado == INT16_MAX)
                Raise(vberr::Overflow);
            numero = std::int16_t(*dado + 1);
        }
        mNumeroAsiento = numero;
        mUltimosAsientos.insert(registro, numero);
    } else if (nuevoCpte) {
        mNumeroAsiento = nuevoNumero();
    }
    if (porLinea)
        mAsientoFilas.push_back(SoloRegistro);

    const int columnaValor = eleccion.ValorSinIVA ? AuxPrecioSinIVA : ColAux38;
    const std::vector<CuentaStock> cuentas = CuentasDeArticulos(
        ImportesDeArticulos(Grid, SoloRegistro, columnaValor, produccion));
    std::int16_t secuencia = Secuencia;
    const RenglonesAsiento renglones = ArmaRenglonesAsiento(cab.CuentaMotivo, cuentas, EsDebito, secuencia);
    // Every row of an entry carries the entry's total, the lines valued one
    // by one as well.
    if (porLinea && nuevoCpte)
        mAsientoTotal = TotalDeCuentas(CuentasDeArticulos(ImportesDeArticulos(Grid, 0, columnaValor, produccion)));

    cab.TC = CodigoAncho(TC, 4);
    cab.Suc = Suc;
    cab.Nro = Nro;
    cab.Letra = Letra;
    cab.Fecha = Fecha;
    cab.Numero = mNumeroAsiento;
    cab.NombreMotivo = eMotivoStock;
    cab.Total = porLinea ? mAsientoTotal : renglones.Total;
    QString resultado;
    SentenciasAsiento(cab, renglones.Renglones, porLinea, resultado);
    Secuencia = secuencia;
    return resultado;
}
