// What an operator types into a lookup's search boxes, or a caller puts in
// the voucher lookup's condition as a quoted text, stays data: after every
// pair of filters the database file is as it was, the statement sent is one
// statement, and each typed text is the content of one literal of it.
#include "database/armado_sql.h"
#include "lookup/frm_cons_comprobantes.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/lib_frm_cons3_arbol.h"
#include "platform/ado/sql_text.h"
#include "platform/ado/sqlite_dialect.h"
#include "platform/runtime/app.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/default_instance.h"
#include "tests/support/empresa_consulta.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using Consulta = ui::DefaultInstance<Lib_FrmCons3>;

QStringList Hostiles()
{
    QString largo;
    while (largo.size() < 3000)
        largo += QStringLiteral("o'rder by; --x ");
    largo.truncate(3000);
    return {
        QStringLiteral("O'Brien"),
        QStringLiteral("''"),
        QStringLiteral("'"),
        QStringLiteral("%"),
        QStringLiteral("a_b*"),
        QStringLiteral("[x]"),
        QStringLiteral("]"),
        QStringLiteral("\"x"),
        QStringLiteral(";"),
        QStringLiteral("--"),
        QStringLiteral("/*"),
        QStringLiteral("*/"),
        QStringLiteral("order by"),
        QStringLiteral("where"),
        QStringLiteral("x' union select CODIGO, CODIGO, CODIGO from VT_CLIENTES --"),
        QStringLiteral("' OR 1=1 --"),
        QStringLiteral("1; DELETE FROM VT_CLIENTES --"),
        QStringLiteral("1; DROP TABLE V_MV_CPTE; --"),
        QStringLiteral("1'; DELETE FROM V_TA_FAMILIAS --"),
        QStringLiteral("N'x"),
        largo,
        QStringLiteral("a") + QChar(0) + QStringLiteral("b"),
        QStringLiteral("москва ñandú"),
    };
}

