#include "stock/ast_p.h"

#include "database/armado_sql.h"
#include "database/db_dll.h"
#include "platform/component/component.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"

#include <QStringList>

#include <algorithm>

namespace numeracion {

QString CondicionTipo(const QString &tipo)
{
    const QString recortado = vb::Trim(tipo);
    const QString alineado = Tipo4(tipo);
    if (recortado == alineado)
        return QStringLiteral("TC = ") + TextoSQL(alineado);
    return QStringLiteral("TC IN (") + TextoSQL(recortado) + QLatin1Char(',') + TextoSQL(alineado) + QLatin1Char(')');
}

bool EsTipo(const QString &tipo, const char *codigo)
{
    return vb::EqualsText(vb::Trim(tipo), QLatin1String(codigo));
}

const Variant &CampoTalCual(ado::Recordset &rs, const QString &nombre)
{
    return rs.Fields(nombre).Value();
}

double Numero(const Variant &valor)
{
    if (valor.isNull() || valor.isEmpty())
        return 0;
    if (valor.isNumber())
        return valor.toDouble();
    return vb::Val(valor.toString());
}

std::optional<double> NumeroSiHay(const Variant &valor)
{
    if (valor.isNull())
        return std::nullopt;
    return Numero(valor);
}

std::optional<QDate> DiaDeVencimiento(const Variant &valor)
{
    const Variant v = gComponente().ValorNoNulo(valor);
    if (v.isDate())
        return v.toDate().date();
    const QString texto = vb::Trim(v.toString());
    if (texto.isEmpty())
        return std::nullopt;
    return vb::DateValue(texto).date();
}

QString NumeroSiguiente(double tomado, const QString &tipo, const QString &limite)
{
    const double tope = std::min(Numero(Variant(limite)), kUltimoNumero);
    const QString ultimo = vb::Format(tope, QStringLiteral("00000000"));
    if (tomado + 1 > tope)
        Raise(vberr::Overflow,
              QStringLiteral("No quedan números para el comprobante %1: el último es %2").arg(vb::Trim(tipo), ultimo));
    return vb::Format(tomado + 1, QStringLiteral("00000000"));
}

bool NormalizaLetra(QString &letra)
{
    QString l = vb::UCase(vb::Trim(letra));
    if (l.isEmpty())
        l = QStringLiteral("X");
    // One letter of the list, never a piece of it ("A,B" or ","): it names columns.
    if (l.size() != 1 || l == QLatin1String(",") || !QString::fromLatin1(kLetras).contains(l))
        return false;
    letra = l;
    return true;
}

QString MensajeLetraInvalida()
{
    return QStringLiteral(" La letra Informada no es Valida, la misma debe ser ") + QLatin1String(kLetras);
}

} // namespace numeracion
