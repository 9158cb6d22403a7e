// The settings file reader on any input: it must not crash, and what it reads must survive a
// write and a second read unchanged (texts byte-exact, typed and unreadable values as they were).
#include "RegistryFormat.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "registry format: %s\n", what);
    std::abort();
}

void CheckRoundTrip(const QSettings::SettingsMap &map)
{
    QByteArray written;
    if (!RegistryFormat::Serialize(map, written))
        Fail("a map the reader made cannot be written");
    QSettings::SettingsMap reread;
    if (!RegistryFormat::Parse(written, reread))
        Fail("a written file is refused");
    if (reread != map)
        Fail("values changed on a write and a read");
    QByteArray rewritten;
    if (!RegistryFormat::Serialize(reread, rewritten) || rewritten != written)
        Fail("writing the same values twice gives different files");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    QSettings::SettingsMap map;
    if (RegistryFormat::Parse(bytes, map))
        CheckRoundTrip(map);
    else if (!map.isEmpty())
        Fail("a refused file left values behind");

    // The same bytes as a text value and as names: any UTF-16, lone surrogates included.
    const QString text(reinterpret_cast<const QChar *>(data), static_cast<qsizetype>(size / 2));
    CheckRoundTrip({{QStringLiteral("Option/Width"), text},
                    {text + QStringLiteral("/Name"), QStringLiteral("x")},
                    {QStringLiteral("Option/") + text, QStringLiteral("y")}});
    return 0;
}
