#include "lookup/lib_frm_cons3.h"

#include "database/campos.h"
#include "database/configuracion.h"
#include "database/db_dll.h"
#include "lookup/anchos_columnas.h"
#include "lookup/cantidades_consulta.h"
#include "platform/ado/sql_text.h"
#include "platform/component/cls_componente.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/key_preview.h"
#include "platform/ui/ui.h"
#include "platform/ui/units.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>

#include <algorithm>

namespace {

// Design values, in twips.
constexpr double kAnchoInicial = 7260;
constexpr double kAltoInicial = 4530;
constexpr double kAltoMarco = 615;
constexpr double kAnchoBoton = 1335;
constexpr double kAltoBoton = 375;

const QString kRutinaCarga = QStringLiteral("FORM_LOAD");

// Numbers and dates sort by what they are worth: their texts ("  10",
// "11.25", "05/03/2024") would not. Texts, Booleans and Nulls sort by text.
void ordenaPorValor(ui::ListItem &fila, int celda, const Variant &valor)
{
    switch (valor.type()) {
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Double:
    case Variant::Type::Currency:
        fila.setSortValue(celda, valor.toDouble());
        break;
    case Variant::Type::Date:
        fila.setSortValue(celda, valor.toDate());
        break;
    default:
        break;
    }
}

} // namespace

Lib_FrmCons3::Lib_FrmCons3(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Lib_FrmCons3"));
    setWindowTitle(QStringLiteral("Consulta..."));
    // A sizable tool window: no minimise or maximise box, not in the task bar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    picFields = new QWidget(this);
    picFields->setObjectName(QStringLiteral("picFields"));

    CmbSearch = new ui::ComboBoxArray(picFields);
    ui::ComboBox *primera = CmbSearch->Item(0);
    primera->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
    const double altoCaja = ui::PixelsToTwips(primera->sizeHint().height());
    ui::Move(*primera, 0, 0, 1440, altoCaja);

    ListView1 = new ui::ListView(picFields);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ui::Move(*ListView1, 0, altoCaja, kAnchoInicial - 140, kAltoInicial - kAltoMarco - altoCaja - 600);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    ui::SetHeight(*HScroll1, ui::PixelsToTwips(HScroll1->sizeHint().height()));

    auto *marco = new QGroupBox(this);
    Frame1 = marco;
    Frame1->setObjectName(QStringLiteral("Frame1"));
    double izquierda = 120;
    const auto boton = [this, &izquierda](const QString &texto, const char *nombre) {
        auto *b = new QPushButton(texto, Frame1);
        b->setObjectName(QLatin1String(nombre));
        b->setAutoDefault(false);
        // Wide enough for its caption in the dialog's font.
        const double ancho = std::max(kAnchoBoton, double(ui::PixelsToTwips(b->sizeHint().width())));
        ui::Move(*b, izquierda, 150, ancho, kAltoBoton);
        izquierda += ancho + 105;
        return b;
    };
    CmdAceptar = boton(QStringLiteral("&Aceptar"), "CmdAceptar");
    CmdCancelar = boton(QStringLiteral("&Cancelar"), "CmdCancelar");
    CmdNueva = boton(QStringLiteral("&Nueva Busqueda"), "CmdNueva");
    ui::SetWidth(*Frame1, izquierda + 15);
    ui::SetHeight(*Frame1, kAltoMarco);
    CmdAceptar->setDefault(true);

    ui::SetWidth(*this, kAnchoInicial);
    ui::SetHeight(*this, kAltoInicial);

    m_keyPreview = new ui::KeyPreview(this);
    connect(m_keyPreview, &ui::KeyPreview::KeyDown, this, &Lib_FrmCons3::Form_KeyDown);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    connect(CmdNueva, &QPushButton::clicked, this, [this] { CmdNueva_Click(); });
    connect(ListView1, &ui::ListView::ColumnClick, this, &Lib_FrmCons3::ListView1_ColumnClick);
    connect(ListView1, &ui::ListView::DblClick, this, &Lib_FrmCons3::ListView1_DblClick);
    connect(ListView1, &ui::ListView::KeyDown, this, &Lib_FrmCons3::ListView1_KeyDown);
    connect(ListView1, &ui::ListView::KeyPress, this, &Lib_FrmCons3::ListView1_KeyPress);
    connect(CmbSearch, &ui::ComboBoxArray::GotFocus, this, &Lib_FrmCons3::CmbSearch_GotFocus);
    connect(CmbSearch, &ui::ComboBoxArray::LostFocus, this, &Lib_FrmCons3::CmbSearch_LostFocus);
    connect(CmbSearch, &ui::ComboBoxArray::Change, this, &Lib_FrmCons3::CmbSearch_Change);
    connect(CmbSearch, &ui::ComboBoxArray::Click, this, &Lib_FrmCons3::CmbSearch_Click);
    connect(CmbSearch, &ui::ComboBoxArray::KeyDown, this, &Lib_FrmCons3::CmbSearch_KeyDown);
}

