#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// The suite's files: single-byte Latin-1 text (a character outside Latin-1
// is written as "?"). Failures raise the run time's errors: 52 bad name,
// 53 not found, 54 bad mode, 62 input past end, 63 bad record number,
// 75 path or file access, 76 path not found.
namespace vb {

enum class OpenMode { Input, Output, Append };

// A sequential text file; closes on destruction. Output and Append create a
// missing file; Input needs it to exist. Lines end in CR LF.
class SequentialFile
{
public:
    SequentialFile() = default;
    SequentialFile(const QString &path, OpenMode mode);
    ~SequentialFile();
    SequentialFile(const SequentialFile &) = delete;
    SequentialFile &operator=(const SequentialFile &) = delete;
    SequentialFile(SequentialFile &&) noexcept;
    SequentialFile &operator=(SequentialFile &&) noexcept;

    void Open(const QString &path, OpenMode mode);
    void Close();
    bool IsOpen() const;

    // Print # text: the text and CR LF.
    void PrintLine(const QString &text = QString());
    // Print # text; : the text without line end.
    void Print(const QString &text);
    // Line Input #: up to CR LF, LF or CR (not included); error 62 at the end.
    QString LineInput();
    // Write # of texts: each between double quotes, separated by commas, and CR LF.
    void Write(const QStringList &fields);
    // Input # of one field: a text between double quotes (up to the closing
    // quote), or else up to the next comma or line end without its surrounding
    // blanks; the comma or line end behind it (CR LF, LF or CR) is passed over,
    // so a line end separates fields as a comma does. Error 62 at the end.
    QString Input();
    bool Eof() const;
    std::int64_t Lof() const;

private:
    void requireOpen(OpenMode wanted) const;
    std::unique_ptr<QFile> m_file;
    OpenMode m_mode = OpenMode::Input;
};

// A random-access file of fixed-length records, numbered from 1; created
// when missing. Closes on destruction.
class RandomFile
{
public:
    RandomFile() = default;
    RandomFile(const QString &path, int recordLength);
    ~RandomFile();
    RandomFile(const RandomFile &) = delete;
    RandomFile &operator=(const RandomFile &) = delete;
    RandomFile(RandomFile &&) noexcept;
    RandomFile &operator=(RandomFile &&) noexcept;

    void Open(const QString &path, int recordLength);
    void Close();
    bool IsOpen() const;
    int RecordLength() const { return m_length; }
    // Whole records in the file (a short last record counts).
    std::int64_t RecordCount() const;

    // The record's bytes; a record past the end reads as Chr(0) and sets Eof.
    QByteArray GetBytes(std::int64_t record);
    QString Get(std::int64_t record); // Latin-1
    // Writes exactly one record: shorter data is padded with blanks; longer
    // data is error 59 (nothing is cut silently).
    void PutBytes(std::int64_t record, const QByteArray &data);
    void Put(std::int64_t record, const QString &text);
    // True once a Get asked for a record beyond the end.
    bool Eof() const { return m_eof; }

private:
    void requireOpen() const;
    std::unique_ptr<QFile> m_file;
    int m_length = 0;
    bool m_eof = false;
};

bool FileExists(const QString &path);              // a file, not a folder
std::int64_t FileLen(const QString &path);         // error 53 when missing
void Kill(const QString &path);                    // error 53 when missing, 75 when it cannot go
void Name(const QString &from, const QString &to); // rename: 53 missing, 58 target exists, 75 otherwise
// Renames from over to in one step: an existing file at to is replaced, never
// deleted first, so a failure leaves it whole. 53 when from is missing, 75 otherwise.
void ReplaceFile(const QString &from, const QString &to);

// The path with a trailing separator ("\" and "/" both count as one).
QString WithTrailingSeparator(const QString &folder);

// Latin-1 bytes of a text and back, as the suite's files hold them.
QByteArray ToFileBytes(const QString &text);
QString FromFileBytes(const QByteArray &bytes);

} // namespace vb
