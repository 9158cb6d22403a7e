#include "TRegIniFile.h"

#include "RegistryFormat.h"
#include "StrToInt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace {

constexpr int kMaxKeyNameLength = 255;

QString ErrorText(const char *pattern, const QString &name)
{
    return QString::fromLatin1(pattern).arg(name);
}

[[noreturn]] void RaiseCreateKey(const QString &section)
{
    throw ERegistryException(ErrorText("Failed to create key %1", section));
}

[[noreturn]] void RaiseSetData(const QString &ident)
{
    throw ERegistryException(ErrorText("Failed to set data for '%1'", ident));
}

// A key name must not leave its place in the store: no empty names, no "." or "..", no "/".
bool IsValidKeyName(const QString &name)
{
    return !name.isEmpty() && name.size() <= kMaxKeyNameLength && name != u"." && name != u".." &&
           !name.contains(u'/') && !name.contains(QChar(0));
}

// A section may name a subkey path with "\"; QSettings groups are separated by "/".
std::optional<QString> GroupOf(const QString &section)
{
    const QStringList parts = section.split(u'\\');
    for (const QString &part : parts) {
        if (!IsValidKeyName(part))
            return std::nullopt;
    }
    return parts.join(u'/');
}

// "/" would open a group and "\" is a subkey separator for QSettings on Windows.
bool IsValidValueName(const QString &ident)
{
    return !ident.isEmpty() && !ident.contains(u'/') && !ident.contains(u'\\');
}

std::optional<QString> SettingsKey(const QString &section, const QString &ident)
{
    const std::optional<QString> group = GroupOf(section);
    if (!group || !IsValidValueName(ident))
        return std::nullopt;
    return *group + u'/' + ident;
}

QSettings::Format StoreFormat()
{
#ifdef Q_OS_WIN
    return QSettings::NativeFormat;
#else
    return RegistryFormat::Format();
#endif
}

#ifndef Q_OS_WIN
// The user's root maps onto the generic configuration directory, which stands for "Software".
QString ConfigDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

bool IsSoftware(const QStringList &path)
{
    return !path.isEmpty() && path.front().compare(u"Software", Qt::CaseInsensitive) == 0;
}

// The directory that stands for a key below "Software", which holds its subkeys.
QString DirectoryOf(const QStringList &path)
{
    return (QStringList{ConfigDirectory()} + path.mid(1)).join(u'/');
}
#endif

// The text of a stored value; registry texts end at their first zero.
QString TextOf(const QVariant &value, const QString &ident)
{
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        const qsizetype zero = text.indexOf(QChar(0));
        return zero < 0 ? text : text.left(zero);
    }
    if (value.typeId() == qMetaTypeId<RegistryFormat::TypedValue>()) {
        const auto typed = value.value<RegistryFormat::TypedValue>();
        if (!typed.readable)
            throw ERegistryException(ErrorText("Failed to get data for '%1'", ident));
        if (typed.type == RegistryFormat::RegSz || typed.type == RegistryFormat::RegExpandSz) {
            // A registry text's data is UTF-16, little-endian; an odd last byte is no character.
            QString text;
            for (qsizetype i = 0; i + 1 < typed.data.size(); i += 2) {
                const char16_t unit =
                    static_cast<uchar>(typed.data[i]) | static_cast<uchar>(typed.data[i + 1]) << 8;
                if (unit == 0)
                    break;
                text += QChar(unit);
            }
            return text;
        }
    }
    throw ERegistryException(ErrorText("Invalid data type for '%1'", ident));
}

// The stored value of key, if the store can be read and holds one. A store that cannot be read
// is a section that cannot be opened: every value is missing.
std::optional<QVariant> ReadStoredValue(const QString &location, const QString &key)
{
#ifdef Q_OS_WIN
    const QSettings settings(location, QSettings::NativeFormat);
    const QVariant value = settings.value(key);
#else
    // Read past QSettings: its per-process cache misses a rewrite of the same size within the
    // same millisecond and would give the old values.
    QFile file(location);
    QSettings::SettingsMap map;
    if (!file.open(QIODevice::ReadOnly) || !RegistryFormat::Read(file, map))
        return std::nullopt;
    const QVariant value = map.value(key);
#endif
    if (!value.isValid())
        return std::nullopt;
    return value;
}

} // namespace

TRegIniFile::TRegIniFile(const QString &keyPath)
{
    OpenKey(keyPath, true);
}