Lib_FrmCons3::~Lib_FrmCons3()
{
    // The controls outlive this part of the dialog: a box losing the focus as
    // it goes must not reach a handler.
    CmbSearch->disconnect(this);
    ListView1->disconnect(this);
}

ClsComponente &Lib_FrmCons3::mComponente()
{
    if (!m_componente)
        m_componente = std::make_unique<ClsComponente>();
    return *m_componente;
}

// ---- Loading ----

void Lib_FrmCons3::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void Lib_FrmCons3::Form_Load()
{
    m_loaded = true;
    Steps paso([this](const ErrObject &err) { return mComponente().MuestraError(err, {}, kRutinaCarga); });
    // What the operator typed sits in quotes: only the statement's own words count.
    QString codigo;
    paso([&] { codigo = ado::codeOutsideQuotes(SQL); });
    paso([&] { EsConsultaArticulos = vb::InStr(codigo, QStringLiteral("articulos"), vb::Compare::Text) > 0; });
    paso([&] {
        Valores = std::make_shared<QList<Variant>>();
        Cantidades = std::make_shared<QList<Variant>>();
    });
    paso([&] { ListView1->ListItems().Clear(); });
    paso([&] { SQL += QLatin1Char(' '); });
    paso([&] {
        // The name after "from", up to the next blank: the blank just added
        // ends a name that closes the statement.
        const int p = vb::InStr(codigo, QStringLiteral("from"), vb::Compare::Text);
        const int e = vb::InStr(p + 5, SQL, QStringLiteral(" "));
        if (e - (p + 4) < 0)
            Raise(vberr::InvalidCall);
        TablaConsulta = vb::Trim(vb::Mid(SQL, p + 4, e - (p + 4)));
    });
    paso([&] {
        if (SentenciaOriginal.isEmpty())
            SentenciaOriginal = SQL;
    });
    paso([&] { SentenciaSinOrden = SQL; });
    paso([&] { gDB().AbrirRecordset(SQL, mRs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true); });
    paso([&] { ListView1->setCheckboxes(CheckBoxes); });
    paso([&] { Encolumnar(); });
    paso([&] { Leer(1, 0); });
    paso([&] {
        if (OrdenarPorLwv)
            ListView1->setSorted(true);
    });
    paso([&] {
        if (!vb::Trim(FiltroInicial).isEmpty())
            CmbSearch->Item(0)->setText(FiltroInicial);
    });
    paso([&] { gDB().CierraRecordset(&mRs); });
    paso([&] { LeeAnchosColumnas(); });
    paso([&] { CalcularAncho(); });
    paso([&] { mComponente().PreparaFormulario(this, false); });
    // Leaving early must not keep the statement's cursor open.
    if (mRs.State() != ado::adStateClosed)
        Steps::IgnoringRunTimeErrors()([&] { mRs.Close(); });
}

void Lib_FrmCons3::Encolumnar()
{
    // A failure is shown and ends the columns; what is not the run time's goes on to the load.
    Steps paso(
        [](const ErrObject &err) {
            ui::MsgBox(err.Description);
            return 0;
        },
        Steps::Traps::RunTimeErrors);
    paso([&] {
        ListView1->ColumnHeaders().Clear();
        const QString codigo = ado::codeOutsideQuotes(SQL);
        // The driver hands V_MA_ARTICULOS on as VT_MA_ARTICULOS: either name is the article list.
        const auto nombra = [&codigo](const char *vista) {
            return vb::InStr(codigo, QString::fromLatin1(vista), vb::Compare::Text) > 0;
        };
        const bool listaDeArticulos = nombra("V_MA_ARTICULOS") || nombra("VT_MA_ARTICULOS")
                                      || nombra("STK_MA_ARTICULOS");
        const int campos = mRs.FieldCount();
        for (int i = 0; i < campos; ++i) {
            ado::Field &campo = mRs.Fields(i);
            int w = campo.DefinedSize();
            // A box already there stays, with what it holds.
            if (i > 0)
                CmbSearch->Load(i);
            ui::ComboBox *caja = CmbSearch->Item(i);
            caja->setTag(campo.Name());
            caja->setVisible(true);
            if (w >= 60)
                w = 60;
            QString titulo = campo.Name();
            if (listaDeArticulos) {
                for (int n = 1; n <= 8; ++n) {
                    if (vb::EqualsText(campo.Name(), QStringLiteral("PRECIO%1").arg(n))) {
                        titulo = Cfg(QStringLiteral("NOM_PCLASE%1").arg(n));
                        break;
                    }
                }
            }
            // A field of no size (an expression of empty texts, a column of
            // Nulls) would give a column no one sees: it is as wide as its caption.
            if (w <= 0)
                w = std::clamp(int(titulo.size()), 1, 60);
            ListView1->ColumnHeaders().Add(titulo, QString(), ui::WidthOfX(*this, w));
        }
    });
}

