#include "platform/runtime/files.h"

#include "platform/runtime/vberror.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace vb {

namespace {

// Why a file could not be opened, in the run time's numbers.
[[noreturn]] void raiseOpenFailure(const QString &path, const QFile &file, bool mustExist)
{
    const QFileInfo info(path);
    if (!info.dir().exists())
        Raise(vberr::PathNotFound, {}, path);
    if (mustExist && !info.exists())
        Raise(vberr::FileNotFound, {}, path);
    if (info.isDir())
        Raise(vberr::PathFileAccess, {}, path);
    Raise(file.error() == QFileDevice::PermissionsError ? vberr::PermissionDenied : vberr::PathFileAccess, {}, path);
}

void checkName(const QString &path)
{
    if (path.trimmed().isEmpty() || path.contains(QChar(0)))
        Raise(vberr::BadFileNameOrNumber, {}, path);
}

void checkWrite(const QFile &file, qint64 written, qint64 wanted)
{
    if (written != wanted)
        Raise(file.error() == QFileDevice::ResourceError ? vberr::DiskFull : vberr::DeviceIOError, {}, file.fileName());
}

} // namespace

QByteArray ToFileBytes(const QString &text)
{
    return text.toLatin1();
}

QString FromFileBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

// ---- Sequential files ----

SequentialFile::SequentialFile(const QString &path, OpenMode mode)
{
    Open(path, mode);
}

SequentialFile::~SequentialFile()
{
    // A destructor must not throw: a failing flush at this point is lost, as
    // it was when the run time closed files at the end of a procedure.
    if (m_file)
        m_file->close();
}

SequentialFile::SequentialFile(SequentialFile &&o) noexcept
    : m_file(std::move(o.m_file))
    , m_mode(o.m_mode)
{}

SequentialFile &SequentialFile::operator=(SequentialFile &&o) noexcept
{
    if (this != &o) {
        if (m_file)
            m_file->close();
        m_file = std::move(o.m_file);
        m_mode = o.m_mode;
    }
    return *this;
}

void SequentialFile::Open(const QString &path, OpenMode mode)
{
    if (m_file)
        Raise(vberr::FileAlreadyOpen, {}, path);
    checkName(path);
    auto file = std::make_unique<QFile>(path);
    QIODevice::OpenMode flags;
    switch (mode) {
    case OpenMode::Input:
        flags = QIODevice::ReadOnly;
        break;
    case OpenMode::Output:
        flags = QIODevice::WriteOnly | QIODevice::Truncate;
        break;
    case OpenMode::Append:
        flags = QIODevice::WriteOnly | QIODevice::Append;
        break;
    }
    if (QFileInfo(path).isDir() || !file->open(flags))
        raiseOpenFailure(path, *file, mode == OpenMode::Input);
    m_file = std::move(file);
    m_mode = mode;
}

void SequentialFile::Close()
{
    if (!m_file)
        return;
    const bool flushed = m_file->flush() || m_mode == OpenMode::Input;
    const QString name = m_file->fileName();
    m_file->close();
    m_file.reset();
    if (!flushed)
        Raise(vberr::DeviceIOError, {}, name);
}

bool SequentialFile::IsOpen() const
{
    return bool(m_file);
}

void SequentialFile::requireOpen(OpenMode wanted) const
{
    if (!m_file)
        Raise(vberr::BadFileNameOrNumber);
    const bool writing = m_mode != OpenMode::Input;
    if (writing != (wanted != OpenMode::Input))
        Raise(vberr::BadFileMode, {}, m_file->fileName());
}

void SequentialFile::Print(const QString &text)
{
    requireOpen(OpenMode::Output);
    const QByteArray bytes = ToFileBytes(text);
    checkWrite(*m_file, m_file->write(bytes), bytes.size());
}

void SequentialFile::PrintLine(const QString &text)
{
    requireOpen(OpenMode::Output);
    const QByteArray bytes = ToFileBytes(text) + "\r\n";
    checkWrite(*m_file, m_file->write(bytes), bytes.size());
}

