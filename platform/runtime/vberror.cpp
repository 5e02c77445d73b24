#include "platform/runtime/vberror.h"

#include <new>

QString ErrorDescription(std::int32_t number)
{
    switch (number) {
    case vberr::InvalidCall:
        return QStringLiteral("Llamada a procedimiento o argumento no válidos");
    case vberr::Overflow:
        return QStringLiteral("Desbordamiento");
    case vberr::OutOfMemory:
        return QStringLiteral("Memoria insuficiente");
    case vberr::SubscriptOutOfRange:
        return QStringLiteral("El subíndice está fuera del intervalo");
    case vberr::DivisionByZero:
        return QStringLiteral("División por cero");
    case vberr::TypeMismatch:
        return QStringLiteral("No coinciden los tipos");
    case vberr::InternalError:
        return QStringLiteral("Error interno");
    case vberr::BadFileNameOrNumber:
        return QStringLiteral("Nombre o número de archivo incorrecto");
    case vberr::FileNotFound:
        return QStringLiteral("No se ha encontrado el archivo");
    case vberr::BadFileMode:
        return QStringLiteral("Modo de archivo incorrecto");
    case vberr::FileAlreadyOpen:
        return QStringLiteral("El archivo ya está abierto");
    case vberr::DeviceIOError:
        return QStringLiteral("Error de E/S en el dispositivo");
    case vberr::FileAlreadyExists:
        return QStringLiteral("El archivo ya existe");
    case vberr::BadRecordLength:
        return QStringLiteral("Longitud de registro incorrecta");
    case vberr::DiskFull:
        return QStringLiteral("Disco lleno");
    case vberr::BadRecordNumber:
        return QStringLiteral("Número de registro incorrecto");
    case vberr::InputPastEnd:
        return QStringLiteral("La entrada ha sobrepasado el final del archivo");
    case vberr::PermissionDenied:
        return QStringLiteral("Permiso denegado");
    case vberr::PathFileAccess:
        return QStringLiteral("Error de acceso a la ruta o el archivo");
    case vberr::PathNotFound:
        return QStringLiteral("No se ha encontrado la ruta de acceso");
    case vberr::ObjectNotSet:
        return QStringLiteral("Variable de tipo Object o la variable de bloque With no está establecida");
    case vberr::InvalidUseOfNull:
        return QStringLiteral("Uso no válido de Null");
    case vberr::ControlArrayElementMissing:
        return QStringLiteral("El elemento de la matriz de controles no existe");
    case vberr::ObjectAlreadyLoaded:
        return QStringLiteral("El objeto ya está cargado");
    case vberr::InvalidPropertyValue:
        return QStringLiteral("El valor de la propiedad no es válido");
    case vberr::IndexOutOfBounds:
        return QStringLiteral("Índice fuera de los límites");
    case vberr::ElementNotFound:
        return QStringLiteral("No se encontró el elemento");
    case vberr::KeyNotUnique:
        return QStringLiteral("La clave no es única en la colección");
    case vberr::NoCurrentRecord:
        return QStringLiteral(
            "BOF o EOF es True, o el registro actual se eliminó. La operación solicitada requiere un registro actual.");
    case vberr::ItemNotFound:
        return QStringLiteral(
            "No se encontró el elemento en la colección que corresponde con el nombre o el ordinal pedido.");
    case vberr::ObjectClosed:
        return QStringLiteral("No se permite realizar esta operación si el objeto está cerrado.");
    default:
        return {};
    }
}

VbException::VbException(ErrObject err)
    : m_err(std::move(err))
{
    m_what = QStringLiteral("%1: %2").arg(m_err.Number).arg(m_err.Description).toStdString();
}

void Raise(std::int32_t number, const QString &description, const QString &source)
{
    ErrObject e;
    e.Number = number;
    e.Description = description.isEmpty() ? ErrorDescription(number) : description;
    e.Source = source.isEmpty() ? QStringLiteral("anulacion") : source;
    throw VbException(std::move(e));
}

ErrObject CurrentError(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const VbException &e) {
        return e.err();
    } catch (const std::bad_alloc &) {
        return {vberr::OutOfMemory, ErrorDescription(vberr::OutOfMemory), QStringLiteral("anulacion"), {}, 0};
    } catch (const std::exception &e) {
        return {vberr::InternalError, QString::fromLocal8Bit(e.what()), QStringLiteral("anulacion"), {}, 0};
    } catch (...) {
        return {vberr::InternalError, ErrorDescription(vberr::InternalError), QStringLiteral("anulacion"), {}, 0};
    }
}
