// The real window, offscreen, driven with keys and clicks from start-up to the
// end of two runs.
#include "purge/form1.h"
#include "purge/corrida_borrado.h"
#include "tests/support/base_anulacion.h"
#include "tests/support/clics.h"
#include "tests/support/empresa.h"

#include "database/globales.h"
#include "platform/runtime/end.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/scripted_responder.h"
#include "platform/ui/units.h"
#include "startup/inicio.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace purgetest;

namespace {

// Screenshots for a person to look at: written only when asked for.
void Captura(QWidget &w, const char *nombre)
{
    const QString carpeta = qEnvironmentVariable("ANULACION_CAPTURAS");
    if (!carpeta.isEmpty())
        w.grab().save(QDir(carpeta).filePath(QString::fromLatin1(nombre) + QStringLiteral(".png")));
}

// Answers like the script, and photographs the window whenever it asks.
class ConCaptura : public ui::ScriptedResponder
{
public:
    explicit ConCaptura(QWidget &w)
        : m_w(w)
    {}
    int msgBox(const QString &prompt, int style, const QString &title) override
    {
        Captura(m_w, title == QStringLiteral("Atencion") ? "pregunta" : "fin");
        return ScriptedResponder::msgBox(prompt, style, title);
    }

private:
    QWidget &m_w;
};

class VentanaTest : public Empresa
{
protected:
    VentanaTest()
        : Empresa({.abierta = false})
    {}

    void SetUp() override
    {
        Empresa::SetUp();
        ruta = BaseNueva(QStringLiteral("ventana.db"), 40);
        CierraConexion();
        FijaLineaDeComandos(ParametrosPara(ruta));
    }
    void TearDown() override
    {
        FijaLineaDeComandos(std::nullopt);
        CierraConexion();
        Empresa::TearDown();
    }

    void Abre(Form1 &form)
    {
        form.Form_Load();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        form.txtPassWord->setFocus();
        QApplication::processEvents();
    }

    // The window open, the access code typed and a cut-off day that takes every voucher.
    void ListaParaCorrer(Form1 &form)
    {
        Abre(form);
        QTest::keyClicks(form.txtPassWord, QStringLiteral("tesk@"));
        form.TXTFECHA->setText(QStringLiteral("31/12/2099"));
    }

    QString ruta;
};

TEST_F(VentanaTest, CodigoDeAccesoAbreYCierraElMarco)
{
    Form1 form;
    Abre(form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ANULACION FISICA DE COMPROBANTES"));
    EXPECT_EQ(form.txtTC->text(), QStringLiteral("RM"));
    EXPECT_EQ(form.Label1[2]->text(), QStringLiteral("HASTA LA FECHA INCLUSIVE"));
    EXPECT_FALSE(form.FrmDetalle->isEnabled());
    EXPECT_FALSE(form.PicMsg->isVisible());

    struct Caso
    {
        const char *texto;
        bool abre;
    };
    const Caso casos[] = {
        {"tesk", false},
        {"tesk@", true},
        {"TESK@", true},
        {"Tesk@", true},
        {" tesk@", false},
        {"tesk@ ", false},
        {"tesk@x", false},
        {"", false},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.texto);
        form.txtPassWord->clear();
        QTest::keyClicks(form.txtPassWord, QString::fromUtf8(c.texto));
        EXPECT_EQ(form.FrmDetalle->isEnabled(), c.abre);
        EXPECT_EQ(form.CmdAceptar->isEnabled(), c.abre);
    }
    // One character more locks at once; deleting it unlocks again.
    form.txtPassWord->clear();
    QTest::keyClicks(form.txtPassWord, QStringLiteral("tesk@9"));
    EXPECT_FALSE(form.FrmDetalle->isEnabled());
    QTest::keyClick(form.txtPassWord, Qt::Key_Backspace);
    EXPECT_TRUE(form.FrmDetalle->isEnabled());

    form.Inicializa();
    EXPECT_TRUE(form.txtTC->text().isEmpty());
}

TEST_F(VentanaTest, LaVentanaYLosMensajesLlevanElIconoDelPrograma)
{
    Form1 form;
    Abre(form);
    const QImage dibujo = QImage(QStringLiteral(":/icons/32/ICONVELGORA.png")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(dibujo.isNull());
    EXPECT_EQ(form.windowIcon().pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32), dibujo);
    EXPECT_EQ(QApplication::windowIcon().pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32), dibujo)
        << "a box or dialog with no icon of its own";
}