QString SequentialFile::LineInput()
{
    requireOpen(OpenMode::Input);
    if (m_file->atEnd())
        Raise(vberr::InputPastEnd, {}, m_file->fileName());
    QByteArray line;
    char c = 0;
    while (m_file->getChar(&c)) {
        if (c == '\n')
            break;
        if (c == '\r') {
            char next = 0;
            if (m_file->peek(&next, 1) == 1 && next == '\n')
                m_file->getChar(&next);
            break;
        }
        line += c;
    }
    return FromFileBytes(line);
}

void SequentialFile::Write(const QStringList &fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += QLatin1Char('"') + fields[i] + QLatin1Char('"');
    }
    PrintLine(line);
}

QString SequentialFile::Input()
{
    requireOpen(OpenMode::Input);
    QFile &f = *m_file;
    char c = 0;
    // Leading blanks belong to no field.
    while (f.peek(&c, 1) == 1 && (c == ' ' || c == '\t'))
        f.getChar(&c);
    if (f.atEnd())
        Raise(vberr::InputPastEnd, {}, f.fileName());
    QByteArray field;
    const auto delimiter = [](char ch) { return ch == ',' || ch == '\r' || ch == '\n'; };
    if (f.peek(&c, 1) == 1 && c == '"') {
        f.getChar(&c);
        while (f.getChar(&c) && c != '"')
            field += c;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (f.peek(&c, 1) == 1 && !delimiter(c))
            f.getChar(&c);
    } else {
        while (f.peek(&c, 1) == 1 && !delimiter(c)) {
            f.getChar(&c);
            field += c;
        }
        while (field.endsWith(' ') || field.endsWith('\t'))
            field.chop(1);
    }
    if (f.getChar(&c) && c == '\r') {
        char next = 0;
        if (f.peek(&next, 1) == 1 && next == '\n')
            f.getChar(&next);
    }
    return FromFileBytes(field);
}

bool SequentialFile::Eof() const
{
    if (!m_file)
        Raise(vberr::BadFileNameOrNumber);
    return m_file->atEnd();
}

std::int64_t SequentialFile::Lof() const
{
    if (!m_file)
        Raise(vberr::BadFileNameOrNumber);
    return m_file->size();
}

// ---- Random-access files ----

RandomFile::RandomFile(const QString &path, int recordLength)
{
    Open(path, recordLength);
}

RandomFile::~RandomFile()
{
    if (m_file)
        m_file->close();
}

RandomFile::RandomFile(RandomFile &&o) noexcept
    : m_file(std::move(o.m_file))
    , m_length(o.m_length)
    , m_eof(o.m_eof)
{}

RandomFile &RandomFile::operator=(RandomFile &&o) noexcept
{
    if (this != &o) {
        if (m_file)
            m_file->close();
        m_file = std::move(o.m_file);
        m_length = o.m_length;
        m_eof = o.m_eof;
    }
    return *this;
}

void RandomFile::Open(const QString &path, int recordLength)
{
    if (m_file)
        Raise(vberr::FileAlreadyOpen, {}, path);
    checkName(path);
    if (recordLength < 1 || recordLength > 32767)
        Raise(vberr::BadRecordLength, {}, path);
    auto file = std::make_unique<QFile>(path);
    if (QFileInfo(path).isDir() || !file->open(QIODevice::ReadWrite)) {
        // A file that may only be read still serves for Get.
        if (!QFileInfo(path).exists() || QFileInfo(path).isDir() || !file->open(QIODevice::ReadOnly))
            raiseOpenFailure(path, *file, false);
    }
    m_file = std::move(file);
    m_length = recordLength;
    m_eof = false;
}

void RandomFile::Close()
{
    if (!m_file)
        return;
    const bool flushed = !m_file->isWritable() || m_file->flush();
    const QString name = m_file->fileName();
    m_file->close();
    m_file.reset();
    if (!flushed)
        Raise(vberr::DeviceIOError, {}, name);
}

