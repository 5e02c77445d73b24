// Members of ClsCmnCptes that lots/ defines: the pipe-list codec and the
// lot and serial requests.
#include "voucher/cls_cmn_cptes.h"

#include "database/armado_sql.h"
#include "database/configuracion.h"
#include "database/db_dll.h"
#include "lots/frm_carga_lotes_y_series.h"
#include "lots/lista_pipe.h"
#include "platform/runtime/strings.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/ui.h"
#include "voucher/columnas.h"

#include <QLabel>

QString ClsCmnCptes::StrSerieLote(const QString &Serie_Lote)
{
    return ListaPipe::StrSerieLote(Serie_Lote);
}

void ClsCmnCptes::DescomponeSerieLote(const QString &Serie_Lote, QStringList &Arreglo)
{
    ListaPipe::DescomponeSerieLote(Serie_Lote, Arreglo);
}

void ClsCmnCptes::DescomponePosicionCantidadLote(const QString &Posicion_Lote,
                                                 const QString &PIPELotes,
                                                 QStringList &ArrPosiciones,
                                                 QStringList &ArrCantidades,
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

std::int32_t ClsCmnCptes::Cantidad_Series_Lotes(const QString &Pipes)
{
    return ListaPipe::Cantidad_Series_Lotes(Pipes);
}

QString ClsCmnCptes::InsertaCHR255(const QString &iPipe)
{
    return ListaPipe::InsertaCHR255(iPipe);
}

std::int32_t ClsCmnCptes::Busca_Lotes_Series(const QString &PipeSeriesLotes, const QString &QueSerieLote)
{
    return ListaPipe::Busca_Lotes_Series(PipeSeriesLotes, QueSerieLote);
}

namespace {

using DialogoLotes = ui::DefaultInstance<FrmCargaLotesySeries>;

// Every request leaves the dialog unloaded, on an error too, so that the
// next one meets a fresh dialog.
struct DescargaAlSalir
{
    ~DescargaAlSalir() { DialogoLotes::Unload(); }
};

// A line's lists joined: the first cell whole, the next ones without their
// leading "|", so |A| and |B| give |A|B|.
void Junta(QString &junta, const QString &celda)
{
    if (junta.isEmpty())
        junta = celda;
    else
        junta += celda.mid(1);
}

} // namespace

void ClsCmnCptes::PideSerieLote(const QString &Articulo,
                                double Cantidad,
                                const QString &SerieAnt,
                                const QString &LoteAnt,
                                QString &SerieNvo,
                                QString &LoteNvo,
                                bool Serie,
                                bool Lote,
                                bool Talle)
{
    if (Cantidad == 0) {
        SerieNvo.clear();
        LoteNvo.clear();
        return;
    }
    DescargaAlSalir descarga;
    Steps paso = Pasos(QStringLiteral("PideSerieLote"));
    paso([&] {
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.Cantidad = Cantidad;
        f.EsSerie = Serie;
        f.EsLote = Lote;
        f.EsTalle = Talle;
        f.Articulo = Articulo;
        f.SeriesAnteriores = SerieAnt;
        f.LotesAnteriores = LoteAnt;
    });
    paso([&] {
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.CargaDatos();
        f.lblArticulo->setText(Articulo);
    });
    paso([&] { ui::ShowModal(DialogoLotes::Get()); });
    paso([&] {
        // Cancel gives the line back what it had.
        const FrmCargaLotesySeries &f = DialogoLotes::Get();
        SerieNvo = vb::Trim(f.Aceptado() ? f.Series : SerieAnt);
        LoteNvo = vb::Trim(f.Aceptado() ? f.Lotes : LoteAnt);
    });
}

void ClsCmnCptes::PideSerieLote_Salidas(ui::FlexGrid &Grilla,
                                        const QString &Articulo,
                                        const QString &Descripcion,
                                        double &Cantidad,
                                        const QString &SeriesLoteAnt,
                                        const QString &CantidadANT,
                                        QString &SeriesLoteNvo,
                                        QString &CantidadesNvo,
                                        bool Lote,
                                        bool Serie,
                                        bool Talle,
                                        QString &Deposito,
                                        bool MostrarForm)
{
    Steps paso = Pasos(QStringLiteral("PideSerieLote"));
    paso([&] {
        if (vb::EqualsText(Deposito, QString()))
            Deposito = Cfg(QStringLiteral("DepositoDefault"));
    });
    if (paso.leaving() || Cantidad == 0)
        return;
    DescargaAlSalir descarga;
    paso([&] {
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.Cantidad = Cantidad;
        f.Articulo = Articulo;
        f.EsConsultaDeSerieLote = true;
        f.EsLote = Lote;
        f.EsSerie = Serie;
        f.EsTalle = Talle;
        f.Deposito = CodigoAncho(Deposito, 4);
        f.Lotes = SeriesLoteAnt;
        f.Series = CantidadANT;
    });
    paso([&] {
        // The line's own earlier take is its to change, not stock taken by another line.
        QString lotes, cantidades;
        CuentaLotesEnGrilla(Grilla, Articulo, lotes, cantidades, Grilla.Row());
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.LotesExistentes = lotes;
        f.SeriesExistentes = cantidades;
    });
    paso([&] {
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.CargaDatos();
        f.lblArticulo->setText(Articulo + QStringLiteral(" - ") + Descripcion);
    });
    paso([&] {
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.MostrarForm = MostrarForm;
        if (MostrarForm)
            ui::ShowModal(f);
        else
            f.CmdAceptar_Click();
    });
    paso([&] {
        const FrmCargaLotesySeries &f = DialogoLotes::Get();
        SeriesLoteNvo = f.Lotes;
        CantidadesNvo = f.Series;
        Cantidad = f.Cantidad;
    });
}

void ClsCmnCptes::CuentaLotesEnGrilla(const ui::FlexGrid &Grilla,
                                      const QString &Articulo,
                                      QString &LotesEnGrid,
                                      QString &CantidadesEnGrid,
                                      std::int32_t FilaExcluida)
{
    LotesEnGrid.clear();
    CantidadesEnGrid.clear();
    for (int fila = 1; fila < Grilla.Rows(); ++fila) {
        if (fila == FilaExcluida || !vb::EqualsText(Grilla.TextMatrix(fila, GrillaArticulos::ColArticulo), Articulo))
            continue;
        Junta(LotesEnGrid, Grilla.TextMatrix(fila, GrillaArticulos::ColNroLote));
        Junta(CantidadesEnGrid, Grilla.TextMatrix(fila, GrillaArticulos::ColNroSerie));
    }
}
