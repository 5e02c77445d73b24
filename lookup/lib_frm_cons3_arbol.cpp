#include "lookup/lib_frm_cons3_arbol.h"

#include "database/campos.h"
#include "database/db_dll.h"
#include "lookup/consulta_arbol.h"
#include "platform/component/component.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/tree_view.h"
#include "platform/ui/ui.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStringBuilder>

#include <functional>

namespace {

// The component's error dialog for a routine of this form.
Steps PasosMuestraError(const QString &rutina)
{
    return Steps([rutina](const ErrObject &e) { return gComponente().MuestraError(e, {}, rutina); });
}

// A value that must be there: Null is the run time's error 94, as a text
// read from Null is.
QString TextoExigido(const Variant &v)
{
    if (v.isNull())
        Raise(vberr::InvalidUseOfNull);
    return v.toString();
}

// The tick of a node passed to all its descendants.
void PasaTilde(ui::Node &node)
{
    for (ui::Node *child = node.Child(); child; child = child->Next()) {
        child->setChecked(node.Checked());
        PasaTilde(*child);
    }
}

} // namespace

Lib_FrmCons3Tree::Lib_FrmCons3Tree(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Lib_FrmCons3Tree"));
    setWindowTitle(QStringLiteral("Consulta..."));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(440, 470);

    picFields = new QWidget(this);
    picFields->setObjectName(QStringLiteral("picFields"));
    picFields->setGeometry(8, 8, 424, 30);
    lblFieldName = new QLabel(QStringLiteral("Buscar:"), picFields);
    lblFieldName->setObjectName(QStringLiteral("lblFieldName"));
    lblFieldName->setGeometry(0, 4, 60, 22);
    CmbSearch = new ui::ComboBoxArray(picFields);
    ui::ComboBox *box = CmbSearch->Item(0);
    box->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
    box->setGeometry(64, 2, 360, 26);

    TreeV = new ui::TreeView(this);
    TreeV->setObjectName(QStringLiteral("TreeV"));
    TreeV->setGeometry(8, 44, 424, 360);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(8, 410, 424, 52);
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), Frame1);
    CmdAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    CmdAceptar->setGeometry(4, 10, 110, 32);
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), Frame1);
    CmdCancelar->setObjectName(QStringLiteral("CmdCancelar"));
    CmdCancelar->setGeometry(120, 10, 110, 32);
    CmdNueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), Frame1);
    CmdNueva->setObjectName(QStringLiteral("CmdNueva"));
    CmdNueva->setGeometry(280, 10, 140, 32);
    for (QPushButton *b : {CmdAceptar, CmdCancelar, CmdNueva})
        b->setAutoDefault(false);

    connect(CmbSearch, &ui::ComboBoxArray::Change, this, &Lib_FrmCons3Tree::CmbSearch_Change);
    connect(CmbSearch, &ui::ComboBoxArray::Click, this, &Lib_FrmCons3Tree::CmbSearch_Click);
    connect(CmbSearch, &ui::ComboBoxArray::KeyDown, this, &Lib_FrmCons3Tree::CmbSearch_KeyDown);
    connect(CmdAceptar, &QPushButton::clicked, this, &Lib_FrmCons3Tree::CmdAceptar_Click);
    connect(CmdCancelar, &QPushButton::clicked, this, &Lib_FrmCons3Tree::CmdCancelar_Click);
    connect(CmdNueva, &QPushButton::clicked, this, &Lib_FrmCons3Tree::CmdNueva_Click);
    connect(TreeV, &ui::TreeView::DblClick, this, &Lib_FrmCons3Tree::TreeV_DblClick);
    connect(TreeV, &ui::TreeView::NodeCheck, this, &Lib_FrmCons3Tree::TreeV_NodeCheck);
}

Lib_FrmCons3Tree::~Lib_FrmCons3Tree() = default;

void Lib_FrmCons3Tree::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The form loads once, when it is first shown.
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void Lib_FrmCons3Tree::closeEvent(QCloseEvent *event)
{
    // The close box unloads the form without accept or cancel.
    Form_Unload();
    QDialog::reject();
    event->accept();
}

