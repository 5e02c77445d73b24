#pragma once

// Voucher data for the purge tests and benchmark, written straight into a
// database file made from the suite's schema. Every voucher has its article
// lines, task lines, observation and stock movements; columns the purge does
// not read get a plain value of their declared type, so the generator keeps
// working as the schema grows.

#include "platform/ado/ado.h"

#include <QDate>
#include <QFile>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace llenado {

struct Plan {
    int comprobantes = 60;
    QStringList tipos{QStringLiteral("  RM"), QStringLiteral("  FC"), QStringLiteral("  OT")};
    int articulos = 5;
    int tareas = 2;
    int observaciones = 1;
    int movimientos = 5;
    QDate desde{2024, 1, 1};
    int dias = 700;
};

// Files made by the data layer declare their text columns with its
// collation (case and trailing blanks ignored); a raw connection needs an
// equivalent one to read or write them.
inline int ComparaTexto(void *, int na, const void *a, int nb, const void *b)
{
    auto recorta = [](const char *p, int n) {
        while (n > 0 && p[n - 1] == ' ')
            --n;
        return QString::fromUtf8(p, n);
    };
    return recorta(static_cast<const char *>(a), na)
        .compare(recorta(static_cast<const char *>(b), nb), Qt::CaseInsensitive);
}

inline void RegistraColacion(sqlite3 *db)
{
    sqlite3_create_collation(db, "SQLTEXT", SQLITE_UTF8, nullptr, ComparaTexto);
}

inline void Exec(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string t = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(t);
    }
}

// The schema the demo and the program use; a minimal one of the five voucher
// tables when the schema file is not there.
inline QString Esquema(const QString &archivo)
{
    QFile f(archivo);
    if (f.open(QIODevice::ReadOnly))
        return QString::fromUtf8(f.readAll());
    QString ddl;
    for (const char *t : {"V_MV_CPTEINSUMOS", "V_MV_CPTETAREAS", "V_MV_CPTE_OBSERV", "V_MV_STOCK"})
        ddl += QStringLiteral("CREATE TABLE %1 (TC TEXT NOT NULL, IDCOMPROBANTE TEXT NOT NULL, IdComplemento INTEGER "
                              "NOT NULL, Renglon INTEGER NOT NULL, Dato TEXT, PRIMARY KEY (TC, IDCOMPROBANTE, "
                              "IdComplemento, Renglon));\n")
                   .arg(QLatin1String(t));
    ddl += QStringLiteral("CREATE TABLE V_MV_CPTE (TC TEXT NOT NULL, IDCOMPROBANTE TEXT NOT NULL, IdComplemento "
                          "INTEGER NOT NULL, FECHA DATETIME NOT NULL, PRIMARY KEY (TC, IDCOMPROBANTE, IdComplemento));\n"
                          "CREATE INDEX IX_CPTE_TC_FECHA ON V_MV_CPTE (TC, FECHA);\n"
                          "CREATE TABLE TA_CONFIGURACION (CLAVE TEXT PRIMARY KEY, VALOR TEXT, valoraux TEXT);\n");
    return ddl;
}

