#include "database/sentencias.h"

#include "database/db_dll.h"

Sentencias Sentencias::Ejecutar(DB_Dll &db)
{
    return Sentencias(&db, nullptr, {});
}

Sentencias Sentencias::Ejecutar()
{
    return Ejecutar(gDB());
}

Sentencias Sentencias::Devolver(QString &texto, QString separador)
{
    return Sentencias(nullptr, &texto, std::move(separador));
}

Sentencias Sentencias::Segun(bool devolver, QString &texto, QString separador)
{
    return devolver ? Devolver(texto, std::move(separador)) : Ejecutar();
}

bool Sentencias::Envia(const QString &sentencia)
{
    if (m_texto) {
        // Two appends: a long collected text is never copied for a joined temporary.
        m_texto->append(m_separador);
        m_texto->append(sentencia);
        return true;
    }
    m_db->EjecutaConsultaSQL(sentencia);
    return m_db->gCnn().errors().Count() == 0;
}