void Lib_FrmCons3::Leer(std::int32_t, std::int16_t)
{
    // Every row is loaded, whatever the arguments say.
    Steps paso([this](const ErrObject &err) { return mComponente().MuestraError(err, {}, kRutinaCarga); });
    bool vacio = false;
    paso([&] { mFilas = 0; });
    paso([&] { vacio = mRs.Bof(); });
    if (vacio || paso.leaving())
        return;
    const bool coloreaStock = CfgSi(MuestraStock);
    QStringList marcados;
    for (const QString &v : ValoresDefault.split(QLatin1Char(',')))
        if (!vb::Trim(v).isEmpty())
            marcados << vb::Trim(v);
    int campos = 0;
    paso([&] { campos = mRs.FieldCount(); });
    // The colour is worked out only where it shows, and the stock columns are
    // looked for once: a failed lookup per row would cost more than the row.
    bool conColumnasStock = false;
    paso([&] {
        bool puntoPedido = false, stock = false;
        for (int i = 0; i < campos; ++i) {
            const QString nombre = mRs.Fields(i).Name();
            puntoPedido = puntoPedido || vb::EqualsText(nombre, QStringLiteral("PUNTOPEDIDO"));
            stock = stock || vb::EqualsText(nombre, QStringLiteral("Stock"));
        }
        conColumnasStock = puntoPedido && stock;
    });
    const bool calculaColor = coloreaStock && EsConsultaArticulos && conColumnasStock;
    while (!paso.leaving()) {
        bool fin = true;
        if (!paso([&] { fin = mRs.Eof(); }) || fin)
            break;
        paso([&] {
            ++mFilas;
            ListView1->ValidateRect();
        });
        paso([&] {
            const std::int32_t total = mRs.RecordCount();
            if (total == 0)
                Raise(vberr::DivisionByZero);
            // A known count repaints once, after the last row; an unknown one (-1) after every row.
            if (mFilas % total == 0)
                ListView1->InvalidateRect();
        });
        Variant color;
        paso([&] {
            if (!calculaColor)
                return;
            try {
                const Currency r = mComponente().ConvierteACurrency(CampoValor(mRs, QStringLiteral("PUNTOPEDIDO")));
                const Currency s = mComponente().ConvierteACurrency(CampoValor(mRs, QStringLiteral("Stock")));
                const Currency cero;
                if (r == cero && s > cero)
                    color = StkNivel1;
                else if (r > cero && s > r)
                    color = StkNivel2;
                else if (r > cero && s < r)
                    color = StkNivel3;
                else
                    color = StkNivel4;
            } catch (const VbException &e) {
                // A list without the stock columns stays plain.
                if (e.err().Number != vberr::ItemNotFound)
                    throw;
                color = Variant();
            }
        });
        paso([&] {
            const Variant &valor = mRs.Fields(0).Value();
            mFilaActual = ListView1->ListItems().Add(vb::Trim(TextoNoNulo(valor)));
            ordenaPorValor(mFilaActual, 0, valor);
        });
        paso([&] {
            if (!CheckBoxes || marcados.isEmpty())
                return;
            // With no field named, the ticks go by the first column, as accept reads them.
            const Variant campo = vb::Trim(CampoDevuelto).isEmpty() ? mRs.Fields(0).Value()
                                                                    : mRs.Fields(CampoDevuelto).Value();
            const QString valor = vb::Trim(TextoNoNulo(campo));
            if (valor.isEmpty())
                return;
            for (const QString &m : marcados) {
                if (vb::EqualsText(m, valor)) {
                    mFilaActual.setChecked(true);
                    return;
                }
            }
        });
        for (int i = 1; i < campos && !paso.leaving(); ++i)
            paso([&] {
                const Variant &valor = mRs.Fields(i).Value();
                mFilaActual.setSubItems(i, mComponente().FormateaCodigo(TextoNoNulo(valor)));
                ordenaPorValor(mFilaActual, i, valor);
            });
        paso([&] {
            if (!coloreaStock || !EsConsultaArticulos || vb::Trim(color.toString()).isEmpty())
                return;
            // A colour that is no number leaves the row as it is.
            Steps::IgnoringRunTimeErrors()([&] {
                const long bgr = color.toLong();
                mFilaActual.setBold(true);
                mFilaActual.setForeColor(bgr);
                for (int i = 1; i < campos; ++i) {
                    ui::ListSubItem celda = mFilaActual.ListSubItems(i);
                    celda.setBold(true);
                    celda.setForeColor(bgr);
                }
            });
        });
        paso([&] { mRs.MoveNext(); });
    }
}

