#include "database/db_dll.h"

#include "database/armado_sql.h"
#include "platform/component/cls_componente.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/format.h"
#include "platform/runtime/strings.h"

#include <algorithm>
#include <initializer_list>

namespace {

// A value's text as it goes into a statement: numbers always with ".".
QString TextoDeValor(const Variant &valor)
{
    switch (valor.type()) {
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Double:
    case Variant::Type::Currency:
        return NumeroSQL(valor);
    default:
        return valor.toString();
    }
}

// Whether an ADO field type number is one of the family; Null never is.
bool EsDeFamilia(const Variant &Qtype, std::initializer_list<int> familia)
{
    if (Qtype.isNull())
        return false;
    const double tipo = Qtype.toDouble();
    return std::any_of(familia.begin(), familia.end(), [tipo](int t) { return tipo == t; });
}

} // namespace

Variant DB_Dll::SQLValue(const Variant &Valor, const QString &Tipo)
{
    if (Tipo == QLatin1Char('@')) {
        // The amount's own digits with "." as decimal point; no quotes.
        if (Valor.isNull())
            return Variant(QStringLiteral("0"));
        return Variant(NumeroSQL(mComponente().ConvierteACurrency(Valor)));
    }
    if (Valor.isNull())
        return Variant(QStringLiteral("NULL"));
    if (Tipo == QLatin1String("'"))
        return Variant(TextoSQL(TextoDeValor(Valor)));
    return Variant(TextoDeValor(Valor));
}

bool DB_Dll::adodate(const Variant &Qtype)
{
    return EsDeFamilia(Qtype, {7, 133, 137, 134, 135, 64});
}

bool DB_Dll::ADOText(const Variant &Qtype)
{
    // 129 (adChar) does not count.
    return EsDeFamilia(Qtype, {8, 201, 203, 200, 202, 130});
}

bool DB_Dll::ADONumeric(const Variant &Qtype)
{
    return EsDeFamilia(Qtype, {20, 14, 5, 3, 131, 4, 2, 16, 21, 19, 18, 17});
}

bool DB_Dll::ADOCurrency(const Variant &Qtype)
{
    return EsDeFamilia(Qtype, {6});
}

bool DB_Dll::ADOBoolean(const Variant &Qtype)
{
    return EsDeFamilia(Qtype, {11});
}
