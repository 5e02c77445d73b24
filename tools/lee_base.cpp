#include "tools/lee_base.h"

#include "platform/ado/ado.h"
#include "platform/ado/sql_text.h"
#include "platform/runtime/vberror.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

QString Valor(const Variant &v)
{
    switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return {};
    case Variant::Type::Date:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return v.toString();
    }
}

} // namespace

int LeeBase(const QString &ruta, const QString &consulta, QTextStream &salida, QString &error)
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\b"), QRegularExpression::CaseInsensitiveOption);
    if (!select.match(ado::codeOutsideQuotes(consulta)).hasMatch()) {
        error = QStringLiteral("only a SELECT runs: the tool reads the database, it never writes");
        return 1;
    }
    try {
        ado::Connection cn;
        cn.setCursorLocation(ado::adUseClient);
        cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;")
                    .arg(QFileInfo(ruta).absoluteFilePath()));
        ado::Recordset rs;
        rs.Open(consulta, cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        if (rs.State() == ado::adStateClosed)
            return 0;
        QStringList linea;
        for (int i = 0; i < rs.FieldCount(); ++i)
            linea << rs.Fields(i).Name();
        salida << linea.join(QLatin1Char('|')) << '\n';
        for (; !rs.Eof(); rs.MoveNext()) {
            linea.clear();
            for (int i = 0; i < rs.FieldCount(); ++i)
                linea << Valor(rs.Fields(i).Value());
            salida << linea.join(QLatin1Char('|')) << '\n';
        }
        return 0;
    } catch (const VbException &e) {
        error = e.err().Description;
        return 1;
    }
}
