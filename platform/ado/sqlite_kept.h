#pragma once

// The kept translations of the embedded engine (sqlite_kept.cpp): batches
// and statements translated for reuse, by shape, and what one call binds.

#include "platform/ado/sqlite_datetime.h"
#include "platform/ado/sqlite_provider.h"

#include <QByteArray>
#include <QMultiHash>
#include <QVarLengthArray>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <list>
#include <memory>

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

// Where the bound texts of one call are written: blocks that never move,
// so that each value can point into them.
class BoundTexts
{
public:
    // At least `n` bytes to write into; keep() takes the first of them.
    char *room(qsizetype n)
    {
        if (n > m_left) {
            // Each block twice the last, up to a limit: a short batch takes little.
            m_block = std::min(m_block * 2, kLargestBlock);
            const qsizetype size = std::max(n, m_block);
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size_t(size)));
            m_free = m_blocks.back().get();
            m_left = size;
        }
        return m_free;
    }
    QByteArray keep(qsizetype n)
    {
        const QByteArray kept = QByteArray::fromRawData(m_free, n);
        m_free += n;
        m_left -= n;
        return kept;
    }

private:
    static constexpr qsizetype kLargestBlock = 64 * 1024;
    qsizetype m_block = 128;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_free = nullptr;
    qsizetype m_left = 0;
};

// A literal's value as it is bound.
struct SqliteProvider::Bound
{
    enum class Kind { Text, Integer, Real } kind = Kind::Text;
    QByteArray text;
    sqlite3_int64 integer = 0;
    double real = 0;

    // The quoted days read last and their stored forms: the rows of one
    // batch mostly write the same few days.
    struct Days
    {
        struct Day
        {
            QString text;
            QByteArray stored;
        };
        QVarLengthArray<Day, 8> read;
        qsizetype next = 0; // the one a new day replaces once all are taken
    };

    // False when the literal cannot stand where the translation put it (a
    // quoted day that is no day, a number the engine would not read). Texts
    // are written into `texts`.
    bool set(const DialectLiteral &literal, const DialectParameter &p, Days &days, BoundTexts &texts)
    {
        switch (p.as) {
        case DialectParameter::As::Text:
            kind = Kind::Text;
            text = utf8(sqlite_checks::kept(literal.text, p.limit), texts);
            return sqlite_checks::fits(literal.text, p.limit);
        case DialectParameter::As::Date: {
            kind = Kind::Text;
            const auto known = std::find_if(days.read.begin(), days.read.end(), [&](const Days::Day &d) {
                return d.text == literal.text;
            });
            if (known != days.read.end()) {
                text = known->stored;
                return true;
            }
            QString stored;
            if (sqlite_datetime::fromText(literal.text, stored) != sqlite_datetime::Reading::Date)
                return false;
            Days::Day day{literal.text, stored.toLatin1()};
            text = day.stored;
            if (days.read.size() < days.read.capacity())
                days.read.push_back(std::move(day));
            else
                days.read[days.next++ % days.read.size()] = std::move(day);
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
                    return p.limit.kind == sqlite_checks::Limit::Kind::None
                           || sqlite_checks::fits(double(integer), p.limit);
                }
            }
            // With a point or an exponent, or too large for an integer: a real, as the engine reads it.
            real = sqlite_checks::kept(toDouble(t, ok), p.limit);
            kind = Kind::Real;
            return ok && sqlite_checks::fits(real, p.limit);
        }
        }
        return false;
    }

    // A number with a point or an exponent as QString::toDouble() reads it.
    // The common form (digits, a point, digits, an exponent) reads without
    // Qt's locale machinery: both round correctly, so they agree; zero,
    // tiny, huge and odd forms go to Qt, which refuses some of them.
    static double toDouble(const QString &t, bool &ok)
    {
        char ascii[64];
        const qsizetype n = t.size();
        if (n < qsizetype(sizeof ascii)) {
            qsizetype k = 0;
            const auto digits = [&] {
                const qsizetype from = k;
                while (k < n && t[k] >= '0' && t[k] <= '9')
                    ++k;
                return k > from;
            };
            bool plain = digits() && k < n && t[k] == '.' && (++k, digits());
            if (plain && k < n && (t[k] == 'e' || t[k] == 'E')) {
                ++k;
                if (k < n && (t[k] == '+' || t[k] == '-'))
                    ++k;
                plain = digits();
            }
            if (plain && k == n) {
                for (qsizetype j = 0; j < n; ++j)
                    ascii[j] = char(t[j].unicode());
                double d = 0;
                const auto [end, error] = std::from_chars(ascii, ascii + n, d);
                if (error == std::errc() && end == ascii + n && std::isnormal(d)) {
                    ok = true;
                    return d;
                }
            }
        }
        return t.toDouble(&ok);
    }

    // A text as the engine binds it, in UTF-8.
    static QByteArray utf8(QStringView t, BoundTexts &texts)
    {
        if (t.isEmpty())
            return t.toUtf8();
        // ASCII is its own UTF-8; a text with anything else is converted by Qt.
        char *to = texts.room(t.size());
        for (qsizetype k = 0; k < t.size(); ++k) {
            const char16_t u = t[k].unicode();
            if (u >= 0x80)
                return t.toUtf8();
            to[k] = char(u);
        }
        return texts.keep(t.size());
    }
};

// What one call runs: a kept translation with the values of this batch's
// literals, or the batch written out with its literals in the text.
struct SqliteProvider::Plan
{
    std::shared_ptr<Translation> kept;
    std::vector<Bound> values; // literal by literal, for `kept`
    BoundTexts texts;          // what `values` hold of their texts
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
        Bound::Days days;
        for (const Translation::Part &part : t.parts)
            for (const DialectParameter &p : part.statement->parameters) {
                const size_t at = part.first + size_t(p.literal);
                if (!values[at].set(literals[at], p, days, texts))
                    return false;
            }
        return true;
    }
};

} // namespace ado
