// Differential check of the settings store's integer rule: StrToIntDef against a reference that
// is written separately here, on UTF-8 bytes with the standard library's conversions.
#include "StrToInt.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

bool IsDigitOfBase(unsigned char c, int base)
{
    return base == 16 ? std::isxdigit(c) != 0 : std::isdigit(c) != 0;
}

// Strips a hexadecimal prefix from rest; true when there was one.
bool StripHexPrefix(std::string &rest)
{
    for (const char *prefix : {"$", "0x", "0X", "x", "X"}) {
        if (rest.compare(0, std::strlen(prefix), prefix) == 0) {
            rest.erase(0, std::strlen(prefix));
            return true;
        }
    }
    return false;
}

std::optional<std::int32_t> ReferenceParse(const std::string &text)
{
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return std::nullopt;
    std::string rest = text.substr(start);
    bool negative = false;
    if (rest[0] == '-' || rest[0] == '+') {
        negative = rest[0] == '-';
        rest.erase(0, 1);
    }
    const int base = StripHexPrefix(rest) ? 16 : 10;
    if (rest.empty() || !std::all_of(rest.begin(), rest.end(), [base](char c) {
            return IsDigitOfBase(static_cast<unsigned char>(c), base);
        }))
        return std::nullopt;

    const std::size_t firstSignificant = rest.find_first_not_of('0');
    const std::string digits =
        firstSignificant == std::string::npos ? std::string("0") : rest.substr(firstSignificant);
    if (base == 16) {
        if (digits.size() > 8)
            return std::nullopt;
        const long long bits = std::stoll(digits, nullptr, 16);
        long long value = bits >= 0x80000000LL ? bits - 0x100000000LL : bits;
        if (negative)
            value = -value;
        if (value > INT32_MAX) // only -(-2^31), which wraps in 32 bits
            value -= 0x100000000LL;
        return static_cast<std::int32_t>(value);
    }
    if (digits.size() > 10)
        return std::nullopt;
    long long value = std::stoll(digits);
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void Check(const QString &text)
{
    const std::optional<std::int32_t> reference = ReferenceParse(text.toStdString());
    // Several defaults, so that a result that happens to equal one default cannot hide a fault.
    for (const int defaultValue : {0, 1, INT_MIN}) {
        const int expected = reference.value_or(defaultValue);
        const int actual = StrToIntDef(text, defaultValue);
        if (actual != expected) {
            std::fprintf(stderr, "StrToIntDef(\"%s\", %d) gave %d, the reference %d\n",
                         text.toUtf8().constData(), defaultValue, actual, expected);
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const char *bytes = reinterpret_cast<const char *>(data);
    Check(QString::fromUtf8(bytes, static_cast<qsizetype>(size)));
    // The same bytes as UTF-16 reach characters beyond Latin-1 that UTF-8 input rarely makes.
    Check(QString(reinterpret_cast<const QChar *>(bytes), static_cast<qsizetype>(size / 2)));
    return 0;
}
