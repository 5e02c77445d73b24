// Members of ClsCmnCptes that lots/ defines: the pipe-list codec.
#include "voucher/cls_cmn_cptes.h"

#include "lots/lista_pipe.h"

QString ClsCmnCptes::StrSerieLote(const QString &Serie_Lote) { return ListaPipe::StrSerieLote(Serie_Lote); }

void ClsCmnCptes::DescomponeSerieLote(const QString &Serie_Lote, QStringList &Arreglo)
{
    ListaPipe::DescomponeSerieLote(Serie_Lote, Arreglo);
}

void ClsCmnCptes::DescomponePosicionCantidadLote(const QString &Posicion_Lote, const QString &PIPELotes,
                                                 QStringList &ArrPosiciones, QStringList &ArrCantidades,
                                                 QStringList &ArrLote)
{
    ListaPipe::DescomponePosicionCantidadLote(Posicion_Lote, PIPELotes, ArrPosiciones, ArrCantidades, ArrLote);
}

std::int32_t ClsCmnCptes::Cuenta_Series_Lotes(const QString &PipeSeries, const QString &PIPELotes, bool SinConsolidar)
{
    return ListaPipe::Cuenta_Series_Lotes(PipeSeries, PIPELotes, SinConsolidar);
}

QString ClsCmnCptes::ExtraeSerieLote(const QString &Serie_Lote, std::int16_t QuePosicion)
{
    return ListaPipe::ExtraeSerieLote(Serie_Lote, QuePosicion);
}

std::int32_t ClsCmnCptes::Cantidad_Series_Lotes(const QString &Pipes) { return ListaPipe::Cantidad_Series_Lotes(Pipes); }

QString ClsCmnCptes::InsertaCHR255(const QString &iPipe) { return ListaPipe::InsertaCHR255(iPipe); }

std::int32_t ClsCmnCptes::Busca_Lotes_Series(const QString &PipeSeriesLotes, const QString &QueSerieLote)
{
    return ListaPipe::Busca_Lotes_Series(PipeSeriesLotes, QueSerieLote);
}
