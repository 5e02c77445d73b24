#include "purge/corrida_borrado.h"

#include "database/armado_sql.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "database/transaccion.h"
#include "platform/component/component.h"
#include "platform/runtime/app.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/files.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

#include <QList>
#include <QRegularExpression>

namespace {

const QString kTituloAviso = QStringLiteral("Aviso al Operador");
const QString kRutina = QStringLiteral("CmdAceptar");

// SQL Server's datetime starts in 1753; the next day of the last accepted
// date must still be a date every engine reads.
constexpr int kPrimerAnio = 1753;
constexpr int kUltimoAnio = 9998;

struct Clave
{
    QString tc;
    QString idComprobante;
    Variant idComplemento;
};

QString MensajeFechaInvalida(const QString &fecha)
{
    if (fecha.isEmpty())
        return QStringLiteral("Escriba la fecha hasta la que se anulan los comprobantes, en la forma dd/mm/aaaa "
                              "(por ejemplo 31/12/2025). No se anuló ningún comprobante.");
    return QStringLiteral("La fecha \"%1\" no es una fecha válida. Escríbala en la forma dd/mm/aaaa "
                          "(por ejemplo 31/12/2025). No se anuló ningún comprobante.")
        .arg(fecha);
}

bool ContinuaTrasError(const QString &descripcion)
{
    const QString texto = QStringLiteral("Error detectado:") + descripcion + QStringLiteral("\r\n-Desea continuar...?");
    return ui::MsgBox(texto, ui::vbYesNo, QStringLiteral("Atencion")) != ui::vbNo;
}

// Nothing when the selection could not be opened: its opener has told the
// operator why, whatever the answer.
std::optional<QList<Clave>> LeeSeleccion(const QString &tipo, const QDate &hasta)
{
    // Keys first, cursor closed before any DELETE: no statement runs while a
    // result set is pending on the connection, and memory holds keys only.
    QString sql = SentenciaSeleccion(tipo, hasta);
    ado::Recordset rs;
    gDB().AbrirRecordset(sql, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    if (rs.State() != ado::adStateOpen)
        return std::nullopt;
    QList<Clave> claves;
    if (rs.RecordCount() > 0)
        claves.reserve(rs.RecordCount());
    while (!rs.Eof()) {
        claves.push_back({rs.Fields(0).Value().toString(), rs.Fields(1).Value().toString(), rs.Fields(2).Value()});
        rs.MoveNext();
    }
    gDB().CierraRecordset(&rs);
    return claves;
}

QString MensajeFinal(const ResultadoAnulacion &r)
{
    if (r.fallidos == 0)
        return QStringLiteral("Anulado sin Errores, se actualizaron ") + QString::number(r.anulados)
               + QStringLiteral(" registros ");
    return QStringLiteral("Anulado con Errores, se actualizaron ") + QString::number(r.anulados)
           + QStringLiteral(" registros, fallaron ") + QString::number(r.fallidos) + QStringLiteral(" registros ");
}

} // namespace

std::optional<QDate> LeeFechaHasta(const QString &texto)
{
    static const QRegularExpression forma(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const auto m = forma.match(texto);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate fecha(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!fecha.isValid() || fecha.year() < kPrimerAnio || fecha.year() > kUltimoAnio)
        return std::nullopt;
    return fecha;
}

QString SentenciaSeleccion(const QString &tipo, const QDate &hasta)
{
    // "Up to the day inclusive" is "before the next day": a voucher stamped
    // 14:30 on the cut-off day is included. The literal is day/month/year,
    // the form every session of the suite reads.
    return QStringLiteral("SELECT TC, IdComprobante, IdComplemento FROM V_MV_CPTE WHERE TC = ") + TextoSQL(tipo)
           + QStringLiteral(" AND FECHA < ") + TextoSQL(hasta.addDays(1).toString(QStringLiteral("dd/MM/yyyy")));
}

QString SentenciaBorrado(const QString &tipo, const QString &idComprobante, std::int32_t idComplemento)
{
    const QString clave = QStringLiteral(" WHERE TC = ") + TextoSQL(tipo) + QStringLiteral(" AND IDCOMPROBANTE = ")
                          + TextoSQL(idComprobante) + QStringLiteral(" AND IdComplemento =");
    const QString complemento = QString::number(idComplemento);
    const QChar cr(u'\r');
    return QStringLiteral("BEGIN TRANSACTION\r\n") + QStringLiteral("DELETE V_MV_CPTEINSUMOS") + clave
           + QStringLiteral("  ") + complemento + cr + QStringLiteral("DELETE V_MV_CPTETAREAS") + clave
           + QStringLiteral("   ") + complemento + cr + QStringLiteral("DELETE V_MV_CPTE_OBSERV") + clave
           + QStringLiteral("  ") + complemento + cr + QStringLiteral("DELETE V_MV_CPTE") + clave + QStringLiteral(" ")
           + complemento + cr + QStringLiteral("DELETE V_MV_STOCK") + clave + QStringLiteral("  ") + complemento + cr;
}

QString LineaCabeceraLog(const QString &nombrePC,
                         const QString &usuarioPC,
                         const QString &fechaHora,
                         const QString &tipo,
                         const QString &fechaHasta)
{
    return QStringLiteral("PC: ") + nombrePC + QStringLiteral(" Usuario: ") + usuarioPC + QStringLiteral("  Fecha : ")
           + fechaHora + QStringLiteral(" TC: ") + tipo + QStringLiteral(" FECHA HASTA:") + fechaHasta;
}

QString LineaCierreLog(int anulados, const QString &usuarioSistema)
{
    return QStringLiteral("Registros Anulados ") + QString::number(anulados) + QStringLiteral(" Usuario Sistema: ")
           + usuarioSistema;
}

QString RutaLogAnulacion()
{
    return gComponente().AgregaBarra(AppPath()) + QStringLiteral("VGELI.LOG");
}

ResultadoAnulacion AnulaComprobantes(const QString &tipoTexto, const QString &fechaTexto, ProgresoAnulacion &progreso)
{
    ResultadoAnulacion r;

    // The deletion cannot be undone: a date the engines might read another
    // way, or not at all, stops the run before the log or the data is touched.
    const QString fechaHasta = vb::Trim(fechaTexto);
    const std::optional<QDate> hasta = LeeFechaHasta(fechaHasta);
    if (!hasta) {
        ui::MsgBox(MensajeFechaInvalida(fechaHasta), ui::vbExclamation, kTituloAviso);
        r.fin = ResultadoAnulacion::Fin::FechaInvalida;
        return r;
    }

    Steps paso([](const ErrObject &err) { return gComponente().MuestraError(err, Variant(), kRutina); });

    QString usuarioPC, nombrePC, fechaHora, tipo, rutaLog;
    QList<Clave> claves;
    bool seleccionLeida = false;
    paso([&] { usuarioPC = gEntorno().UsuarioPC(); });
    paso([&] { nombrePC = gEntorno().NombrePC(); });
    paso([&] { fechaHora = vb::GeneralDate(vb::Now()); });
    paso([&] { tipo = Tipo4(tipoTexto); });
    paso([&] { rutaLog = RutaLogAnulacion(); });
    // The header goes to disk before the first deletion (the file is closed
    // again at once), so a run that is killed still leaves its trace.
    paso([&] {
        vb::SequentialFile log(rutaLog, vb::OpenMode::Append);
        log.PrintLine(LineaCabeceraLog(nombrePC, usuarioPC, fechaHora, tipo, fechaHasta));
        log.Close();
    });
    paso([&] { progreso.Muestra(); });
    // Only a selection read to its end is a list of what to delete: one that
    // failed, or whose error was answered with Ignore, ends the run as failed,
    // never as a run that found nothing.
    paso([&] {
        seleccionLeida = false;
        std::optional<QList<Clave>> leidas = LeeSeleccion(tipo, *hasta);
        if (!leidas)
            return;
        claves = std::move(*leidas);
        seleccionLeida = true;
    });
    if (!seleccionLeida && !paso.leaving())
        paso.leave();

    const qsizetype total = claves.size();
    bool detenida = false;
    for (qsizetype i = 0; i < total && !paso.leaving() && !detenida; ++i) {
        const Clave &fila = claves[i];
        const qsizetype posicion = i + 1;
        paso([&] {
            progreso.Pinta(double(posicion * 100) / double(total),
                           fila.tc + QStringLiteral(" ") + fila.idComprobante + QStringLiteral(" Leidos: ")
                               + QString::number(posicion) + QStringLiteral(" DE ") + QString::number(total));
        });

        // A key that cannot be read leaves this voucher alone: nothing stale
        // from the previous row may reach a DELETE.
        std::optional<std::int32_t> complemento;
        QString idComprobante;
        if (!paso([&] {
                complemento = fila.idComplemento.toLong();
                idComprobante = fila.idComprobante;
            }))
            break;
        if (!complemento) {
            ++r.fallidos;
            continue;
        }

        // Leaving the loop with the voucher's transaction open rolls it back.
        Transaccion transaccion(gDB());
        std::optional<QString> error;
        std::int32_t borradas = 0;
        if (!paso([&] { error = transaccion.Abre(SentenciaBorrado(tipo, idComprobante, *complemento), &borradas); }))
            break;
        // The first error is taken before the rollback is sent, so the
        // question quotes what went wrong, not the rollback's answer.
        if (!error && !paso([&] { error = transaccion.Confirma(); }))
            break;
        if (error) {
            // Failed batch or failed commit: nothing of this voucher may stay
            // half deleted, and no transaction may stay open behind it while
            // the operator is asked.
            transaccion.Deshace();
            ++r.fallidos;
            if (!ContinuaTrasError(*error))
                detenida = true;
            continue;
        }
        // A voucher that another run deleted since the selection was read is
        // gone already: its batch finds nothing, and it is not this run's.
        if (borradas > 0)
            ++r.anulados;
    }

    if (detenida) {
        r.fin = ResultadoAnulacion::Fin::Detenida;
        return r;
    }
    if (paso.leaving()) {
        r.fin = ResultadoAnulacion::Fin::Abandonada;
        return r;
    }

    paso([&] { progreso.Oculta(); });
    // The closing line is written before the message, so it is on disk
    // whatever happens while the message waits for the operator.
    paso([&] {
        vb::SequentialFile log(rutaLog, vb::OpenMode::Append);
        log.PrintLine(LineaCierreLog(r.anulados, gUsuarioLogeado));
        log.Close();
    });
    paso([&] { ui::MsgBox(MensajeFinal(r), r.fallidos == 0 ? ui::vbInformation : ui::vbExclamation, kTituloAviso); });
    r.fin = paso.leaving() ? ResultadoAnulacion::Fin::Abandonada : ResultadoAnulacion::Fin::Normal;
    return r;
}
