#include "lots/lotes_grilla.h"

#include "database/armado_sql.h"
#include "lots/lista_pipe.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/variant.h"
#include "platform/ui/flex_grid.h"

#include <algorithm>

namespace LotesGrilla {

namespace {

constexpr int kStock = 2;
constexpr int kTomado = 3;

// A cell's text as an item: trimmed, without the separators of the lists.
QString Item(const QString &celda)
{
    QString t = vb::Trim(celda);
    t.remove(QLatin1Char('|'));
    t.remove(ListaPipe::SeparadorLoteSerie());
    return vb::Trim(t);
}

} // namespace

QString TextoCantidad(double cantidad)
{
    return NumeroSQL(cantidad);
}

QString TextoCantidad(Currency cantidad)
{
    return NumeroSQL(Variant(cantidad));
}

Currency ValorInicial(const QString &texto)
{
    return Currency::fromDouble(vb::Val(texto));
}

Currency Cantidad(const QString &texto)
{
    return gComponente().ConvierteACurrency(Variant(texto));
}

Currency SumaColumna(const ui::FlexGrid &grilla, int col, int MenosCual)
{
    Currency suma;
    for (int fila = 1; fila < grilla.Rows(); ++fila)
        if (fila != MenosCual)
            suma += Cantidad(grilla.TextMatrix(fila, col));
    return suma;
}

QString ListaDeColumna(const ui::FlexGrid &grilla, int col)
{
    QString lista = QStringLiteral("|");
    bool conValor = false;
    for (int fila = 1; fila < grilla.Rows(); ++fila) {
        const QString item = Item(grilla.TextMatrix(fila, col));
        conValor = conValor || !item.isEmpty();
        lista += (item.isEmpty() ? ListaPipe::ItemEnBlanco() : item) + QLatin1Char('|');
    }
    return conValor ? lista : QString();
}

QString ClaveDeFila(const ui::FlexGrid &grilla, int fila)
{
    return Item(grilla.TextMatrix(fila, 0)) + ListaPipe::SeparadorLoteSerie() + Item(grilla.TextMatrix(fila, 1));
}

QString ListaDeClaves(const ui::FlexGrid &grilla)
{
    if (grilla.Rows() < 2)
        return {};
    QString lista = QStringLiteral("|");
    for (int fila = 1; fila < grilla.Rows(); ++fila)
        lista += ClaveDeFila(grilla, fila) + QLatin1Char('|');
    return lista;
}

void Distribuye(ui::FlexGrid &grilla, Currency cantidad)
{
    if (grilla.Rows() == 2) {
        grilla.setTextMatrix(1, kTomado, TextoCantidad(cantidad));
        return;
    }
    Currency resto = cantidad;
    for (int fila = 1; fila < grilla.Rows(); ++fila) {
        const Currency suma = resto + ValorInicial(grilla.TextMatrix(fila, kTomado));
        // A lot the voucher's other lines already emptied gives nothing, never a negative take.
        const Currency stock = std::max(ValorInicial(grilla.TextMatrix(fila, kStock)), Currency());
        if (suma <= stock) {
            grilla.setTextMatrix(fila, kTomado, TextoCantidad(suma));
            resto = Currency();
        } else {
            grilla.setTextMatrix(fila, kTomado, TextoCantidad(stock));
            resto = cantidad - SumaColumna(grilla, kTomado, -1);
        }
        if (resto == Currency())
            break;
    }
}

void CompletaCantidades(ui::FlexGrid &grilla, Currency cantidad)
{
    Currency resto = cantidad;
    for (int fila = 1; fila < grilla.Rows(); ++fila) {
        Currency v = Cantidad(grilla.TextMatrix(fila, kStock));
        if (v > resto)
            v = resto;
        if (v == Currency() && resto > Currency())
            v = resto;
        resto -= v;
        grilla.setTextMatrix(fila, kTomado, TextoCantidad(v));
        if (!(resto > Currency()))
            break;
    }
}

} // namespace LotesGrilla
