// The demo database holds what a posting reads: a purchase receives its
// order, an article made of others consumes them, each article its supplier's
// account; a remittance writes its stock entry.
#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "database/transaccion.h"
#include "stock/ast.h"
#include "tests/support/esquema.h"
#include "tests/support/grilla.h"
#include "tests/support/posteo.h"

#include <gtest/gtest.h>

namespace {

using namespace GrillaArticulos;

class ElDemo : public EmpresaEsquema
{
protected:
    bool conDemo() const override { return true; }
    void TearDown() override
    {
        TalonarioActual = 0;
        EmpresaEsquema::TearDown();
    }

    // A line in units, with one more cell when given (its lots, its cost).
    static FilaDeGrilla Linea(const char *articulo, const char *cantidad, int columna = -1, const char *texto = "")
    {
        FilaDeGrilla fila{{ColArticulo, QString::fromLatin1(articulo)},
                          {ColUnidad, QStringLiteral("UN")},
                          {ColCantidad, QString::fromLatin1(cantidad)},
                          {AuxPideSerie, QStringLiteral("0")},
                          {AuxPideTalle, QStringLiteral("0")},
                          {Aux_InsumosPorPorcentaje, QStringLiteral("0")},
                          {ColAux76, QStringLiteral("0")}};
        if (columna >= 0)
            fila[columna] = QString::fromLatin1(texto);
        return fila;
    }

    // Posts the grid as voucher 000100000099A of 20/03/2024 and runs what the posting gathered.
    void Postea(const QString &tc, const QString &cuenta, const QString &tcOrigen = {}, const QString &origen = {})
    {
        ClsCmnCptes clase;
        posteo::Comprobante v;
        v.TC = tc;
        v.SucNroLetra = QStringLiteral("000100000099A");
        v.Fecha = QStringLiteral("20/03/2024");
        v.IdMotivoStock.clear();
        v.TcOrigen = tcOrigen;
        v.ComprobanteOrigen = origen;
        v.Cuenta = cuenta;
        QString sql;
        bool hayError = false;
        posteo::PosteaComprobante(clase, grilla, v, true, sql, hayError);
        ASSERT_FALSE(hayError);
        Transaccion transaccion(gDB().gCnn());
        gDB().EjecutaConsultaSQL(sql);
        ASSERT_EQ(gDB().gCnn().errors().Count(), 0) << sql.toStdString();
        transaccion.Confirma();
    }

    ui::FlexGrid grilla;
};

TEST_F(ElDemo, APurchaseReceivesItsOrderAndConsumesTheParts)
{
    TalonarioActual = 0;
    QString orden = Valor(QStringLiteral("SELECT MIN(IDCOMPROBANTE) FROM C_MV_CPTE WHERE TC = '  OC'")).toString();
    ASSERT_FALSE(orden.isEmpty());
    ASSERT_TRUE(
        Valor(
            QStringLiteral("SELECT FECHARECEPCION FROM C_MV_CPTE WHERE TC = '  OC' AND IDCOMPROBANTE = '%1'").arg(orden))
            .isNull());

    // Tongue-and-groove boards (made of pine boards and sandpaper) and paint by lot.
    LlenaGrilla(grilla, Columnas, {{}, Linea("ART0008", "2"), Linea("ART0006", "3", ColNroLote, "|L2024-001|")});
    Postea(QStringLiteral("FCC"), QStringLiteral("PorDefault"), QStringLiteral("OC"), orden);

    EXPECT_EQ(Valor(QStringLiteral("SELECT FECHARECEPCION FROM C_MV_CPTE WHERE TC = '  OC' AND IDCOMPROBANTE = '%1'")
                        .arg(orden))
                  .toDate()
                  .date(),
              QDate(2024, 3, 20));
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK WHERE TC = ' FCC' AND CuentaProveedor IS NOT NULL "
                                    "AND IdMotivoStock = '   1'")),
              2);
    EXPECT_EQ(Cuenta(
                  QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK WHERE TC = ' FCC' AND LTRIM(NroLote) = 'L2024-001'")),
              1);
    // The parts go back in with the boards: 1.1 and 0.1 of each.
    EXPECT_DOUBLE_EQ(Valor(
                         QStringLiteral(
                             "SELECT SUM(Cantidad) FROM V_MV_STOCK WHERE TC = '  PE' AND CuentaProveedor IS NOT NULL"))
                         .toDouble(),
                     2.4);
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT X_ULTIMO_NRO FROM V_TA_CPTE WHERE CODIGO = '  PE'")), 2);
    // Stock entries are on, but a purchase's entry is the purchases book's.
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS WHERE TC IN (' FCC', '  PE')")), 0);
}

TEST_F(ElDemo, ARemittanceWritesItsStockEntry)
{
    // Two articles kept in different stock accounts, at cost.
    LlenaGrilla(grilla, Columnas, {{}, Linea("ART0001", "2", ColAux38, "10"), Linea("ART0012", "3", ColAux38, "5.5")});
    Postea(QStringLiteral("RM"), QStringLiteral("1000"));

    const QString entrada = QStringLiteral(
        "SELECT COUNT(*) FROM MV_ASIENTOS WHERE TC = '  RM' AND NUMERO = '00000099'");
    // The remittances' motive is debited what leaves each article's account.
    const struct
    {
        const char *cuenta;
        const char *lado;
        const char *importe;
    } filas[] = {{"5.1.01", "D", "36.5"}, {"1.3.01", "H", "20"}, {"1.3.02", "H", "16.5"}};
    for (const auto &f : filas)
        EXPECT_EQ(Cuenta(entrada
                         + QStringLiteral(" AND CUENTA = '%1' AND [DEBE-HABER] = '%2' AND IMPORTE = %3")
                               .arg(QString::fromLatin1(f.cuenta),
                                    QString::fromLatin1(f.lado),
                                    QString::fromLatin1(f.importe))),
                  1)
            << f.cuenta;
    EXPECT_EQ(Cuenta(entrada), 3);
    // Debits and credits balance: the rows are counted only when they do.
    EXPECT_EQ(Cuenta(entrada
                     + QStringLiteral(" GROUP BY TC HAVING SUM(CASE WHEN [DEBE-HABER] = 'D' THEN IMPORTE ELSE "
                                      "-IMPORTE END) = 0")),
              3);
}

} // namespace
