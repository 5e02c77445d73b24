#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class DB_Dll;
namespace ado {
class Connection;
}

// A transaction the system opens itself. It is rolled back when the object
// goes out of scope unless Confirma committed it, so no return, break or
// exception can leave one open behind it:
//
//     Transaccion t(gDB().gCnn());       // BeginTrans; raises when it fails
//     gDB().EjecutaConsultaSQL(texto);
//     if (gDB().gCnn().errors().Count() == 0)
//         t.Confirma();                  // otherwise rolled back here
//
// A transaction begun by the first line of a batch ("BEGIN TRANSACTION") is
// opened with Abre; its commit and rollback are then statements of the data
// layer too, and nothing raises: each answers its first error.
//
// The rollback on leaving never raises: what went wrong stays in the
// connection's Errors.
class Transaccion
{
public:
    // Begins at once with the connection's BeginTrans. When that raises, the
    // exception leaves the constructor and nothing is left open.
    explicit Transaccion(ado::Connection &cnn);
    // Nothing open yet: a batch run through `db` opens it (Abre).
    explicit Transaccion(DB_Dll &db);
    ~Transaccion();
    Transaccion(const Transaccion &) = delete;
    Transaccion &operator=(const Transaccion &) = delete;

    // Runs `lote`, whose first line begins the transaction, after rolling
    // back one this object still holds. The transaction counts as open even
    // when the batch failed part way: the first error, if any.
    std::optional<QString> Abre(const QString &lote, std::int32_t *afectadas = nullptr);
    // Commits. On the connection a failure raises; a transaction opened by a
    // batch answers its first error. A failed commit leaves it open.
    std::optional<QString> Confirma();
    // Rolls back now when open. Never raises.
    void Deshace() noexcept;
    bool Abierta() const { return m_abierta; }

private:
    std::optional<QString> Ejecuta(const QString &sentencia, std::int32_t *afectadas = nullptr);

    ado::Connection *m_cnn = nullptr;
    DB_Dll *m_db = nullptr;
    bool m_abierta = false;
};
