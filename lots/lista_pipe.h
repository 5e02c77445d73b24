#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The pipe list: the text that carries a line's lots, serials, positions and
// quantities. Items each closed by "|", with a "|" in front of the first:
// |A|B|. Lot keys join lot and serial with CHR(255); position items join
// position and quantity with the first "*". Item k of a list goes with item k
// of the parallel list of the same line.
//
// Reading trims the list, drops one leading "|", and takes each item up to
// the next "|" until the rest is blank. Text after the last "|" that is not
// blank (an unclosed tail) is a malformed list: error 5 where a walk reaches
// it. A separator beyond position 32,767 is error 6.
//
// Arrays come back with one empty slot after the items, so the last index
// equals the item count.
namespace ListaPipe {

// The lot and serial separator of a lot key.
QString SeparadorLoteSerie();

// What the dialogs write for a blank cell, so that item k stays row k: it
// names no lot and no serial.
QString ItemEnBlanco();
// Whether an item is that placeholder (blanks around it aside).
bool EsItemEnBlanco(const QString &item);

// The distinct non-blank items (case ignored), each after one blank. An
// unclosed tail is dropped quietly.
QString StrSerieLote(const QString &Serie_Lote);
// The trimmed items into Arreglo. A malformed list is reported under
// "Cuenta_Series_Y_Lotes%" and leaves the items before the fault.
void DescomponeSerieLote(const QString &Serie_Lote, QStringList &Arreglo);
// A position list into positions and quantities (cut at the first "*" of
// each item), and the lot list into lots. An item without "*" is error 5,
// reported as above; the arrays keep the items before it.
void DescomponePosicionCantidadLote(const QString &Posicion_Lote,
                                    const QString &PIPELotes,
                                    QStringList &ArrPosiciones,
                                    QStringList &ArrCantidades,
                                    QStringList &ArrLote);
// The stock rows a line stands for: the serial items when there are serials,
// else the lot items; SinConsolidar false counts distinct non-blank items.
std::int32_t Cuenta_Series_Lotes(const QString &PipeSeries, const QString &PIPELotes, bool SinConsolidar);
// Item QuePosicion (from 1), untrimmed; the empty text when there is none.
// A malformed tail before it raises error 5 to the caller.
QString ExtraeSerieLote(const QString &Serie_Lote, std::int16_t QuePosicion);
// How many items, empty ones included.
std::int32_t Cantidad_Series_Lotes(const QString &Pipes);
// A plain lot list as lot keys with empty serials: |A|B| -> |Aÿ|Bÿ|, and
// A|B| alike.
QString InsertaCHR255(const QString &iPipe);

// How a list read for a caller that takes no guess: cleanly, with an
// unclosed tail, or with a separator past position 32,767.
enum class Lectura { Bien, SinCerrar, Larga };
// Every item of the list, untrimmed, in one walk; the items before the
// fault when it does not read cleanly. Reports nothing.
Lectura LeeItems(const QString &lista, QStringList &items);
// The place (from 1) of the item equal to QueSerieLote (trimmed, case
// ignored); the item count plus 1 when none is; 0 for a list without items.
// A malformed list is reported under "Cuenta_Series_Lotes" and gives 0.
std::int32_t Busca_Lotes_Series(const QString &PipeSeriesLotes, const QString &QueSerieLote);

} // namespace ListaPipe
