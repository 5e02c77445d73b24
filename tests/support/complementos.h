#pragma once

// The complements a voucher may name, and what refuses the others: the
// cases the posting and the action trail check alike.

#include <QString>

#include <vector>

struct CasoComplemento
{
    const char *complemento;
    bool valido; // a whole number
};

inline const std::vector<CasoComplemento> &CasosDeComplemento()
{
    static const std::vector<CasoComplemento> casos{{"0", true},
                                                    {"1", true},
                                                    {" 2 ", true},
                                                    {"abc", false},
                                                    {"1;DROP TABLE X", false},
                                                    {"1.5", false},
                                                    {"", false}};
    return casos;
}

// The error treatment's box that refuses a complement.
inline QString RechazoDeComplemento(const char *complemento)
{
    return QStringLiteral("Ha ocurrido el Siguiente Error (5) El complemento del comprobante debe ser un número "
                          "entero: \"%1\"")
        .arg(QString::fromUtf8(complemento));
}
