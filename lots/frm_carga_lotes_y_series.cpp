#include "lots/frm_carga_lotes_y_series.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "lots/lista_pipe.h"
#include "lots/lotes_grilla.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/key_preview.h"
#include "platform/ui/units.h"

#include <QLabel>

using namespace LotesGrilla;

namespace {

// Columns of the grid.
constexpr int kLote = 0;
constexpr int kSerie = 1;
constexpr int kItem = 1;
constexpr int kValor = 2;
constexpr int kStock = 2;
constexpr int kTomado = 3;
constexpr int kTeclaF2 = ui::vbKeyF1 + 1;

} // namespace

FrmCargaLotesySeries::FrmCargaLotesySeries(QWidget *parent)
    : DialogoGrilla(QStringLiteral("FrmCargaLotesySeries"),
                    QStringLiteral("Numeros de Serie"),
                    2,
                    QStringLiteral("F2 &Aceptar"),
                    parent)
{
    m_teclas = new ui::KeyPreview(this);
    connect(m_teclas, &ui::KeyPreview::KeyDown, this, &FrmCargaLotesySeries::Form_KeyDown);

    AjustaTamano();
    Form_Load();
}

FrmCargaLotesySeries::~FrmCargaLotesySeries() = default;

void FrmCargaLotesySeries::Form_KeyDown(int &KeyCode, int Shift)
{
    (void) Shift;
    if (KeyCode != kTeclaF2)
        return;
    KeyCode = 0;
    CmdAceptar_Click();
}

void FrmCargaLotesySeries::CmdCancelar_Click()
{
    hide();
}

bool FrmCargaLotesySeries::ColumnaDeSeries() const
{
    return EsSerie && !EsSerieYLote && !EsTalle;
}

void FrmCargaLotesySeries::CargaDatos()
{
    Steps paso = Steps::IgnoringErrors();
    paso([&] { EsSerieYLote = EsSerie && EsLote; });
    paso([&] {
        const QString deposito = Deposito + QLatin1Char(')');
        if (EsTalle) {
            setWindowTitle(QStringLiteral("Talles, Colores, Sexo (Deposito: ") + deposito);
            // A variant article with lots and serials is handled as a serial article.
            if (EsSerieYLote) {
                EsSerieYLote = false;
                EsLote = false;
            }
        } else if (EsSerieYLote) {
            setWindowTitle(QStringLiteral("Números de Lote y Serie (Deposito: ") + deposito);
        } else if (EsSerie) {
            setWindowTitle(QStringLiteral("Números de Serie (Deposito: ") + deposito);
        } else if (EsLote) {
            setWindowTitle(QStringLiteral("Números de Lote (Deposito: ") + deposito);
        }
    });
    paso([&] { lblArticulo->setText(vb::ProperCase(ArticuloDescripcion)); });
    paso([&] { InicializaGrid(); });
    paso([&] { VerificaAnteriores(); });
    paso([&] { VerificaExistenciasEnGrilla(); });
    // The cursor starts on the first value the operator gives.
    paso([&] {
        if (MSFlexGrid1.Rows() > 1)
            MSFlexGrid1.MoveTo(1, EsConsultaDeSerieLote ? kTomado : kValor);
    });
    // Sized for the mode's columns, and centred again at that size.
    paso([&] { AjustaTamano(); });
    paso([&] { gComponente().PreparaFormulario(this, false); });
}