// Nothing is held open between calls, so releasing the object closes nothing.
TRegIniFile::~TRegIniFile() = default;

bool TRegIniFile::OpenKey(const QString &key, bool canCreate)
{
    const std::optional<QStringList> path = ResolveKey(key);
    if (!path)
        return false;
    const bool opened = canCreate ? CreateKey(*path) : KeyExists(*path);
    if (opened)
        path_ = *path;
    return opened;
}

QString TRegIniFile::CurrentPath() const
{
    return path_.join(u'\\');
}

QString TRegIniFile::Location() const
{
    return LocationOf(path_);
}

std::optional<QStringList> TRegIniFile::ResolveKey(const QString &key) const
{
    const bool fromRoot = key.startsWith(u'\\');
    const QStringList names = key.split(u'\\', Qt::SkipEmptyParts);
    if (names.isEmpty())
        return std::nullopt;
    for (const QString &name : names) {
        if (!IsValidKeyName(name))
            return std::nullopt;
    }
    return (fromRoot ? QStringList() : path_) + names;
}

#ifdef Q_OS_WIN

QString TRegIniFile::LocationOf(const QStringList &path) const
{
    return (QStringList{QStringLiteral("HKEY_CURRENT_USER")} + path).join(u'\\');
}

bool TRegIniFile::KeyExists(const QStringList &path) const
{
    QSettings parent(LocationOf(path.mid(0, path.size() - 1)), QSettings::NativeFormat);
    return parent.childGroups().contains(path.back(), Qt::CaseInsensitive);
}

bool TRegIniFile::CreateKey(const QStringList &path) const
{
    // QSettings opens its key for writing, creating the path, when asked whether it may write.
    QSettings key(LocationOf(path), QSettings::NativeFormat);
    return key.isWritable();
}

#else

QString TRegIniFile::LocationOf(const QStringList &path) const
{
    if (!IsSoftware(path) || path.size() < 2)
        return QString();
    return DirectoryOf(path) + u'.' + RegistryFormat::Extension();
}

bool TRegIniFile::KeyExists(const QStringList &path) const
{
    if (!IsSoftware(path))
        return false;
    const QString location = LocationOf(path);
    return QFileInfo(DirectoryOf(path)).isDir() ||
           (!location.isEmpty() && QFileInfo(location).isFile());
}

// A key is there once the directory that holds its file is; the file comes with the first write.
bool TRegIniFile::CreateKey(const QStringList &path) const
{
    if (!IsSoftware(path))
        return false;
    const QString location = LocationOf(path);
    const QString directory =
        location.isEmpty() ? ConfigDirectory() : QFileInfo(location).absolutePath();
    return QDir().mkpath(directory);
}

#endif

std::optional<QString> TRegIniFile::ReadText(const QString &section, const QString &ident) const
{
    const QString location = Location();
    const std::optional<QString> key = SettingsKey(section, ident);
    if (location.isEmpty() || !key)
        return std::nullopt;
    const std::optional<QVariant> value = ReadStoredValue(location, *key);
    if (!value)
        return std::nullopt;
    return TextOf(*value, ident);
}

int TRegIniFile::ReadInteger(const QString &section, const QString &ident, int defaultValue) const
{
    const std::optional<QString> text = ReadText(section, ident);
    return text ? StrToIntDef(*text, defaultValue) : defaultValue;
}

bool TRegIniFile::ReadBool(const QString &section, const QString &ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

QString TRegIniFile::ReadString(const QString &section, const QString &ident,
                                const QString &defaultValue) const
{
    return ReadText(section, ident).value_or(defaultValue);
}

void TRegIniFile::WriteInteger(const QString &section, const QString &ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

void TRegIniFile::WriteBool(const QString &section, const QString &ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TRegIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    const QString location = Location();
    if (location.isEmpty() || !GroupOf(section))
        RaiseCreateKey(section);
    const std::optional<QString> key = SettingsKey(section, ident);
    if (!key)
        RaiseSetData(ident);

    // A fresh object per write: QSettings' status never clears, so it then speaks of this write.
    QSettings settings(location, StoreFormat());
    if (!settings.isWritable())
        RaiseCreateKey(section);
    settings.setValue(*key, value);
    settings.sync();
    // FormatError comes from reading a damaged file, which this write has just replaced.
    if (settings.status() == QSettings::AccessError)
        RaiseSetData(ident);
}