// ---- Layout ----

void Lib_FrmCons3::CalcularAncho()
{
    double total = 0;
    const int columnas = ListView1->ColumnHeaders().Count();
    for (int k = 1; k <= columnas; ++k) {
        const ui::ColumnHeader columna = ListView1->ColumnHeaders().Item(k);
        ui::ComboBox *caja = CmbSearch->Item(k - 1);
        ui::SetLeft(*caja, columna.Left());
        // A column narrowed by hand to less than the box's margin leaves the box no width.
        ui::SetWidth(*caja, std::max(0.0, columna.Width() - 50));
        total += columna.Width();
    }
    ui::SetWidth(*ListView1, total + 360);
    ui::SetWidth(*picFields, vb::CLng(total) + 360);
    ui::SetWidth(*HScroll1, total);
    const double panel = ui::Width(*picFields);
    HScroll1->setMaximum(panel > 32700 ? 32700 : vb::CLng((panel + 480) * 0.6));
    const double pantalla = ui::ScreenWidthTwips();
    if (ui::Width(*ListView1) + 360 >= pantalla)
        ui::SetWidth(*this, pantalla - 480);
    else
        ui::SetWidth(*this, ui::Width(*ListView1) + 280);
}

void Lib_FrmCons3::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void Lib_FrmCons3::Form_Resize()
{
    const double alto = ui::Height(*this);
    const double ancho = ui::Width(*this);
    Steps paso = Steps::IgnoringRunTimeErrors();
    paso([&] { ui::SetHeight(*picFields, alto - ui::Height(*Frame1) - 480); });
    paso([&] { ui::SetHeight(*ListView1, alto - ui::Height(*Frame1) - 600); });
    paso([&] { ui::SetWidth(*picFields, ancho - 120); });
    paso([&] { ui::SetWidth(*ListView1, ui::Width(*picFields) - 20); });
    paso([&] { ui::SetTop(*Frame1, alto - ui::Height(*Frame1) - 420); });
    paso([&] { ui::SetTop(*HScroll1, ui::Height(*picFields) - ui::Height(*HScroll1) - 120); });
    paso([&] { ui::SetWidth(*HScroll1, ancho - 120); });
    paso([&] { ui::SetLeft(*Frame1, ancho / 2 - ui::Width(*Frame1) / 2); });
    // The scroll bar lies over the panel's foot: the list ends above it, so
    // that its last row can be seen whole.
    paso([&] {
        const double hasta = ui::Top(*HScroll1) - ui::Top(*picFields) - ui::Top(*ListView1);
        if (hasta >= 0 && ui::Height(*ListView1) > hasta)
            ui::SetHeight(*ListView1, hasta);
    });
}

void Lib_FrmCons3::HScroll1_Change()
{
    Steps::IgnoringRunTimeErrors()([&] { ui::SetLeft(*picFields, -HScroll1->value()); });
}

// ---- Columns ----

std::int16_t Lib_FrmCons3::IndiceColumna(const QString &Columna)
{
    std::int16_t indice = 0;
    Steps::IgnoringRunTimeErrors()([&] {
        const QString buscada = vb::Trim(Columna);
        const int columnas = ListView1->ColumnHeaders().Count();
        for (int k = 1; k <= columnas && indice == 0; ++k)
            if (vb::EqualsText(vb::Trim(ListView1->ColumnHeaders().Item(k).Text()), buscada))
                indice = std::int16_t(k);
    });
    return indice;
}

QString Lib_FrmCons3::ValorDeColumna(const ui::ListItem &fila, int posicion) const
{
    if (posicion == 1)
        return fila.Text();
    if (posicion > 1)
        return fila.SubItems(posicion - 1);
    return {};
}

