// The voucher class's stock queries on the demo company.
#include "voucher/cls_cmn_cptes.h"

#include "stock/saldos.h"
#include "tests/support/empresa.h"

#include <gtest/gtest.h>

namespace {

class SaldosDemo : public Empresa
{
protected:
    SaldosDemo()
        : Empresa({.espia = true, .demo = true, .comoArranque = true})
    {}
};

TEST_F(SaldosDemo, BalancesByDepositUnitAndLot)
{
    ClsCmnCptes cptes;
    QString deposito = kIgnorar, unidad = kIgnorar;
    const QString cemento = QStringLiteral("ART0019");
    EXPECT_EQ(cptes.ObtieneStock(cemento, deposito, kIgnorar, kIgnorar, QString(), unidad), 120);
    EXPECT_EQ(deposito, QStringLiteral("   1"));
    EXPECT_EQ(unidad, QStringLiteral("  UN"));

    QString base = QStringLiteral("UN");
    double enBase = 0, enKilos = 0;
    cptes.ObtieneStockxEquiv(QString(), cemento, base, QStringLiteral("KG"), enBase, enKilos);
    EXPECT_EQ(enBase, 160); // both deposits
    EXPECT_EQ(enKilos, 8000);

    QString central = QStringLiteral("1"), sinUnidad;
    EXPECT_EQ(cptes.ObtieneStock(QStringLiteral("ART0006"),
                                 central,
                                 QStringLiteral("L2024-002"),
                                 kIgnorar,
                                 QString(),
                                 sinUnidad),
              8);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(SaldosDemo, ADemoVoucherHasMovedAllItsLines)
{
    ClsCmnCptes cptes;
    ado::Recordset rs;
    QString sql = QStringLiteral("SELECT TC, IDCOMPROBANTE, IDARTICULO FROM V_MV_CPTEINSUMOS WHERE TC = '  RM'");
    gDB().AbrirRecordset(sql, rs);
    ASSERT_FALSE(rs.Eof());
    const QString idComprobante = rs.Fields(1).Value().toString();
    const QString articulo = rs.Fields(2).Value().toString();
    EXPECT_EQ(cptes.CantRepartoPend(QStringLiteral("RM"), idComprobante, articulo), 0);
    gDB().EjecutaConsultaSQL(QStringLiteral("UPDATE V_MV_CPTEINSUMOS SET CANTIDAD = CANTIDAD + 2.5 WHERE TC = '  RM' "
                                            "AND IDCOMPROBANTE = '%1' AND IDARTICULO = '%2'")
                                 .arg(idComprobante, articulo));
    EXPECT_EQ(cptes.CantRepartoPend(QStringLiteral("RM"), idComprobante, articulo), 2.5);
}

} // namespace
