#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

// One error object for every failure the system traps: run-time errors and
// database errors alike (the latter also carry SQL state and native code).
struct ErrObject
{
    std::int32_t Number = 0;
    QString Description;
    QString Source;
    QString SQLState;
    std::int32_t NativeError = 0;
};

// The run time's error numbers that the procedures name.
namespace vberr {
constexpr std::int32_t InvalidCall = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t DivisionByZero = 11;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t InternalError = 51;
constexpr std::int32_t BadFileNameOrNumber = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t BadFileMode = 54;
constexpr std::int32_t FileAlreadyOpen = 55;
constexpr std::int32_t InputPastEnd = 62;
constexpr std::int32_t DeviceIOError = 57;
constexpr std::int32_t FileAlreadyExists = 58;
constexpr std::int32_t BadRecordLength = 59;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t BadRecordNumber = 63;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t PathFileAccess = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t ObjectNotSet = 91;
constexpr std::int32_t InvalidUseOfNull = 94;
// Controls: array element missing, already loaded, bad property value, index out of bounds.
constexpr std::int32_t ControlArrayElementMissing = 340;
constexpr std::int32_t ObjectAlreadyLoaded = 360;
constexpr std::int32_t InvalidPropertyValue = 380;
constexpr std::int32_t IndexOutOfBounds = 35600;
// Keyed collections of controls (tree nodes): no such element, a key used twice.
constexpr std::int32_t ElementNotFound = 35601;
constexpr std::int32_t KeyNotUnique = 35602;
// Data layer: no current record, item not found in the collection, object closed.
constexpr std::int32_t NoCurrentRecord = 3021;
constexpr std::int32_t ItemNotFound = 3265;
constexpr std::int32_t ObjectClosed = 3704;
} // namespace vberr

// The run time's own text for one of its error numbers (empty when it has none).
QString ErrorDescription(std::int32_t number);

class VbException : public std::exception
{
public:
    explicit VbException(ErrObject err);
    const ErrObject &err() const noexcept { return m_err; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    ErrObject m_err;
    std::string m_what;
};

// Raises a run-time error; an empty description takes the run time's own text.
[[noreturn]] void Raise(std::int32_t number, const QString &description = {}, const QString &source = {});

// Turns whatever a step threw into the error object a handler sees.
ErrObject CurrentError(std::exception_ptr failure);
