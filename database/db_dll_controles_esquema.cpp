#include "database/db_dll.h"

#include "database/armado_sql.h"
#include "platform/runtime/strings.h"

namespace {

// The default as written: a number with "." whatever the regional settings.
QString TextoDeDefault(const Variant &valor)
{
    switch (valor.type()) {
    case Variant::Type::Null:
        return QStringLiteral("NULL");
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Double:
    case Variant::Type::Currency:
        return NumeroSQL(valor);
    default:
        return valor.toString();
    }
}

} // namespace

bool DB_Dll::ExisteTablaDB(const QString &Tabla)
{
    bool existe = false;
    ado::Recordset lista;
    Steps steps = Pasos(QStringLiteral("VerificaCampos"), *this);
    steps([&] { lista = gCnn().OpenSchema(ado::adSchemaTables); });
    steps([&] {
        const QString buscada = vb::Trim(Tabla);
        while (!existe && !lista.Eof()) {
            if (vb::EqualsText(vb::Trim(lista.Fields(QStringLiteral("TABLE_NAME")).Value().toString()), buscada))
                existe = true;
            else
                lista.MoveNext();
        }
    });
    return existe;
}

bool DB_Dll::ExisteCampoDB(const QString &Tabla, const QString &Campo)
{
    // Oracle's column lists are not read: every column counts as present.
    if (vb::ContainsText(gProveedor, QStringLiteral("ORACLE")))
        return true;
    bool existe = false;
    ado::Recordset lista;
    Steps steps = Pasos(QStringLiteral("VerificaCampos"), *this);
    steps([&] {
        lista = gCnn().OpenSchema(ado::adSchemaColumns, {Variant(gDBName), Variant(), Variant(Tabla), Variant()});
    });
    steps([&] {
        const QString tabla = vb::Trim(Tabla);
        const QString campo = vb::Trim(Campo);
        while (!existe && !lista.Eof()) {
            if (vb::EqualsText(vb::Trim(lista.Fields(QStringLiteral("TABLE_NAME")).Value().toString()), tabla)
                && vb::EqualsText(vb::Trim(lista.Fields(QStringLiteral("COLUMN_NAME")).Value().toString()), campo))
                existe = true;
            else
                lista.MoveNext();
        }
    });
    return existe;
}

void DB_Dll::AddField(
    const QString &Tabla, const QString &Campo, const QString &Tipo, bool PermiteNulos, const Variant &ValorDefault)
{
    QString sentencia;
    Steps steps = Pasos(QStringLiteral("errAddField"), *this);
    steps([&] {
        const QString nulos = PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null ");
        QString porDefecto;
        if (!ValorDefault.isEmpty())
            porDefecto = QStringLiteral(" CONSTRAINT DF_") + vb::Trim(Tabla) + QLatin1Char('_') + vb::Trim(Campo)
                         + QStringLiteral(" DEFAULT (") + TextoDeDefault(ValorDefault) + QLatin1Char(')');
        sentencia = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") + Campo + QLatin1Char(' ')
                    + Tipo + nulos + porDefecto;
    });
    steps([&] { EjecutaConsultaSQL(sentencia); });
}

bool DB_Dll::VerCampoDB(const QString &Tabla,
                        const QString &Campo,
                        bool Agregar,
                        const QString &Tipo,
                        bool PermiteNulos,
                        const Variant &ValorDefault)
{
    if (!ExisteTablaDB(Tabla))
        return true;
    if (!Agregar || ExisteCampoDB(Tabla, Campo))
        return true;
    AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
    // The statement runner reports its own failures and never raises: look again.
    return ExisteCampoDB(Tabla, Campo);
}

void DB_Dll::QConsulta(
    const QString &, const Variant &, const QString &, const QString &, const QString &, const Variant &)
{}

void DB_Dll::QGridConsulta(const QString &, const QString &, const QString &, const Variant &, const Variant &) {}

QString DB_Dll::stSTF(QString &rsName, std::int16_t rnPart)
{
    if (rsName.count(QLatin1Char('.')) >= 2)
        return StripOwner(rsName);
    const qsizetype punto = rsName.indexOf(QLatin1Char('.'));
    if (punto < 0)
        return rsName; // one part only: it is both the first and the last
    return rnPart != 0 ? rsName.mid(punto + 1) : rsName.left(punto);
}

QString DB_Dll::AddBrackets(QString &rObjName)
{
    if (rObjName.contains(QLatin1Char(' ')) && !rObjName.startsWith(QLatin1Char('[')))
        return QLatin1Char('[') + rObjName + QLatin1Char(']');
    return rObjName;
}

QString DB_Dll::StripConnect(QString &rsTblName)
{
    const qsizetype flecha = rsTblName.indexOf(QStringLiteral("->"));
    if (flecha < 0)
        return rsTblName;
    // The character in front of the arrow goes too; nothing is left before a leading arrow.
    return rsTblName.left(std::max<qsizetype>(0, flecha - 1));
}

QString DB_Dll::StripBrackets(QString &rsObjName)
{
    if (!rsObjName.startsWith(QLatin1Char('[')))
        return rsObjName;
    if (rsObjName.size() < 2)
        return QString();
    return rsObjName.mid(1, rsObjName.size() - 2);
}

QString DB_Dll::StripOwner(QString &rsTblName)
{
    const qsizetype punto = rsTblName.indexOf(QLatin1Char('.'));
    if (punto >= 0)
        rsTblName = rsTblName.mid(punto + 1);
    return rsTblName;
}

QString DB_Dll::StripFileName(QString &rsFileName)
{
    // Either separator ends a folder.
    const qsizetype barra = std::max(rsFileName.lastIndexOf(QLatin1Char('\\')),
                                     rsFileName.lastIndexOf(QLatin1Char('/')));
    if (barra < 0)
        return QString();
    return rsFileName.left(barra);
}
