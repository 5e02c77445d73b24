// The quantities in the configured units that the loader writes into the
// article grid's hidden columns.
#include "voucher/cls_cmn_cptes_p.h"

#include "platform/component/component.h"
#include "platform/runtime/regional.h"
#include "platform/ui/flex_grid.h"
#include "tests/support/empresa_stock.h"
#include "tests/support/error_provocado.h"
#include "voucher/columnas.h"

#include <vector>

namespace {

using namespace GrillaArticulos;

class FilaDeGrilla : public StockDb
{
protected:
    void SetUp() override
    {
        StockDb::SetUp();
        Articulo(QStringLiteral("TABLA"), QStringLiteral("UN"));
        Equivalencia(QStringLiteral("TABLA"), QStringLiteral("UN"), QStringLiteral("M3"), 0.0042);
        Equivalencia(QStringLiteral("TABLA"), QStringLiteral("BL"), QStringLiteral("UN"), 50);
        Equivalencia(QStringLiteral("TABLA"), QStringLiteral("UN"), QStringLiteral("KG"), 2.5);
        gUnidadM3 = QStringLiteral("M3");
        gUnidadBL = QStringLiteral("BL");
        gUnidadKG = QStringLiteral("KG");
        grilla.setRows(4);
        grilla.setCols(Columnas);
        grilla.setRow(2);
        QObject::connect(&grilla,
                         &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex &desde, const QModelIndex &) { escritas.push_back(desde.column()); });
    }
    void Linea(const QString &articulo, const QString &unidad, const QString &cantidad)
    {
        grilla.setTextMatrix(2, ColArticulo, articulo);
        grilla.setTextMatrix(2, ColUnidad, unidad);
        grilla.setTextMatrix(2, ColCantidad, cantidad);
        escritas.clear();
    }
    QString Celda(int col) const { return grilla.TextMatrix(2, col); }

    ui::FlexGrid grilla;
    std::vector<int> escritas; // the columns written, in order
};

TEST_F(FilaDeGrilla, WritesTheThreeUnitsInOrderForTheCurrentRow)
{
    Linea(QStringLiteral("TABLA"), QStringLiteral(" UN "), QStringLiteral("100"));
    cptes::CalculaEquivalenciasFila(grilla);
    EXPECT_EQ(escritas, (std::vector<int>{ColCantidadBL, ColCantidadM3, ColCantidadKG}));
    EXPECT_EQ(Celda(ColCantidadBL), QStringLiteral("2"));
    EXPECT_EQ(Celda(ColCantidadM3), QStringLiteral("0.42"));
    EXPECT_EQ(Celda(ColCantidadKG), QStringLiteral("250"));
    EXPECT_TRUE(grilla.TextMatrix(1, ColCantidadM3).isEmpty()); // other rows untouched
}

TEST_F(FilaDeGrilla, EdgesOfTheLine)
{
    struct Caso
    {
        const char *nombre;
        const char *unidad;
        const char *cantidad;
        const char *m3; // the unit configured for M3 ("" none)
        const char *bl, *m3Texto, *kg;
    };
    const Caso casos[] = {
        // brought to four decimals before it is converted
        {"four decimals", "UN", "2.123456", "M3", "0.04247", "0.0089187", "5.30875"},
        {"unit of the column", "M3", "3", "M3", "0", "3", "0"},
        {"blank target", "UN", "100", "", "2", "0", "250"},
        {"blank target, blank unit", "", "100", "", "2", "0", "250"}, // the article's own unit
        {"no quantity", "UN", "", "M3", "0", "0", "0"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        gUnidadM3 = QLatin1String(c.m3);
        Linea(QStringLiteral("TABLA"), QLatin1String(c.unidad), QLatin1String(c.cantidad));
        cptes::CalculaEquivalenciasFila(grilla);
        EXPECT_EQ(Celda(ColCantidadBL), QLatin1String(c.bl));
        EXPECT_EQ(Celda(ColCantidadM3), QLatin1String(c.m3Texto));
        EXPECT_EQ(Celda(ColCantidadKG), QLatin1String(c.kg));
    }
}

TEST_F(FilaDeGrilla, TheTextReadsBackAsTheSameNumberUnderEitherDecimalMark)
{
    for (const bool coma : {false, true}) {
        SCOPED_TRACE(coma ? "," : ".");
        vb::ScopedRegional regional(coma ? vb::CommaDecimalSettings() : vb::RegionalSettings());
        Linea(QStringLiteral("TABLA"), QStringLiteral("UN"), coma ? QStringLiteral("12,5") : QStringLiteral("12.5"));
        cptes::CalculaEquivalenciasFila(grilla);
        EXPECT_EQ(Celda(ColCantidadM3), coma ? QStringLiteral("0,0525") : QStringLiteral("0.0525"));
        for (const auto &[col, valor] :
             {std::pair{ColCantidadBL, 0.25}, {ColCantidadM3, 0.0525}, {ColCantidadKG, 31.25}})
            EXPECT_DOUBLE_EQ(gComponente().ConvierteACurrency(Variant(Celda(col))).toDouble(), valor);
    }
}

TEST_F(FilaDeGrilla, AFailedGridAccessReachesTheCaller)
{
    grilla.setCols(ColCantidad + 1); // no room for the hidden columns
    Linea(QStringLiteral("TABLA"), QStringLiteral("UN"), QStringLiteral("100"));
    EXPECT_EQ(RaisedNumber([&] { cptes::CalculaEquivalenciasFila(grilla); }), vberr::SubscriptOutOfRange);
    EXPECT_TRUE(escritas.empty());
    EXPECT_EQ(operador.requests().size(), 0u);
}

} // namespace