// One prepared INSERT per table, with the table's own columns.
class Insercion {
public:
    Insercion(sqlite3 *db, const QString &tabla) : m_db(db)
    {
        sqlite3_stmt *info = nullptr;
        sqlite3_prepare_v2(db, QStringLiteral("PRAGMA table_info(%1)").arg(tabla).toUtf8().constData(), -1, &info, nullptr);
        QStringList nombres, marcas;
        while (sqlite3_step(info) == SQLITE_ROW) {
            Columna c;
            c.nombre = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info, 1))).toUpper();
            c.tipo = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info, 2))).toUpper();
            c.clave = sqlite3_column_int(info, 5) > 0;
            m_columnas.push_back(c);
            nombres << c.nombre;
            marcas << QStringLiteral("?");
        }
        sqlite3_finalize(info);
        if (m_columnas.empty())
            throw std::runtime_error("no table " + tabla.toStdString());
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(tabla, nombres.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &m_st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Insercion() { sqlite3_finalize(m_st); }
    Insercion(const Insercion &) = delete;
    Insercion &operator=(const Insercion &) = delete;

    void Inserta(const QString &tc, const QString &id, int complemento, const QString &fecha, int renglon)
    {
        sqlite3_reset(m_st);
        for (int i = 0; i < int(m_columnas.size()); ++i) {
            const Columna &c = m_columnas[size_t(i)];
            const int p = i + 1;
            if (c.nombre == QLatin1String("TC"))
                Texto(p, tc);
            else if (c.nombre == QLatin1String("IDCOMPROBANTE"))
                Texto(p, id);
            else if (c.nombre == QLatin1String("IDCOMPLEMENTO"))
                sqlite3_bind_int(m_st, p, complemento);
            else if (c.nombre.contains(QLatin1String("FECHA")) || c.tipo.contains(QLatin1String("DATE")))
                Texto(p, fecha);
            else if (c.clave || c.nombre.contains(QLatin1String("RENGLON")) || c.nombre.contains(QLatin1String("ITEM")) ||
                     c.nombre.contains(QLatin1String("LINEA")))
                sqlite3_bind_int(m_st, p, renglon);
            else if (c.tipo.contains(QLatin1String("INT")) || c.tipo.contains(QLatin1String("NUM")) ||
                     c.tipo.contains(QLatin1String("REAL")) || c.tipo.contains(QLatin1String("FLOA")) ||
                     c.tipo.contains(QLatin1String("DOUB")) || c.tipo.contains(QLatin1String("DEC")) ||
                     c.tipo.contains(QLatin1String("MONEY")) || c.tipo.contains(QLatin1String("BIT")))
                sqlite3_bind_int(m_st, p, renglon);
            else
                Texto(p, QStringLiteral("x%1").arg(renglon));
        }
        if (sqlite3_step(m_st) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
    }

private:
    struct Columna {
        QString nombre, tipo;
        bool clave = false;
    };
    void Texto(int p, const QString &t)
    {
        const QByteArray b = t.toUtf8();
        sqlite3_bind_text(m_st, p, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    sqlite3 *m_db;
    sqlite3_stmt *m_st = nullptr;
    std::vector<Columna> m_columnas;
};

// The voucher id of the suite: branch 4, number 8, letter 1.
inline QString IdComprobante(int n)
{
    return QStringLiteral("0001%1R").arg(n, 8, 10, QLatin1Char('0'));
}

inline void CreaBase(const QString &path, const QString &esquema, const Plan &plan)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create " + path.toStdString());
    RegistraColacion(db);
    try {
        {
            // The schema is written for SQL Server; the data layer's own
            // engine runs it, as it runs every statement of the program.
            ado::Connection cnn;
            cnn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=ADMIN;Pwd=;").arg(path));
            cnn.Execute(Esquema(esquema));
            cnn.Close();
        }
        Exec(db, QStringLiteral("BEGIN"));
        Insercion cab(db, QStringLiteral("V_MV_CPTE")), art(db, QStringLiteral("V_MV_CPTEINSUMOS")),
            tar(db, QStringLiteral("V_MV_CPTETAREAS")), obs(db, QStringLiteral("V_MV_CPTE_OBSERV")),
            stk(db, QStringLiteral("V_MV_STOCK"));
        for (int i = 0; i < plan.comprobantes; ++i) {
            const QString tc = plan.tipos.at(i % plan.tipos.size());
            const QString id = IdComprobante(i + 1);
            const int complemento = (i % 5 == 4) ? 1 : 0;
            const QDate dia = plan.desde.addDays(qint64(i) * plan.dias / qMax(1, plan.comprobantes));
            const QString hora = (i % 7 == 3) ? QStringLiteral(" 15:45:00") : QStringLiteral(" 00:00:00");
            const QString fecha = dia.toString(QStringLiteral("yyyy-MM-dd")) + hora;
            cab.Inserta(tc, id, complemento, fecha, 1);
            for (int r = 1; r <= plan.articulos; ++r)
                art.Inserta(tc, id, complemento, fecha, r);
            for (int r = 1; r <= plan.tareas; ++r)
                tar.Inserta(tc, id, complemento, fecha, r);
            for (int r = 1; r <= plan.observaciones; ++r)
                obs.Inserta(tc, id, complemento, fecha, r);
            for (int r = 1; r <= plan.movimientos; ++r)
                stk.Inserta(tc, id, complemento, fecha, r);
        }
        Exec(db, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

} // namespace llenado
