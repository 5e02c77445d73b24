#pragma once

// A company made from the schema for the layout and loading tests: the
// statements the connection is sent are recorded (seed rows are not), and the
// company settings that the loader reads from module variables start blank.

#include "database/globales.h"
#include "platform/ado/ado.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/text_box.h"
#include "tests/support/esquema.h"
#include "tests/support/grilla.h"
#include "voucher/cls_cmn_cptes.h"

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <utility>
#include <vector>

class EmpresaCarga : public EmpresaEsquema
{
protected:
    void SetUp() override
    {
        EmpresaEsquema::SetUp();
        gCantidadDecimales = QStringLiteral("2");
    }
    void Configura(const QString &clave, const QString &valor)
    {
        Ejecuta(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('%1', '%2')").arg(clave, valor));
    }
    // A voucher type of a system (its first numbering book).
    void Tipo(const QString &codigo, const QString &sistema)
    {
        Ejecuta(QStringLiteral(
                    "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, Sistema) VALUES ('%1', 1, '   1', '%2')")
                    .arg(codigo.trimmed().rightJustified(4, QLatin1Char(' ')), sistema));
    }
};

// A remittance number the tests share.
inline const QString kRM = QStringLiteral("000100000010A");

using ValoresFila = std::vector<std::pair<const char *, QString>>;

// Vouchers written row by row, and the grids they load into, laid out by
// the class for the type.
class Comprobantes : public EmpresaCarga
{
protected:
    void SetUp() override
    {
        EmpresaCarga::SetUp();
        gUnidadBL.clear();
        gUnidadM3.clear();
        gUnidadKG.clear();
        for (const auto &[tipo, sistema] : std::vector<std::pair<const char *, const char *>>{{"RM", "VENTAS"},
                                                                                              {"NP", "VENTAS"},
                                                                                              {"FC", "VENTAS"},
                                                                                              {"OT", "VENTAS"},
                                                                                              {"FCC", "Compras"}})
            Tipo(QString::fromLatin1(tipo), QString::fromLatin1(sistema));
        Ejecuta(QStringLiteral(
            "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, codigobarra, USASERIE, USALOTE, IdTipo, "
            "Presentacion, Exento, Perecedero, UsaTalle, pesable) VALUES "
            "('                     ART1', 'TORNILLO', '  UN', '7790001', 1, 0, '   1', 'CAJA X 100', 0, 1, NULL, 1), "
            "('                     ART2', 'ARENA', '  M3', '7790002', 0, 1, '   2', NULL, 1, 0, 1, NULL)"));
        Ejecuta(QStringLiteral("INSERT INTO V_TA_TipoArticulo (IdTipo, DESCRIPCION) VALUES ('   1', 'FERRETERIA'), "
                               "('   2', 'ARIDOS')"));
        Configura(QStringLiteral("CONDIVA"), QStringLiteral("1"));
    }
    void TearDown() override
    {
        gUnidadKG.clear();
        EmpresaCarga::TearDown();
    }

    static QString Lista(const ValoresFila &columnas, bool nombres)
    {
        QStringList partes;
        for (const auto &[nombre, valor] : columnas)
            partes << (nombres ? QString::fromLatin1(nombre) : valor);
        return partes.join(QStringLiteral(", "));
    }
    void Inserta(const QString &tabla, const ValoresFila &columnas)
    {
        Ejecuta(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(tabla, Lista(columnas, true), Lista(columnas, false)));
    }
    static ValoresFila Clave(const char *tc, const QString &id, const char *cuenta = nullptr)
    {
        ValoresFila c{{"TC", QStringLiteral("'%1'").arg(QString::fromLatin1(tc).rightJustified(4))},
                      {"IDCOMPROBANTE",
                       QStringLiteral("'%1'").arg(QString(id).replace(QLatin1Char('\''), QStringLiteral("''")))}};
        if (cuenta)
            c.emplace_back("CUENTA",
                           QStringLiteral("'%1'").arg(
                               QString::fromUtf8(cuenta).replace(QLatin1Char('\''), QStringLiteral("''"))));
        return c;
    }
    static ValoresFila Mas(ValoresFila a, const ValoresFila &b)
    {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    // A header, its lines (ID in order) and its other concepts, sales or purchase side.
    void Cabecera(const ValoresFila &clave, const ValoresFila &resto = {}, bool compras = false)
    {
        Inserta(compras ? QStringLiteral("C_MV_CPTE") : QStringLiteral("V_MV_CPTE"),
                Mas(Mas(clave, {{"FECHA", "'2024-03-05'"}}), resto));
    }
    void Linea(const ValoresFila &clave,
               int id,
               const char *articulo,
               const QString &cantidad,
               const ValoresFila &resto = {},
               bool compras = false)
    {
        Inserta(compras ? QStringLiteral("C_MV_CPTEINSUMOS") : QStringLiteral("V_MV_CPTEINSUMOS"),
                Mas(Mas(clave,
                        {{"RENGLON", QString::number(id)},
                         {"ID", QString::number(id)},
                         {"IDARTICULO", QStringLiteral("'%1'").arg(QString::fromLatin1(articulo).rightJustified(25))},
                         {"CANTIDAD", cantidad}}),
                    resto));
    }

    void Disposicion(const QString &tc)
    {
        ClsCmnCptes cptes;
        cptes.InicializaGrids(&tareas, &articulos, &otros, &edit, &edit2, &edit3, form, tc, nullptr);
    }
    void Asigna(const QString &tc,
                const QString &id,
                const QString &complemento = QStringLiteral("0"),
                bool compras = false,
                const QString &proveedor = {},
                ado::Recordset *cabecera = nullptr)
    {
        enviadas.clear();
        ClsCmnCptes cptes;
        cptes.AsignarDatosComprobante(
            tc, id, complemento, &tareas, &articulos, &otros, Variant(true), cabecera, compras, proveedor, idReparto);
    }
    QString A(int fila, int col) const { return articulos.TextMatrix(fila, col); }
    QStringList Lineas(int col) const { return Columna(articulos, col); }

    QWidget form;
    ui::FlexGrid tareas, articulos, otros;
    ui::TextBox edit, edit2, edit3;
    std::int16_t idReparto = 7;
};
