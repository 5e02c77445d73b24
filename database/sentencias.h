#pragma once

#include <QString>

class DB_Dll;

// Where the statements of a writing operation go: run at once through the
// connection object, or handed back as text that the caller runs inside its
// own transaction. The operations take this object instead of testing their
// Boolean argument at every statement:
//
//     Sentencias salida = Sentencias::Segun(GeneraSentenciaSQL, SQLTemp, QStringLiteral("\r"));
//     if (!salida.Envia(insert))
//         ... the statement ran and failed: gDB().gCnn().errors() says why
//
// Handing back appends the separator and the statement to the caller's text,
// so the text grows as the statements come; an operation that hands back one
// statement in place of its argument clears the argument first. Running opens
// no transaction: what ran before a failure stays written.
class Sentencias
{
public:
    // Runs every statement at once with EjecutaConsultaSQL of `db`.
    static Sentencias Ejecutar(DB_Dll &db);
    static Sentencias Ejecutar();
    // Appends `separador` and each statement to `texto`; runs nothing.
    static Sentencias Devolver(QString &texto, QString separador);
    // The operations' Boolean argument: true hands back into `texto`, false runs.
    static Sentencias Segun(bool devolver, QString &texto, QString separador);

    bool Devuelve() const { return m_texto != nullptr; }

    // Runs or hands back one statement. When it runs, false if it left errors
    // in the connection's collection (EjecutaConsultaSQL never raises);
    // handing back always succeeds.
    bool Envia(const QString &sentencia);

private:
    Sentencias(DB_Dll *db, QString *texto, QString separador)
        : m_db(db)
        , m_texto(texto)
        , m_separador(std::move(separador))
    {}

    DB_Dll *m_db;
    QString *m_texto;
    QString m_separador;
};
