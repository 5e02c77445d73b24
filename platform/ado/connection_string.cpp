#include "platform/ado/connection_string.h"

namespace ado {

ConnectionString::ConnectionString(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = text.indexOf('=', i);
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed().toUpper();
        qsizetype j = eq + 1;
        while (j < n && text[j] == ' ')
            ++j;
        QString value;
        if (j < n && (text[j] == '{' || text[j] == '"' || text[j] == '\'')) {
            const QChar close = text[j] == '{' ? QChar('}') : text[j];
            ++j;
            while (j < n) {
                if (text[j] == close) {
                    if (j + 1 < n && text[j + 1] == close) {
                        value += close;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            const qsizetype semi = text.indexOf(';', j);
            i = semi < 0 ? n : semi + 1;
        } else {
            const qsizetype semi = text.indexOf(';', j);
            value = text.mid(j, (semi < 0 ? n : semi) - j).trimmed();
            i = semi < 0 ? n : semi + 1;
        }
        if (!key.isEmpty() && !m_values.contains(key))
            m_values.insert(key, value);
    }
}

QString ConnectionString::quoteOdbc(const QString &value)
{
    static const QString special = QStringLiteral(";={}[](),?*!@ ");
    bool plain = !value.isEmpty();
    for (QChar c : value)
        if (special.contains(c) || c.unicode() < 32)
            plain = false;
    if (plain)
        return value;
    QString q = value;
    q.replace('}', QLatin1String("}}"));
    return '{' + q + '}';
}

} // namespace ado
