#include "RegistryFormat.h"

#include <QByteArrayView>
#include <QFileDevice>
#include <QIODevice>
#include <QMap>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr QByteArrayView kHeader = "Registry Settings 1";
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";
constexpr QByteArrayView kDwordPrefix = "dword:";
constexpr QByteArrayView kHexPrefix = "hex:";
constexpr QByteArrayView kTypedHexPrefix = "hex(";
constexpr int kMaxTypeDigits = 8;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One to eight hexadecimal digits, the whole of text.
std::optional<quint32> ParseHexNumber(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > kMaxTypeDigits)
        return std::nullopt;
    quint32 value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<quint32>(digit);
    }
    return value;
}

// "01,02,ff": pairs of hexadecimal digits separated by single commas; empty text is no bytes.
std::optional<QByteArray> ParseHexBytes(QByteArrayView text)
{
    QByteArray bytes;
    if (text.isEmpty())
        return bytes;
    if (text.size() % 3 != 2)
        return std::nullopt;
    bytes.reserve(text.size() / 3 + 1);
    for (qsizetype i = 0; i < text.size(); i += 3) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0 || (i + 2 < text.size() && text[i + 2] != ','))
            return std::nullopt;
        bytes.append(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

// Decodes an escaped text that starts at position and ends at the first unescaped terminator;
// position is left just after the terminator. Nothing when the text is unterminated or holds an
// escape that does not exist.
std::optional<QString> ParseEscaped(QByteArrayView line, qsizetype &position, char terminator)
{
    QString text;
    qsizetype runStart = position;
    auto flushRun = [&](qsizetype runEnd) {
        text += QString::fromUtf8(line.sliced(runStart, runEnd - runStart));
    };
    for (qsizetype i = position; i < line.size(); ++i) {
        const char c = line[i];
        if (c == terminator) {
            flushRun(i);
            position = i + 1;
            return text;
        }
        if (c != '\\')
            continue;
        flushRun(i);
        if (i + 1 >= line.size())
            return std::nullopt;
        switch (line[i + 1]) {
        case '\\':
            text += u'\\';
            break;
        case '"':
            text += u'"';
            break;
        case 'n':
            text += u'\n';
            break;
        case 'r':
            text += u'\r';
            break;
        case 't':
            text += u'\t';
            break;
        case 'u': {
            const std::optional<quint32> code =
                i + 6 <= line.size() ? ParseHexNumber(line.sliced(i + 2, 4)) : std::nullopt;
            if (!code)
                return std::nullopt;
            text += QChar(static_cast<char16_t>(*code));
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
        ++i;
        runStart = i + 1;
    }
    return std::nullopt;
}

QVariant ParseTypedValue(quint32 type, QByteArrayView hexBytes, QByteArrayView raw)
{
    const std::optional<QByteArray> bytes = ParseHexBytes(hexBytes);
    if (!bytes)
        return QVariant::fromValue(RegistryFormat::TypedValue::Unreadable(raw.toByteArray()));
    return QVariant::fromValue(RegistryFormat::TypedValue{type, *bytes, true});
}

// The part of a value line after "=".
QVariant ParseValue(QByteArrayView raw)
{
    const auto unreadable = [raw] {
        return QVariant::fromValue(RegistryFormat::TypedValue::Unreadable(raw.toByteArray()));
    };
    if (raw.startsWith('"')) {
        qsizetype position = 1;
        const std::optional<QString> text = ParseEscaped(raw, position, '"');
        if (!text || position != raw.size())
            return unreadable();
        return *text;
    }
    if (raw.startsWith(kDwordPrefix)) {
        const std::optional<quint32> number = ParseHexNumber(raw.sliced(kDwordPrefix.size()));
        if (!number)
            return unreadable();
        return QVariant::fromValue(RegistryFormat::TypedValue::Dword(*number));
    }
    if (raw.startsWith(kHexPrefix))
        return ParseTypedValue(RegistryFormat::RegBinary, raw.sliced(kHexPrefix.size()), raw);
    if (raw.startsWith(kTypedHexPrefix)) {
        const qsizetype close = raw.indexOf("):");
        if (close < 0)
            return unreadable();
        const qsizetype typeStart = kTypedHexPrefix.size();
        const std::optional<quint32> type =
            ParseHexNumber(raw.sliced(typeStart, close - typeStart));
        if (!type)
            return unreadable();
        return ParseTypedValue(*type, raw.sliced(close + 2), raw);
    }
    return unreadable();
}

QString KeyOf(const QString &section, const QString &name)
{
    return section.isEmpty() ? name : section + u'/' + name;
}

// Reads the lines after the header. A section header that cannot be parsed hides the values
// up to the next good one, so they cannot land in another section.
class BodyParser
{
public:
    explicit BodyParser(QSettings::SettingsMap &map) : map_(map) {}

    void ParseLine(QByteArrayView line)
    {
        if (line.startsWith('['))
            ParseSectionLine(line);
        else if (line.startsWith('"'))
            ParseValueLine(line);
        // Blank lines, comments and anything else carry nothing.
    }

private:
    void ParseSectionLine(QByteArrayView line)
    {
        qsizetype position = 1;
        std::optional<QString> name = ParseEscaped(line, position, ']');
        sectionValid_ = name.has_value() && position == line.size();
        section_ = sectionValid_ ? std::move(*name) : QString();
    }

    void ParseValueLine(QByteArrayView line)
    {
        qsizetype position = 1;
        const std::optional<QString> name = ParseEscaped(line, position, '"');
        if (!sectionValid_ || !name || position >= line.size() || line[position] != '=')
            return;
        map_.insert(KeyOf(section_, *name), ParseValue(line.sliced(position + 1)));
    }

    QSettings::SettingsMap &map_;
    QString section_;
    bool sectionValid_ = true; // values before any section header belong to no section
};

// The next line from position, without its line break and trailing carriage returns.
QByteArrayView NextLine(QByteArrayView bytes, qsizetype &position)
{
    qsizetype end = bytes.indexOf('\n', position);
    if (end < 0)
        end = bytes.size();
    QByteArrayView line = bytes.sliced(position, end - position);
    position = end + 1;
    while (line.endsWith('\r'))
        line.chop(1);
    return line;
}

bool IsLoneSurrogate(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

bool MustEscape(QStringView text, qsizetype i, bool inSection)
{
    const char16_t c = text[i].unicode();
    return c < 0x20 || c == 0x7F || c == u'\\' || c == u'"' || c == 0xFEFF ||
           (inSection && c == u']') || IsLoneSurrogate(text, i);
}

void AppendEscapedChar(QByteArray &out, char16_t c)
{
    switch (c) {
    case u'\\':
        out += "\\\\";
        return;
    case u'"':
        out += "\\\"";
        return;
    case u'\n':
        out += "\\n";
        return;
    case u'\r':
        out += "\\r";
        return;
    case u'\t':
        out += "\\t";
        return;
    default:
        break;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kDigits[(c >> shift) & 0xF];
}

void AppendEscaped(QByteArray &out, QStringView text, bool inSection)
{
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!MustEscape(text, i, inSection))
            continue;
        out += text.sliced(runStart, i - runStart).toUtf8();
        AppendEscapedChar(out, text[i].unicode());
        runStart = i + 1;
    }
    out += text.sliced(runStart).toUtf8();
}

void AppendHexBytes(QByteArray &out, const QByteArray &bytes)
{
    out += bytes.toHex(',');
}

bool AppendValue(QByteArray &out, const QVariant &value)
{
    if (value.typeId() == QMetaType::QString) {
        out += '"';
        AppendEscaped(out, value.toString(), false);
        out += '"';
        return true;
    }
    if (value.typeId() != qMetaTypeId<RegistryFormat::TypedValue>())
        return false;
    const auto typed = value.value<RegistryFormat::TypedValue>();
    if (!typed.readable) {
        out += typed.data;
    } else if (typed.type == RegistryFormat::RegDword && typed.data.size() == 4) {
        const auto *data = reinterpret_cast<const uchar *>(typed.data.constData());
        const quint32 number = data[0] | data[1] << 8 | data[2] << 16 | quint32(data[3]) << 24;
        out += kDwordPrefix.toByteArray() + QByteArray::number(number, 16).rightJustified(8, '0');
    } else if (typed.type == RegistryFormat::RegBinary) {
        out += kHexPrefix.toByteArray();
        AppendHexBytes(out, typed.data);
    } else {
        out += kTypedHexPrefix.toByteArray() + QByteArray::number(typed.type, 16) + "):";
        AppendHexBytes(out, typed.data);
    }
    return true;
}

// Section and value name of a key: the name is what follows the last "/" (a key whose only
// "/" comes first has no section, so that it reads back as the same key).
std::pair<QString, QString> SplitKey(const QString &key)
{
    const qsizetype slash = key.lastIndexOf(u'/');
    if (slash <= 0)
        return {QString(), key};
    return {key.left(slash), key.mid(slash + 1)};
}

} // namespace

RegistryFormat::TypedValue RegistryFormat::TypedValue::Dword(quint32 value)
{
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return {RegDword, data, true};
}

RegistryFormat::TypedValue RegistryFormat::TypedValue::Unreadable(QByteArray rawText)
{
    return {RegNone, std::move(rawText), false};
}

QSettings::Format RegistryFormat::Format()
{
    // QSettings keeps its formats in one table per process; ours is entered once.
    static const QSettings::Format format =
        QSettings::registerFormat(Extension(), Read, Write, Qt::CaseSensitive);
    return format;
}

QString RegistryFormat::Extension()
{
    return QStringLiteral("reg");
}

bool RegistryFormat::Parse(const QByteArray &bytes, QSettings::SettingsMap &map)
{
    QByteArrayView view(bytes);
    if (view.startsWith(kUtf8Bom))
        view = view.sliced(kUtf8Bom.size());
    qsizetype position = 0;
    if (NextLine(view, position) != kHeader)
        return false;

    QSettings::SettingsMap parsed;
    BodyParser parser(parsed);
    while (position < view.size())
        parser.ParseLine(NextLine(view, position));
    // QSettings may hand in a map that already holds keys; the file's keys take their place.
    for (auto it = parsed.cbegin(); it != parsed.cend(); ++it)
        map.insert(it.key(), it.value());
    return true;
}

bool RegistryFormat::Serialize(const QSettings::SettingsMap &map, QByteArray &bytes)
{
    QMap<QString, std::vector<std::pair<QString, QVariant>>> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        auto [section, name] = SplitKey(it.key());
        sections[section].emplace_back(std::move(name), it.value());
    }

    QByteArray out = kHeader.toByteArray() + '\n';
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        // Values without a section come first (the map sorts the empty name first), before any
        // section header.
        if (!it.key().isEmpty()) {
            out += "\n[";
            AppendEscaped(out, it.key(), true);
            out += "]\n";
        }
        for (const auto &[name, value] : it.value()) {
            out += '"';
            AppendEscaped(out, name, false);
            out += "\"=";
            if (!AppendValue(out, value))
                return false;
            out += '\n';
        }
    }
    bytes = std::move(out);
    return true;
}

bool RegistryFormat::Read(QIODevice &device, QSettings::SettingsMap &map)
{
    const QByteArray bytes = device.readAll();
    const auto *file = qobject_cast<QFileDevice *>(&device);
    if (file && file->error() != QFileDevice::NoError)
        return false;
    return Parse(bytes, map);
}

bool RegistryFormat::Write(QIODevice &device, const QSettings::SettingsMap &map)
{
    QByteArray bytes;
    return Serialize(map, bytes) && device.write(bytes) == bytes.size();
}