void FrmCargaLotesySeries::InicializaGrid()
{
    Steps::IgnoringErrors()([&] {
        ui::FlexGrid &g = MSFlexGrid1;
        const auto x = [this](int n) { return ui::WidthOfX(*this, n); };
        if (EsConsultaDeSerieLote) {
            g.Clear();
            g.setCols(4);
            g.setFixedCols(2);
            g.setTextMatrix(0, kLote, EsTalle ? QStringLiteral("TALLE-COLOR-SEXO") : QStringLiteral("LOTE"));
            g.setTextMatrix(0, kSerie, QStringLiteral("SERIE"));
            g.setTextMatrix(0, kStock, QStringLiteral("CANT. STOCK"));
            g.setTextMatrix(0, kTomado, QStringLiteral("CANT. "));
            g.setColWidth(kLote, x(18));
            g.setColWidth(kSerie, x(15));
            g.setColWidth(kStock, x(12));
            g.setColWidth(kTomado, x(12));
            g.setRows(1);
            if (!EsSerie)
                g.setColWidth(kSerie, 0);
            if (!EsLote)
                g.setColWidth(kLote, 0);
            g.setColAlignment(kLote, ui::flexAlignCenterTop);
            g.setColAlignment(kSerie, ui::flexAlignCenterTop);
            return;
        }
        g.setCols(4);
        g.setRows(int(vb::CLng(Cantidad + 1)));
        g.setColWidth(0, 0);
        g.setColWidth(3, 0);
        g.setColWidth(kItem, x(5));
        g.setColWidth(kValor, x(35));
        g.setTextMatrix(0, kItem, QStringLiteral("ITEM"));
        g.setTextMatrix(0, kValor, EsSerie ? QStringLiteral("Número de Serie") : QStringLiteral("Número de Lote"));
        if (EsSerieYLote) {
            g.setColWidth(2, x(25));
            g.setColWidth(3, x(25));
            g.setTextMatrix(0, 3, QStringLiteral("Número de Serie"));
            g.setTextMatrix(0, 2, QStringLiteral("Número de Lote"));
        }
        for (int fila = 1; fila < g.Rows(); ++fila)
            g.setTextMatrix(fila, kItem, QString::number(fila));
        g.setColAlignment(kItem, ui::flexAlignCenterCenter);
    });
}

void FrmCargaLotesySeries::VerificaAnteriores()
{
    ui::FlexGrid &g = MSFlexGrid1;
    if (!EsConsultaDeSerieLote) {
        // One item per row, each list down its own column as far as there are
        // rows; a "-" stands for a cell that was blank.
        const auto carga = [&](const QString &lista, int col) {
            if (vb::Trim(gComponente().QuitaCaracteres(lista, QStringLiteral("|"))).isEmpty())
                return;
            QStringList items;
            ListaPipe::DescomponeSerieLote(lista, items);
            for (int k = 0; k + 1 < items.size() && k + 1 < g.Rows(); ++k)
                g.setTextMatrix(k + 1, col, ListaPipe::EsItemEnBlanco(items[k]) ? QString() : items[k]);
        };
        Steps paso = Steps::IgnoringErrors();
        if (!EsSerieYLote) {
            paso([&] { carga(SeriesAnteriores + LotesAnteriores, kValor); });
        } else {
            paso([&] { carga(LotesAnteriores, 2); });
            paso([&] { carga(SeriesAnteriores, 3); });
        }
        return;
    }
    Steps::IgnoringErrors()([&] {
        const QString separador = ListaPipe::SeparadorLoteSerie();
        QString sql = QStringLiteral("SELECT * FROM STK_SERIES_Y_LOTES WHERE IdArticulo = ") + CodigoSQL(Articulo, 25)
                      + QStringLiteral(" AND CANTIDAD > 0  AND IDDEPOSITO = ") + TextoSQL(Deposito)
                      + QStringLiteral(" ORDER BY NROLOTE, NROSERIE ");
        ado::Recordset rs;
        gDB().AbrirRecordset(sql, rs);
        int registros = 0;
        while (!rs.Eof()) {
            const int fila = g.Rows();
            g.setRows(fila + 1);
            g.setTextMatrix(fila, kLote, vb::Trim(CampoSinRecortar(rs, QStringLiteral("NroLote"))));
            g.setTextMatrix(fila, kSerie, vb::Trim(CampoSinRecortar(rs, QStringLiteral("NroSerie"))));
            const Variant stock = CampoValor(rs, QStringLiteral("Cantidad"));
            g.setTextMatrix(fila, kStock, stock.isNumber() ? TextoCantidad(stock.toDouble()) : stock.toString());
            g.setTextMatrix(fila, kTomado, QString());
            ++registros;
            rs.MoveNext();
        }
        gDB().CierraRecordset(&rs);

        // An earlier choice no longer in stock stays in sight, with stock 0.
        QStringList anteriores;
        ListaPipe::DescomponeSerieLote(Lotes, anteriores);
        QStringList claves;
        for (int fila = 1; fila < g.Rows(); ++fila)
            claves << ClaveDeFila(g, fila);
        for (int k = 0; k + 1 < anteriores.size(); ++k) {
            const QString &item = anteriores[k];
            if (item.isEmpty() || item == separador || BuscaEnArreglo(claves, item, 0) >= 0)
                continue;
            const qsizetype corte = item.indexOf(separador);
            const int fila = g.Rows();
            g.setRows(fila + 1);
            g.setTextMatrix(fila, kLote, corte < 0 ? item : item.left(corte));
            g.setTextMatrix(fila, kSerie, corte < 0 ? QString() : item.mid(corte + 1));
            g.setTextMatrix(fila, kStock, QStringLiteral("0"));
            g.setTextMatrix(fila, kTomado, QStringLiteral("0"));
        }

        if (registros == 0)
            return;
        g.setRows(g.Rows() + 1);
        if (vb::EqualsText(Lotes, QString())) {
            CompletaCantidades();
            return;
        }
        for (int fila = 1; fila < g.Rows(); ++fila) {
            const std::int32_t lugar = ListaPipe::Busca_Lotes_Series(Lotes, ClaveDeFila(g, fila));
            if (lugar != 0)
                g.setTextMatrix(fila,
                                kTomado,
                                TextoCantidad(ValorInicial(ListaPipe::ExtraeSerieLote(Series, std::int16_t(lugar)))));
        }
    });
}

