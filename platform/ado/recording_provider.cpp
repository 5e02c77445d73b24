#include "platform/ado/recording_provider.h"

namespace ado {

RecordingProvider::RecordingProvider(Platform platform, QString name)
    : m_platform(platform)
    , m_name(std::move(name))
{}

void RecordingProvider::fail(const QString &match, Error error, int times)
{
    if (error.Source.isEmpty())
        error.Source = m_name;
    m_failures.push_back({match, std::move(error), times});
}

void RecordingProvider::affect(const QString &match, std::int32_t rows)
{
    m_affected.push_back({match, rows});
}

void RecordingProvider::answer(const QString &match, RowSet rows)
{
    m_answers.push_back({match, std::move(rows)});
}

bool RecordingProvider::failed(const QString &text, Errors &errors)
{
    for (Failure &f : m_failures) {
        if (f.times == 0 || !text.contains(f.match, Qt::CaseInsensitive))
            continue;
        if (f.times > 0)
            --f.times;
        errors.Add(f.error);
        return true;
    }
    return false;
}

bool RecordingProvider::execute(const QString &sql, Errors &errors, std::int32_t *recordsAffected, RowSet *rows)
{
    m_calls << (rows ? QStringLiteral("Query ") : QStringLiteral("Execute ")) + sql;
    if (recordsAffected)
        *recordsAffected = 0;
    if (failed(sql, errors))
        return false;
    if (recordsAffected)
        for (const auto &[match, n] : m_affected)
            if (sql.contains(match, Qt::CaseInsensitive)) {
                *recordsAffected = n;
                break;
            }
    if (rows)
        for (const auto &[match, set] : m_answers)
            if (sql.contains(match, Qt::CaseInsensitive)) {
                *rows = set;
                break;
            }
    return true;
}

bool RecordingProvider::beginTrans(Errors &errors)
{
    m_calls << QStringLiteral("BeginTrans");
    if (failed(QStringLiteral("BeginTrans"), errors))
        return false;
    ++m_level;
    return true;
}

bool RecordingProvider::commitTrans(Errors &errors)
{
    m_calls << QStringLiteral("CommitTrans");
    if (failed(QStringLiteral("CommitTrans"), errors))
        return false;
    if (m_level > 0)
        --m_level;
    return true;
}

bool RecordingProvider::rollbackTrans(Errors &errors)
{
    m_calls << QStringLiteral("RollbackTrans");
    if (failed(QStringLiteral("RollbackTrans"), errors))
        return false;
    m_level = 0;
    return true;
}

bool RecordingProvider::updateRow(const QString &table,
                                  const std::vector<Column> &,
                                  const std::vector<Variant> &,
                                  const std::vector<Variant> &,
                                  const std::vector<bool> &,
                                  Errors &errors,
                                  std::int32_t &matched)
{
    m_calls << QStringLiteral("Update ") + table;
    matched = 0;
    if (failed(QStringLiteral("Update ") + table, errors))
        return false;
    matched = m_conflict ? 0 : 1;
    return true;
}

bool RecordingProvider::openSchema(int schema, const std::vector<QString> &, RowSet &out, Errors &errors)
{
    const QString call = QStringLiteral("OpenSchema %1").arg(schema);
    m_calls << call;
    if (failed(call, errors))
        return false;
    out = RowSet();
    for (const auto &[match, set] : m_answers)
        if (call.compare(match, Qt::CaseInsensitive) == 0) {
            out = set;
            break;
        }
    return true;
}

} // namespace ado
