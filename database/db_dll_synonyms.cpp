#include "database/db_dll.h"
#include "platform/runtime/strings.h"

#include <array>

namespace {

struct Synonym {
    const char *object;
    const char *synonym;
};

// Applied in this order; the CCOSTO view comes after the shorter name, whose
// contexts never match it (the shorter name is followed there by "_").
constexpr std::array<Synonym, 7> kSynonyms{{
    {"MA_CUENTAS", "SS_MA_CUENTAS"},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS"},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS"},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"},
}};

// The surroundings in which a name is a table reference: (before, after).
constexpr std::array<std::pair<char, char>, 5> kContexts{{
    {' ', ' '},
    {'(', ' '},
    {' ', '.'},
    {'(', '.'},
    {',', '.'},
}};

const QString kMarker = QStringLiteral("@Admin_");

void ReplaceInContext(QString &text, char before, const QString &name, char after, const QString &synonym)
{
    const QString pattern = QLatin1Char(before) + name + QLatin1Char(after);
    const QString replacement = QLatin1Char(before) + synonym + QLatin1Char(after);
    text = vb::ReplaceText(text, pattern, replacement);
}

} // namespace

QString DB_Dll::SS_TSinonimos(const QString &Sentencia)
{
    QString text = Sentencia;
    if (gEsAdmin)
        return vb::RemoveText(text, kMarker);

    for (std::size_t i = 0; i < kSynonyms.size(); ++i) {
        const QString name = QLatin1String(kSynonyms[i].object);
        const QString synonym = QLatin1String(kSynonyms[i].synonym);
        for (const auto &[before, after] : kContexts)
            ReplaceInContext(text, before, name, after, synonym);
        if (i == 0) {
            ReplaceInContext(text, '{', name, '.', synonym);
            // The marked name has had its contexts treated: it now reads the table itself.
            text = vb::ReplaceText(text, kMarker + name, name);
        }
    }
    return vb::RemoveText(text, kMarker);
}
