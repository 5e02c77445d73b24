#pragma once

#include <QByteArray>
#include <QString>

// One record of the query-mask file consultas.vgr: fixed-width single-byte
// fields, blank-filled, closed by CR LF; 1202 bytes, records numbered from 1.
struct TipoMascaraConsulta
{
    static constexpr int LargoNombre = 100;
    static constexpr int LargoVista = 100;
    static constexpr int LargoCampos = 500;
    static constexpr int LargoFiltro = 500;
    static constexpr int LargoFin = 2;
    static constexpr int LargoRegistro = LargoNombre + LargoVista + LargoCampos + LargoFiltro + LargoFin;

    QString NombreMascara;
    QString VistaMascara;
    QString CamposMascara;
    QString FiltroMascara;
    QString FinMascara = QStringLiteral("\r\n");

    // The record's 1202 bytes: each text in the single-byte code page, cut or
    // blank-filled to its width.
    QByteArray aBytes() const;
    // The fields of a record as stored (untrimmed); a short record reads as blanks.
    static TipoMascaraConsulta deBytes(const QByteArray &registro);
};
