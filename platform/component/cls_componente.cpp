#include "platform/component/cls_componente.h"

#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QStringDecoder>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// Grid cells and fields hold numbers typed with either decimal mark. With
// both marks present the last one is the decimal mark and the other groups
// thousands ("1.234,5" and "1,234.5" both read 1234.5).
QString normalisedNumberText(const QString &text)
{
    const qsizetype comma = text.lastIndexOf(QLatin1Char(','));
    const qsizetype point = text.lastIndexOf(QLatin1Char('.'));
    QString out = text;
    if (comma >= 0 && point >= 0) {
        if (comma > point) {
            out.remove(QLatin1Char('.'));
            out.replace(QLatin1Char(','), QLatin1Char('.'));
        } else {
            out.remove(QLatin1Char(','));
        }
    } else if (comma >= 0) {
        out.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    return out;
}

double numberOf(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return 0;
    case Variant::Type::String:
        return vb::Val(normalisedNumberText(value.rawString()));
    default:
        return value.toDouble();
    }
}

// A decimal text read digit by digit into ten-thousandths, a half going to
// the even neighbour; nullopt when the text needs the general reading (an
// exponent, &H/&O, or digits beyond the Currency range).
std::optional<Currency> exactCurrency(const QString &normalised)
{
    QString text = normalised;
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('\t'));
    text.remove(QLatin1Char('\n'));
    // A sign, digits, and a point with more digits, read by hand: a line's
    // numbers are read once per lot of a long posting.
    const auto digit = [&](qsizetype i) { return i < text.size() && text.at(i) >= '0' && text.at(i) <= '9'; };
    qsizetype at = 0;
    const bool negative = at < text.size() && text.at(at) == QLatin1Char('-');
    if (at < text.size() && (text.at(at) == QLatin1Char('-') || text.at(at) == QLatin1Char('+')))
        ++at;
    const qsizetype wholeFrom = at;
    while (digit(at))
        ++at;
    const QStringView whole = QStringView(text).mid(wholeFrom, at - wholeFrom);
    QStringView fraction;
    if (at < text.size() && text.at(at) == QLatin1Char('.')) {
        const qsizetype fractionFrom = ++at;
        while (digit(at))
            ++at;
        fraction = QStringView(text).mid(fractionFrom, at - fractionFrom);
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    const QChar after = at < text.size() ? text.at(at).toUpper() : QChar();
    if (after == QLatin1Char('E') || after == QLatin1Char('D'))
        return std::nullopt;
    __int128 scaled = 0;
    for (QChar d : whole) {
        scaled = scaled * 10 + d.digitValue();
        if (scaled > (__int128(1) << 64))
            return std::nullopt;
    }
    for (int i = 0; i < 4; ++i)
        scaled = scaled * 10 + (i < fraction.size() ? fraction.at(i).digitValue() : 0);
    if (fraction.size() > 4) {
        const int next = fraction.at(4).digitValue();
        bool beyond = false;
        for (qsizetype i = 5; i < fraction.size(); ++i)
            beyond = beyond || fraction.at(i) != QLatin1Char('0');
        if (next > 5 || (next == 5 && (beyond || scaled % 2 != 0)))
            ++scaled;
    }
    if (negative)
        scaled = -scaled;
    if (scaled > std::numeric_limits<std::int64_t>::max() || scaled < std::numeric_limits<std::int64_t>::min())
        return std::nullopt;
    return Currency::fromScaled(static_cast<std::int64_t>(scaled));
}

// Credentials are stored scrambled, as hexadecimal digits, so that they are
// not readable at a glance and hold no character that INI files or the
// suite's lists give a meaning to.
constexpr unsigned char kKey[] = {0x5A, 0x13, 0xC7, 0x2E, 0x91, 0x6B, 0xF4, 0x38};

} // namespace

Currency ClsComponente::ConvierteACurrency(const Variant &value)
{
    if (value.type() == Variant::Type::Currency)
        return value.toCurrency();
    if (value.type() == Variant::Type::String)
        if (const auto exact = exactCurrency(normalisedNumberText(value.rawString())))
            return *exact;
    return Currency::fromDouble(numberOf(value));
}

std::int32_t ClsComponente::ConvierteALong(const Variant &value)
{
    return vb::CLng(numberOf(value));
}

double ClsComponente::ConvierteADouble(const Variant &value)
{
    return numberOf(value);
}

Variant ClsComponente::ValorNoNulo(const Variant &value)
{
    if (value.isNull() || value.isEmpty())
        return Variant(QStringLiteral(""));
    return value;
}

QString ClsComponente::FormateaCodigo(const QString &code, int Ancho)
{
    const QStringView plain = vb::TrimView(code);
    if (plain.isEmpty())
        return {};
    // Codes mostly come at their width already: then the code is its own answer.
    if (plain.size() > Ancho || (code.size() == Ancho && plain.end() == code.end()))
        return code;
    QString out(Ancho, Qt::Uninitialized);
    const qsizetype blancos = Ancho - plain.size();
    std::fill_n(out.data(), blancos, QLatin1Char(' '));
    std::copy(plain.begin(), plain.end(), out.data() + blancos);
    return out;
}