// Escape is the cancel button: the caller reads Nothing, not an empty pick.
void Lib_FrmCons3Tree::reject()
{
    CmdCancelar_Click();
}

void Lib_FrmCons3Tree::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void Lib_FrmCons3Tree::Form_Load()
{
    Steps paso = PasosMuestraError(QStringLiteral("FORM_LOAD"));
    paso([&] { Valores = std::make_shared<QList<Variant>>(); });
    paso([&] { TreeV->nodes().Clear(); });
    paso([&] { TreeV->setCheckboxes(CheckBoxes); });
    paso([&] { ArmarTreeVAutomatico(); });
}

void Lib_FrmCons3Tree::ArmarTreeVAutomatico()
{
    Steps paso = PasosMuestraError(QStringLiteral("ArmarTreeVAutomatico"));
    ado::Recordset rs;
    ui::Node *actual = nullptr;
    bool vacio = false;
    QList<QList<Variant>> datos;
    paso([&] {
        TreeV->nodes().Clear();
        TreeV->setLineStyle(ui::tvwRootLines);
        TreeV->setStyle(ui::tvwTreelinesPlusMinusPictureText);
    });
    paso([&] {
        actual = &TreeV->nodes().Add(QStringLiteral("A"), QStringLiteral("Consulta..."));
        actual->setExpanded(true);
    });
    paso([&] { gDB().AbrirRecordset(SQL, rs, &gDB().gCnn(), ado::adOpenDynamic, ado::adLockReadOnly, -1, true); });
    paso([&] { vacio = rs.Bof() && rs.Eof(); });
    if (vacio || paso.leaving())
        return;
    paso([&] {
        rs.MoveFirst();
        rs.MoveLast();
        rs.MoveFirst();
        datos = rs.GetRows();
    });
    const int filas = datos.isEmpty() ? 0 : int(datos[0].size());
    // The tree is shown once it is built.
    TreeV->nodes().Reserve(filas + 1);
    TreeV->HoldUpdates();
    const auto suelta = qScopeGuard([this] { TreeV->ReleaseUpdates(); });
    int i = 0;
    // One step per row, made once: the rows are many.
    const std::function<void()> fila = [&] {
        if (datos.size() < 2)
            Raise(vberr::SubscriptOutOfRange);
        if (!actual)
            Raise(vberr::ObjectNotSet);
        const QString codigo = TextoExigido(datos[0][i]);
        const QString descripcion = TextoExigido(datos[1][i]);
        const QString clave = QStringLiteral("A") % codigo;
        // The root's key is the shortest there is, so the climb stops there at the latest.
        while (clave.size() < actual->Key().size() && actual->Parent())
            actual = actual->Parent();
        const int relacion = clave.size() == actual->Key().size() ? ui::tvwNext : ui::tvwChild;
        actual = &TreeV->nodes().Add(*actual, relacion, clave, codigo % QStringLiteral(" - ") % descripcion);
    };
    for (; i < filas && !paso.leaving(); ++i)
        paso(fila);
}

void Lib_FrmCons3Tree::CmbSearch_Change(int Index)
{
    Steps paso = Steps::IgnoringErrors();
    QString buscado;
    paso([&] { buscado = CmbSearch->Item(Index)->Text(); });
    const ui::Nodes &nodos = TreeV->nodes();
    for (int i = 1; i <= nodos.Count(); ++i) {
        ui::Node &nodo = nodos.Item(i);
        if (NodoCoincide(nodo.Text(), buscado)) {
            paso([&] { nodo.setSelected(true); });
            paso([&] { nodo.EnsureVisible(); });
            return;
        }
    }
}

void Lib_FrmCons3Tree::CmbSearch_Click(int Index)
{
    CmbSearch_Change(Index);
}

