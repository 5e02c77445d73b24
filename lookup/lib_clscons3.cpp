#include "lookup/lib_clscons3.h"

#include "database/configuracion.h"
#include "platform/component/component.h"

Lib_ClsCons3::Lib_ClsCons3()
{
    CmpsDevueltos = std::make_shared<QList<Variant>>();
    Valores = std::make_shared<QList<Variant>>();
    MuestraStock = Cfg(QStringLiteral("MostrarStockenConsultas"));
    Variant *niveles[] = {&StkNivel1, &StkNivel2, &StkNivel3, &StkNivel4};
    for (int n = 1; n <= 4; ++n) {
        const QString valor = Cfg(QStringLiteral("Stk_Nivel%1").arg(n));
        // Only a failed read (the empty text) becomes 0; a missing key's blank is handed on.
        *niveles[n - 1] = valor.isEmpty() ? Variant(0) : Variant(valor);
    }
    mUsaConsultaLIKE = CfgSi(Cfg(QStringLiteral("UsaConsultaLIKE")));
}

Lib_ClsCons3::~Lib_ClsCons3()
{
    CmpsDevueltos.reset();
    Valores.reset();
}

ClsComponente &Lib_ClsCons3::mComponente()
{
    if (!m_componente)
        m_componente = std::make_unique<ClsComponente>();
    return *m_componente;
}

namespace {
std::unique_ptr<Lib_ClsCons3> &consultaSlot()
{
    static std::unique_ptr<Lib_ClsCons3> slot;
    return slot;
}
} // namespace

Lib_ClsCons3 &gConsulta()
{
    auto &slot = consultaSlot();
    if (!slot)
        slot = std::make_unique<Lib_ClsCons3>();
    return *slot;
}

void LiberaConsulta()
{
    consultaSlot().reset();
}
