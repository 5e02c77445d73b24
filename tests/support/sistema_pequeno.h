#pragma once

// A small filesystem that fills, for the tests of what a full disk does: a
// tmpfs of a fixed size mounted on a temporary folder, unmounted at the end.
// Mounting needs root (CI runs as root); elsewhere montado() is false and
// motivo() says why, for GTEST_SKIP.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

class SistemaPequeno
{
public:
    explicit SistemaPequeno(qint64 bytes)
    {
        if (!m_dir.isValid()) {
            m_motivo = QStringLiteral("no temporary folder to mount on");
            return;
        }
        if (geteuid() != 0) {
            m_motivo = QStringLiteral("mounting a small tmpfs needs root");
            return;
        }
        const QByteArray opciones = "size=" + QByteArray::number(bytes) + ",mode=0777";
        if (mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, opciones.constData()) != 0) {
            m_motivo = QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        m_montado = true;
    }
    ~SistemaPequeno()
    {
        if (m_montado)
            umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SistemaPequeno(const SistemaPequeno &) = delete;
    SistemaPequeno &operator=(const SistemaPequeno &) = delete;

    bool montado() const { return m_montado; }
    QString motivo() const { return m_motivo; }
    QString ruta() const { return m_dir.path(); }
    QString archivo(const QString &nombre) const { return QDir(m_dir.path()).filePath(nombre); }

    qint64 libres() const
    {
        struct statvfs s
        {};
        if (statvfs(QFile::encodeName(m_dir.path()).constData(), &s) != 0)
            return -1;
        return qint64(s.f_bavail) * qint64(s.f_frsize);
    }

    // Fills the filesystem with a filler file until `bytes` stay free (whole
    // pages: tmpfs hands out space a page at a time).
    bool DejaLibres(qint64 bytes)
    {
        Libera();
        const qint64 relleno = libres() - bytes;
        if (relleno <= 0)
            return relleno == 0;
        QFile f(archivo(QStringLiteral(".relleno")));
        if (!f.open(QIODevice::WriteOnly))
            return false;
        const QByteArray bloque(4096, '\0');
        for (qint64 escrito = 0; escrito < relleno; escrito += bloque.size())
            if (f.write(bloque.constData(), std::min<qint64>(bloque.size(), relleno - escrito)) < 0)
                return false;
        f.close();
        return libres() == bytes;
    }
    // Frees what DejaLibres took.
    void Libera() { QFile::remove(archivo(QStringLiteral(".relleno"))); }

private:
    QTemporaryDir m_dir;
    bool m_montado = false;
    QString m_motivo;
};
