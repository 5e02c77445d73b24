#pragma once

#include "lookup/lib_clscons3.h"
#include "platform/runtime/variant.h"

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace ui {
class ComboBoxArray;
class Node;
class TreeView;
} // namespace ui

// The tree lookup: the rows of a two-column query (code, description) as a
// tree whose levels follow the length of the codes; the operator picks one
// node or ticks several. Used through its default instance by the lookup
// driver: set SQL, CampoDevuelto and CheckBoxes, show it modally, read
// ValorDevuelto and Valores once it has hidden itself, then unload it.
class Lib_FrmCons3Tree : public QDialog
{
    Q_OBJECT
public:
    explicit Lib_FrmCons3Tree(QWidget *parent = nullptr);
    ~Lib_FrmCons3Tree() override;

    // Public variables, in their declared order.
    QString SQL;
    QString CampoDevuelto;
    Coleccion CmpsDevueltos;
    bool CheckBoxes = false;
    QString gConnString;
    Variant ValorDevuelto;
    QString FiltroInicial;
    QString CampoBusqueda;
    bool OrdenarPorLwv = false;
    Coleccion Valores;
    Coleccion Cantidades;
    bool UsaCantidades = false;

    // Controls.
    ui::TreeView *TreeV = nullptr;
    QWidget *picFields = nullptr;
    QLabel *lblFieldName = nullptr;
    ui::ComboBoxArray *CmbSearch = nullptr;
    QFrame *Frame1 = nullptr;
    QPushButton *CmdAceptar = nullptr;
    QPushButton *CmdCancelar = nullptr;
    QPushButton *CmdNueva = nullptr;

    // Handlers.
    void Form_Load();
    void ArmarTreeVAutomatico();
    void CmbSearch_Change(int Index);
    void CmbSearch_Click(int Index);
    void CmbSearch_KeyDown(int Index, int &KeyCode, int Shift);
    void CmdNueva_Click();
    void CmdAceptar_Click();
    void TreeV_DblClick();
    void CmdCancelar_Click();
    void TreeV_NodeCheck(ui::Node *node);
    void Form_Unload();
    void Form_Resize();

    // The query without its ORDER BY (base of the F5 filter) and that clause.
    const QString &sentenciaSinOrden() const { return SentenciaSinOrden; }
    const QString &clausulaOrden() const { return ClausulaOrden; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString SentenciaSinOrden;
    QString ClausulaOrden;
    bool m_loaded = false;
};
