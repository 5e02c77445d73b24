// The action trail of a voucher, the voucher lookup driven for the caller,
// the charges of an account and the vouchers derived from a voucher.
#include "voucher/cls_cmn_cptes.h"

#include "database/armado_sql.h"
#include "lookup/frm_cons_comprobantes.h"
#include "platform/component/cls_entorno.h"
#include "platform/component/component.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/ui.h"
#include "tests/support/clics_vistas.h"
#include "tests/support/complementos.h"
#include "tests/support/esquema.h"
#include "tests/support/impresion_qt.h"
#include "tools/datos_demo.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The caller's charges form: the customer and plate it is opened on.
class FrmCargos : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QString Cliente MEMBER Cliente)
    Q_PROPERTY(QString Matricula MEMBER Matricula)
public:
    QString Cliente;
    QString Matricula;
    int estilo = -1;
    Q_INVOKABLE void Show(int modal)
    {
        estilo = modal;
        ui::ShowModal(*this);
    }
};

// A form that knows the customer but not the plate.
class FrmSinMatricula : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QString Cliente MEMBER Cliente)
public:
    QString Cliente;
    bool mostrado = false;
    Q_INVOKABLE void Show(int) { mostrado = true; }
};

class Acciones : public EmpresaEsquema
{
protected:
    void SetUp() override
    {
        EmpresaEsquema::SetUp();
        gUsuarioLogeado = QStringLiteral("O'NEILL");
        clase.emplace();
    }
    void TearDown() override
    {
        clase.reset();
        ui::DefaultInstance<FrmConsComprobantes>::Unload();
        ui::DestroyUnloaded();
        EmpresaEsquema::TearDown();
    }
    QStringList Trail()
    {
        QStringList filas;
        ado::Recordset rs;
        rs.Open(QStringLiteral("SELECT TC, IDCOMPROBANTE, IdComplemento, Tipo_accion, USUARIO, PC, SYSTEMUSER, "
                               "NUMEROASIENTO FROM V_MV_CPTEACCIONES ORDER BY rowid"),
                gDB().gCnn());
        while (!rs.Eof()) {
            QStringList c;
            for (int i = 0; i < rs.FieldCount(); ++i) {
                const Variant v = rs.Fields(i).Value();
                c << (v.isNull() ? QStringLiteral("-") : QLatin1Char('[') + v.toString() + QLatin1Char(']'));
            }
            filas << c.join(QLatin1Char(' '));
            rs.MoveNext();
        }
        return filas;
    }
    std::optional<ClsCmnCptes> clase;
};

TEST_F(Acciones, TheTrailRowNamesTheActionTheUserTheComputerAndTheEntry)
{
    struct Caso
    {
        bool alta, modificacion;
        const char *accion;
    };
    const std::vector<Caso> casos{{true, true, "A"}, {true, false, "A"}, {false, true, "M"}, {false, false, "B"}};
    const QString pc = gEntorno().NombrePC();
    QStringList esperadas;
    QString sinUso = QStringLiteral("no se toca");
    for (const Caso &c : casos) {
        EXPECT_TRUE(clase->ActualizaBuchon(QStringLiteral(" RM "),
                                           QStringLiteral("000100000001A"),
                                           QStringLiteral("2"),
                                           c.alta,
                                           c.modificacion,
                                           false,
                                           sinUso,
                                           QStringLiteral("41")));
        esperadas << QStringLiteral("[  RM] [000100000001A] [2] [%1] [O'NEILL] [%2] [] [41]")
                         .arg(QLatin1String(c.accion), pc);
    }
    EXPECT_EQ(sinUso, QStringLiteral("no se toca"));
    EXPECT_EQ(Trail(), esperadas);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Acciones, TheCollectedTrailRunsNothingAndAFailedInsertIsReported)
{
    QString sentencia;
    EXPECT_TRUE(clase->ActualizaBuchon(QStringLiteral("FC"),
                                       QStringLiteral("000100000002A"),
                                       QStringLiteral("0"),
                                       true,
                                       false,
                                       true,
                                       sentencia,
                                       QString()));
    EXPECT_TRUE(sentencia.startsWith(QStringLiteral(" INSERT INTO V_MV_CPTEACCIONES (TC,IdComprobante,IdComplemento,"
                                                    "Tipo_accion,FECHAHORA,Usuario,PC,SYSTEMUSER,NUMEROASIENTO) VALUES "
                                                    "('  FC','000100000002A',0,'A','")))
        << sentencia.toStdString();
    EXPECT_TRUE(sentencia.endsWith(QStringLiteral("','O''NEILL','") + gEntorno().NombrePC() + QStringLiteral("','',0)")))
        << sentencia.toStdString();
    // The date and time in the trail's pattern: "dd/mm/yy hh:mm".
    EXPECT_TRUE(QRegularExpression(QStringLiteral("'A','\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d','O''NEILL'"))
                    .match(sentencia)
                    .hasMatch())
        << sentencia.toStdString();
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEACCIONES")), 0);

    // The table gone: the row is not written and the caller is told.
    Ejecuta(QStringLiteral("DROP TABLE V_MV_CPTEACCIONES"));
    operador.answer(ui::vbAbort).answer(ui::vbAbort);
    QString nada;
    EXPECT_FALSE(clase->ActualizaBuchon(QStringLiteral("FC"),
                                        QStringLiteral("000100000002A"),
                                        QStringLiteral("0"),
                                        true,
                                        false,
                                        false,
                                        nada,
                                        QString()));
    EXPECT_GT(gDB().gCnn().errors().Count(), 0);
}