void FrmCargaLotesySeries::VerificaExistenciasEnGrilla()
{
    if (!EsConsultaDeSerieLote)
        return;
    ui::FlexGrid &g = MSFlexGrid1;
    Steps paso = Steps::IgnoringErrors();
    paso([&] {
        if (vb::EqualsText(LotesExistentes, QString()))
            return;
        // What the voucher's other lines already take is not offered again.
        QStringList claves, cantidades;
        ListaPipe::DescomponeSerieLote(LotesExistentes, claves);
        ListaPipe::DescomponeSerieLote(SeriesExistentes, cantidades);
        QStringList filas;
        for (int fila = 1; fila < g.Rows(); ++fila)
            filas << ClaveDeFila(g, fila);
        for (int k = 0; k + 1 < claves.size(); ++k) {
            const int i = BuscaEnArreglo(filas, claves[k], 0);
            if (i < 0)
                continue;
            const int fila = i + 1;
            const QString tomado = k < cantidades.size() ? cantidades[k] : QString();
            g.setTextMatrix(fila,
                            kStock,
                            TextoCantidad(ValorInicial(g.TextMatrix(fila, kStock)) - ValorInicial(tomado)));
        }
    });
    paso([&] {
        if (!vb::EqualsText(Lotes, QString()))
            return;
        for (int fila = 1; fila < g.Rows(); ++fila)
            g.setTextMatrix(fila, kTomado, QStringLiteral("0"));
        DistribuyeCantidadSolicitada();
    });
}

bool FrmCargaLotesySeries::EsDevolucion() const
{
    return EsConsultaDeSerieLote && Cantidad < 0;
}

Currency FrmCargaLotesySeries::CantidadPedida() const
{
    const Currency pedida = Currency::fromDouble(Cantidad);
    return pedida < Currency() ? -pedida : pedida;
}

void FrmCargaLotesySeries::DistribuyeCantidadSolicitada()
{
    Steps::IgnoringErrors()([&] { Distribuye(MSFlexGrid1, CantidadPedida()); });
}

void FrmCargaLotesySeries::CompletaCantidades()
{
    LotesGrilla::CompletaCantidades(MSFlexGrid1, CantidadPedida());
}

void FrmCargaLotesySeries::CompletaTodoIgual()
{
    // A serial belongs to one unit: it is never copied to the others.
    if (ColumnaDeSeries())
        return;
    ui::FlexGrid &g = MSFlexGrid1;
    Steps paso = Steps::IgnoringErrors();
    QString valor;
    paso([&] { valor = vb::Trim(g.TextMatrix(1, kValor)); });
    for (int fila = 1; fila < g.Rows(); ++fila)
        paso([&] {
            if (vb::Trim(g.TextMatrix(fila, kValor)).isEmpty())
                g.setTextMatrix(fila, kValor, valor);
        });
}

double FrmCargaLotesySeries::SumaFilas(std::int32_t MenosCual)
{
    return SumaColumna(MSFlexGrid1, kTomado, MenosCual).toDouble();
}

bool FrmCargaLotesySeries::ValidaCantidadCantidadPedida()
{
    bool iguales = false;
    Steps paso = Pasos(QString());
    paso([&] { iguales = SumaColumna(MSFlexGrid1, kTomado, -1) == CantidadPedida(); });
    return !paso.leaving() && iguales;
}

