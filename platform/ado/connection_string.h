#pragma once

#include <QMap>
#include <QString>

namespace ado {

// "Key=Value;" pairs of a connection string. Keys are trimmed and compared
// without regard to case ("Database =" is "DATABASE"); a value may be
// quoted {...} (with "}}" for "}") or "..." so that it can hold ";".
class ConnectionString
{
public:
    explicit ConnectionString(const QString &text);
    QString value(const QString &key) const { return m_values.value(key.trimmed().toUpper()); }
    bool has(const QString &key) const { return m_values.contains(key.trimmed().toUpper()); }
    const QMap<QString, QString> &values() const { return m_values; }

    // An ODBC attribute value: plain when safe, else {...} with "}" doubled,
    // so that ";", "=", "{" or "}" in a password cannot add keywords.
    static QString quoteOdbc(const QString &value);

private:
    QMap<QString, QString> m_values;
};

} // namespace ado