TEST_F(Acciones, TheLookupIsDrivenForTheCallerAndReleased)
{
    Ejecuta(QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, CUENTA, NOMBRE, IMPORTE) "
                           "VALUES ('  FC', '000100000007A', 3, '2024-06-01', '  1001', 'CLIENTE', 100)"));
    using Consulta = ui::DefaultInstance<FrmConsComprobantes>;
    struct Caso
    {
        const char *nombre;
        std::optional<QString> filtro;
        bool elige;
        const char *respuesta;
    };
    const std::vector<Caso> casos{
        {"chosen, no filter", std::nullopt, true, "000100000007A"},
        {"cancelled", QStringLiteral("1=1"), false, ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        QString filtroVisto = QStringLiteral("sin mostrar");
        operador.drive([&](QDialog &d) {
            auto &dlg = static_cast<FrmConsComprobantes &>(d);
            filtroVisto = dlg.Filtro;
            if (c.elige) {
                ClickRow(*dlg.ListView1,
                         dlg.ListView1->model()->index(dlg.ListView1->ListItems().Item(1).Index() - 1, 0));
                QTest::mouseClick(dlg.CmdAceptar, Qt::LeftButton);
            } else {
                QTest::mouseClick(dlg.CmdCancelar, Qt::LeftButton);
            }
        });
        QString respuesta = QStringLiteral("antes"), complemento, proveedor;
        clase->ConsultaComprobante(QStringLiteral("FC"), respuesta, c.filtro, complemento, proveedor);
        EXPECT_EQ(filtroVisto, c.filtro.value_or(QString()));
        EXPECT_EQ(respuesta, QString::fromLatin1(c.respuesta));
        EXPECT_FALSE(Consulta::Exists());
        ui::DestroyUnloaded();
    }
}

TEST_F(Acciones, ChargesOfAnAccount)
{
    Ejecuta(QStringLiteral("INSERT INTO V_MV_CargosAplicados (CUENTA, TC, IDCOMPROBANTE, SALDO) VALUES "
                           "('1001', '  FC', '000100000001A', 120.25), ('1001', '  FC', '000100000002A', 10), "
                           "('O''B', '  FC', '000100000003A', 7)"));
    EXPECT_EQ(clase->ImporteCargosReales(QStringLiteral(" 1001 ")), Currency::fromDouble(130.25));
    EXPECT_EQ(clase->ImporteCargosReales(QStringLiteral("O'B")), Currency::fromDouble(7));
    EXPECT_EQ(clase->ImporteCargosReales(QStringLiteral("9999")), Currency());
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Acciones, VouchersDerivedFromAVoucher)
{
    // Three derived from the remito 1 (one annulled, one of complement 1), one from another voucher.
    Ejecuta(QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, IMPORTE, ANULADA, "
                           "TCORIGEN, COMPROBANTEORIGEN, "
                           "COMPLEMENTOORIGEN) VALUES "
                           "('  FC', '000100000010A', 0, '2024-06-01', 100, 0, '  RM', '000100000001A', 0), "
                           "('  FC', '000100000011A', 0, '2024-06-01', 40, 1, '  RM', '000100000001A', 0), "
                           "('  FC', '000100000012A', 0, '2024-06-01', 25.5, 0, '  RM', '000100000001A', 1), "
                           "('  FC', '000100000013A', 0, '2024-06-01', NULL, 0, '  RM', '000100000001A', 2), "
                           "('  FC', '000100000014A', 0, '2024-06-01', 999, 0, '  RM', '000100000009A', 0)"));
    struct Caso
    {
        const char *tc;
        const char *complemento;
        bool anulados;
        bool relacionado;
    };
    const std::vector<Caso> casos{
        {" RM ", "0", false, true},
        {"RM", "1", false, true},
        {"RM", "3", true, false},
        {"FC", "0", true, false},
        {"RM", "0'", true, false},
    };
    const std::vector<Caso> anulados{{"RM", "1", false, false}, {"RM", "1", true, true}};
    for (const auto *lista : {&casos, &anulados}) {
        // Complement 1 annulled: it counts only when asked to.
        if (lista == &anulados)
            Ejecuta(QStringLiteral("UPDATE V_MV_CPTE SET ANULADA = 1 WHERE IDCOMPROBANTE = '000100000012A'"));
        for (const Caso &c : *lista) {
            EXPECT_EQ(clase->EstaRelacionadoAOtroComprobante(QString::fromLatin1(c.tc),
                                                             QStringLiteral("000100000001A "),
                                                             QString::fromLatin1(c.complemento),
                                                             c.anulados),
                      c.relacionado)
                << c.tc << " " << c.complemento << " " << c.anulados;
        }
    }
    // Every complement, the annulled ones left out, a Null amount as 0.
    EXPECT_EQ(clase->ObtieneImporteCptesAsociados(QStringLiteral("RM"), QStringLiteral("000100000001A")),
              Currency::fromDouble(100));
    EXPECT_EQ(clase->ObtieneImporteCptesAsociados(QStringLiteral("RM"), QStringLiteral("000100000009A")),
              Currency::fromDouble(999));
    EXPECT_EQ(clase->ObtieneImporteCptesAsociados(QStringLiteral("RM"), QStringLiteral("O'000")), Currency());
}