void Lib_FrmCons3Tree::CmbSearch_KeyDown(int Index, int &KeyCode, int Shift)
{
    (void) Shift;
    Steps paso = Steps::IgnoringErrors();
    switch (KeyCode) {
    case ui::vbKeyDown:
    case ui::vbKeyUp:
    case ui::vbKeyPageDown:
    case ui::vbKeyPageUp:
        paso([&] { TreeV->setFocus(Qt::OtherFocusReason); });
        // The box has nothing to scroll: the key only moves the focus.
        KeyCode = 0;
        return;
    case ui::vbKeyF5: {
        ui::ComboBox *box = CmbSearch->Item(Index);
        paso([&] { ClausulaOrden.clear(); });
        paso([&] { box->setTag(QStringLiteral("Descripcion")); });
        paso([&] { SQL = FiltraConsultaArbol(SQL, box->Tag(), box->Text(), SentenciaSinOrden, ClausulaOrden); });
        paso([&] { box->setText(QString()); });
        paso([&] { SentenciaSinOrden = SQL; });
        paso([&] { Form_Load(); });
        return;
    }
    default:
        return;
    }
}

void Lib_FrmCons3Tree::CmdNueva_Click()
{
    ArmarTreeVAutomatico();
}

void Lib_FrmCons3Tree::CmdAceptar_Click()
{
    Steps paso = PasosMuestraError(QStringLiteral("CmdAceptar_Click"));
    const ui::Nodes &nodos = TreeV->nodes();
    if (CheckBoxes) {
        for (int i = 1; i <= nodos.Count() && !paso.leaving(); ++i) {
            paso([&] {
                const ui::Node &nodo = nodos.Item(i);
                // The root stands for the whole tree, not for a code.
                if (!nodo.Checked() || !nodo.Parent())
                    return;
                const QString codigo = nodo.Key().mid(1);
                if (vb::EqualsText(CampoDevuelto, QStringLiteral("IDFAMILIA"))
                    || vb::EqualsText(CampoDevuelto, QStringLiteral("CODIGO"))) {
                    if (!Valores)
                        Raise(vberr::ObjectNotSet);
                    Valores->append(Variant(codigo.trimmed()));
                } else if (vb::EqualsText(CampoDevuelto, QStringLiteral("IDPOSICION"))) {
                    ado::Recordset rs;
                    if (gDB().ExisteEnTabla(QStringLiteral("MA_POSICIONES"),
                                            codigo,
                                            QStringLiteral("IDPOSICION"),
                                            &rs,
                                            8,
                                            {})) {
                        if (!Valores)
                            Raise(vberr::ObjectNotSet);
                        Valores->append(CampoValor(rs, CampoDevuelto));
                    }
                }
            });
        }
    } else {
        struct Tabla
        {
            const char *campo;
            const char *tabla;
        };
        static const Tabla tablas[] = {
            {"IDFAMILIA", "V_TA_FAMILIAS"},
            {"IDPOSICION", "MA_POSICIONES"},
            {"CODIGO", "TA_CCOSTO"},
        };
        QString codigo;
        // No node selected reads as the root: no code.
        paso([&] {
            if (const ui::Node *nodo = TreeV->SelectedItem())
                codigo = nodo->Key().mid(1);
        });
        for (const Tabla &t : tablas) {
            const QString campo = QString::fromLatin1(t.campo);
            if (!vb::EqualsText(CampoDevuelto, campo))
                continue;
            paso([&] {
                ado::Recordset rs;
                if (gDB().ExisteEnTabla(QString::fromLatin1(t.tabla), codigo, campo, &rs, 8, {}))
                    ValorDevuelto = CampoValor(rs, CampoDevuelto);
                else
                    ValorDevuelto = QString();
            });
        }
    }
    if (!paso.leaving())
        hide();
}

void Lib_FrmCons3Tree::TreeV_DblClick()
{
    CmdAceptar_Click();
}

void Lib_FrmCons3Tree::CmdCancelar_Click()
{
    Steps paso = Steps::IgnoringErrors();
    paso([&] { ValorDevuelto = QString(); });
    paso([&] { CmpsDevueltos.reset(); });
    paso([&] { Valores.reset(); });
    paso([&] { hide(); });
}

void Lib_FrmCons3Tree::TreeV_NodeCheck(ui::Node *node)
{
    if (node)
        PasaTilde(*node);
}

void Lib_FrmCons3Tree::Form_Unload()
{
    ui::ShowingErrors(QStringLiteral("Aviso al Operador"))([&] { TreeV->nodes().Clear(); });
}

void Lib_FrmCons3Tree::Form_Resize() {}
