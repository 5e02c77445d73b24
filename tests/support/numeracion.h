#pragma once

// The numbering tests' company (tests/support/empresa.h, as start-up leaves
// it, every text sent recorded) with numbering books given as rows and the
// module's book forgotten between tests.

#include "stock/ast.h"

#include "tests/support/empresa.h"

#include <vector>

// One numbering book: the columns of one letter, the rest as the schema
// leaves them. Values are SQL literals ("NULL" allowed).
struct Libro
{
    QString codigo = QStringLiteral("  PE");
    int talonario = 1;
    QString unegocio = QStringLiteral("   1");
    QString letras = QStringLiteral("X");
    QString letra = QStringLiteral("X");
    QString ultimo = QStringLiteral("0");
    QString desde = QStringLiteral("1");
    QString hasta = QStringLiteral("99999999");
    QString sucursal = QStringLiteral("1");
    QString vence = QStringLiteral("NULL");
    QString modifica = QStringLiteral("0");
    QString externo = QStringLiteral("0");
    QString sistema = QStringLiteral("'STOCK'");

    QString insert() const
    {
        const QString l = letra;
        return QStringLiteral(
                   "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, UNEGOCIO, Letras, Sistema, Modificanumeracion, "
                   "Externo, %1_ULTIMO_NRO, %1_NRO_DESDE, %1_NRO_HASTA, %1_SUC_DEFAULT, Vence%1) "
                   "VALUES ('%2', %3, '%4', '%5', %6, %7, %8, %9, %10, %11, %12, %13)")
            .arg(l, codigo, QString::number(talonario), unegocio, letras, sistema, modifica, externo, ultimo)
            .arg(desde, hasta, sucursal, vence);
    }
};

// The book with one column changed.
inline Libro Con(Libro l, QString Libro::*campo, const char *valor)
{
    l.*campo = QString::fromUtf8(valor);
    return l;
}

class BaseNumeracion : public Empresa
{
protected:
    explicit BaseNumeracion(bool demo = false)
        : Empresa({.espia = true, .demo = demo, .comoArranque = true})
    {}

    void SetUp() override
    {
        Empresa::SetUp();
        TalonarioActual = 0;
    }
    void TearDown() override
    {
        TalonarioActual = 0;
        Empresa::TearDown();
    }
    void Libros(const std::vector<Libro> &libros)
    {
        for (const Libro &l : libros)
            Ejecuta(l.insert());
    }
};