TEST_F(VentanaTest, EnterLlevaAlSiguienteControl)
{
    Form1 form;
    Abre(form);
    // Locked: past the disabled frame to Cancelar.
    QTest::keyClicks(form.txtPassWord, QStringLiteral("nada"));
    QTest::keyClick(form.txtPassWord, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form.CmdCancelar);

    form.txtPassWord->setFocus();
    form.txtPassWord->clear();
    QTest::keyClicks(form.txtPassWord, QStringLiteral("tesk@"));
    QTest::keyClick(form.txtPassWord, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form.txtTC);
    // The box with the focus wears the configured colours, the others white.
    EXPECT_EQ(form.txtTC->palette().color(QPalette::Base), ui::FromBGR(gColorFondoFoco));
    EXPECT_EQ(form.txtTC->palette().color(QPalette::Text), ui::FromBGR(gColorTextoFoco));
    EXPECT_EQ(form.txtPassWord->palette().color(QPalette::Base), QColor(Qt::white));

    QTest::keyClick(form.txtTC, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), form.TXTFECHA);
    EXPECT_EQ(form.txtTC->palette().color(QPalette::Base), QColor(Qt::white));
    QTest::keyClick(form.TXTFECHA, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form.TXTFECHA);
}

TEST_F(VentanaTest, DosCorridasDesdeLaVentana)
{
    Sqlite db(ruta);
    const QString dia = db.Textos(QStringLiteral("SELECT substr(FECHA, 1, 10) FROM V_MV_CPTE WHERE TC = '  RM' "
                                                 "ORDER BY FECHA"))
                            .value(5);
    ASSERT_FALSE(dia.isEmpty());
    const QString dma = QDate::fromString(dia, QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("dd/MM/yyyy"));
    const Foto antes = TomaFoto(db);
    const std::set<QString> idas = ClavesHasta(db, QStringLiteral("  RM"), dia);
    ASSERT_FALSE(idas.empty());

    Form1 form;
    ConCaptura respuestas(form);
    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK).answer(ui::vbOK);
    Abre(form);
    Captura(form, "cerrada");

    QTest::keyClicks(form.txtPassWord, QStringLiteral("tesk"));
    EXPECT_FALSE(form.FrmDetalle->isEnabled());
    QTest::keyClicks(form.txtPassWord, QStringLiteral("@"));
    ASSERT_TRUE(form.FrmDetalle->isEnabled());
    QTest::keyClick(form.txtPassWord, Qt::Key_Return);
    form.txtTC->selectAll();
    QTest::keyClicks(form.txtTC, QStringLiteral("RM"));
    QTest::keyClick(form.txtTC, Qt::Key_Return);
    QTest::keyClicks(form.TXTFECHA, dma);
    Captura(form, "abierta");
    QTest::mouseClick(form.CmdAceptar, Qt::LeftButton);

    ComparaFotos(antes, TomaFoto(db), idas);
    ASSERT_EQ(respuestas.prompts().size(), 1);
    EXPECT_EQ(respuestas.prompts().at(0),
              QStringLiteral("Anulado sin Errores, se actualizaron %1 registros ").arg(idas.size()));
    EXPECT_FALSE(form.PicMsg->isVisible());

    // Again: nothing left up to that day, and the log grows by two lines.
    QTest::mouseClick(form.CmdAceptar, Qt::LeftButton);
    EXPECT_EQ(respuestas.prompts().at(1), QStringLiteral("Anulado sin Errores, se actualizaron 0 registros "));
    const QStringList log = LineasLog();
    ASSERT_EQ(log.size(), 4);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral(" TC:   RM FECHA HASTA:") + dma));
    EXPECT_EQ(log[1], QStringLiteral("Registros Anulados %1 Usuario Sistema: %2").arg(idas.size()).arg(gUsuarioLogeado));
    EXPECT_TRUE(log[2].endsWith(QStringLiteral(" TC:   RM FECHA HASTA:") + dma));
    EXPECT_EQ(log[3], QStringLiteral("Registros Anulados 0 Usuario Sistema: ") + gUsuarioLogeado);
    EXPECT_EQ(respuestas.unexpected(), 0);
    EXPECT_EQ(finales, 0);
}

