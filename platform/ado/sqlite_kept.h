#pragma once

// The kept translations of the embedded engine (sqlite_kept.cpp): batches
// and statements translated for reuse, by shape, and what one call binds.

#include "platform/ado/sqlite_datetime.h"
#include "platform/ado/sqlite_provider.h"

#include <QByteArray>
#include <QMultiHash>

#include <sqlite3.h>

#include <algorithm>
#include <list>

namespace ado {

// A text of a kept translation, prepared once and reset after every use.
struct SqliteProvider::Kept
{
    sqlite3_stmt *st = nullptr;
    bool unprepared = false; // it did not prepare: the written-out form runs instead
    std::vector<Column> columns;
    int checkedAt = -1; // the engine's count of its preparations when a read last checked the schema
    Kept() = default;
    Kept(const Kept &) = delete;
    Kept &operator=(const Kept &) = delete;
    ~Kept() { sqlite3_finalize(st); }
};

// A statement translated for reuse, kept by its own shape: the batches it
// appears in share it, so a batch of many statements of a few shapes
// prepares each shape once.
struct SqliteProvider::StatementTranslation
{
    ReusableBatch translation;                // of the statement alone: one statement, or none (SET NOCOUNT ON)
    std::vector<DialectParameter> parameters; // also in IF's condition and body
    std::unordered_map<const QString *, std::unique_ptr<Kept>> kept; // by the text in `translation`

    Kept &keptFor(const QString &sql)
    {
        std::unique_ptr<Kept> &k = kept[&sql];
        if (!k)
            k = std::make_unique<Kept>();
        return *k;
    }
    // Whether the statement reads the same with a batch's literals from
    // `first` on: the ones written into the text must be the ones it was
    // translated with.
    bool fits(const std::vector<DialectLiteral> &literals, size_t first) const
    {
        const std::vector<DialectLiteral> &own = translation.literals;
        if (literals.size() < first + own.size())
            return false;
        for (size_t i = 0; i < own.size(); ++i)
            if (!translation.bound[i] && !(literals[first + i] == own[i]))
                return false;
        return true;
    }
};

// A batch translated for reuse: its statements that run, each with the place
// of its first literal among the batch's.
struct SqliteProvider::Translation
{
    struct Part
    {
        std::shared_ptr<StatementTranslation> statement;
        size_t first = 0;
    };
    std::vector<Part> parts;
    size_t literals = 0;

    bool fits(const std::vector<DialectLiteral> &batch) const
    {
        return batch.size() == literals && std::all_of(parts.begin(), parts.end(), [&](const Part &p) {
                   return p.statement->fits(batch, p.first);
               });
    }
};

namespace sqlite_kept {

// Kept things by shape, most recent first, at most `limit`; one shape may
// have several, that differ in the literals written into their text.
template<class T>
class Recent
{
public:
    explicit Recent(size_t limit)
        : m_limit(limit)
    {}
    template<class Fits>
    std::shared_ptr<T> find(const QString &shape, const Fits &fits)
    {
        for (auto it = m_byShape.constFind(shape); it != m_byShape.cend() && it.key() == shape; ++it)
            if (fits(*(*it)->second)) {
                m_order.splice(m_order.begin(), m_order, *it);
                return (*it)->second;
            }
        return nullptr;
    }
    void add(const QString &shape, std::shared_ptr<T> kept)
    {
        m_order.push_front({shape, std::move(kept)});
        m_byShape.insert(shape, m_order.begin());
        while (m_order.size() > m_limit) {
            m_byShape.remove(m_order.back().first, std::prev(m_order.end()));
            m_order.pop_back();
        }
    }
    void clear()
    {
        m_byShape.clear();
        m_order.clear();
    }

private:
    using Order = std::list<std::pair<QString, std::shared_ptr<T>>>;
    size_t m_limit;
    Order m_order;
    QMultiHash<QString, typename Order::iterator> m_byShape;
};

} // namespace sqlite_kept

// The batches last run and their statements, by shape.
struct SqliteProvider::Translations
{
    sqlite_kept::Recent<Translation> batches{256};
    sqlite_kept::Recent<StatementTranslation> statements{512};
    void clear()
    {
        batches.clear();
        statements.clear();
    }
};

// A literal's value as it is bound.
struct SqliteProvider::Bound
{
    enum class Kind { Text, Integer, Real } kind = Kind::Text;
    QByteArray text;
    sqlite3_int64 integer = 0;
    double real = 0;

    // The last quoted day read and its stored form: the rows of one batch
    // mostly write the same few days.
    struct LastDay
    {
        QString text;
        QByteArray stored;
    };

    // False when the literal cannot stand where the translation put it (a
    // quoted day that is no day, a number the engine would not read).
    bool set(const DialectLiteral &literal, const DialectParameter &p, LastDay &day)
    {
        switch (p.as) {
        case DialectParameter::As::Text:
            kind = Kind::Text;
            text = sqlite_checks::kept(literal.text, p.limit).toUtf8();
            return sqlite_checks::fits(literal.text, p.limit);
        case DialectParameter::As::Date: {
            kind = Kind::Text;
            if (day.stored.isNull() || literal.text != day.text) {
                QString stored;
                if (sqlite_datetime::fromText(literal.text, stored) != sqlite_datetime::Reading::Date)
                    return false;
                day = {literal.text, stored.toLatin1()};
            }
            text = day.stored;
            return true;
        }
        case DialectParameter::As::Number: {
            bool ok = false;
            const QString &t = literal.text;
            if (std::all_of(t.begin(), t.end(), [](QChar c) { return c >= '0' && c <= '9'; })) {
                // Up to 18 digits always fit; a longer one is left to the general reading.
                if (!t.isEmpty() && t.size() <= 18) {
                    integer = 0;
                    for (QChar c : t)
                        integer = integer * 10 + (c.unicode() - '0');
                    ok = true;
                } else {
                    integer = t.toLongLong(&ok);
                }
                if (ok) {
                    kind = Kind::Integer;
                    return sqlite_checks::fits(double(integer), p.limit);
                }
            }
            // With a point or an exponent, or too large for an integer: a real, as the engine reads it.
            real = sqlite_checks::kept(t.toDouble(&ok), p.limit);
            kind = Kind::Real;
            return ok && sqlite_checks::fits(real, p.limit);
        }
        }
        return false;
    }
};

// What one call runs: a kept translation with the values of this batch's
// literals, or the batch written out with its literals in the text.
struct SqliteProvider::Plan
{
    std::shared_ptr<Translation> kept;
    std::vector<Bound> values; // literal by literal, for `kept`
    std::vector<DialectStatement> writtenOut;
    bool hasWrittenOut = false;

    size_t size() const { return kept ? kept->parts.size() : writtenOut.size(); }
    const DialectStatement &statement(size_t i) const
    {
        return kept ? kept->parts[i].statement->translation.statements.front() : writtenOut[i];
    }

    // The values of this batch's literals for the translation's parameters; false when one cannot be bound.
    bool bind(const Translation &t, const std::vector<DialectLiteral> &literals)
    {
        values.resize(literals.size());
        Bound::LastDay day;
        for (const Translation::Part &part : t.parts)
            for (const DialectParameter &p : part.statement->parameters) {
                const size_t at = part.first + size_t(p.literal);
                if (!values[at].set(literals[at], p, day))
                    return false;
            }
        return true;
    }
};

} // namespace ado
