#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

// The tool's whole job: physically delete every voucher of one type dated up
// to a cut-off date, one voucher per transaction, with the purge log VGELI.LOG.
// The main window's accept button drives it; tests and the benchmark call it
// directly on an open gDB().

// The strip a run paints once per voucher: the window's picture box, or a
// recorder in tests.
class ProgresoAnulacion
{
public:
    virtual ~ProgresoAnulacion() = default;
    virtual void Muestra() = 0;
    virtual void Pinta(double porcentaje, const QString &texto) = 0;
    virtual void Oculta() = 0;
};

// A strip that shows nothing (the benchmark, unattended runs).
class SinProgreso final : public ProgresoAnulacion
{
public:
    void Muestra() override {}
    void Pinta(double, const QString &) override {}
    void Oculta() override {}
};

struct ResultadoAnulacion
{
    enum class Fin {
        Normal,        // every voucher tried; final message and closing log line
        Detenida,      // the operator answered No to the question
        Abandonada,    // left through the error dialog, or the selection could not be read
        FechaInvalida, // refused before anything was written or deleted
    };
    Fin fin = Fin::Normal;
    int anulados = 0; // vouchers this run deleted: committed without error, rows found
    int fallidos = 0; // vouchers rolled back (or skipped) after an error
};

// The cut-off date as the operator types it: d/m/yyyy or dd/mm/yyyy, a real
// day. Anything else (empty, 31/02/2026, 2026-12-10, "ayer") gives nothing.
std::optional<QDate> LeeFechaHasta(const QString &texto);

// The selection: the keys of the vouchers of the (already fixed-width) type
// dated on the cut-off day or before, whatever their time of day.
QString SentenciaSeleccion(const QString &tipo, const QDate &hasta);

// One voucher's batch: BEGIN TRANSACTION and the five DELETEs (lines, tasks,
// observations, header, stock movements); the commit goes separately.
QString SentenciaBorrado(const QString &tipo, const QString &idComprobante, std::int32_t idComplemento);

// Log lines.
QString LineaCabeceraLog(const QString &nombrePC,
                         const QString &usuarioPC,
                         const QString &fechaHora,
                         const QString &tipo,
                         const QString &fechaHasta);
QString LineaCierreLog(int anulados, const QString &usuarioSistema);

// Where the purge log lives: VGELI.LOG in the application folder.
QString RutaLogAnulacion();

// The run, with the type and date exactly as typed in the window. It shows
// its own messages through the ui seam; raised failures go to the
// component's error dialog under the routine name "CmdAceptar".
ResultadoAnulacion AnulaComprobantes(const QString &tipoTexto, const QString &fechaTexto, ProgresoAnulacion &progreso);
