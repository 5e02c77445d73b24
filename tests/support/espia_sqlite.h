#pragma once

// A provider that records every text the connection sends before the one it
// wraps runs it, so that tests can read the statements as built (the company
// fixture's `espia`) and the loading benchmark can replay them. It needs no
// test framework: the benchmark includes it too.

#include "platform/ado/provider.h"

#include <QStringList>

#include <memory>

class SpyProvider : public ado::Provider
{
public:
    SpyProvider(std::unique_ptr<ado::Provider> inner, QStringList &log)
        : m_inner(std::move(inner))
        , m_log(log)
    {}

    QString name() const override { return m_inner->name(); }
    ado::Platform platform() const override { return m_inner->platform(); }
    void close() override { m_inner->close(); }
    bool execute(const QString &sql, ado::Errors &errors, std::int32_t *recordsAffected, ado::RowSet *rows) override
    {
        m_log << sql;
        return m_inner->execute(sql, errors, recordsAffected, rows);
    }
    bool beginTrans(ado::Errors &errors) override { return m_inner->beginTrans(errors); }
    bool commitTrans(ado::Errors &errors) override { return m_inner->commitTrans(errors); }
    bool rollbackTrans(ado::Errors &errors) override { return m_inner->rollbackTrans(errors); }
    int transactionLevel() const override { return m_inner->transactionLevel(); }
    bool updateRow(const QString &table,
                   const std::vector<ado::Column> &columns,
                   const std::vector<Variant> &original,
                   const std::vector<Variant> &current,
                   const std::vector<bool> &changed,
                   ado::Errors &errors,
                   std::int32_t &matched) override
    {
        return m_inner->updateRow(table, columns, original, current, changed, errors, matched);
    }
    bool openSchema(int schema, const std::vector<QString> &restrictions, ado::RowSet &out, ado::Errors &errors) override
    {
        return m_inner->openSchema(schema, restrictions, out, errors);
    }

private:
    std::unique_ptr<ado::Provider> m_inner;
    QStringList &m_log;
};
