#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QSettings>

class QIODevice;

// A QSettings format in the spirit of a registry export, for the per-user settings store:
//
//   Registry Settings 1
//
//   [Option]
//   "Width"="600"
//   "Left"=dword:00000064
//   "Data"=hex:01,02
//   "Path"=hex(2):36,00,00,00
//
// Text values come back exactly as written: inside quotes only "\\", "\"", control characters,
// lone surrogates and U+FEFF are escaped (\\ \" \n \r \t \uXXXX), everything else is UTF-8.
// Values of other types keep their registry type and data. The reader never fails on a line: a
// line it cannot parse is skipped (absent), and a value whose data it cannot parse is kept as an
// unreadable value that the writer puts back unchanged. Only a file without the header line is
// refused, which QSettings reports as FormatError.
class RegistryFormat
{
public:
    // The registry types that have a name here; any other number is kept as it is.
    enum ValueType : quint32
    {
        RegNone = 0,
        RegSz = 1,
        RegExpandSz = 2,
        RegBinary = 3,
        RegDword = 4,
    };

    // A value that is not a plain text: its registry type and raw data, or, when readable is
    // false, the text after "=" that the reader could not parse.
    struct TypedValue
    {
        quint32 type = RegNone;
        QByteArray data;
        bool readable = true;

        static TypedValue Dword(quint32 value);
        static TypedValue Unreadable(QByteArray rawText);

        friend bool operator==(const TypedValue &a, const TypedValue &b)
        {
            return a.type == b.type && a.data == b.data && a.readable == b.readable;
        }
        friend bool operator!=(const TypedValue &a, const TypedValue &b) { return !(a == b); }
    };

    // The format's id, registered with QSettings on first use.
    static QSettings::Format Format();
    // The settings file's extension, without the dot.
    static QString Extension();

    // Parses a whole file into QSettings keys ("Section/Name"). False, with map untouched, when
    // the bytes do not start with the header line.
    static bool Parse(const QByteArray &bytes, QSettings::SettingsMap &map);
    // Writes the keys as a file; false when a value is neither a QString nor a TypedValue.
    static bool Serialize(const QSettings::SettingsMap &map, QByteArray &bytes);

    // The functions registered with QSettings.
    static bool Read(QIODevice &device, QSettings::SettingsMap &map);
    static bool Write(QIODevice &device, const QSettings::SettingsMap &map);
};

Q_DECLARE_METATYPE(RegistryFormat::TypedValue)