bool RandomFile::IsOpen() const
{
    return bool(m_file);
}

void RandomFile::requireOpen() const
{
    if (!m_file)
        Raise(vberr::BadFileNameOrNumber);
}

std::int64_t RandomFile::RecordCount() const
{
    requireOpen();
    return (m_file->size() + m_length - 1) / m_length;
}

QByteArray RandomFile::GetBytes(std::int64_t record)
{
    requireOpen();
    if (record < 1)
        Raise(vberr::BadRecordNumber, {}, m_file->fileName());
    QByteArray data(m_length, '\0');
    const qint64 offset = (record - 1) * m_length;
    if (offset >= m_file->size()) {
        m_eof = true;
        return data;
    }
    if (!m_file->seek(offset))
        Raise(vberr::DeviceIOError, {}, m_file->fileName());
    const qint64 got = m_file->read(data.data(), m_length);
    if (got < 0)
        Raise(vberr::DeviceIOError, {}, m_file->fileName());
    m_eof = false;
    return data;
}

QString RandomFile::Get(std::int64_t record)
{
    return FromFileBytes(GetBytes(record));
}

void RandomFile::PutBytes(std::int64_t record, const QByteArray &data)
{
    requireOpen();
    if (record < 1)
        Raise(vberr::BadRecordNumber, {}, m_file->fileName());
    if (data.size() > m_length)
        Raise(vberr::BadRecordLength, {}, m_file->fileName());
    if (!m_file->isWritable())
        Raise(vberr::PermissionDenied, {}, m_file->fileName());
    QByteArray block = data;
    if (block.size() < m_length)
        block.append(QByteArray(m_length - block.size(), ' '));
    const qint64 offset = (record - 1) * m_length;
    // Records skipped over (writing past the end) read back as blanks.
    if (offset > m_file->size()) {
        if (!m_file->seek(m_file->size()))
            Raise(vberr::DeviceIOError, {}, m_file->fileName());
        const QByteArray gap(offset - m_file->size(), ' ');
        checkWrite(*m_file, m_file->write(gap), gap.size());
    }
    if (!m_file->seek(offset))
        Raise(vberr::DeviceIOError, {}, m_file->fileName());
    checkWrite(*m_file, m_file->write(block), block.size());
}

void RandomFile::Put(std::int64_t record, const QString &text)
{
    PutBytes(record, ToFileBytes(text));
}

// ---- Whole files ----

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

std::int64_t FileLen(const QString &path)
{
    checkName(path);
    if (!FileExists(path))
        Raise(vberr::FileNotFound, {}, path);
    return QFileInfo(path).size();
}

void Kill(const QString &path)
{
    checkName(path);
    if (!FileExists(path))
        Raise(vberr::FileNotFound, {}, path);
    QFile file(path);
    if (!file.remove())
        Raise(vberr::PathFileAccess, {}, path);
}

void Name(const QString &from, const QString &to)
{
    checkName(from);
    checkName(to);
    if (!QFileInfo::exists(from))
        Raise(vberr::FileNotFound, {}, from);
    if (QFileInfo::exists(to))
        Raise(vberr::FileAlreadyExists, {}, to);
    if (!QFileInfo(to).dir().exists())
        Raise(vberr::PathNotFound, {}, to);
    if (!QDir().rename(from, to))
        Raise(vberr::PathFileAccess, {}, from);
}

void ReplaceFile(const QString &from, const QString &to)
{
    checkName(from);
    checkName(to);
    if (!FileExists(from))
        Raise(vberr::FileNotFound, {}, from);
    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()),
                            failure);
    if (failure)
        Raise(vberr::PathFileAccess, {}, to);
}

QString WithTrailingSeparator(const QString &folder)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder;
    return folder + QLatin1Char('/');
}

} // namespace vb
