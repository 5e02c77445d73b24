#pragma once

// Helpers shared by the numbering files of this folder.

#include "platform/ado/ado.h"
#include "platform/runtime/variant.h"
#include "platform/runtime/vberror.h"

#include <QDate>
#include <QString>

#include <optional>

namespace numeracion {

// The letters a book has columns for.
inline constexpr const char *kLetras = "A,B,C,E,R,X,M";

// "TC IN ('CMV',' CMV')": the type as written trimmed and right-aligned to
// 4, the two forms vouchers and journal rows are stored in.
QString CondicionTipo(const QString &tipo);

// Whether the trimmed type equals the code, ignoring case.
bool EsTipo(const QString &tipo, const char *codigo);

// A field's value as it is, Null and all (database/campos.h reads Null as "").
const Variant &CampoTalCual(ado::Recordset &rs, const QString &nombre);
// The leading number of a value: numbers as they are, texts by their
// leading number (" 121" and "00000121" give 121); Null and Empty give 0.
double Numero(const Variant &valor);
// The same, or none for Null (a comparison with Null never holds).
std::optional<double> NumeroSiHay(const Variant &valor);

// The day an expiry value names; none when it is blank. A text that is no
// date is error 13.
std::optional<QDate> DiaDeVencimiento(const Variant &valor);

// Whether the letter is one a book has columns for: trimmed, any case, an
// empty letter counting as "X". On success it comes back trimmed and
// upper-case, so that it can name the book's columns.
bool NormalizaLetra(QString &letra);
// The message of a letter that is not one of them.
QString MensajeLetraInvalida();

// The highest number a voucher id holds (8 digits).
inline constexpr double kUltimoNumero = 99999999;

// The number after `tomado`, as 8 digits, while it stays within `limite`
// (the book's highest number, never above kUltimoNumero); past it error 6
// says that the type has no numbers left.
QString NumeroSiguiente(double tomado, const QString &tipo, const QString &limite);

// A number asked of the books, and their answer.
struct PedidoDeNumero
{
    QString tipo = {};
    QString sucursal = {}; // asked for, and the one that gave the number
    QString numero = {};   // empty when none can be given (the operator has been told why)
    QString letra = {};    // asked for, and the one that gave the number
    bool modifica = false; // whether the operator may change the number
    bool verifica = true;  // moves the number past the ones taken already
    QString unegocio = {};
    // The highest number the voucher may take: its book's, or 99999999
    // without a book or for a type that shares its numbering.
    QString limite = {};
};

// Obtener_Nro_Comprobante that also hands back the highest number the
// voucher may take.
void ObtieneNumero(PedidoDeNumero &pedido);

// The lock hint of the book read: a number drawn inside a transaction holds
// its book until the transaction ends (each dialect renders it).
inline constexpr const char *kBloqueoTalonario = " WITH (UPDLOCK, ROWLOCK)";

} // namespace numeracion