QString ClsComponente::QuitaFormatoCodigo(const QString &code)
{
    return vb::Trim(code);
}

QString ClsComponente::QuitaCaracteres(const QString &text, const QString &c1, const QString &c2, const QString &c3)
{
    QString out = text;
    for (const QString *c : {&c1, &c2, &c3})
        if (!c->isEmpty())
            out.remove(*c, Qt::CaseSensitive);
    return out;
}

QString ClsComponente::Reemplaza(const QString &text, const QString &find, const QString &replacement)
{
    if (find.isEmpty())
        return text;
    return vb::Replace(text, find, replacement, 1, -1, vb::Compare::Binary);
}

QString ClsComponente::ReemplazaTexto(const QString &text, const QString &find, const QString &replacement)
{
    if (find.isEmpty())
        return text;
    return vb::Replace(text, find, replacement, 1, -1, vb::Compare::Text);
}

int ClsComponente::CuentaPalabras(const QString &text)
{
    int words = 0;
    bool inWord = false;
    for (QChar ch : text) {
        const bool blank = ch == QLatin1Char(' ') || ch == QLatin1Char('\t') || ch == QLatin1Char('\r')
                           || ch == QLatin1Char('\n');
        if (!blank && !inWord)
            ++words;
        inWord = !blank;
    }
    return words;
}

QString ClsComponente::AgregaBarra(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path;
    return path + QLatin1Char('/');
}

bool ClsComponente::EstaEnLista(const QString &value, const QStringList &list)
{
    const QString wanted = vb::Trim(value);
    for (const QString &item : list)
        if (vb::EqualsText(wanted, vb::Trim(item)))
            return true;
    return false;
}

QString ClsComponente::ValorATexto(const Variant &value)
{
    if (value.isNull() || value.isEmpty())
        return {};
    return value.toString();
}

void ClsComponente::PreparaFormulario(QWidget *window, const Variant &option)
{
    (void) option; // every option prepares the window the same way here
    if (!window)
        return;
    if (window->windowTitle().isEmpty())
        window->setWindowTitle(ui::ApplicationTitle());
    if (window->windowIcon().isNull() && !QApplication::windowIcon().isNull())
        window->setWindowIcon(QApplication::windowIcon());
    if (window->isWindow() && !window->isVisible()) {
        const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = window->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window->move(frame.topLeft());
        }
    }
}

QString ClsComponente::TextoError(const ErrObject &err, const QString &routine) const
{
    QString text = QStringLiteral("Se produjo el error %1:\n%2").arg(err.Number).arg(err.Description);
    if (!err.SQLState.isEmpty())
        text += QStringLiteral("\nEstado SQL: %1 (código nativo %2)").arg(err.SQLState).arg(err.NativeError);
    if (!err.Source.isEmpty())
        text += QStringLiteral("\nOrigen: %1").arg(err.Source);
    if (!routine.isEmpty())
        text += QStringLiteral("\nRutina: %1").arg(routine);
    return text;
}

int ClsComponente::MuestraError(const ErrObject &err, const Variant &omitted, const QString &routine)
{
    if (err.Number == 0 && err.Description.isEmpty())
        return 0; // nothing failed: nothing to ask
    int style = ui::vbAbortRetryIgnore + ui::vbCritical;
    if (omitted.isNumber())
        style = omitted.toLong();
    return ui::MsgBox(TextoError(err, routine), style, QStringLiteral("Aviso al operador!!!"));
}

QString ClsComponente::CodificaClave(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    QByteArray scrambled(bytes.size(), '\0');
    unsigned char chain = 0xA5;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto plain = static_cast<unsigned char>(bytes[i]);
        const auto coded = static_cast<unsigned char>(plain ^ kKey[i % sizeof kKey] ^ chain);
        scrambled[i] = static_cast<char>(coded);
        chain = coded;
    }
    return QString::fromLatin1(scrambled.toHex().toUpper());
}

QString ClsComponente::DecodificaClave(const QString &stored)
{
    // A value that is not in the stored form (typed by hand into the INI file)
    // is taken as it stands.
    static const QRegularExpression hex(QStringLiteral("^(?:[0-9A-Fa-f]{2})*$"));
    if (!hex.match(stored).hasMatch())
        return stored;
    const QByteArray scrambled = QByteArray::fromHex(stored.toLatin1());
    QByteArray bytes(scrambled.size(), '\0');
    unsigned char chain = 0xA5;
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        const auto coded = static_cast<unsigned char>(scrambled[i]);
        bytes[i] = static_cast<char>(coded ^ kKey[i % sizeof kKey] ^ chain);
        chain = coded;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return stored;
    return text;
}
