#pragma once

// Test helpers of the purge tests: a demo database on disk, the program's
// connection opened on it through start-up, and a raw sqlite3 view of the
// five voucher tables to check what a run left behind.

#include "platform/runtime/app.h"
#include "platform/ui/scripted_responder.h"
#include "purge/corrida_borrado.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <map>
#include <set>

struct sqlite3;

namespace purgetest {

// The five tables one voucher lives in, in the order the run deletes them.
extern const char *const kTablas[5];

// Makes a demo database of about `vouchers` vouchers at path (replacing it).
void CreaBaseDemo(const QString &path, int vouchers);
// A fresh demo database named `nombre` in the program folder, with no run log
// left from an earlier test; returns its path. Inline: the run log's place is
// the purge's, and only the purge tests link it.
inline QString BaseNueva(const QString &nombre, int vouchers)
{
    const QString ruta = QDir(AppPath()).filePath(nombre);
    QFile::remove(ruta);
    QFile::remove(RutaLogAnulacion());
    CreaBaseDemo(ruta, vouchers);
    return ruta;
}

// The lines of the run log, without the empty one after the last CR LF.
inline QStringList LineasLog()
{
    QFile f(RutaLogAnulacion());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lineas = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}

// Opens the program's connection on the database through start-up, as the
// window does, closing whatever connection was open before.
void AbreConexion(const QString &path);
void CierraConexion();
// The parameter string the program is started with for that database.
QString ParametrosPara(const QString &path);

// A direct look at the file, beside the program's own connection (raw
// statements on it go through EjecutaEnArchivo, tests/support/base_prueba.h).
class Sqlite
{
public:
    explicit Sqlite(const QString &path);
    ~Sqlite();
    Sqlite(const Sqlite &) = delete;
    Sqlite &operator=(const Sqlite &) = delete;

    long long Numero(const QString &sql);
    QStringList Textos(const QString &sql);

private:
    sqlite3 *m_db = nullptr;
};

// Key "TC|IDCOMPROBANTE|IdComplemento" -> rows in each of the five tables.
using Foto = std::map<QString, std::map<QString, long long>>;
Foto TomaFoto(Sqlite &db);
// Keys of the headers of that type dated on the day or before (ISO day).
std::set<QString> ClavesHasta(Sqlite &db, const QString &tipo, const QString &diaIso);
// Rows of lines, tasks, observations or movements whose header is gone.
long long Huerfanos(Sqlite &db);

// Checks that exactly `idas` went from all five tables and nothing else moved.
void ComparaFotos(const Foto &antes, const Foto &despues, const std::set<QString> &idas);

// Checks the first box of a run in which a voucher failed: the question that
// quotes the error whose description is given (or, when `parte` is set, holds
// it somewhere) and asks Yes or No.
void EsperaPreguntaDeError(const ui::ScriptedResponder &respuestas, const QString &descripcion, bool parte = false);

} // namespace purgetest
