#pragma once

#include "lookup/lib_clscons3.h"
#include "platform/ado/ado.h"
#include "platform/runtime/variant.h"
#include "platform/ui/list_view.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>

class ClsComponente;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QWidget;

namespace ui {
class ComboBoxArray;
class KeyPreview;
} // namespace ui

// The list lookup: runs the caller's SELECT, lists every row with one column
// per field and a search box over each column, and hands back the picked
// row's values. Used through its default instance
// (ui::DefaultInstance<Lib_FrmCons3>): set the inputs, show it modally, read
// the outputs once it has hidden itself, then unload it.
//
// Loading, layout, accept, cancel and the column widths live in
// lib_frm_cons3.cpp; the search, the filters, the keys and the quantities in
// lib_frm_cons3_busqueda.cpp.
class Lib_FrmCons3 : public QDialog
{
    Q_OBJECT
public:
    explicit Lib_FrmCons3(QWidget *parent = nullptr);
    ~Lib_FrmCons3() override;

    // Public properties, in their declared order.
    Variant StkNivel1;
    Variant StkNivel2;
    Variant StkNivel3;
    Variant StkNivel4;
    QString MuestraStock;
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
    QString ValoresDefault;
    bool CfgUsaConsultaLIKE = false;
    bool GrabarCfg = false;

    // Public operations (only the dialog itself calls them).
    void CalcularAncho();
    void Leer(std::int32_t Cdesde, std::int16_t Cuantas);
    void Encolumnar();
    std::int32_t Busqueda(std::int32_t Clave, const QString &QueValor);
    std::int16_t IndiceColumna(const QString &Columna);

    // Loaded from its first show (or a reload) until Form_Unload.
    bool IsLoaded() const { return m_loaded; }

    // Controls.
    QWidget *picFields = nullptr;
    QScrollBar *HScroll1 = nullptr;
    ui::ComboBoxArray *CmbSearch = nullptr;
    ui::ListView *ListView1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *CmdAceptar = nullptr;
    QPushButton *CmdCancelar = nullptr;
    QPushButton *CmdNueva = nullptr;

    // Handlers.
    void Form_Load();
    void Form_Resize();
    // Saves the widths and empties the list, once per load; the next show loads again.
    void Form_Unload();
    void Form_KeyDown(int &KeyCode, int Shift);
    void HScroll1_Change();
    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void CmdNueva_Click();
    void ListView1_ColumnClick(int position);
    void ListView1_DblClick();
    void ListView1_KeyDown(int &KeyCode, int Shift);
    // The character a key types in the list, once ListView1_KeyDown let it pass.
    void ListView1_KeyPress(int &KeyAscii);
    void CmbSearch_GotFocus(int Index);
    void CmbSearch_LostFocus(int Index);
    void CmbSearch_Change(int Index);
    void CmbSearch_Click(int Index);
    void CmbSearch_KeyDown(int Index, int &KeyCode, int Shift);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    ClsComponente &mComponente();
    void LeeAnchosColumnas();
    void GuardaAnchosColumnas();
    // The value of a column (by its position, IndiceColumna's answer) in a row;
    // the empty text when the position matches no column.
    QString ValorDeColumna(const ui::ListItem &fila, int posicion) const;
    // F5 in a search box: the statement filtered on its column, and a reload.
    void FiltroServidor(int Index);

    bool EsConsultaArticulos = false;
    QString TablaConsulta;
    QString SentenciaOriginal;
    QString SentenciaSinOrden;
    QString ClausulaOrden;
    std::int16_t IndiceBusquedaActiva = 0;

    ado::Recordset mRs;       // open only while the dialog loads
    ui::ListItem mFilaActual; // the row being added
    std::int32_t mFilas = 0;  // rows added by the load

    ui::KeyPreview *m_keyPreview = nullptr;
    bool m_loaded = false;
    std::unique_ptr<ClsComponente> m_componente;
};
