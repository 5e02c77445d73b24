#pragma once

#include "platform/runtime/currency.h"
#include "platform/runtime/variant.h"
#include "platform/runtime/vberror.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QWidget;

// General services of the suite's component library: number reading, code
// formatting, text helpers, form preparation, the error dialog and the
// encoding of stored credentials. Stateless; used through gComponente() or a
// private instance.
class ClsComponente
{
public:
    // The number a text holds; "," is read as a decimal mark as well as ".".
    // A text without a number gives 0. Numbers pass through; Null and Empty give 0.
    Currency ConvierteACurrency(const Variant &value);
    std::int32_t ConvierteALong(const Variant &value);
    double ConvierteADouble(const Variant &value);

    // The value itself, never Null: Null and Empty come back as the empty text.
    Variant ValorNoNulo(const Variant &value);

    // The code (without its surrounding blanks) right-aligned in Ancho
    // characters; a longer code comes back unchanged, an empty code as "".
    QString FormateaCodigo(const QString &code, int Ancho = 4);
    // The plain code: surrounding blanks removed.
    QString QuitaFormatoCodigo(const QString &code);

    // The text without every occurrence of each given character (or text).
    QString QuitaCaracteres(const QString &text, const QString &c1, const QString &c2 = {}, const QString &c3 = {});
    // Every occurrence replaced: Reemplaza matches case exactly, ReemplazaTexto
    // ignores case. Both scan left to right without overlap.
    QString Reemplaza(const QString &text, const QString &find, const QString &replacement);
    QString ReemplazaTexto(const QString &text, const QString &find, const QString &replacement);

    // Number of words (runs of characters other than blanks, tabs and line breaks).
    int CuentaPalabras(const QString &text);

    // The path ending in the folder separator ("/" or "\" already there is kept).
    QString AgregaBarra(const QString &path);

    // Whether the value is one of the list (trimmed, without regard to case).
    bool EstaEnLista(const QString &value, const QStringList &list);

    // The value's text: Null and Empty give "", numbers use "." as decimal point.
    QString ValorATexto(const Variant &value);

    // Prepares a window from its load handler: the program's title and icon,
    // centred on the screen. Option 0/False is the plain preparation.
    void PreparaFormulario(QWidget *window, const Variant &option = 0);

    // The error dialog: shows number, description and routine with Abort,
    // Retry and Ignore and the critical icon; returns the answer (4 retry,
    // 5 go on, any other leave).
    int MuestraError(const ErrObject &err, const Variant &omitted = {}, const QString &routine = {});
    // The text the error dialog shows (for callers that log it).
    QString TextoError(const ErrObject &err, const QString &routine) const;

    // The stored form of a credential and back: DecodificaClave(CodificaClave(t)) == t
    // for every text. The stored form holds only letters and digits, so it is safe
    // in an INI file and in the suite's "|" and ";" lists.
    QString CodificaClave(const QString &text);
    QString DecodificaClave(const QString &stored);
};
