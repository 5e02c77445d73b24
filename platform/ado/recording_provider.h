#pragma once

#include "platform/ado/provider.h"

#include <QStringList>

#include <vector>

namespace ado {

// A provider for tests: it runs nothing, records every call and answers
// from a script. Attach it to a Connection:
//
//     auto rec = std::make_unique<ado::RecordingProvider>(ado::Platform::Oracle);
//     ado::RecordingProvider &log = *rec;
//     log.fail("DELETE V_MV_STOCK", {ado::DB_E_NOTABLE, "table or view does not exist"});
//     log.affect("DELETE", 5);
//     cn.attachProvider(std::move(rec));
//     ... code under test ...
//     EXPECT_EQ(log.calls(), (QStringList{"BeginTrans", "Execute DELETE ...", "RollbackTrans"}));
//
// Calls are recorded as "Execute <text>" (Connection::Execute), "Query
// <text>" (Recordset::Open), "BeginTrans", "CommitTrans", "RollbackTrans",
// "Update <table>" and "OpenSchema <n>". A rule matches when its text
// occurs in the call's text (any case); for the transaction calls the text
// is the call's name. The first matching rule of each kind answers; a rule
// given a count of times stops matching once used up.
class RecordingProvider : public Provider
{
public:
    explicit RecordingProvider(Platform platform = Platform::SqlServer, QString name = QStringLiteral("Recording"));

    // A failing call: its error (Source defaults to the provider's name).
    void fail(const QString &match, Error error, int times = -1);
    // Rows affected reported for matching statements.
    void affect(const QString &match, std::int32_t rows);
    // The result of matching queries (and of OpenSchema with the match "OpenSchema <n>").
    void answer(const QString &match, RowSet rows);
    // An Update finds no row to write (someone else changed it).
    void conflictOnUpdate(bool conflict) { m_conflict = conflict; }

    const QStringList &calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    bool closed() const { return m_closed; }

    QString name() const override { return m_name; }
    Platform platform() const override { return m_platform; }
    void close() override { m_closed = true; }
    bool execute(const QString &sql, Errors &errors, std::int32_t *recordsAffected, RowSet *rows) override;
    bool beginTrans(Errors &errors) override;
    bool commitTrans(Errors &errors) override;
    bool rollbackTrans(Errors &errors) override;
    int transactionLevel() const override { return m_level; }
    bool updateRow(const QString &table,
                   const std::vector<Column> &columns,
                   const std::vector<Variant> &original,
                   const std::vector<Variant> &current,
                   const std::vector<bool> &changed,
                   Errors &errors,
                   std::int32_t &matched) override;
    bool openSchema(int schema, const std::vector<QString> &restrictions, RowSet &out, Errors &errors) override;

private:
    struct Failure
    {
        QString match;
        Error error;
        int times;
    };
    bool failed(const QString &text, Errors &errors);

    Platform m_platform;
    QString m_name;
    QStringList m_calls;
    std::vector<Failure> m_failures;
    std::vector<std::pair<QString, std::int32_t>> m_affected;
    std::vector<std::pair<QString, RowSet>> m_answers;
    int m_level = 0;
    bool m_conflict = false;
    bool m_closed = false;
};

} // namespace ado
