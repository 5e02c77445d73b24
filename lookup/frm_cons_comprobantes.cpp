#include "lookup/frm_cons_comprobantes.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/db_dll.h"
#include "database/estilo_formularios.h"
#include "lookup/consulta_comprobantes.h"
#include "platform/component/component.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/units.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <limits>

namespace {

// The row icons, in the order their indexes are known by.
const char *const kImagenes[] = {"PR", "Anulado", "Aprobado", "FC", "NC", "ND", "OT", "Generico", "T3", "OC", "OCG"};

// The load's steps: errors to TratamientoErrores, without a routine name.
Steps PasosCarga()
{
    return Steps([](const ErrObject &e) { return gDB().TratamientoErrores(e); });
}

} // namespace

FrmConsComprobantes::FrmConsComprobantes(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmConsComprobantes"));
    setWindowTitle(QStringLiteral("Consulta de Comprobantes"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(820, 440);

    for (const char *tag : kImagenes) {
        QIcon icon;
        for (int size : {16, 32})
            icon.addFile(QStringLiteral(":/lookup/iconos/%1/%2.png").arg(size).arg(QString::fromLatin1(tag)));
        ImageList1.Add(icon, QString::fromLatin1(tag));
    }

    ListView1 = new ui::ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setSmallIcons(&ImageList1);
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdCancelar->setObjectName(QStringLiteral("CmdCancelar"));
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(CmdAceptar);
    botones->addWidget(CmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListView1);
    layout->addLayout(botones);
    // Enter belongs to the list (it accepts from there), not to a default button.
    for (QPushButton *b : {CmdAceptar, CmdCancelar})
        b->setAutoDefault(false);

    connect(CmdAceptar, &QPushButton::clicked, this, &FrmConsComprobantes::CmdAceptar_Click);
    connect(CmdCancelar, &QPushButton::clicked, this, &FrmConsComprobantes::CmdCancelar_Click);
    connect(ListView1, &ui::ListView::ColumnClick, this, &FrmConsComprobantes::ListView1_ColumnClick);
    connect(ListView1, &ui::ListView::DblClick, this, &FrmConsComprobantes::ListView1_DblClick);
    connect(ListView1, &ui::ListView::KeyDown, this, &FrmConsComprobantes::ListView1_KeyDown);
}

FrmConsComprobantes::~FrmConsComprobantes() = default;

void FrmConsComprobantes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void FrmConsComprobantes::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QDialog::closeEvent(event);
}

void FrmConsComprobantes::Form_Load()
{
    Steps paso = PasosCarga();
    paso([&] {
        ListView1->ListItems().Clear();
        m_complementos.clear();
    });
    paso([&] { ListView1->setCheckboxes(false); });
    paso([&] { lUsaReferenciaPresupuestos = CfgSi(Cfg(QStringLiteral("UsaReferenciaPresupuestos"))); });
    paso([&] { lSoloPendientes = false; });
    paso([&] { ResuelveAliasComprobante(TC, lSoloPendientes); });
    paso([&] {
        if (vb::EqualsText(TC, QStringLiteral("OC")))
            ListView1->setCheckboxes(true);
    });
    paso([&] { Encolumnar(); });
    paso([&] { gComponente().PreparaFormulario(this, Variant(false)); });
    paso([&] { AplicaIconoYEstilo(this); });
    QString sentencia;
    paso([&] {
        if (vb::EqualsText(TC, QStringLiteral("OC")))
            Filtro = QuitaWhereInicial(Filtro);
        OpcionesConsultaComprobantes opciones;
        opciones.SoloPendientes = lSoloPendientes;
        if (LeeUsaRemitoContado(TC, lSoloPendientes))
            opciones.UsaRemitoContado = CfgSi(Cfg(QStringLiteral("UsaRemitoContado")));
        if (LeeEntregaParcialRemito(TC, Filtro, lSoloPendientes))
            opciones.EntregaParcialRemito = CfgSi(Cfg(QStringLiteral("EntregaParcialRemito")));
        sentencia = SentenciaComprobantes(TC, Filtro, opciones);
    });
    paso([&] {
        gDB().AbrirRecordset(sentencia, lRsComprobantes, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    });
    bool bof = true;
    paso([&] { bof = lRsComprobantes.Bof(); });
    if (!bof) {
        while (!paso.leaving()) {
            bool eof = true;
            paso([&] { eof = lRsComprobantes.Eof(); });
            if (eof || paso.leaving())
                break;
            paso([&] { AgregaFila(); });
            bool movido = false;
            paso([&] {
                lRsComprobantes.MoveNext();
                movido = true;
            });
            // A cursor that cannot move on would list the same record forever.
            if (!movido)
                break;
        }
    }
    if (!paso.leaving())
        paso([&] { gDB().CierraRecordset(&lRsComprobantes); });
}

void FrmConsComprobantes::Encolumnar()
{
    Steps paso = Pasos(QStringLiteral("Encolumnar"));
    struct Columna
    {
        const char *titulo;
        int letras;
    };
    const bool ref = lUsaReferenciaPresupuestos;
    std::vector<Columna> columnas;
    if (vb::EqualsAnyText(TC, {"OT", "FC", "RM", "ND", "NC", "NCFP", "OP", "NP", "FP", "GF"})) {
        columnas = {{"FECHA", 13}, {"COMPROBANTE", 15}, {"ID", 5}, {"NOMBRE", 21}};
        if (ref)
            columnas.push_back({"Referencia", 21});
        columnas.push_back({"IMPORTE", 10});
    } else if (vb::EqualsAnyText(TC, {"FCC", "NCC", "NCCP", "NDC", "RMC", "NCPE", "NDPR"})) {
        columnas
            = {{"FECHA", 13}, {"COMPROBANTE", 15}, {"PROVEEDOR", 15}, {"NOMBRE", 21}, {"CONCEPTO", 21}, {"IMPORTE", 10}};
    } else if (vb::EqualsAnyText(TC, {"PR"})) {
        columnas = {{"FECHA", 13}, {"COMPROBANTE", 15}, {"NOMBRE", 21}, {"ID", 5}};
        if (ref)
            columnas.push_back({"Referencia", 21});
        columnas.push_back({"IMPORTE", 10});
    } else if (vb::EqualsAnyText(TC, {"T3"})) {
        columnas = {{"Nº Int.", 7}, {"FECHA", 13}, {"COMPROBANTE", 15}, {"ID", 4}, {"FH Envio", 10}, {"FH Recep", 10}};
    } else if (vb::EqualsAnyText(TC, {"OC"})) {
        columnas = {{"FECHA", 13},
                    {"PROVEEDOR", 13},
                    {"COMPROBANTE", 17},
                    {"IMPORTE", 9},
                    {"COMENTARIOS", 15},
                    {"Inf. Recepción", 15}};
    } else {
        columnas
            = {{"FECHA", 13}, {"COMPROBANTE", 15}, {"CUENTA", 15}, {"NOMBRE", 21}, {"CONCEPTO", 21}, {"IMPORTE", 10}};
    }
    paso([&] {
        ListView1->ColumnHeaders().Clear();
        m_orden.clear();
    });
    // The first column also holds the row's icon and, for orders, its check box.
    int margen = 16 + 8;
    if (ListView1->Checkboxes())
        margen += style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8;
    for (const Columna &c : columnas) {
        if (paso.leaving())
            break;
        paso([&] {
            const QString titulo = QString::fromUtf8(c.titulo);
            int ancho = ui::WidthOfX(*this, c.letras);
            if (ListView1->ColumnHeaders().Count() == 0)
                ancho += ui::PixelsToTwips(margen);
            ListView1->ColumnHeaders().Add(titulo, QString(), ancho);
            // Dates and amounts sort by their values, not by their texts.
            Orden orden = Orden::Texto;
            if (vb::EqualsAnyText(titulo, {"FECHA", "FH Envio", "FH Recep"}))
                orden = Orden::Fecha;
            else if (vb::EqualsAnyText(titulo, {"IMPORTE", "ID"}) || titulo == QStringLiteral("Nº Int."))
                orden = Orden::Numero;
            m_orden.push_back(orden);
        });
    }
}

int FrmConsComprobantes::ObtieneIndiceImagen(const QString &Tipo)
{
    for (int i = 1; i <= ImageList1.Count(); ++i)
        if (vb::EqualsText(vb::Trim(ImageList1.ListImages(i).Tag), vb::Trim(Tipo)))
            return i;
    return ObtieneIndiceImagen(QStringLiteral("Generico"));
}

QString FrmConsComprobantes::Campo(const char *nombre)
{
    return CampoSinRecortar(lRsComprobantes, QString::fromLatin1(nombre));
}

bool FrmConsComprobantes::Verdadero(const char *nombre)
{
    return Indicador(lRsComprobantes, QString::fromLatin1(nombre)).value_or(false);
}

void FrmConsComprobantes::PoneCelda(int indice, const Variant &valor)
{
    const QString texto = TextoNoNulo(valor);
    if (indice == 0)
        lItemActual.setText(texto);
    else
        lItemActual.setSubItems(indice, texto);
    const Orden orden = indice < int(m_orden.size()) ? m_orden[size_t(indice)] : Orden::Texto;
    if (orden == Orden::Fecha) {
        QDateTime fecha;
        if (valor.isDate()) {
            fecha = valor.toDate();
        } else if (valor.isString() && !texto.trimmed().isEmpty()) {
            Steps::IgnoringRunTimeErrors()([&] { fecha = valor.toDate(); });
        }
        // Cells without a date sort before every date.
        lItemActual.setSortValue(indice, fecha);
    } else if (orden == Orden::Numero) {
        double numero = std::numeric_limits<double>::lowest();
        bool ok = valor.isNumber();
        if (ok)
            numero = valor.toDouble();
        else if (const double n = texto.trimmed().toDouble(&ok); ok)
            numero = n;
        lItemActual.setSortValue(indice, numero);
    }
}

void FrmConsComprobantes::AgregaFila()
{
    const bool ref = lUsaReferenciaPresupuestos;
    auto campo = [this](const char *nombre) { return lRsComprobantes.Fields(QString::fromLatin1(nombre)).Value(); };
    auto texto = [](const QString &s) { return Variant(s); };

    // The icon of the voucher's state.
    int imagen = 0;
    if (vb::EqualsAnyText(TC, {"T3"})) {
        imagen = ObtieneIndiceImagen(QStringLiteral("T3"));
    } else if (vb::EqualsAnyText(TC, {"FCC", "NCC", "NCCP", "NDC", "RMC", "PR"})) {
        imagen = ObtieneIndiceImagen(TC);
        if (Verdadero("Anulada"))
            imagen = ObtieneIndiceImagen(QStringLiteral("Anulado"));
    } else if (vb::EqualsAnyText(TC, {"NCPE", "NDPR"})) {
        imagen = ObtieneIndiceImagen(TC);
    } else if (vb::EqualsAnyText(TC, {"OC"})) {
        imagen = ObtieneIndiceImagen(TC);
        if (Verdadero("Garantia"))
            imagen = ObtieneIndiceImagen(QStringLiteral("OCG"));
        if (Verdadero("Anulada"))
            imagen = ObtieneIndiceImagen(QStringLiteral("Anulado"));
    } else {
        imagen = ObtieneIndiceImagen(TC);
        if (Verdadero("Anulada"))
            imagen = ObtieneIndiceImagen(QStringLiteral("Anulado"));
        else if (Verdadero("APROBADO"))
            imagen = ObtieneIndiceImagen(QStringLiteral("Aprobado"));
        // Stored types are right-aligned: the record's TC is compared trimmed.
        if (vb::EqualsAnyText(TC, {"NP"}) && lSoloPendientes
            && vb::EqualsText(vb::Trim(Campo("TC")), QStringLiteral("NP")) && !campo("FechaPreparacion").isNull())
            imagen = ObtieneIndiceImagen(QStringLiteral("Aprobado"));
    }

    lItemActual = ListView1->ListItems().Add();
    lItemActual.setSmallIcon(imagen);

    if (vb::EqualsAnyText(TC, {"T3"})) {
        PoneCelda(0, campo("ID"));
        PoneCelda(1, campo("Fecha"));
        PoneCelda(2, campo("IdComprobante"));
        PoneCelda(3, campo("IdComplemento"));
        PoneCelda(4, campo("FECHAENVIADO"));
        PoneCelda(5, campo("FECHARECIBIDO"));
    } else if (vb::EqualsAnyText(TC, {"FCC", "NCC", "NCCP", "NDC", "RMC"})) {
        PoneCelda(0, campo("Fecha"));
        PoneCelda(1, campo("IdComprobante"));
        PoneCelda(2, campo("Cuenta"));
        PoneCelda(3, campo("Nombre"));
        PoneCelda(4, texto(QString()));
        PoneCelda(5, campo("Importe"));
    } else if (vb::EqualsAnyText(TC, {"NCPE", "NDPR"})) {
        PoneCelda(0, campo("Fecha"));
        PoneCelda(1, texto(Campo("Sucursal") + Campo("Numero") + Campo("Letra")));
        PoneCelda(2, campo("Cuenta"));
        PoneCelda(3,
                  gDB().DatosTabla(QStringLiteral("VT_PROVEEDORES"),
                                   Campo("Cuenta"),
                                   QStringLiteral("RAZON_SOCIAL"),
                                   QStringLiteral("Codigo"),
                                   8,
                                   QString(),
                                   true));
        PoneCelda(4, campo("Detalle"));
        PoneCelda(5, campo("Importe"));
    } else if (vb::EqualsAnyText(TC, {"PR"})) {
        PoneCelda(0, campo("Fecha"));
        PoneCelda(1, campo("IdComprobante"));
        PoneCelda(2, campo("Nombre"));
        PoneCelda(3, texto(QString()));
        PoneCelda(4, ref ? campo("COMENTARIOS") : campo("Importe"));
        if (ref)
            PoneCelda(5, campo("Importe"));
    } else if (vb::EqualsAnyText(TC, {"OC"})) {
        const QString id = Campo("IdComprobante");
        PoneCelda(0, campo("Fecha"));
        PoneCelda(1, texto(Campo("Cuenta") + QStringLiteral(" ") + Campo("Nombre")));
        PoneCelda(2, campo("IdComprobante"));
        PoneCelda(3, campo("Importe"));
        PoneCelda(4, campo("COMENTARIOS"));
        // The reception that came from this order; types are stored right-aligned.
        PoneCelda(5,
                  gDB().DatosTabla(QStringLiteral("v_mv_stock"),
                                   QStringLiteral("OC"),
                                   QStringLiteral("idcomprobante"),
                                   QStringLiteral("TC_origen"),
                                   8,
                                   QStringLiteral(" LTRIM(RTRIM(TC)) = 'IR' AND LTRIM(RTRIM(TC_ORIGEN)) = 'OC' AND "
                                                  "IDCOMPROBANTE_ORIGEN =")
                                       + TextoSQL(id),
                                   true));
    } else {
        const bool conComplemento = vb::EqualsAnyText(TC, {"OT", "FC"});
        PoneCelda(0, campo("Fecha"));
        PoneCelda(1, campo("IdComprobante"));
        PoneCelda(2, conComplemento ? campo("IdComplemento") : texto(QString()));
        PoneCelda(3, campo("Nombre"));
        // The "other" set has a blank CONCEPTO where the main set has Referencia.
        const bool cuatroEnBlanco = ref || !EsGrupoPrincipal(TC);
        PoneCelda(4, cuatroEnBlanco ? texto(QString()) : campo("Importe"));
        if (cuatroEnBlanco)
            PoneCelda(5, campo("Importe"));
        // The record's complement goes with its row, where the query returns one.
        if (EsGrupoPrincipal(TC)) {
            for (int i = 0; i < lRsComprobantes.FieldCount(); ++i) {
                if (vb::EqualsText(lRsComprobantes.Fields(i).Name(), QStringLiteral("IdComplemento"))) {
                    m_complementos.emplace_back(lItemActual, Campo("IdComplemento"));
                    break;
                }
            }
        }
    }
}

void FrmConsComprobantes::CmdAceptar_Click()
{
    const ui::ListItem elegido = ListView1->SelectedItem();
    if (vb::EqualsText(TC, QStringLiteral("OC"))) {
        // Ticked rows win, whether or not a row is selected.
        QStringList tildados;
        for (int i = 1; i <= ListView1->ListItems().Count(); ++i) {
            const ui::ListItem fila = ListView1->ListItems().Item(i);
            if (fila.Checked())
                tildados << fila.SubItems(2);
        }
        if (!tildados.isEmpty())
            NroComprobante = tildados.join(QLatin1Char(','));
        else
            NroComprobante = elegido ? elegido.SubItems(2) : QString();
        if (!tildados.isEmpty() || elegido)
            IdComplemento = QStringLiteral("0");
    } else if (!elegido) {
        NroComprobante = QString();
    } else if (EsGrupoPrincipal(TC)) {
        NroComprobante = elegido.SubItems(1);
        IdComplemento = elegido.SubItems(2);
        for (const auto &[fila, complemento] : m_complementos) {
            if (fila == elegido) {
                IdComplemento = complemento;
                break;
            }
        }
    } else if (EsGrupoCompras(TC)) {
        NroComprobante = elegido.SubItems(1);
        Proveedor = elegido.SubItems(2);
    } else if (vb::EqualsAnyText(TC, {"PR"})) {
        NroComprobante = elegido.SubItems(1);
        IdComplemento = QStringLiteral("0");
    } else if (vb::EqualsAnyText(TC, {"T3"})) {
        NroComprobante = elegido.Text();
        IdComplemento = QStringLiteral("0");
    } else {
        NroComprobante = elegido.SubItems(1);
    }
    Form_Unload();
}

void FrmConsComprobantes::CmdCancelar_Click()
{
    Form_Unload();
}

void FrmConsComprobantes::Form_Unload()
{
    ListView1->ListItems().Clear();
    m_complementos.clear();
    lItemActual = ui::ListItem();
    m_loaded = false;
    hide();
}

void FrmConsComprobantes::ListView1_ColumnClick(int position)
{
    ListView1->setSorted(true);
    ListView1->setSortKey(position - 1);
    ListView1->setSortOrder(ListView1->SortOrder() == ui::lvwAscending ? ui::lvwDescending : ui::lvwAscending);
}

void FrmConsComprobantes::ListView1_DblClick()
{
    CmdAceptar_Click();
}

void FrmConsComprobantes::ListView1_KeyDown(int &KeyCode, int Shift)
{
    (void) Shift;
    if (KeyCode == ui::vbKeyReturn) {
        // Handled here: the key goes no further.
        KeyCode = 0;
        CmdAceptar_Click();
    }
}

void FrmConsComprobantes::ListView1_BeforeLabelEdit(int &Cancel)
{
    Cancel = 1;
}

void FrmConsComprobantes::ListView1_AfterLabelEdit(int &Cancel, QString &NewString)
{
    (void) NewString;
    Cancel = 1;
}
