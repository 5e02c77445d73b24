#pragma once

// The state of one stock posting run, shared by the files of posting/ that
// take part in it (the lines' movements, the consumption of inputs).

#include "posting/movimiento_stock.h"

#include "database/sentencias.h"
#include "platform/runtime/steps.h"
#include "platform/ui/do_events.h"

#include <QString>

#include <cstdint>

class ClsCmnCptes;

namespace ui {
class FlexGrid;
}

struct CorridaStock
{
    CorridaStock(
        ClsCmnCptes &clase, ui::FlexGrid &grilla, Sentencias salida, QString &sqlTemp, bool &hayError, Steps &paso)
        : Clase(clase)
        , Grilla(grilla)
        , Salida(salida)
        , SQLTemp(sqlTemp)
        , HayError(hayError)
        , Paso(paso)
    {}

    ClsCmnCptes &Clase;
    ui::FlexGrid &Grilla;
    EncabezadoStock Enc;
    Sentencias Salida; // run now, or collect for the caller's transaction
    QString &SQLTemp;  // the caller's collected statements
    bool &HayError;
    Steps &Paso; // the run's error treatment
    std::int16_t Signo = 0;
    std::int16_t Secuencia = 0; // the voucher's movement number, last one used
    bool Terminada = false;     // a statement failed or a voucher got no number: the run ends
    ui::DoEventsEvery Eventos;  // the screen's turn between movements, at most every 50 ms

    // The movement number after the last one used; error 6 past 32,767.
    std::int16_t SiguienteSecuencia() const;

    // Runs or collects one statement. When it ran and failed the operator is
    // shown why, HayError is set and the run ends: false.
    bool Envia(const QString &sentencia);
};

// The consumption of the components of the grid's articles, after the
// movements of the lines: rows of a "PE" voucher of its own, numbered from
// 1, and the statement that advances that voucher's book. Ends the run like
// a movement when a row fails.
void ConsumeInsumos(CorridaStock &corrida);
