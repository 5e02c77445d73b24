#include "database/armado_sql.h"

#include "database/conversiones.h"
#include "platform/component/component.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"

#include <cmath>

std::vector<TipoCampoValor> gCamposValores;
std::vector<TipoCampoValor> gTotalesAgrupados;

QString ArmaCondicion(const QString &Columna,
                      const QString &Operador,
                      const QStringList &Valores,
                      const QString &Conector,
                      const QString &Comilla,
                      const Variant &IncluyeNulos,
                      bool SaltaVacios)
{
    const QString nada = QStringLiteral("1=1");
    if (Valores.isEmpty())
        return nada;
    // Between single quotes an inner quote is doubled, so the value stays one literal.
    const bool entreComillas = Comilla == QLatin1String("'");
    auto literal = [&](const QString &v) { return entreComillas ? TextoSQL(v) : Comilla + v + Comilla; };
    try {
        QString condicion = Columna + Operador + literal(Valores.front());
        for (qsizetype i = 1; i < Valores.size(); ++i) {
            if (SaltaVacios && Valores[i].trimmed().isEmpty())
                continue;
            condicion += Conector + Columna + Operador + literal(Valores[i]);
        }
        if (!IncluyeNulos.isNull() && !IncluyeNulos.isEmpty() && IncluyeNulos.toBool())
            condicion += Conector + Columna + QStringLiteral(" is null ");
        return condicion;
    } catch (...) {
        return nada;
    }
}

void ArmaInsert(QString &Sentencia, std::vector<TipoCampoValor> &Campos, bool Vaciar)
{
    if (Campos.empty())
        Raise(vberr::SubscriptOutOfRange);
    // Written in place at its final length: a posting builds one per lot.
    qsizetype largo = Sentencia.size() + 10;
    for (const TipoCampoValor &c : Campos)
        largo += c.NombreCampo.size() + c.ValorCampo.size() + 2;
    Sentencia.reserve(largo);
    Sentencia += QLatin1Char('(');
    for (std::size_t i = 0; i < Campos.size(); ++i) {
        Sentencia += Campos[i].NombreCampo;
        Sentencia += i + 1 == Campos.size() ? QLatin1Char(')') : QLatin1Char(',');
    }
    Sentencia += QLatin1String(" VALUES (");
    for (std::size_t i = 0; i < Campos.size(); ++i) {
        Sentencia += Campos[i].ValorCampo;
        Sentencia += i + 1 == Campos.size() ? QLatin1Char(')') : QLatin1Char(',');
    }
    if (Vaciar)
        Campos.clear();
}

QString NumeroSQL(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // never "-0"
    if (std::isfinite(value) && std::fabs(value) < 1e15 && std::fabs(value) >= 1e-4) {
        // Plain notation with up to 15 significant digits, as the run time writes numbers.
        const int entero = std::fabs(value) >= 1 ? int(std::floor(std::log10(std::fabs(value)))) + 1 : 0;
        QString s = QString::number(value, 'f', std::max(0, 15 - entero));
        if (s.contains(QLatin1Char('.'))) {
            while (s.endsWith(QLatin1Char('0')))
                s.chop(1);
            if (s.endsWith(QLatin1Char('.')))
                s.chop(1);
        }
        return s;
    }
    return QString::number(value, 'g', 15).toUpper();
}

QString NumeroSQL(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return QString::number(value.rawInteger());
    case Variant::Type::Boolean:
        return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    case Variant::Type::Currency: {
        // Exact: the amount's four decimals, trailing zeros dropped.
        const std::int64_t scaled = value.toCurrency().scaled();
        const bool negativo = scaled < 0;
        const std::uint64_t abs = negativo ? std::uint64_t(-(scaled + 1)) + 1 : std::uint64_t(scaled);
        QString s = QString::number(abs / 10000);
        QString dec = QStringLiteral("%1").arg(abs % 10000, 4, 10, QLatin1Char('0'));
        while (dec.endsWith(QLatin1Char('0')))
            dec.chop(1);
        if (!dec.isEmpty())
            s += QLatin1Char('.') + dec;
        return negativo ? QLatin1Char('-') + s : s;
    }
    default:
        return NumeroSQL(value.toDouble());
    }
}

QString TextoSQL(const QString &value)
{
    QString s = value;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString TextoSQLoNull(const QString &value)
{
    return vb::Trim(value).isEmpty() ? QStringLiteral("NULL") : TextoSQL(value);
}

QString TextoDeLiteral(const QString &literal)
{
    if (literal.size() < 2 || !literal.startsWith(QLatin1Char('\'')) || !literal.endsWith(QLatin1Char('\'')))
        return literal;
    return literal.mid(1, literal.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
}

QString CodigoAncho(const QString &codigo, int ancho)
{
    // Trimmed first: blanks around a code too long for its width are no part
    // of it, whichever caller hands it in.
    return gComponente().FormateaCodigo(vb::Trim(codigo), ancho);
}

QString Tipo4(const QString &tipo)
{
    return CodigoAncho(tipo, 4);
}

QString CodigoSQL(const QString &codigo, int ancho)
{
    return TextoSQL(CodigoAncho(codigo, ancho));
}

QString CodigoSQLoNull(const QString &codigo, int ancho)
{
    return vb::Trim(codigo).isEmpty() ? QStringLiteral("NULL") : CodigoSQL(codigo, ancho);
}

QString CodigoNormalizadoSQL(const QString &codigo, int ancho)
{
    return CodigoSQL(NormalizaCaracteres(Variant(codigo)), ancho);
}
