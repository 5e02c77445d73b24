#include "database/db_dll.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "platform/ado/sql_text.h"
#include "platform/component/cls_componente.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

#include <functional>

namespace {

// The kind of a searched value, from the run time's variant type codes.
enum class Clase { Texto, Fecha, Numero, Crudo };

Clase ClaseDe(const Variant &Tipodato)
{
    double codigo = 0;
    if (Tipodato.isNumber()) {
        codigo = Tipodato.toDouble();
    } else if (Tipodato.isString()) {
        bool ok = false;
        codigo = Tipodato.rawString().trimmed().toDouble(&ok);
        if (!ok)
            return Clase::Crudo;
    } else {
        return Clase::Crudo;
    }
    if (codigo == 8)
        return Clase::Texto;
    if (codigo == 7)
        return Clase::Fecha;
    if (codigo == 3 || codigo == 5 || codigo == 4)
        return Clase::Numero;
    return Clase::Crudo;
}

// The leading number of a key, as SQL text.
QString NumeroDeClave(const QString &valor)
{
    return NumeroSQL(vb::Val(valor));
}

// The three lookups answer failures with their own box, and write no log line.
Steps PasosConAviso()
{
    return Steps([](const ErrObject &err) {
        return ui::MsgBox(err.Description, ui::vbAbortRetryIgnore + ui::vbCritical, QStringLiteral("Aviso al Operador"));
    });
}

// The statement of a lookup by one field: the select up to FROM (each lookup
// has its own), the table, the comparison.
QString SentenciaDeBusqueda(const QString &select, const QString &Tabla, const QString &comparacion)
{
    return select + Tabla + QStringLiteral(" WHERE ") + comparacion;
}

// The comparison of the non-text kinds (DatosTabla writes its dates its own way).
QString ComparacionNoTexto(Clase clase, const QString &Campo, const QString &ValorBuscado)
{
    switch (clase) {
    case Clase::Fecha:
        return Campo + QStringLiteral(" = ") + vb::Trim(ValorBuscado) + QLatin1Char(' ');
    case Clase::Numero:
        return Campo + QStringLiteral(" = ") + NumeroDeClave(ValorBuscado);
    default:
        return Campo + QStringLiteral(" = ") + ValorBuscado;
    }
}

// The condition form: the caller's condition, with WHERE unless it holds one.
QString ConCondicion(const QString &inicio, const QString &Tabla, const QString &Condicion)
{
    const bool tieneWhere = vb::ContainsText(ado::codeOutsideQuotes(Condicion), QStringLiteral(" WHERE "));
    return inicio + Tabla + (tieneWhere ? QStringLiteral(" ") : QStringLiteral(" WHERE ")) + Condicion;
}

// Opens the lookup on rs. A recordset the caller left open is closed and
// opened again with its own cursor and lock, unless soloLectura; any other
// opens forward-only and read-only.
void AbreBusqueda(ado::Recordset &rs, const QString &sentencia, ado::Connection &cnn, bool soloLectura)
{
    int cursor = ado::adOpenForwardOnly;
    int bloqueo = ado::adLockReadOnly;
    if (rs.State() != ado::adStateClosed) {
        if (!soloLectura) {
            cursor = rs.CursorType();
            bloqueo = rs.LockType();
        }
        rs.Close();
    }
    rs.Open(sentencia, cnn, cursor, bloqueo, -1);
}

// What ExisteEnTabla and ExisteEnTablaST share: the statement built (and put
// in the engine's words when traduce), opened, and whether it gave a row. The
// caller's recordset stays open on the result; the own one is closed.
bool ExisteFila(
    DB_Dll &db, ado::Recordset *Lrcs, const std::function<QString()> &armaSentencia, bool traduce, bool soloLectura)
{
    bool existe = false;
    QString sentencia;
    ado::Recordset propio;
    ado::Recordset &rs = Lrcs ? *Lrcs : propio;
    Steps steps = PasosConAviso();
    steps([&] { sentencia = armaSentencia(); });
    if (traduce)
        steps([&] { sentencia = db.ORACLE_Dicc(db.SS_TSinonimos(sentencia)); });
    steps([&] { AbreBusqueda(rs, sentencia, db.gCnn(), soloLectura); });
    steps([&] { existe = !rs.Bof(); });
    if (!Lrcs && rs.State() != ado::adStateClosed)
        rs.Close();
    return existe;
}

// The numeric reading of an aggregate: a number as it is (whatever the
// decimal mark of the regional settings), a text by its leading number.
double LecturaNumerica(const Variant &valor)
{
    switch (valor.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return 0;
    case Variant::Type::String:
        return vb::Val(valor.rawString());
    default:
        if (valor.isNumber())
            return valor.toDouble();
        return vb::Val(valor.toString());
    }
}

Variant Agregado(DB_Dll &db, const QString &sentencia, const QString &columna)
{
    Variant resultado;
    ado::Recordset rs;
    rs.Open(sentencia, db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
    if (!rs.Bof()) {
        rs.MoveFirst();
        resultado = Variant(LecturaNumerica(rs.Fields(columna).Value()));
    }
    rs.Close();
    return resultado;
}

// The condition of the extreme values: none when blank, never a dangling WHERE.
QString CondicionAgregado(const Variant &Condicion)
{
    if (Condicion.isEmpty() || Condicion.isNull())
        return QString();
    const QString condicion = vb::Trim(Condicion.toString());
    return condicion.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condicion;
}

} // namespace

Variant DB_Dll::DatosTabla(const QString &Tabla,
                           const QString &ValorBuscado,
                           const QString &CampoDevuelto,
                           const QString &Campo,
                           const Variant &Tipodato,
                           const QString &Condicion,
                           bool UsaTrim)
{
    Variant resultado;
    QString sentencia;
    ado::Recordset rs;
    Steps steps = PasosConAviso();
    steps([&] {
        QString comparacion;
        const Clase clase = ClaseDe(Tipodato);
        switch (clase) {
        case Clase::Texto:
            comparacion = UsaTrim ? QStringLiteral("LTRIM(RTRIM(") + Campo + QStringLiteral(")) =")
                                  : Campo + QStringLiteral(" =");
            comparacion += TextoSQL(vb::Trim(ValorBuscado)) + QLatin1Char(' ');
            break;
        case Clase::Fecha:
            comparacion = Campo + QStringLiteral(" = #") + vb::Trim(ValorBuscado) + QStringLiteral("# ");
            break;
        case Clase::Numero:
        case Clase::Crudo:
            comparacion = ComparacionNoTexto(clase, Campo, ValorBuscado);
            break;
        }
        sentencia = SentenciaDeBusqueda(QStringLiteral("SELECT TOP 1 * FROM "), Tabla, comparacion);
        if (!vb::Trim(Condicion).isEmpty())
            sentencia += QStringLiteral(" AND ");
        sentencia += Condicion;
    });
    steps([&] { AbrirRecordset(sentencia, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true); });
    steps([&] {
        if (rs.Bof())
            resultado = Variant(QString());
        else
            resultado = Variant(CampoSinRecortar(rs, CampoDevuelto));
    });
    steps([&] { CierraRecordset(&rs); });
    return resultado;
}

bool DB_Dll::ExisteEnTabla(const QString &Tabla,
                           const QString &ValorBuscado,
                           const QString &Campo,
                           ado::Recordset *Lrcs,
                           const Variant &Tipodato,
                           const QString &Condicion)
{
    const auto sentencia = [&] {
        if (!Condicion.isEmpty())
            return ConCondicion(QStringLiteral("SELECT TOP 1 * FROM "), Tabla, Condicion);
        const Clase clase = ClaseDe(Tipodato);
        const bool texto = clase == Clase::Texto;
        const QString comparacion = texto ? QStringLiteral("LTRIM(RTRIM(") + Campo + QStringLiteral(")) =")
                                                + TextoSQL(vb::Trim(ValorBuscado))
                                          : ComparacionNoTexto(clase, Campo, ValorBuscado);
        // The text form keeps its two spaces before "*".
        return SentenciaDeBusqueda(texto ? QStringLiteral("SELECT TOP 1  * FROM ")
                                         : QStringLiteral("SELECT TOP 1 * FROM "),
                                   Tabla,
                                   comparacion);
    };
    return ExisteFila(*this, Lrcs, sentencia, true, false);
}

bool DB_Dll::ExisteEnTablaST(const QString &Tabla,
                             const QString &ValorBuscado,
                             const QString &Campo,
                             ado::Recordset *Lrcs,
                             const Variant &Tipodato,
                             const QString &Condicion,
                             bool SoloLectura)
{
    const auto sentencia = [&] {
        if (!Condicion.isEmpty())
            return ConCondicion(QStringLiteral("SELECT * FROM "), Tabla, Condicion);
        const Clase clase = ClaseDe(Tipodato);
        const QString comparacion = clase == Clase::Texto ? Campo + QStringLiteral(" =") + TextoSQL(ValorBuscado)
                                                          : ComparacionNoTexto(clase, Campo, ValorBuscado);
        return SentenciaDeBusqueda(QStringLiteral("SELECT * FROM "), Tabla, comparacion);
    };
    return ExisteFila(*this, Lrcs, sentencia, false, SoloLectura);
}

Variant DB_Dll::BuscaMaximo(const QString &QueTabla, const QString &QueCampo, const Variant &, const Variant &Condicion)
{
    return Agregado(*this,
                    QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla
                        + CondicionAgregado(Condicion),
                    QStringLiteral("MAYOR"));
}

Variant DB_Dll::BuscaMinimo(const QString &QueTabla, const QString &QueCampo, const Variant &, const Variant &Condicion)
{
    return Agregado(*this,
                    QStringLiteral("SELECT MIN(") + QueCampo + QStringLiteral(") AS MENOR FROM ") + QueTabla
                        + CondicionAgregado(Condicion),
                    QStringLiteral("MENOR"));
}

Variant DB_Dll::BuscaUltimoCodigo(const QString &QueTabla,
                                  const QString &QueCampo,
                                  const Variant &,
                                  const QString &Condicion)
{
    QString sentencia = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (!vb::Trim(Condicion).isEmpty())
        sentencia += QStringLiteral(" WHERE ") + Condicion;
    return Agregado(*this, sentencia, QStringLiteral("MAYOR"));
}