class TextosHostiles : public ConConsultas
{
protected:
    void SetUp() override
    {
        ConConsultas::SetUp();
        SetAppPath(dir.path());
        Ejecuta({QStringLiteral("INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO) VALUES ('C1', 'O''Brien', "
                                "'ANA')"),
                 QStringLiteral("INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES ('1', 'order by')"),
                 QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE, IdComplemento, FECHA, CUENTA, NOMBRE) "
                                "VALUES ('  FC', '0001000000001', 0, '2024-03-05', '  1001', 'where')")});
        antes = Contenido();
    }
    void TearDown() override
    {
        Consulta::Unload();
        ui::DestroyUnloaded();
        ConConsultas::TearDown();
    }

    QByteArray Contenido() const
    {
        QFile f(this->base.path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QString UltimaConsulta() const
    {
        for (auto s = enviadas.crbegin(); s != enviadas.crend(); ++s)
            if (vb::ContainsText(*s, QStringLiteral("SELECT")) && !vb::ContainsText(*s, QStringLiteral("CLAVE")))
                return *s;
        return {};
    }
    // The statement sent last against the one the same filters send with
    // plain texts: the same statement but for the literals, and the typed
    // texts among its literals.
    void Verifica(const QString &comoPlano, const QStringList &literales)
    {
        const QString enviada = UltimaConsulta();
        ASSERT_FALSE(enviada.isEmpty());
        EXPECT_EQ(ado::statementCount(enviada), 1) << enviada.toStdString();
        const ado::BatchShape forma = ado::SqliteDialect::shape(enviada);
        // Reloads add blanks at the end; the blanks outside literals do not matter.
        EXPECT_EQ(forma.key.simplified(), ado::SqliteDialect::shape(comoPlano).key.simplified())
            << enviada.toStdString();
        QStringList textos;
        for (const ado::DialectLiteral &l : forma.literals)
            if (l.isString)
                textos << l.text;
        for (const QString &l : literales)
            EXPECT_TRUE(textos.contains(l)) << l.toStdString() << " in " << enviada.toStdString();
        EXPECT_TRUE(Contenido() == antes) << "the database changed after " << enviada.toStdString();
    }
    void F5(ui::ComboBox *caja, const QString &texto)
    {
        caja->setText(texto);
        caja->setFocus();
        QApplication::processEvents();
        QTest::keyClick(caja->lineEdit(), Qt::Key_F5);
    }

    QByteArray antes;
    const QString kClientes = QStringLiteral("SELECT RAZON_SOCIAL, CODIGO, CONTACTO FROM VT_CLIENTES ORDER BY CODIGO");
    const QString kFamilias = QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");
};

// The list lookup in each search mode: the text anywhere in the column, or at its start.
class ListaHostil : public TextosHostiles, public ::testing::WithParamInterface<bool>
{};

TEST_P(ListaHostil, EveryOrderOfTwoFilters)
{
    const QStringList textos = Hostiles();
    const bool contiene = GetParam();
    const auto literal = [&](const QString &t) {
        return contiene ? QStringLiteral("%") + t + QStringLiteral("%")
                        : QString(t).replace(QLatin1Char('*'), QLatin1Char('%')) + QLatin1Char('%');
    };
    QString plano;
    Lib_FrmCons3 &d = Consulta::Get();
    d.SQL = kClientes;
    d.CfgUsaConsultaLIKE = contiene;
    operador.drive([&](QDialog &) {
        F5(d.CmbSearch->Item(0), QStringLiteral("a"));
        F5(d.CmbSearch->Item(1), QStringLiteral("b"));
        plano = UltimaConsulta();
        for (const QString &a : textos) {
            for (const QString &b : textos) {
                SCOPED_TRACE(a.left(40).toStdString() + " then " + b.left(40).toStdString());
                d.CmdNueva->click();
                F5(d.CmbSearch->Item(0), a);
                F5(d.CmbSearch->Item(1), b);
                Verifica(plano, {literal(a), literal(b)});
            }
        }
    });
    ui::ShowModal(d);
    EXPECT_EQ(operador.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modos, ListaHostil, ::testing::Values(false, true), [](const auto &info) {
    return std::string(info.param ? "contiene" : "empieza");
});

TEST_F(TextosHostiles, TreeLookupEveryOrderOfTwoFilters)
{
    const QStringList textos = Hostiles();
    Lib_FrmCons3Tree dlg;
    dlg.SQL = kFamilias;
    operador.drive([&](QDialog &) {
        const auto dosFiltros = [&](const QString &a, const QString &b) {
            dlg.SQL = kFamilias;
            dlg.Form_Load();
            F5(dlg.CmbSearch->Item(0), a);
            F5(dlg.CmbSearch->Item(0), b);
        };
        dosFiltros(QStringLiteral("a"), QStringLiteral("b"));
        const QString plano = UltimaConsulta();
        for (const QString &a : textos) {
            for (const QString &b : textos) {
                SCOPED_TRACE(a.left(40).toStdString() + " then " + b.left(40).toStdString());
                dosFiltros(a, b);
                Verifica(plano, {QLatin1Char('%') + a + QLatin1Char('%'), QLatin1Char('%') + b + QLatin1Char('%')});
            }
        }
    });
    ui::ShowModal(dlg);
    EXPECT_EQ(operador.unexpected(), 0);
}

// The voucher lookup of a type, its condition holding two typed texts as literals.
class ComprobanteHostil : public TextosHostiles, public ::testing::WithParamInterface<const char *>
{};

TEST_P(ComprobanteHostil, ConditionHoldingTwoTypedTexts)
{
    const QStringList textos = Hostiles();
    const QString tc = QString::fromLatin1(GetParam());
    const QString where = vb::EqualsText(tc, QStringLiteral("OC")) ? QStringLiteral("WHERE ") : QString();
    FrmConsComprobantes dlg;
    const auto carga = [&](const QString &a, const QString &b) {
        dlg.TC = tc;
        dlg.Filtro = where + QStringLiteral("NOMBRE LIKE ") + TextoSQL(a) + QStringLiteral(" AND CUENTA LIKE ")
                     + TextoSQL(b);
        dlg.Form_Load();
    };
    carga(QStringLiteral("a"), QStringLiteral("b"));
    const QString plano = UltimaConsulta();
    for (const QString &a : textos) {
        for (const QString &b : textos) {
            SCOPED_TRACE(a.left(40).toStdString() + " then " + b.left(40).toStdString());
            carga(a, b);
            Verifica(plano, {a, b});
        }
    }
    EXPECT_EQ(operador.unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Tipos, ComprobanteHostil, ::testing::Values("FC", "OC", "RM/PENDIENTES"), [](const auto &info) {
    return QString::fromLatin1(info.param).replace(QLatin1Char('/'), QLatin1Char('_')).toStdString();
});

// The operator's own steps: "order by" in one box, a statement in another.
TEST_F(TextosHostiles, TheDeletionTypedAfterOrderByStaysText)
{
    const int clientes = filas(QStringLiteral("SELECT * FROM VT_CLIENTES"));
    Lib_FrmCons3 &d = Consulta::Get();
    d.SQL = kClientes;
    operador.drive([&](QDialog &) {
        F5(d.CmbSearch->Item(0), QStringLiteral("order by"));
        F5(d.CmbSearch->Item(1), QStringLiteral("1; DELETE FROM VT_CLIENTES --"));
        EXPECT_EQ(d.ListView1->ListItems().Count(), 0);
        EXPECT_EQ(UltimaConsulta(),
                  QStringLiteral("SELECT RAZON_SOCIAL, CODIGO, CONTACTO FROM VT_CLIENTES  where LTRIM(RAZON_SOCIAL) "
                                 "like 'order by%'  and LTRIM(CODIGO) like '1; DELETE FROM VT_CLIENTES --%' ORDER BY "
                                 "CODIGO   "));
    });
    ui::ShowModal(d);
    EXPECT_EQ(filas(QStringLiteral("SELECT * FROM VT_CLIENTES")), clientes);
    EXPECT_EQ(operador.unexpected(), 0);
}

} // namespace
