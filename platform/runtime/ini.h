#pragma once

#include <QString>

// The suite's INI files (VI000vi.INI), read with the platform's profile
// rules: lines trimmed of blanks and tabs, ";" lines are comments, sections
// and keys found without regard to case, one pair of quotes around a value
// dropped, no length limits; Latin-1 text (UTF-8 when the file says so).
namespace vb {

// Where a file named without a folder is looked for: the application folder;
// a file whose name differs only in letter case serves too.
QString ProfilePath(const QString &file);

// The key's value, or Default when the file, the section or the key is missing.
QString ProfileString(const QString &file, const QString &section, const QString &key, const QString &Default = {});

} // namespace vb
