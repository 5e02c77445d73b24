#include "lots/lista_pipe.h"

#include "database/db_dll.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"

#include <QSet>

#include <exception>
#include <functional>

namespace ListaPipe {

namespace {

const QString kPipe = QStringLiteral("|");
constexpr int kMaxPosicion = 32767;

// Positions are kept in 16 bits: one beyond raises the overflow error.
int Posicion(qsizetype at)
{
    if (at + 1 > kMaxPosicion)
        Raise(vberr::Overflow);
    return int(at) + 1;
}

// Walks the items of a list, numbering them from 1; the visitor returns false
// to stop. Returns whether the list had a separator at all.
bool Recorre(const QString &lista, bool colaEnSilencio, const std::function<bool(const QString &, int)> &visita)
{
    const QString texto = vb::Trim(lista);
    qsizetype desde = texto.startsWith(kPipe) ? 1 : 0;
    qsizetype fin = texto.indexOf(kPipe, desde);
    if (fin < 0)
        return false;
    for (int numero = 1;; ++numero) {
        Posicion(fin);
        if (!visita(texto.mid(desde, fin - desde), numero))
            return true;
        desde = fin + 1;
        // The list is trimmed: the rest is blank only when nothing is left.
        if (desde >= texto.size())
            return true;
        fin = texto.indexOf(kPipe, desde);
        if (fin < 0) {
            if (colaEnSilencio)
                return true;
            Raise(vberr::InvalidCall);
        }
    }
}

// A malformed list cannot be got past: whatever the operator answers, the
// operation keeps what it had built before the fault.
void Informa(const QString &rutina, std::exception_ptr fallo)
{
    gDB().TratamientoErrores(CurrentError(fallo), std::nullopt, rutina);
}

const QString kRutinaDescompone = QStringLiteral("Cuenta_Series_Y_Lotes%");
const QString kRutinaCuenta = QStringLiteral("Cuenta_Series_Lotes");

} // namespace

QString SeparadorLoteSerie()
{
    return vb::Chr(255);
}

QString ItemEnBlanco()
{
    return QStringLiteral("-");
}

bool EsItemEnBlanco(const QString &item)
{
    return vb::Trim(item) == ItemEnBlanco();
}

QString StrSerieLote(const QString &Serie_Lote)
{
    QString resultado;
    try {
        QSet<QString> vistos{QString()};
        Recorre(Serie_Lote, true, [&](const QString &item, int) {
            const QString t = vb::Trim(item);
            const QString clave = vb::UCase(t);
            if (!vistos.contains(clave)) {
                resultado += QLatin1Char(' ') + t;
                vistos.insert(clave);
            }
            return true;
        });
    } catch (...) {
        Informa(kRutinaDescompone, std::current_exception());
    }
    return resultado;
}

void DescomponeSerieLote(const QString &Serie_Lote, QStringList &Arreglo)
{
    Arreglo = QStringList{QString()};
    try {
        Recorre(Serie_Lote, false, [&](const QString &item, int) {
            Arreglo.last() = vb::Trim(item);
            Arreglo.append(QString());
            return true;
        });
    } catch (...) {
        Informa(kRutinaDescompone, std::current_exception());
    }
}

void DescomponePosicionCantidadLote(const QString &Posicion_Lote,
                                    const QString &PIPELotes,
                                    QStringList &ArrPosiciones,
                                    QStringList &ArrCantidades,
                                    QStringList &ArrLote)
{
    ArrPosiciones = QStringList{QString()};
    ArrCantidades = QStringList{QString()};
    ArrLote = QStringList{QString()};
    DescomponeSerieLote(Posicion_Lote, ArrPosiciones);
    const qsizetype n = ArrPosiciones.size() - 1;
    for (qsizetype k = 0; k < n; ++k) {
        try {
            const qsizetype at = ArrPosiciones[k].indexOf(QLatin1Char('*'));
            if (at < 0)
                Raise(vberr::InvalidCall);
            Posicion(at);
            ArrCantidades[k] = ArrPosiciones[k].mid(at + 1);
            ArrPosiciones[k] = ArrPosiciones[k].left(at);
            ArrCantidades.append(QString());
        } catch (...) {
            // The two arrays stay parallel: the items before the fault.
            ArrPosiciones = ArrPosiciones.mid(0, k);
            ArrPosiciones.append(QString());
            Informa(kRutinaDescompone, std::current_exception());
            return;
        }
    }
    DescomponeSerieLote(PIPELotes, ArrLote);
}

std::int32_t Cuenta_Series_Lotes(const QString &PipeSeries, const QString &PIPELotes, bool SinConsolidar)
{
    QStringList series;
    QStringList lotes;
    DescomponeSerieLote(PipeSeries, series);
    DescomponeSerieLote(PIPELotes, lotes);
    // Serials, when the line has them, decide alone; the lots take no part.
    if (!vb::EqualsText(PipeSeries, QString()))
        lotes = QStringList(series.size(), QString());
    else if (!vb::EqualsText(PIPELotes, QString()))
        series = QStringList(lotes.size(), QString());
    if (SinConsolidar)
        return std::int32_t(series.size() - 1);
    QSet<QString> pares;
    for (qsizetype i = 0; i < series.size(); ++i) {
        const QString s = vb::Trim(series[i]);
        const QString l = i < lotes.size() ? vb::Trim(lotes[i]) : QString();
        if (s.isEmpty() && l.isEmpty())
            continue;
        pares.insert(vb::UCase(s) + kPipe + vb::UCase(l));
    }
    return std::int32_t(pares.size());
}

QString ExtraeSerieLote(const QString &Serie_Lote, std::int16_t QuePosicion)
{
    if (QuePosicion <= 0)
        return {};
    QString resultado;
    Recorre(Serie_Lote, false, [&](const QString &item, int numero) {
        if (numero != QuePosicion)
            return true;
        resultado = item;
        return false;
    });
    return resultado;
}

std::int32_t Cantidad_Series_Lotes(const QString &Pipes)
{
    if (Pipes.isEmpty())
        return 0;
    QStringList items;
    DescomponeSerieLote(Pipes, items);
    return std::int32_t(items.size() - 1);
}

Lectura LeeItems(const QString &lista, QStringList &items)
{
    items.clear();
    try {
        Recorre(lista, false, [&](const QString &item, int) {
            items << item;
            return true;
        });
    } catch (...) {
        return CurrentError(std::current_exception()).Number == vberr::Overflow ? Lectura::Larga : Lectura::SinCerrar;
    }
    return Lectura::Bien;
}

QString InsertaCHR255(const QString &iPipe)
{
    // A list written without its leading bar keeps its first item whole.
    QString resto = iPipe.startsWith(kPipe) ? iPipe.mid(1) : iPipe;
    resto.replace(kPipe, SeparadorLoteSerie() + kPipe);
    return kPipe + resto;
}

std::int32_t Busca_Lotes_Series(const QString &PipeSeriesLotes, const QString &QueSerieLote)
{
    try {
        const QString buscado = vb::Trim(QueSerieLote);
        int encontrado = 0;
        int cuenta = 0;
        const bool conItems = Recorre(PipeSeriesLotes, false, [&](const QString &item, int numero) {
            cuenta = numero;
            if (!vb::EqualsText(vb::Trim(item), buscado))
                return true;
            encontrado = numero;
            return false;
        });
        if (!conItems)
            return 0;
        return encontrado != 0 ? encontrado : cuenta + 1;
    } catch (...) {
        Informa(kRutinaCuenta, std::current_exception());
        return 0;
    }
}

} // namespace ListaPipe
