#include "database/transaccion.h"

#include "database/db_dll.h"
#include "platform/ado/ado.h"

Transaccion::Transaccion(ado::Connection &cnn)
    : m_cnn(&cnn)
{
    m_cnn->BeginTrans();
    m_abierta = true;
}

Transaccion::Transaccion(DB_Dll &db)
    : m_db(&db)
{}

Transaccion::~Transaccion()
{
    Deshace();
}

// The collection is emptied first so that only this statement's errors count;
// they stay there after it.
std::optional<QString> Transaccion::Ejecuta(const QString &sentencia, std::int32_t *afectadas)
{
    ado::Errors &errores = m_db->gCnn().errors();
    errores.Clear();
    QString texto = sentencia;
    std::int32_t afectados = 0;
    m_db->EjecutaConsultaSQL(texto, &afectados);
    if (afectadas)
        *afectadas = afectados;
    if (errores.Count() == 0)
        return std::nullopt;
    return errores.Item(0).Description;
}

std::optional<QString> Transaccion::Abre(const QString &lote, std::int32_t *afectadas)
{
    Deshace();
    m_abierta = true;
    return Ejecuta(lote, afectadas);
}

std::optional<QString> Transaccion::Confirma()
{
    if (!m_abierta)
        return std::nullopt;
    if (m_cnn) {
        m_cnn->CommitTrans();
        m_abierta = false;
        return std::nullopt;
    }
    std::optional<QString> error = Ejecuta(QStringLiteral("COMMIT TRANSACTION"));
    if (!error)
        m_abierta = false;
    return error;
}

void Transaccion::Deshace() noexcept
{
    if (!m_abierta)
        return;
    m_abierta = false;
    // Nothing to roll back any more (the server ended it, the connection
    // dropped) is no news to anyone: the errors stay in the collection.
    try {
        if (m_cnn)
            m_cnn->RollbackTrans();
        else
            (void) Ejecuta(QStringLiteral("ROLLBACK TRANSACTION"));
    } catch (...) {
    }
}
