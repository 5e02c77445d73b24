#include "database/armado_sql.h"

#include "database/conversiones.h"
#include "platform/component/component.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
    // Written in place, grown once to its final length: a posting builds one
    // per lot, and may build it at the end of its long collected text.
    static constexpr char16_t kValores[] = u" VALUES (";
    constexpr qsizetype kLargoValores = std::size(kValores) - 1;
    // "(" and " VALUES (", then each name and value with its "," or ")".
    qsizetype largo = 1 + kLargoValores;
    for (const TipoCampoValor &c : Campos)
        largo += c.NombreCampo.size() + c.ValorCampo.size() + 2;
    const qsizetype antes = Sentencia.size();
    Sentencia.resize(antes + largo);
    char16_t *p = reinterpret_cast<char16_t *>(Sentencia.data()) + antes;
    const auto copia = [&p](const QString &texto) {
        p = std::copy_n(reinterpret_cast<const char16_t *>(texto.constData()), texto.size(), p);
    };
    *p++ = u'(';
    for (std::size_t i = 0; i < Campos.size(); ++i) {
        copia(Campos[i].NombreCampo);
        *p++ = i + 1 == Campos.size() ? u')' : u',';
    }
    p = std::copy_n(kValores, kLargoValores, p);
    for (std::size_t i = 0; i < Campos.size(); ++i) {
        copia(Campos[i].ValorCampo);
        *p++ = i + 1 == Campos.size() ? u')' : u',';
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
    case Variant::Type::Currency:
        return NumeroSQL(value.toCurrency());
    default:
        return NumeroSQL(value.toDouble());
    }
}

QString NumeroSQL(Currency value)
{
    // Written backwards into room for the widest amount, "-922337203685477.5808".
    char16_t texto[24];
    char16_t *const fin = std::end(texto);
    char16_t *p = fin;
    const std::int64_t scaled = value.scaled();
    const bool negativo = scaled < 0;
    const std::uint64_t abs = negativo ? std::uint64_t(-(scaled + 1)) + 1 : std::uint64_t(scaled);
    std::uint64_t decimales = abs % 10000;
    if (decimales != 0) {
        int cifras = 4;
        for (; decimales % 10 == 0; --cifras)
            decimales /= 10;
        for (; cifras > 0; --cifras, decimales /= 10)
            *--p = char16_t(u'0' + decimales % 10);
        *--p = u'.';
    }
    std::uint64_t entero = abs / 10000;
    do {
        *--p = char16_t(u'0' + entero % 10);
        entero /= 10;
    } while (entero != 0);
    if (negativo)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar *>(p), fin - p);
}

namespace {

qsizetype Comillas(QStringView value)
{
    return std::count(value.utf16(), value.utf16() + value.size(), u'\'');
}

// Writes the literal of `value`, which holds `comillas` quotes, from `p` on.
void EscribeLiteral(char16_t *p, QStringView value, qsizetype comillas)
{
    *p++ = u'\'';
    if (comillas == 0) {
        p = std::copy(value.utf16(), value.utf16() + value.size(), p);
    } else {
        for (const QChar c : value) {
            *p++ = c.unicode();
            if (c == u'\'')
                *p++ = u'\'';
        }
    }
    *p = u'\'';
}

} // namespace

void AgregaTextoSQL(QString &destino, QStringView value)
{
    const qsizetype comillas = Comillas(value);
    const qsizetype antes = destino.size();
    destino.resize(antes + value.size() + comillas + 2);
    EscribeLiteral(reinterpret_cast<char16_t *>(destino.data()) + antes, value, comillas);
}

QString TextoSQL(const QString &value)
{
    // One allocation at the literal's length: most values hold no quote.
    const qsizetype comillas = Comillas(value);
    QString s(value.size() + comillas + 2, Qt::Uninitialized);
    EscribeLiteral(reinterpret_cast<char16_t *>(s.data()), value, comillas);
    return s;
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