TEST_F(VentanaTest, DuranteLaCorridaNoTomaOtrosClics)
{
    Form1 form;
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    ListaParaCorrer(form);

    // Clicks that arrive while the run works: a second Aceptar and Cancelar.
    const auto clic = [](QWidget *w) {
        const QPointF centro = QRectF(w->rect()).center();
        const QPointF global = w->mapToGlobal(centro);
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(w,
                                        new QMouseEvent(t,
                                                        centro,
                                                        global,
                                                        Qt::LeftButton,
                                                        t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                        Qt::NoModifier));
    };
    clic(form.CmdAceptar);
    clic(form.CmdCancelar);
    form.CmdAceptar_Click();
    QApplication::processEvents();

    EXPECT_EQ(respuestas.requests().size(), 1u); // one run, one final message
    EXPECT_EQ(LineasLog().size(), 2);
    EXPECT_EQ(finales, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.Corriendo());
}

// Context menus, text from an input method, touch and tablet are the
// operator's input too: none of it reaches the window during a run, all of it
// once the run is over.
TEST_F(VentanaTest, DuranteLaCorridaNoTomaOtraEntradaDelOperador)
{
    Form1 form;
    ui::ScriptedResponder respuestas;
    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbOK);
    ListaParaCorrer(form);
    const std::vector<QEvent::Type> tipos = OtraEntradaDelOperador();
    CuentaEntradas vistas(*form.CmdAceptar, tipos);
    EncolaEntradas(*form.CmdAceptar, tipos);
    form.CmdAceptar_Click();
    QApplication::processEvents();
    for (QEvent::Type t : tipos)
        EXPECT_EQ(vistas.de(t), 0) << t;

    EncolaEntradas(*form.CmdAceptar, tipos);
    QApplication::processEvents();
    for (QEvent::Type t : tipos)
        EXPECT_EQ(vistas.de(t), 1) << t;
}

TEST_F(VentanaTest, LaFranjaQuedaConSuUltimoDibujoAlDetenerse)
{
    Sqlite db(ruta);
    const QStringList ids = db.Textos(
        QStringLiteral("SELECT IDCOMPROBANTE FROM V_MV_CPTE WHERE TC = '  RM' ORDER BY FECHA"));
    ASSERT_GE(ids.size(), 4);
    EjecutaEnArchivo(ruta,
                     QStringLiteral(
                         "CREATE TRIGGER falla_prueba BEFORE DELETE ON V_MV_CPTETAREAS WHEN old.TC = '  RM' AND "
                         "old.IDCOMPROBANTE = '%1' BEGIN SELECT RAISE(ABORT, 'Borrado bloqueado'); END")
                         .arg(ids.at(ids.size() / 2)));

    Form1 form;
    ConCaptura respuestas(form);
    ui::ScopedResponder scope(respuestas);
    respuestas.answer(ui::vbNo);
    Abre(form);
    QTest::keyClicks(form.txtPassWord, QStringLiteral("tesk@"));
    form.TXTFECHA->setText(QStringLiteral("31/12/2099"));
    QTest::mouseClick(form.CmdAceptar, Qt::LeftButton);

    ASSERT_EQ(respuestas.requests().size(), 1u);
    EXPECT_EQ(respuestas.last().title, QStringLiteral("Atencion"));
    EXPECT_TRUE(form.PicMsg->isVisible());
    Captura(form, "franja");
    // Some of the strip is covered by the red bar, not all of it.
    const QImage img = form.PicMsg->Image();
    ASSERT_FALSE(img.isNull());
    const QColor izquierda = img.pixelColor(1, img.height() / 2);
    const QColor derecha = img.pixelColor(img.width() - 2, img.height() / 2);
    EXPECT_NE(izquierda, derecha);
    EXPECT_EQ(LineasLog().size(), 1);
}

TEST_F(VentanaTest, CancelarTerminaElPrograma)
{
    Form1 form;
    Abre(form);
    QTest::mouseClick(form.CmdCancelar, Qt::LeftButton);
    EXPECT_EQ(finales, 1);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