QString FrmCargaLotesySeries::RechazoDeCantidad(const QString &texto, Steps &paso)
{
    const ui::FlexGrid &g = MSFlexGrid1;
    QString mensaje;
    paso([&] {
        const Currency v = LotesGrilla::Cantidad(texto);
        if (v < Currency())
            mensaje = QStringLiteral("La Cantidad no puede ser Menor a Cero");
        else if (v != vb::Round(v, 0))
            mensaje = QStringLiteral("No Puede Informase Cantidades que no Sean Enteras");
        else if (EsLote && !EsSerie && !EsSerieYLote && !EsDevolucion()
                 && !vb::Trim(g.TextMatrix(g.Row(), kLote)).isEmpty()
                 && v > LotesGrilla::Cantidad(g.TextMatrix(g.Row(), kStock)))
            mensaje = QStringLiteral("La Cantidad supera a la cantidad disponible en Stock");
    });
    return mensaje;
}

void FrmCargaLotesySeries::CmdAceptar_Click()
{
    // An edit still open counts only once the dialog's check has accepted it.
    if (!m_editor->ConfirmaEdicion())
        return;
    Steps paso = Pasos(QStringLiteral("CmdAceptar_Click"));
    ui::FlexGrid &g = MSFlexGrid1;
    if (!EsConsultaDeSerieLote) {
        paso([&] { CompletaTodoIgual(); });
        paso([&] {
            if (EsSerieYLote) {
                Lotes = ListaDeColumna(g, 2);
                Series = ListaDeColumna(g, 3);
            } else if (EsLote) {
                Lotes = ListaDeColumna(g, kValor);
                Series.clear();
            } else {
                Series = ListaDeColumna(g, kValor);
                Lotes.clear();
            }
        });
        if (paso.leaving())
            return;
        m_aceptado = true;
        hide();
        return;
    }
    bool sigue = true;
    paso([&] {
        if (ValidaCantidadCantidadPedida())
            return;
        // A return is taken over the lots as what it brings back: the grid
        // holds magnitudes and the line keeps its sign.
        const bool devolucion = EsDevolucion();
        double pedida = CantidadPedida().toDouble();
        sigue = AjustaCantidadPedida(SumaColumna(g, kTomado, -1),
                                     pedida,
                                     MostrarForm,
                                     QStringLiteral("El Stock es Menor a la cantidad solicitada "));
        Cantidad = devolucion ? -pedida : pedida;
    });
    if (!sigue || paso.leaving())
        return;
    paso([&] {
        const QString claves = ListaDeClaves(g);
        const QString cantidades = ListaDeColumna(g, kTomado);
        Lotes = claves;
        Series = cantidades;
    });
    if (paso.leaving())
        return;
    m_aceptado = true;
    hide();
}

void FrmCargaLotesySeries::Toolbar1_ButtonClick(int Index)
{
    if (Index != 1 && Index != 2)
        return;
    if (!m_editor->ConfirmaEdicion())
        return;
    ui::FlexGrid &g = MSFlexGrid1;
    // Only the values the dialog hands back are filled or blanked: never the
    // lot, serial or stock read from the database, nor the titles.
    if (g.Row() < g.FixedRows() || !ColumnaDeValores(g.Col()))
        return;
    const QString valor = Index == 1 ? vb::Trim(g.Text()) : QString();
    for (int fila = g.Row() + 1; fila < g.Rows(); ++fila)
        g.setTextMatrix(fila, g.Col(), valor);
}

bool FrmCargaLotesySeries::ColumnaDeValores(int Col) const
{
    if (EsConsultaDeSerieLote)
        return Col == kTomado;
    return Col == kValor || (EsSerieYLote && Col == 3);
}

bool FrmCargaLotesySeries::AceptaEdicion(int Col) const
{
    return Col >= MSFlexGrid1.FixedCols() && !(EsConsultaDeSerieLote && Col == kStock);
}

bool FrmCargaLotesySeries::EsColumnaCantidad(int Col) const
{
    return EsConsultaDeSerieLote && (Col == kStock || Col == kTomado);
}

int FrmCargaLotesySeries::UltimaColumnaEditable() const
{
    int ultima = 2;
    if (EsSerieYLote)
        ultima = 3;
    if (EsConsultaDeSerieLote)
        ultima = 3;
    if (EsSerie)
        ultima = 2;
    return ultima;
}

void FrmCargaLotesySeries::EnterEnLaUltimaFila(ui::FlexGrid &grilla)
{
    grilla.setCol(1);
}

int FrmCargaLotesySeries::ColumnaTrasUltima() const
{
    return EsSerieYLote ? 2 : -1;
}

int FrmCargaLotesySeries::ColumnaTrasEnter() const
{
    return EsConsultaDeSerieLote ? kTomado : -1;
}

bool FrmCargaLotesySeries::SaltaError(int Numero) const
{
    return Numero == vberr::InvalidCall || Numero == ui::FlexGrid::InvalidColValue;
}
