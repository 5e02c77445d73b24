#pragma once

// The lot and serial dialog on a company database made from the schema, with
// the stock rows a test gives, driven as an operator drives it. Header only,
// for the tests of lots/.

#include "lots/frm_carga_lotes_y_series.h"

#include "database/armado_sql.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/text_box.h"
#include "tests/support/esquema.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

using DialogoLotes = ui::DefaultInstance<FrmCargaLotesySeries>;

// CHR(255), between the lot and the serial of a stock key.
inline const QString Y = QString(QChar(0xFF));

// A stock key: lot CHR(255) serial.
inline QString Clave(const QString &lote, const QString &serie = {})
{
    return lote + Y + serie;
}

class ConStock : public EmpresaEsquema
{
protected:
    void TearDown() override
    {
        DialogoLotes::Unload();
        ui::DestroyUnloaded();
        EmpresaEsquema::TearDown();
    }
    // One row of STK_SERIES_Y_LOTES; codes stored at their fixed widths.
    void Stock(const QString &articulo,
               const QString &deposito,
               const QString &lote,
               const QString &serie,
               const QString &cantidad)
    {
        const auto texto = [](const QString &t) { return t.isNull() ? QStringLiteral("NULL") : TextoSQL(t); };
        Ejecuta(QStringLiteral("INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IdDeposito, NroLote, NroSerie, CANTIDAD) "
                               "VALUES (%1, %2, %3, %4, %5)")
                    .arg(CodigoSQL(articulo, 25), CodigoSQL(deposito, 4), texto(lote), texto(serie), cantidad));
    }
    void Configura(const QString &clave, const QString &valor)
    {
        Ejecuta(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('%1', '%2')").arg(clave, valor));
    }
};

// The dialog as the operator has it on screen.
struct EnPantalla
{
    FrmCargaLotesySeries &f;

    explicit EnPantalla(QDialog &dialogo)
        : f(static_cast<FrmCargaLotesySeries &>(dialogo))
    {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        f.VistaMSFlexGrid1->setFocus();
    }
    ui::FlexGrid &grilla() const { return f.MSFlexGrid1; }
    void en(int fila, int col) const { f.MSFlexGrid1.MoveTo(fila, col); }
    // The first key on the grid opens the box, the rest goes into it.
    void escribe(const QString &texto) const
    {
        QTest::keyClick(f.VistaMSFlexGrid1, texto.at(0).toLatin1());
        QTest::keyClicks(f.TxtEdit, texto.mid(1));
    }
    void tecla(Qt::Key key) const { QTest::keyClick(QApplication::focusWidget(), key); }
    // Types a value into a cell and ends the edit with the key.
    void pone(int fila, int col, const QString &texto, Qt::Key fin = Qt::Key_Return) const
    {
        en(fila, col);
        escribe(texto);
        tecla(fin);
    }
    void clic(int fila, int col) const
    {
        const QRect r = f.VistaMSFlexGrid1->visualRect(f.MSFlexGrid1.index(fila - 1, col));
        QTest::mouseClick(f.VistaMSFlexGrid1->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    QString celda(int fila, int col) const { return f.MSFlexGrid1.TextMatrix(fila, col); }
    std::pair<int, int> cursor() const { return {f.MSFlexGrid1.Row(), f.MSFlexGrid1.Col()}; }
    QStringList columna(int col) const
    {
        QStringList out;
        for (int fila = 1; fila < f.MSFlexGrid1.Rows(); ++fila)
            out << celda(fila, col);
        return out;
    }
    // The picture of the dialog (ANULACION_CAPTURAS names the folder, else the temporary folder).
    void foto(const QString &nombre) const
    {
        const QString carpeta = qEnvironmentVariable("ANULACION_CAPTURAS", QDir::tempPath());
        EXPECT_TRUE(f.grab().save(QDir(carpeta).filePath(nombre + QStringLiteral(".png"))));
    }
};
