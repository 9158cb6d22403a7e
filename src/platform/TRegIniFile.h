#pragma once

#include "Exception.h"

#include <QString>
#include <QStringList>
#include <optional>

// The per-user registry wrapper: keys below the user's root, each presenting its subkeys as
// sections of named text values. Every read and write opens the store afresh and closes it again,
// so an object holds nothing open and several objects (or programs) can use the store at once.
//
// On Windows the store is HKEY_CURRENT_USER itself (QSettings' native format). Elsewhere the key
// Software\A\B lives in the file <generic config location>/A/B.reg (RegistryFormat), its
// sections as groups; the user's root and "Software" alone hold no values there.
//
// Errors are ERegistryException: "Invalid data type for '%s'" (a value that is not text),
// "Failed to get data for '%s'" (a value whose data cannot be read), "Failed to create key %s"
// (a section that cannot be written to; raised before anything is written) and
// "Failed to set data for '%s'" (a write that did not reach the store).
class TRegIniFile
{
public:
    // Opens the key path (usually "Software") below the user's root, creating what is missing.
    explicit TRegIniFile(const QString &keyPath);
    ~TRegIniFile();
    TRegIniFile(const TRegIniFile &) = delete;
    TRegIniFile &operator=(const TRegIniFile &) = delete;

    // Opens key below the current key (below the root when it starts with "\"); subkeys are
    // separated by "\". With canCreate, missing keys are created. On failure the current key
    // stays as it was and the result is false.
    bool OpenKey(const QString &key, bool canCreate);
    // The current key, "Software\Ombrelix\Mailer" for instance; empty at the root.
    QString CurrentPath() const;
    // Where the current key's values are kept: a file, or a registry path on Windows. Empty where
    // the current key can hold no values.
    QString Location() const;

    // A missing section or value gives the default; a text that is not an integer as well.
    int ReadInteger(const QString &section, const QString &ident, int defaultValue) const;
    // The integer read with 1 or 0 as the default, compared with 0.
    bool ReadBool(const QString &section, const QString &ident, bool defaultValue) const;
    QString ReadString(const QString &section, const QString &ident,
                       const QString &defaultValue) const;

    // Each write creates the section when it is missing and is on disk when it returns.
    void WriteInteger(const QString &section, const QString &ident, int value);
    void WriteBool(const QString &section, const QString &ident, bool value);
    void WriteString(const QString &section, const QString &ident, const QString &value);

private:
    std::optional<QStringList> ResolveKey(const QString &key) const;
    bool KeyExists(const QStringList &path) const;
    bool CreateKey(const QStringList &path) const;
    QString LocationOf(const QStringList &path) const;
    std::optional<QString> ReadText(const QString &section, const QString &ident) const;

    QStringList path_;
};
