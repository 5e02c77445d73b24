#pragma once

#include <QString>

// What the component knows of the running application.
class ClsAplicacion
{
public:
    // Receives the application folder at start-up (ending in the separator).
    void RutaAplicacion(const QString &folder);
    // The folder last received (empty until start-up hands it over).
    QString Ruta() const { return m_ruta; }

private:
    QString m_ruta;
};
