// The demo database holds what a posting reads: a purchase receives its
// order, an article made of others consumes them, each article its supplier's account.
#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "stock/ast.h"
#include "tests/support/esquema.h"
#include "tests/support/grilla.h"

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

    ui::FlexGrid grilla;
    auto linea = [](const char *articulo, const char *cantidad, const char *lotes) {
        return FilaDeGrilla{{ColArticulo, QString::fromLatin1(articulo)},
                            {ColUnidad, QStringLiteral("UN")},
                            {ColCantidad, QString::fromLatin1(cantidad)},
                            {ColNroLote, QString::fromLatin1(lotes)},
                            {AuxPideSerie, QStringLiteral("0")},
                            {AuxPideTalle, QStringLiteral("0")},
                            {Aux_InsumosPorPorcentaje, QStringLiteral("0")},
                            {ColAux76, QStringLiteral("0")}};
    };
    // Tongue-and-groove boards (made of pine boards and sandpaper) and paint by lot.
    LlenaGrilla(grilla, Columnas, {{}, linea("ART0008", "2", ""), linea("ART0006", "3", "|L2024-001|")});
    ClsCmnCptes clase;
    QString deposito = QStringLiteral("1"), destino, motivo, tcOrigen = QStringLiteral("OC"), origen = orden, sql;
    bool hayError = false;
    clase.ActualizaStock(grilla,
                         QStringLiteral("FCC"),
                         QStringLiteral("000100000099A"),
                         QStringLiteral("0"),
                         QStringLiteral("20/03/2024"),
                         deposito,
                         destino,
                         motivo,
                         tcOrigen,
                         origen,
                         false,
                         QStringLiteral("PorDefault"),
                         true,
                         sql,
                         hayError,
                         QStringLiteral("NULL"),
                         QString(),
                         QString(),
                         QString(),
                         0,
                         false,
                         QStringLiteral("1"));
    ASSERT_FALSE(hayError);
    gDB().gCnn().BeginTrans();
    gDB().EjecutaConsultaSQL(sql);
    ASSERT_EQ(gDB().gCnn().errors().Count(), 0) << sql.toStdString();
    gDB().gCnn().CommitTrans();

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
}

} // namespace
