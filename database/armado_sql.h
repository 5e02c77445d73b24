#pragma once

#include "platform/runtime/currency.h"
#include "platform/runtime/variant.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <utility>
#include <vector>

// A column name and its finished SQL literal (gCamposValores), or a group key
// and its summed quantity as text (gTotalesAgrupados).
struct TipoCampoValor
{
    QString NombreCampo;
    QString ValorCampo;
};

// The columns of the INSERT being built, in statement order. The caller sizes
// and fills it for one statement and ArmaInsert empties it; an empty list is
// one that was never sized (or was emptied).
extern std::vector<TipoCampoValor> gCamposValores;
// The totals by group of the voucher entry model (searched by BuscaEnArregloGlobal).
extern std::vector<TipoCampoValor> gTotalesAgrupados;

// Columna Operador Comilla valor Comilla for each value, joined by Conector;
// with IncluyeNulos True (Null counts as False) also "Conector Columna is null ".
// The first value always takes part; with SaltaVacios the later ones that are
// blank once trimmed are left out. With Comilla "'" a quote inside a value is
// doubled. An empty list, or any failure, gives "1=1".
QString ArmaCondicion(const QString &Columna,
                      const QString &Operador,
                      const QStringList &Valores,
                      const QString &Conector,
                      const QString &Comilla,
                      const Variant &IncluyeNulos,
                      bool SaltaVacios);

// Adds a column and its literal to gCamposValores. The name points at its
// literal, which lives as long as the program: a row of thirty-odd columns
// copies no name.
template<std::size_t N>
void AgregaCampo(const char16_t (&columna)[N], QString valor)
{
    gCamposValores.push_back({QString::fromRawData(reinterpret_cast<const QChar *>(columna), N - 1), std::move(valor)});
}

// Appends "(" column list ") VALUES (" value list ")" to the caller's INSERT
// prefix; with Vaciar the list is left empty. An empty list is the run time's
// subscript error (9).
void ArmaInsert(QString &Sentencia, std::vector<TipoCampoValor> &Campos, bool Vaciar);

// A number as SQL text: "." as decimal point whatever the regional settings,
// no grouping, no trailing zeros.
QString NumeroSQL(double value);
QString NumeroSQL(const Variant &value);
// An amount exactly: its four decimals, trailing zeros dropped.
QString NumeroSQL(Currency value);

// A text between single quotes with each quote inside it doubled, so that the
// value is stored and compared as typed and can never end the literal early.
QString TextoSQL(const QString &value);
// TextoSQL written at the end of `destino`: a statement of many literals
// grows one text instead of joining a temporary for each.
void AgregaTextoSQL(QString &destino, QStringView value);
// TextoSQL of a text, or NULL when it is blank.
QString TextoSQLoNull(const QString &value);
// What a literal of TextoSQL holds: the quotes that enclose it taken off and
// each doubled quote made one. A text not between quotes is given back as is.
QString TextoDeLiteral(const QString &literal);

// A code at its fixed width, as codes are stored: trimmed and right-aligned in
// blanks to `ancho`. A blank code gives ""; one longer than `ancho` once
// trimmed is given back trimmed, never cut (the column refuses it).
QString CodigoAncho(const QString &codigo, int ancho);
// A voucher type at its width of 4 (CodigoAncho).
QString Tipo4(const QString &tipo);
// The same as an SQL literal (TextoSQL of CodigoAncho).
QString CodigoSQL(const QString &codigo, int ancho);
// CodigoSQL of the code, or NULL when it is blank.
QString CodigoSQLoNull(const QString &codigo, int ancho);
// CodigoSQL of the code cleaned first (NormalizaCaracteres): a pipe-list
// element's filler and separators never reach a statement.
QString CodigoNormalizadoSQL(const QString &codigo, int ancho);