// ---- Accept and cancel ----

void Lib_FrmCons3::CmdAceptar_Click()
{
    Steps paso([this](const ErrObject &err) {
        return mComponente().MuestraError(err, {}, QStringLiteral("CmdAceptar_Click"));
    });
    if (!Valores)
        Valores = std::make_shared<QList<Variant>>();
    if (!Cantidades)
        Cantidades = std::make_shared<QList<Variant>>();
    // The quantities travel only when the list has their column.
    const int columnaCantidad = IndiceColumna(QString::fromUtf16(kColumnaCantidad));
    if (CheckBoxes) {
        paso([&] {
            if (CampoDevuelto.isEmpty())
                CampoDevuelto = ListView1->ColumnHeaders().Item(1).Text();
        });
        int filas = 0;
        paso([&] { filas = ListView1->ListItems().Count(); });
        for (int i = 1; i <= filas && !paso.leaving(); ++i) {
            ui::ListItem fila;
            bool marcada = false;
            paso([&] {
                fila = ListView1->ListItems().Item(i);
                marcada = fila.Checked();
            });
            if (!marcada)
                continue;
            paso([&] { Valores->append(ValorDeColumna(fila, IndiceColumna(CampoDevuelto))); });
            if (columnaCantidad > 0)
                paso([&] { Cantidades->append(LeeCantidad(ValorDeColumna(fila, columnaCantidad))); });
        }
    } else {
        ui::ListItem fila;
        paso([&] { fila = ListView1->SelectedItem(); });
        if (fila) {
            QString valor;
            if (CmpsDevueltos) {
                const QList<Variant> nombres = *CmpsDevueltos;
                for (const Variant &nombre : nombres)
                    paso([&] {
                        valor = ValorDeColumna(fila, IndiceColumna(nombre.toString()));
                        Valores->append(valor);
                    });
            }
            paso([&] {
                if (!vb::Trim(CampoDevuelto).isEmpty())
                    valor = ValorDeColumna(fila, IndiceColumna(CampoDevuelto));
            });
            paso([&] { ValorDevuelto = valor; });
            if (columnaCantidad > 0)
                paso([&] { Cantidades->append(LeeCantidad(ValorDeColumna(fila, columnaCantidad))); });
        }
    }
    paso([&] { hide(); });
}

void Lib_FrmCons3::ListView1_DblClick()
{
    CmdAceptar_Click();
}

void Lib_FrmCons3::CmdCancelar_Click()
{
    ValorDevuelto = QString();
    CmpsDevueltos.reset();
    Valores.reset();
    Steps::IgnoringRunTimeErrors()([&] { hide(); });
}

// Escape is the cancel button.
void Lib_FrmCons3::reject()
{
    CmdCancelar_Click();
}

// The title bar's close box cancels and unloads at once.
void Lib_FrmCons3::closeEvent(QCloseEvent *event)
{
    CmdCancelar_Click();
    Form_Unload();
    event->accept();
}

// ---- Unload and the column widths ----

void Lib_FrmCons3::Form_Unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    Steps paso = ui::ShowingErrors(QStringLiteral("Aviso al Operador"));
    paso([&] { GuardaAnchosColumnas(); });
    paso([&] { ListView1->ListItems().Clear(); });
}

void Lib_FrmCons3::LeeAnchosColumnas()
{
    // Also before the file's first save, so that the save is found again.
    TablaConsulta = ClaveAnchos(TablaConsulta);
    const int columnas = ListView1->ColumnHeaders().Count();
    // A column narrower than a letter shows nothing: such a width keeps the column's own.
    const float minimo = float(ui::WidthOfX(*this, 1));
    LeeAnchos(ArchivoAnchos(), TablaConsulta, columnas, minimo, [this](int k, float ancho) {
        ui::ColumnHeader columna = ListView1->ColumnHeaders().Item(k);
        columna.setWidth(ancho);
        ui::ComboBox *caja = CmbSearch->Item(k - 1);
        ui::SetLeft(*caja, columna.Left());
        ui::SetWidth(*caja, ancho);
    });
}

void Lib_FrmCons3::GuardaAnchosColumnas()
{
    if (!GrabarCfg)
        return;
    QList<float> anchos;
    const int columnas = ListView1->ColumnHeaders().Count();
    for (int k = 1; k <= columnas; ++k)
        anchos << float(ListView1->ColumnHeaders().Item(k).Width());
    GrabaAnchos(ArchivoAnchos(), TablaConsulta, anchos);
}
