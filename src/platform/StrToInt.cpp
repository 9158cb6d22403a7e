#include "StrToInt.h"

#include <cstdint>
#include <optional>

namespace {

constexpr std::uint32_t kMaxPositiveDecimal = 2147483647u;
constexpr std::uint32_t kMaxNegativeDecimal = 2147483648u;
constexpr int kMaxHexDigits = 8;

int DigitValue(QChar c, bool hex)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (hex && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (hex && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Length of the hexadecimal prefix at position, or 0 when there is none.
qsizetype HexPrefixLength(const QString &text, qsizetype position)
{
    if (position >= text.size())
        return 0;
    const QChar c = text.at(position);
    if (c == u'$' || c == u'x' || c == u'X')
        return 1;
    if (c == u'0' && position + 1 < text.size() &&
        (text.at(position + 1) == u'x' || text.at(position + 1) == u'X'))
        return 2;
    return 0;
}

// The digits from position to the end of text, at least one, as an unsigned number no greater
// than limit (decimal) or of at most eight significant digits (hexadecimal).
std::optional<std::uint32_t> ParseDigits(const QString &text, qsizetype position, bool hex,
                                         std::uint32_t limit)
{
    if (position >= text.size())
        return std::nullopt;
    std::uint64_t value = 0;
    int significantDigits = 0;
    for (qsizetype i = position; i < text.size(); ++i) {
        const int digit = DigitValue(text.at(i), hex);
        if (digit < 0)
            return std::nullopt;
        if (value == 0 && digit == 0)
            continue; // leading zeros do not count
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        ++significantDigits;
        // Checked per digit so that a long run of digits cannot overflow the accumulator.
        if (hex ? significantDigits > kMaxHexDigits : value > limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

int StrToIntDef(const QString &text, int defaultValue)
{
    qsizetype position = 0;
    while (position < text.size() && text.at(position) == u' ')
        ++position;

    bool negative = false;
    if (position < text.size() && (text.at(position) == u'-' || text.at(position) == u'+')) {
        negative = text.at(position) == u'-';
        ++position;
    }

    const qsizetype prefix = HexPrefixLength(text, position);
    const bool hex = prefix > 0;
    const std::uint32_t limit = negative ? kMaxNegativeDecimal : kMaxPositiveDecimal;
    const std::optional<std::uint32_t> magnitude = ParseDigits(text, position + prefix, hex, limit);
    if (!magnitude)
        return defaultValue;

    // Unsigned arithmetic gives the two's-complement wrap that "-$80000000" needs.
    const std::uint32_t bits = negative ? 0u - *magnitude : *magnitude;
    return static_cast<std::int32_t>(bits);
}
