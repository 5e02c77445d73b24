#include "platform/ado/sqlite_kept.h"

#include "platform/ado/sqlite_values.h"

namespace ado {

bool SqliteProvider::runKept(const KeptRun &statement, const Call &call)
{
    Kept &kept = statement.statement.keptFor(statement.sql);
    if (!kept.st && !kept.unprepared) {
        const QByteArray text = statement.sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &kept.st, nullptr) != SQLITE_OK || !kept.st) {
            sqlite3_finalize(kept.st);
            kept.st = nullptr;
            kept.unprepared = true;
        }
    }
    if (kept.unprepared) {
        // The engine's own words about it, as for any statement written out.
        const DialectStatement &w = statement.written();
        return runStatement(statement.condition ? w.condition : w.sql,
                            call.errors,
                            call.affected,
                            call.rows,
                            call.gotRows);
    }
    sqlite3_stmt *st = kept.st;
    for (size_t i = 0; i < statement.parameters.size(); ++i) {
        const Bound &v = call.plan.values[statement.first + size_t(statement.parameters[i].literal)];
        const int at = int(i) + 1;
        switch (v.kind) {
        case Bound::Kind::Text:
            sqlite3_bind_text(st, at, v.text.constData(), int(v.text.size()), SQLITE_STATIC);
            break;
        case Bound::Kind::Integer:
            sqlite3_bind_int64(st, at, v.integer);
            break;
        case Bound::Kind::Real:
            sqlite3_bind_double(st, at, v.real);
            break;
        }
    }
    const bool ok = stepRows(st, &kept, call.errors, call.affected, call.rows, call.gotRows);
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return ok;
}

namespace {

// A batch longer than this is not kept whole: a posting's batch is as long
// as its voucher and seldom comes again with the same shape, and kept it
// would hold its whole text. Its statements are still kept by their own
// shapes, so translating it again finds each of them.
constexpr qsizetype kLongestKeptBatch = 8192;

} // namespace

bool SqliteProvider::makePlan(const QString &sql, Plan &plan, bool &checked, Errors &errors)
{
    plan = Plan();
    // A batch kept whole needs its statements only when it is translated; a
    // longer one is translated each time, so it is read once for both.
    const bool keepable = sql.size() <= kLongestKeptBatch;
    BatchReading reading;
    if (keepable)
        reading.shape = SqliteDialect::shape(sql);
    else
        reading = SqliteDialect::shapeAndStatements(sql);
    const BatchShape &shape = reading.shape;
    bool kept = false; // a translation of this shape fits, but these literals cannot be bound to it
    auto fits = [&](const Translation &candidate) { return candidate.fits(shape.literals); };
    if (std::shared_ptr<Translation> t = keepable && !shape.key.isEmpty() ? m_kept->batches.find(shape.key, fits)
                                                                          : nullptr) {
        if (plan.bind(*t, shape.literals)) {
            plan.kept = std::move(t);
            return true;
        }
        kept = true;
    }
    // Translated now, with the schema as it is.
    if (!checked) {
        checked = true;
        refreshSchema();
    }
    std::shared_ptr<Translation> t;
    if (!kept && !shape.key.isEmpty()) {
        if (keepable) {
            try {
                reading.statements = SqliteDialect::statements(sql);
            } catch (const DialectError &e) {
                errors.Add(e.error(name()));
                return false;
            }
        }
        if (!translate(sql, reading, t, errors))
            return false;
    }
    if (t) {
        if (keepable)
            m_kept->batches.add(shape.key, t);
        if (plan.bind(*t, shape.literals)) {
            plan.kept = std::move(t);
            return true;
        }
    }
    return writeOut(sql, plan, errors);
}

bool SqliteProvider::translate(const QString &sql,
                               const BatchReading &reading,
                               std::shared_ptr<Translation> &out,
                               Errors &errors)
{
    const BatchShape &shape = reading.shape;
    const BatchStatements &split = reading.statements;
    if (!split.reusable)
        return true;
    auto t = std::make_shared<Translation>();
    t->literals = shape.literals.size();
    // A statement's shape is the batch's key from its start to its end: a
    // place outside any literal lies as far past the last literal before it
    // in both.
    size_t before = 0; // literals that end before the place
    auto keyAt = [&](qsizetype at) {
        while (before < size_t(shape.places.size()) && shape.places[qsizetype(before)].end <= at)
            ++before;
        return before == 0 ? at : at - shape.places[before - 1].end + shape.places[before - 1].keyEnd;
    };
    for (const auto &[from, to] : split.at) {
        const qsizetype keyFrom = keyAt(from);
        const size_t first = before;
        const QString key = shape.key.mid(keyFrom, keyAt(to) - keyFrom);
        // A literal across the statement's start: the shape and the statements read the batch apart.
        if (first < before && shape.places[first].at < from)
            return true;
        auto fits = [&](const StatementTranslation &candidate) { return candidate.fits(shape.literals, first); };
        std::shared_ptr<StatementTranslation> s = m_kept->statements.find(key, fits);
        if (!s) {
            s = std::make_shared<StatementTranslation>();
            try {
                s->translation = SqliteDialect::translateReusableStatement(sql.mid(from, to - from), m_dates);
            } catch (const DialectError &e) {
                errors.Add(e.error(name()));
                return false;
            }
            // The shape is read apart from the translation: only where both
            // read the same literals may other statements of the shape use it.
            const std::vector<DialectLiteral> &own = s->translation.literals;
            if (own.size() != before - first
                || !std::equal(own.begin(), own.end(), shape.literals.begin() + qsizetype(first)))
                return true;
            std::function<void(const DialectStatement &)> collect = [&](const DialectStatement &st) {
                s->parameters.insert(s->parameters.end(), st.parameters.begin(), st.parameters.end());
                s->parameters.insert(s->parameters.end(), st.conditionParameters.begin(), st.conditionParameters.end());
                for (const DialectStatement &b : st.body)
                    collect(b);
            };
            for (const DialectStatement &st : s->translation.statements)
                collect(st);
            m_kept->statements.add(key, s);
        }
        if (!s->translation.statements.empty())
            t->parts.push_back({s, first});
    }
    if (before != shape.literals.size())
        return true;
    out = std::move(t);
    return true;
}

bool SqliteProvider::writeOut(const QString &sql, Plan &plan, Errors &errors)
{
    plan = Plan();
    try {
        plan.writtenOut = SqliteDialect::translateBatch(sql, m_dates);
    } catch (const DialectError &e) {
        errors.Add(e.error(name()));
        return false;
    }
    plan.hasWrittenOut = true;
    return true;
}

} // namespace ado
