#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {
class PictureBox;
}

// The tool's only window: an access-code box that unlocks the frame with the
// voucher type, the cut-off date and the accept button. The deletion itself
// lives in AnulaComprobantes; the window only gathers its inputs and shows
// its progress.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Start-up of the whole system, then the component's form preparation.
    void Form_Load();
    // Empties the voucher type.
    void Inicializa();

    // Event handlers, callable from tests as the controls call them.
    void txtPassWord_Change();
    void txtPassWord_GotFocus();
    void txtPassWord_LostFocus();
    void txtPassWord_KeyPress(int &KeyAscii);
    void txtTC_GotFocus();
    void txtTC_LostFocus();
    void txtTC_KeyPress(int &KeyAscii);
    void CmdAceptar_Click();
    void CmdCancelar_Click();

    // True while a deletion run holds the window.
    bool Corriendo() const { return m_corriendo; }

    // Controls, named as the suite names them.
    QLineEdit *txtPassWord = nullptr;
    std::array<QLabel *, 3> Label1{};
    QGroupBox *FrmDetalle = nullptr;
    QLineEdit *txtTC = nullptr;
    QLineEdit *TXTFECHA = nullptr;
    QPushButton *CmdAceptar = nullptr;
    QPushButton *CmdCancelar = nullptr;
    ui::PictureBox *PicMsg = nullptr;

    // The window's title, which the application's message boxes carry too.
    static inline const QString kTitulo = QStringLiteral("ANULACION FISICA DE COMPROBANTES");

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Enter (13) sends "{TAB}", as the two key handlers do; no control is bound
    // to them. ManejadorVacio does nothing.
    void ConvierteEnterEnTab1(int KeyAscii);
    void ConvierteEnterEnTab2(int KeyAscii) { ConvierteEnterEnTab1(KeyAscii); }
    void ConvierteEnterEnTab3(int KeyAscii) { ConvierteEnterEnTab1(KeyAscii); }
    void ConvierteEnterEnTab4(int KeyAscii) { ConvierteEnterEnTab1(KeyAscii); }
    void ManejadorVacio() {}

    void focoEncendido(QLineEdit *box);
    void focoApagado(QLineEdit *box);
    class BloqueoEntrada;
    // A click or key meant for one of the window's own controls.
    static bool EsEntradaDelOperador(const QWidget &ventana, QObject *watched, QEvent *event);

    bool m_corriendo = false;
};
