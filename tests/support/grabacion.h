#pragma once

#include "platform/ado/recording_provider.h"

#include <memory>
#include <utility>
#include <vector>

// Results for RecordingProvider::answer: a query that finds one row, or none.
inline ado::RowSet OneRow()
{
    ado::RowSet set;
    set.columns.push_back({QStringLiteral("X"), ado::ColumnKind::Integer, 4, {}, {}});
    set.rows.push_back({Variant(1)});
    return set;
}

inline ado::RowSet NoRows()
{
    ado::RowSet set = OneRow();
    set.rows.clear();
    return set;
}

// A provider error as the scripted providers report it.
inline ado::Error Failure(std::int32_t number,
                          const QString &description = QStringLiteral("falla"),
                          std::int32_t native = 0)
{
    ado::Error e;
    e.Number = number;
    e.Description = description;
    e.Source = QStringLiteral("Scripted");
    e.NativeError = native;
    return e;
}

// A recording provider that also leaves entries behind after every statement
// that succeeds, as some providers leave status messages.
class LeavingProvider : public ado::RecordingProvider
{
public:
    using ado::RecordingProvider::RecordingProvider;
    void leaveAfterEach(std::vector<ado::Error> entries) { m_leftover = std::move(entries); }

    bool execute(const QString &sql, ado::Errors &errors, std::int32_t *recordsAffected, ado::RowSet *rows) override
    {
        if (!ado::RecordingProvider::execute(sql, errors, recordsAffected, rows))
            return false;
        for (const ado::Error &e : m_leftover)
            errors.Add(e);
        return true;
    }

private:
    std::vector<ado::Error> m_leftover;
};

// Attaches a recording provider to a connection and keeps a reference to it.
template<class P = ado::RecordingProvider>
P &AttachRecording(ado::Connection &cn, ado::Platform platform)
{
    auto p = std::make_unique<P>(platform);
    P &ref = *p;
    cn.attachProvider(std::move(p));
    return ref;
}
