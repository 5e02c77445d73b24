#pragma once

// Recorded statements, in the engine's own SQL, replayed straight through the
// sqlite3 API as a program written for them would send them: each shape (the
// text with its literals taken out) prepared once on a connection and reset
// after each use, the literals bound. The baseline the benchmarks hold the
// data layer against.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <sqlite3.h>

#include <cstdio>
#include <vector>

namespace bench {

class Replay
{
public:
    explicit Replay(const std::vector<QByteArray> &statements)
    {
        for (const QByteArray &sql : statements)
            m_runs.push_back(split(sql));
    }
    Replay(const Replay &) = delete;
    Replay &operator=(const Replay &) = delete;
    ~Replay() { forget(); }

    // Finalizes what was prepared, before its connection closes.
    void release() { forget(); }

    size_t statements() const { return m_runs.size(); }
    size_t shapes() const { return m_shapes.size(); }

    // Prepares what `db` has not prepared yet (a new connection prepares
    // again), then steps every statement in order, reading each column of a
    // row as text. The rows read; -1 when a statement fails.
    qint64 run(sqlite3 *db)
    {
        if (db != m_db) {
            forget();
            m_db = db;
        }
        qint64 rows = 0;
        for (const Run &r : m_runs) {
            Shape &shape = m_shapes[r.shape];
            if (!shape.st && !prepare(shape))
                return -1;
            sqlite3_stmt *st = shape.st;
            for (size_t i = 0; i < r.values.size(); ++i) {
                const Value &v = r.values[i];
                const int at = int(i) + 1;
                if (v.kind == Value::Integer)
                    sqlite3_bind_int64(st, at, v.integer);
                else if (v.kind == Value::Real)
                    sqlite3_bind_double(st, at, v.real);
                else
                    sqlite3_bind_text(st, at, v.text.constData(), int(v.text.size()), SQLITE_STATIC);
            }
            const int columns = sqlite3_column_count(st);
            int rc = 0;
            qint64 length = 0;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                ++rows;
                for (int c = 0; c < columns; ++c)
                    if (const unsigned char *t = sqlite3_column_text(st, c))
                        length
                            += QString::fromUtf8(reinterpret_cast<const char *>(t), sqlite3_column_bytes(st, c)).size();
            }
            sqlite3_reset(st);
            (void) length;
            if (rc != SQLITE_DONE) {
                std::fprintf(stderr, "replay: %s in %s\n", sqlite3_errmsg(db), shape.sql.left(200).constData());
                return -1;
            }
        }
        return rows;
    }

private:
    struct Value
    {
        enum Kind { Text, Integer, Real } kind = Text;
        QByteArray text;
        sqlite3_int64 integer = 0;
        double real = 0;
    };
    // A shape: its text with a ? for each literal taken out.
    struct Shape
    {
        QByteArray sql;
        sqlite3_stmt *st = nullptr;
    };
    struct Run
    {
        int shape = 0;
        std::vector<Value> values;
    };

    static bool wordChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'
               || (static_cast<unsigned char>(c) & 0x80);
    }

    // The statement's shape and its literals: quoted texts and numbers, but
    // not the numbers of an ORDER BY or GROUP BY (columns by position).
    Run split(const QByteArray &sql)
    {
        QByteArray shape;
        std::vector<Value> values;
        bool byPosition = false;
        QByteArray lastWord;
        const qsizetype n = sql.size();
        for (qsizetype i = 0; i < n;) {
            const char c = sql[i];
            if (c == '\'') {
                QByteArray text;
                qsizetype j = i + 1;
                for (; j < n; ++j) {
                    if (sql[j] == '\'') {
                        if (j + 1 < n && sql[j + 1] == '\'') {
                            text += '\'';
                            ++j;
                            continue;
                        }
                        break;
                    }
                    text += sql[j];
                }
                Value v;
                v.text = text;
                values.push_back(v);
                shape += '?';
                i = j + 1;
                continue;
            }
            if (c == '"' || c == '[' || c == '`') {
                const char close = c == '[' ? ']' : c;
                qsizetype j = sql.indexOf(close, i + 1);
                j = j < 0 ? n : j + 1;
                shape += sql.mid(i, j - i);
                i = j;
                continue;
            }
            if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
                qsizetype j = sql.indexOf('\n', i);
                i = j < 0 ? n : j;
                continue;
            }
            const bool afterWord = i > 0 && wordChar(sql[i - 1]);
            if (!afterWord
                && ((c >= '0' && c <= '9') || (c == '.' && i + 1 < n && sql[i + 1] >= '0' && sql[i + 1] <= '9'))) {
                qsizetype j = i;
                bool real = false;
                while (j < n && sql[j] >= '0' && sql[j] <= '9')
                    ++j;
                if (j < n && sql[j] == '.') {
                    real = true;
                    ++j;
                    while (j < n && sql[j] >= '0' && sql[j] <= '9')
                        ++j;
                }
                if (j < n && (sql[j] == 'e' || sql[j] == 'E')) {
                    real = true;
                    ++j;
                    if (j < n && (sql[j] == '+' || sql[j] == '-'))
                        ++j;
                    while (j < n && sql[j] >= '0' && sql[j] <= '9')
                        ++j;
                }
                const QByteArray number = sql.mid(i, j - i);
                if (byPosition) {
                    shape += number;
                } else {
                    Value v;
                    bool ok = false;
                    if (!real)
                        v.integer = number.toLongLong(&ok);
                    if (ok) {
                        v.kind = Value::Integer;
                    } else {
                        v.kind = Value::Real;
                        v.real = number.toDouble();
                    }
                    v.text = number;
                    values.push_back(v);
                    shape += '?';
                }
                i = j;
                continue;
            }
            if (wordChar(c)) {
                qsizetype j = i;
                while (j < n && wordChar(sql[j]))
                    ++j;
                const QByteArray word = sql.mid(i, j - i).toUpper();
                if (word == "BY" && (lastWord == "ORDER" || lastWord == "GROUP"))
                    byPosition = true;
                else if (word == "LIMIT" || word == "HAVING" || word == "UNION" || word == "EXCEPT"
                         || word == "INTERSECT" || word == "WHERE" || word == "FROM")
                    byPosition = false;
                lastWord = word;
                shape += sql.mid(i, j - i);
                i = j;
                continue;
            }
            if (c == ')' || c == ';')
                byPosition = false;
            shape += c;
            ++i;
        }
        auto it = m_byShape.constFind(shape);
        if (it == m_byShape.cend()) {
            it = m_byShape.insert(shape, int(m_shapes.size()));
            m_shapes.push_back({shape, nullptr});
        }
        return {it.value(), std::move(values)};
    }

    bool prepare(Shape &shape)
    {
        if (sqlite3_prepare_v2(m_db, shape.sql.constData(), int(shape.sql.size()), &shape.st, nullptr) == SQLITE_OK
            && shape.st)
            return true;
        sqlite3_finalize(shape.st);
        shape.st = nullptr;
        std::fprintf(stderr, "replay: cannot prepare %s: %s\n", shape.sql.left(200).constData(), sqlite3_errmsg(m_db));
        return false;
    }

    void forget()
    {
        for (Shape &s : m_shapes) {
            sqlite3_finalize(s.st);
            s.st = nullptr;
        }
        m_db = nullptr;
    }

    std::vector<Shape> m_shapes;
    QHash<QByteArray, int> m_byShape;
    std::vector<Run> m_runs;
    sqlite3 *m_db = nullptr;
};

} // namespace bench
