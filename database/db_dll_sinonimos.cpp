#include "database/db_dll.h"
#include "platform/ado/sql_text.h"
#include "platform/runtime/strings.h"

#include <QStringMatcher>

#include <array>

namespace {

struct Sinonimo
{
    const char *object;
    const char *synonym;
};

// Applied in this order; the CCOSTO view comes after the shorter name, whose
// contexts never match it (the shorter name is followed there by "_").
constexpr std::array<Sinonimo, 7> kSinonimos{{
    {"MA_CUENTAS", "SS_MA_CUENTAS"},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS"},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS"},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"},
}};

// The surroundings in which a name is a table reference: (before, after).
constexpr std::array<std::pair<char, char>, 5> kContextos{{
    {' ', ' '},
    {'(', ' '},
    {' ', '.'},
    {'(', '.'},
    {',', '.'},
}};

const QString kMarca = QStringLiteral("@Admin_");

// A name or marker inside a quoted text is data, a typed text among them.
void ReemplazaEnContexto(QString &text, char before, const QString &name, char after, const QString &synonym)
{
    const QString pattern = QLatin1Char(before) + name + QLatin1Char(after);
    const QString replacement = QLatin1Char(before) + synonym + QLatin1Char(after);
    text = ado::replaceOutsideQuotes(text, pattern, replacement);
}

QString QuitaMarca(const QString &text)
{
    // Most texts have no "@" at all: that search is far cheaper than a case-blind one.
    return text.contains(QLatin1Char('@')) && text.contains(kMarca, Qt::CaseInsensitive)
               ? ado::replaceOutsideQuotes(text, kMarca, QString())
               : text;
}

} // namespace

QString DB_Dll::SS_TSinonimos(const QString &Sentencia)
{
    QString text = Sentencia;
    if (gEsAdmin)
        return QuitaMarca(text);

    // Case-blind searches that skip ahead: most texts name none of the objects.
    static const auto buscadores = [] {
        std::array<QStringMatcher, kSinonimos.size()> b;
        for (std::size_t i = 0; i < kSinonimos.size(); ++i)
            b[i] = QStringMatcher(QLatin1String(kSinonimos[i].object), Qt::CaseInsensitive);
        return b;
    }();
    for (std::size_t i = 0; i < kSinonimos.size(); ++i) {
        if (buscadores[i].indexIn(text) < 0)
            continue;
        const QString name = QLatin1String(kSinonimos[i].object);
        const QString synonym = QLatin1String(kSinonimos[i].synonym);
        for (const auto &[before, after] : kContextos)
            ReemplazaEnContexto(text, before, name, after, synonym);
        if (i == 0) {
            ReemplazaEnContexto(text, '{', name, '.', synonym);
            // The marked name has had its contexts treated: it now reads the table itself.
            text = ado::replaceOutsideQuotes(text, kMarca + name, name);
        }
    }
    return QuitaMarca(text);
}
