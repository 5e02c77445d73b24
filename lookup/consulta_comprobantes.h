#pragma once

#include <QString>

// What the voucher lookup does to texts, apart from its window: the alias
// types, the voucher-type groups and the list query of each type.

// The alias texts ("RM/PENDIENTES", "FC/ANTICIPOS"...) become the type they
// stand for; the pending-only ones turn SoloPendientes on.
void ResuelveAliasComprobante(QString &TC, bool &SoloPendientes);

// "OT", "NP", "FC", "RM", "ND", "NC", "NCFP", "OP", "FP", "GF" (any case, untrimmed).
bool EsGrupoPrincipal(const QString &TC);
// "FCC", "NCC", "NCPE", "NDPR", "NCCP", "NDC", "RMC".
bool EsGrupoCompras(const QString &TC);

// For "OC": a leading word WHERE (any case) is taken out of the caller's
// condition, so that it can follow the fixed conditions after " AND ".
QString QuitaWhereInicial(const QString &Filtro);

// The list query of the type. The type enters trimmed and right-aligned to
// four characters, its quotes doubled; Filtro, the caller's finished
// condition, enters as given. UsaRemitoContado and EntregaParcialRemito
// are read only by the pending delivery notes.
struct OpcionesConsultaComprobantes
{
    bool SoloPendientes = false;
    bool UsaRemitoContado = false;
    bool EntregaParcialRemito = false;
};
QString SentenciaComprobantes(const QString &TC, const QString &Filtro, const OpcionesConsultaComprobantes &opciones);

// Whether the pending delivery-note statement reads these switches: the
// caller reads the configuration only then.
bool LeeUsaRemitoContado(const QString &TC, bool SoloPendientes);
bool LeeEntregaParcialRemito(const QString &TC, const QString &Filtro, bool SoloPendientes);