TEST_F(Acciones, VouchersDerivedFromTheDemoSamples)
{
    demodata::Options opciones;
    opciones.vouchers = 4;
    opciones.entrySamples = true;
    UsaDemo(opciones);
    struct Caso
    {
        const char *tc;
        const char *id;
        const char *complemento;
        bool anulados;
        bool relacionado;
    };
    // The remittance's first part has a valid and an annulled invoice, its
    // second part a valid one; the work order only an annulled one.
    const Caso casos[] = {
        {"RM", "000100009102A", "0", false, true},
        {"RM", "000100009102A", "1", false, true},
        {"OT", "000100009103A", "0", false, false},
        {"OT", "000100009103A", "0", true, true},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(clase->EstaRelacionadoAOtroComprobante(QString::fromLatin1(c.tc),
                                                         QString::fromLatin1(c.id),
                                                         QString::fromLatin1(c.complemento),
                                                         c.anulados),
                  c.relacionado)
            << c.tc << " " << c.complemento << " " << c.anulados;
    EXPECT_EQ(clase->ObtieneImporteCptesAsociados(QStringLiteral("RM"), QStringLiteral("000100009102A")),
              Currency::fromDouble(400 + 150));
    EXPECT_EQ(clase->ObtieneImporteCptesAsociados(QStringLiteral("OT"), QStringLiteral("000100009103A")), Currency());
}

TEST_F(Acciones, TheChargesFormIsOpenedOnTheCustomerAndPlate)
{
    FrmCargos frm;
    bool visto = false;
    operador.drive([&](QDialog &d) {
        visto = &d == &frm && frm.Cliente == QStringLiteral("1001") && frm.Matricula == QStringLiteral("AB 123 CD");
        d.hide();
    });
    clase->ControlDeCargosReales(frm, QStringLiteral("1001"), QStringLiteral("AB 123 CD"));
    EXPECT_TRUE(visto);
    EXPECT_EQ(frm.estilo, 1);

    FrmSinMatricula sin;
    try {
        clase->ControlDeCargosReales(sin, QStringLiteral("1001"), QStringLiteral("AB 123 CD"));
        ADD_FAILURE() << "no error";
    } catch (const VbException &e) {
        EXPECT_EQ(e.err().Number, 438);
    }
    EXPECT_FALSE(sin.mostrado);
    EXPECT_FALSE(sin.property("Matricula").isValid());
}

// The trail row goes on the voucher the complement names: only a whole
// number is written.
TEST_F(Acciones, OnlyAWholeNumberComplementIsWritten)
{
    for (const CasoComplemento &c : CasosDeComplemento()) {
        SCOPED_TRACE(c.complemento);
        [&] {
            Ejecuta(QStringLiteral("DELETE FROM V_MV_CPTEACCIONES"));
            operador.clear();
            QString sentencia;
            EXPECT_EQ(clase->ActualizaBuchon(QStringLiteral("FC"),
                                             QStringLiteral("000100000002A"),
                                             QString::fromUtf8(c.complemento),
                                             true,
                                             false,
                                             false,
                                             sentencia,
                                             QString()),
                      c.valido);
            EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEACCIONES")), c.valido ? 1 : 0);
            if (c.valido) {
                EXPECT_EQ(Cuenta(QStringLiteral("SELECT IdComplemento FROM V_MV_CPTEACCIONES")),
                          QString::fromUtf8(c.complemento).trimmed().toLongLong());
                EXPECT_EQ(operador.requests().size(), 0u);
                return;
            }
            EXPECT_TRUE(sentencia.isEmpty());
            ASSERT_EQ(operador.requests().size(), 1u);
            EXPECT_EQ(operador.requests()[0].prompt, RechazoDeComplemento(c.complemento));
        }();
    }
}

} // namespace

#include "cls_cmn_cptes_acciones_test.moc"
