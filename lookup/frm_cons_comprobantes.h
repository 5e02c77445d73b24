#pragma once

#include "platform/ado/ado.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_view.h"

#include <QDialog>
#include <QString>

#include <vector>

class QPushButton;

// The voucher lookup: lists the vouchers of one type (or of an alias such as
// "RM/PENDIENTES"), narrowed by the caller's condition, with an icon for
// each voucher's state, and hands back the chosen voucher's number and, by
// type, its complement or supplier account; for orders ("OC") the numbers of
// every ticked row. Used through its default instance: set TC, Filtro and
// NroComprobante, show it modally; it unloads itself on accept and cancel,
// and its outputs stay readable until the caller releases the instance.
class FrmConsComprobantes : public QDialog
{
    Q_OBJECT
public:
    explicit FrmConsComprobantes(QWidget *parent = nullptr);
    ~FrmConsComprobantes() override;

    // Public variables, in their declared order.
    QString Filtro;
    QString TC;
    QString NroComprobante;
    QString IdComplemento;
    QString Proveedor;

    // Controls.
    ui::ListView *ListView1 = nullptr;
    ui::ImageList ImageList1;
    QPushButton *CmdAceptar = nullptr;
    QPushButton *CmdCancelar = nullptr;

    void Form_Load();
    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void Form_Unload();

    // The column set of the current TC.
    void Encolumnar();
    // The 1-based index of the image whose tag is Tipo; "Generico" when none is.
    int ObtieneIndiceImagen(const QString &Tipo);

    void ListView1_ColumnClick(int position);
    void ListView1_DblClick();
    void ListView1_KeyDown(int &KeyCode, int Shift);
    void ListView1_BeforeLabelEdit(int &Cancel);
    void ListView1_AfterLabelEdit(int &Cancel, QString &NewString);

    bool soloPendientes() const { return lSoloPendientes; }
    bool usaReferenciaPresupuestos() const { return lUsaReferenciaPresupuestos; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // One row for the current record of lRsComprobantes.
    void AgregaFila();
    QString Campo(const char *nombre);
    bool Verdadero(const char *nombre);
    void PoneCelda(int indice, const Variant &valor);

    ui::ListItem lItemActual;
    ado::Recordset lRsComprobantes;
    bool lUsaReferenciaPresupuestos = false;
    bool lSoloPendientes = false;

    // How each column sorts: by text, by date or by number.
    enum class Orden { Texto, Fecha, Numero };
    std::vector<Orden> m_orden;
    // The chosen record's IdComplemento, kept with its row: the main group's
    // cells show it only for "OT" and "FC".
    std::vector<std::pair<ui::ListItem, QString>> m_complementos;
    bool m_loaded = false;
};
