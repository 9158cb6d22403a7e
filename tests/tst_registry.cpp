// The per-user settings store: the integer rule, the file format and TRegIniFile over it.
#include "RegistryFormat.h"
#include "StrToInt.h"
#include "TRegIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <climits>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QString kSection = QStringLiteral("Option");
const char kHelperOption[] = "--write-option";

QString ConfigDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString StoreDirectory()
{
    return ConfigDirectory() + QStringLiteral("/Ombrelix");
}

QString SettingsFile()
{
    return StoreDirectory() + QStringLiteral("/Mailer.reg");
}

// Opens Software\Ombrelix\Mailer as the program does.
void OpenMailerKey(TRegIniFile &store)
{
    store.OpenKey(QStringLiteral("Ombrelix"), true);
    store.OpenKey(QStringLiteral("Mailer"), true);
}

QByteArray FileWithOption(const QByteArray &lines)
{
    return "Registry Settings 1\n\n[Option]\n" + lines + '\n';
}

void WriteRawFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadRawFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What sits in a directory, so a test can tell that nothing was written there.
QStringList ListingOf(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The message of the ERegistryException that action raises; empty when it raises none.
template <class Action> QString RegistryErrorOf(Action &&action)
{
    try {
        action();
    } catch (const ERegistryException &error) {
        return error.Message();
    }
    return QString();
}

bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

QByteArray Utf16Hex(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes.toHex(',');
}

// Lowers the file size limit for the current process so that a write past it fails, as on a
// full disk; root is bound by the limit too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

// The helper process of the two-writer test: writes Name=Value pairs to the section, then ends.
int WriteOptionsAsHelper(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    try {
        TRegIniFile store(QStringLiteral("Software"));
        OpenMailerKey(store);
        for (int i = 2; i < argc; ++i) {
            const QStringList pair = QString::fromUtf8(argv[i]).split(u'=');
            store.WriteString(kSection, pair.value(0), pair.value(1));
        }
    } catch (const ERegistryException &error) {
        qWarning("%s", error.what());
        return 1;
    }
    return 0;
}

void WriteWithHelper(const QStringList &pairs)
{
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedChannels);
    helper.start(QCoreApplication::applicationFilePath(), QStringList{kHelperOption} + pairs);
    QVERIFY(helper.waitForFinished(60000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);
}

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void strToIntDef_data();
    void strToIntDef();

    void openingCreatesOnlyTheKeyPath();
    void openKeyRefusesNamesThatLeaveTheStore_data();
    void openKeyRefusesNamesThatLeaveTheStore();
    void openKeyWithoutCreateNeedsAnExistingKey();
    void softwareAloneHoldsNoValues();

    void writesPlainDecimalText_data();
    void writesPlainDecimalText();
    void textsRoundTripExactly_data();
    void textsRoundTripExactly();
    void formatRoundTripIsLossless_data();
    void formatRoundTripIsLossless();
    void rewritingKeepsOtherValuesAsTheyWere();

    void readsStoredValue_data();
    void readsStoredValue();
    void readsBoolean_data();
    void readsBoolean();
    void unreadableStoreIsDetectable_data();
    void unreadableStoreIsDetectable();
    void veryLongLinesAndValues();

    void unwritableStoreRaisesCreateKey_data();
    void unwritableStoreRaisesCreateKey();
    void failedWriteRaisesSetData();
    void lastWriterWins_data();
    void lastWriterWins();

private:
    void RemoveStore();

    int probeCount_ = 0;
};

void TestRegistry::initTestCase()
{
    // The store must be the test's own temporary one, never the user's.
    const QString temporary = qEnvironmentVariable("TESK_TEST_TMP");
    QVERIFY2(!temporary.isEmpty(), "run through tests/isolated.sh");
    QVERIFY(ConfigDirectory().startsWith(temporary));
}

void TestRegistry::init()
{
    RemoveStore();
}

void TestRegistry::cleanup()
{
    RemoveStore();
}

void TestRegistry::RemoveStore()
{
    // Tests take permissions away; give them back so that the directory can go.
    QDir store(StoreDirectory());
    if (!store.exists())
        return;
    QFile::setPermissions(StoreDirectory(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString &name : ListingOf(StoreDirectory()))
        QFile::setPermissions(store.filePath(name),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(store.removeRecursively());
}

void TestRegistry::strToIntDef_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    const int fallback = -77;
    QTest::newRow("decimal") << "600" << 600;
    QTest::newRow("dollar hex") << "$258" << 600;
    QTest::newRow("0x hex") << "0x258" << 600;
    QTest::newRow("0X hex") << "0X258" << 600;
    QTest::newRow("x hex mixed case") << "x1F" << 31;
    QTest::newRow("X hex mixed case") << "X1f" << 31;
    QTest::newRow("leading spaces") << "   600" << 600;
    QTest::newRow("trailing space") << "500 " << fallback;
    QTest::newRow("leading tab") << "\t600" << fallback;
    QTest::newRow("letters") << "abc" << fallback;
    QTest::newRow("empty") << "" << fallback;
    QTest::newRow("spaces only") << "   " << fallback;
    QTest::newRow("minus one") << "-1" << -1;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("sign alone") << "-" << fallback;
    QTest::newRow("space after sign") << "- 5" << fallback;
    QTest::newRow("two signs") << "+-5" << fallback;
    QTest::newRow("negative hex") << "-$10" << -16;
    QTest::newRow("sign after prefix") << "$-10" << fallback;
    QTest::newRow("max hex") << "0X7fffffff" << INT_MAX;
    QTest::newRow("eight F digits") << "$FFFFFFFF" << -1;
    QTest::newRow("negated eight F digits") << "-$FFFFFFFF" << 1;
    QTest::newRow("hex sign bit") << "$80000000" << INT_MIN;
    QTest::newRow("negated hex sign bit wraps") << "-$80000000" << INT_MIN;
    QTest::newRow("nine hex digits") << "$100000000" << fallback;
    QTest::newRow("nine hex digits, one a leading zero") << "$0FFFFFFFF" << -1;
    QTest::newRow("max decimal") << "2147483647" << INT_MAX;
    QTest::newRow("min decimal") << "-2147483648" << INT_MIN;
    QTest::newRow("above max decimal") << "2147483648" << fallback;
    QTest::newRow("below min decimal") << "-2147483649" << fallback;
    QTest::newRow("far above max") << "99999999999999999999999" << fallback;
    QTest::newRow("dollar alone") << "$" << fallback;
    QTest::newRow("0x alone") << "0x" << fallback;
    QTest::newRow("x alone") << "x" << fallback;
    QTest::newRow("leading zeros") << "000600" << 600;
    QTest::newRow("many leading zeros")
        << QString(40, u'0') + QStringLiteral("2147483647") << INT_MAX;
    QTest::newRow("leading zeros in hex") << "$00000000000258" << 600;
    QTest::newRow("minus zero") << "-0" << 0;
    QTest::newRow("zero before 0x prefix") << "00x1" << fallback;
    QTest::newRow("hex digit in decimal") << "60A" << fallback;
    QTest::newRow("not a hex digit") << "$G" << fallback;
    QTest::newRow("non-Latin digits") << QStringLiteral("\u0666\u0660\u0660") << fallback;
    QTest::newRow("full-width digits") << QStringLiteral("\uFF16\uFF10\uFF10") << fallback;
    QTest::newRow("no-break space before") << QStringLiteral("\u00A0600") << fallback;
    QTest::newRow("zero inside") << QStringLiteral("60") + QChar(0) + QStringLiteral("0")
                                 << fallback;
    QTest::newRow("word") << "false" << fallback;
}

void TestRegistry::strToIntDef()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(StrToIntDef(text, -77), expected);
}

void TestRegistry::openingCreatesOnlyTheKeyPath()
{
    QVERIFY(!QFileInfo::exists(StoreDirectory()));
    {
        TRegIniFile store(QStringLiteral("Software"));
        OpenMailerKey(store);
        QCOMPARE(store.CurrentPath(), QStringLiteral("Software\\Ombrelix\\Mailer"));
        QCOMPARE(store.Location(), SettingsFile());
        QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), 600), 600);
    }
    // The key path is there after a load; the section is not.
    QVERIFY(QFileInfo(StoreDirectory()).isDir());
    QVERIFY(!QFileInfo::exists(SettingsFile()));

    {
        TRegIniFile store(QStringLiteral("Software"));
        OpenMailerKey(store);
        store.WriteInteger(kSection, QStringLiteral("Width"), 640);
    }
    QSettings written(SettingsFile(), RegistryFormat::Format());
    QCOMPARE(written.childGroups(), QStringList{kSection});
    QCOMPARE(written.value(QStringLiteral("Option/Width")), QVariant(QStringLiteral("640")));
}

void TestRegistry::openKeyRefusesNamesThatLeaveTheStore_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("parent") << "..";
    QTest::newRow("parent inside a path") << "Deeper\\..\\..\\..\\Escaped";
    QTest::newRow("current") << ".";
    QTest::newRow("slash") << "Ombrelix/Mailer";
    QTest::newRow("empty") << "";
    QTest::newRow("separators only") << "\\\\";
    QTest::newRow("zero character") << QStringLiteral("Omb") + QChar(0);
    QTest::newRow("outside Software") << "\\Elsewhere";
}

void TestRegistry::openKeyRefusesNamesThatLeaveTheStore()
{
    QFETCH(QString, key);
    TRegIniFile store(QStringLiteral("Software"));
    QVERIFY(store.OpenKey(QStringLiteral("Ombrelix\\Mailer"), true));
    const QString parentOfConfig = ConfigDirectory() + QStringLiteral("/..");
    const QStringList configBefore = ListingOf(ConfigDirectory());
    const QStringList parentBefore = ListingOf(parentOfConfig);

    QVERIFY(!store.OpenKey(key, true));
    QCOMPARE(store.CurrentPath(), QStringLiteral("Software\\Ombrelix\\Mailer"));
    QCOMPARE(ListingOf(ConfigDirectory()), configBefore);
    QCOMPARE(ListingOf(parentOfConfig), parentBefore);
    QCOMPARE(ListingOf(StoreDirectory()), QStringList());
}

void TestRegistry::openKeyWithoutCreateNeedsAnExistingKey()
{
    TRegIniFile store(QStringLiteral("Software"));
    QVERIFY(!store.OpenKey(QStringLiteral("Ombrelix"), false));
    QCOMPARE(store.CurrentPath(), QStringLiteral("Software"));
    QVERIFY(!QFileInfo::exists(StoreDirectory()));

    WriteRawFile(SettingsFile(), FileWithOption("\"Width\"=\"1\""));
    QVERIFY(store.OpenKey(QStringLiteral("Ombrelix\\Mailer"), false));
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), 0), 1);
    // A path from the root, starting with "\".
    QVERIFY(store.OpenKey(QStringLiteral("\\Software\\Ombrelix"), false));
    QCOMPARE(store.CurrentPath(), QStringLiteral("Software\\Ombrelix"));
}

void TestRegistry::softwareAloneHoldsNoValues()
{
    TRegIniFile store(QStringLiteral("Software"));
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), 5), 5);
    QCOMPARE(RegistryErrorOf([&] { store.WriteInteger(kSection, QStringLiteral("Width"), 1); }),
             QStringLiteral("Failed to create key Option"));
    QCOMPARE(ListingOf(ConfigDirectory()), QStringList());
}

void TestRegistry::writesPlainDecimalText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("expectedLine");

    QTest::newRow("integer") << QVariant(600) << QByteArray("\"Value\"=\"600\"");
    QTest::newRow("zero") << QVariant(0) << QByteArray("\"Value\"=\"0\"");
    QTest::newRow("negative") << QVariant(-35) << QByteArray("\"Value\"=\"-35\"");
    QTest::newRow("largest") << QVariant(INT_MAX) << QByteArray("\"Value\"=\"2147483647\"");
    QTest::newRow("smallest") << QVariant(INT_MIN) << QByteArray("\"Value\"=\"-2147483648\"");
    QTest::newRow("true") << QVariant(true) << QByteArray("\"Value\"=\"1\"");
    QTest::newRow("false") << QVariant(false) << QByteArray("\"Value\"=\"0\"");
}

void TestRegistry::writesPlainDecimalText()
{
    QFETCH(QVariant, value);
    QFETCH(QByteArray, expectedLine);
    const QString ident = QStringLiteral("Value");
    {
        TRegIniFile store(QStringLiteral("Software"));
        OpenMailerKey(store);
        if (value.typeId() == QMetaType::Bool)
            store.WriteBool(kSection, ident, value.toBool());
        else
            store.WriteInteger(kSection, ident, value.toInt());
    }
    const QList<QByteArray> lines = ReadRawFile(SettingsFile()).split('\n');
    QVERIFY2(lines.contains(expectedLine), ReadRawFile(SettingsFile()).constData());

    TRegIniFile reader(QStringLiteral("Software"));
    OpenMailerKey(reader);
    if (value.typeId() == QMetaType::Bool)
        QCOMPARE(reader.ReadBool(kSection, ident, !value.toBool()), value.toBool());
    else
        QCOMPARE(reader.ReadInteger(kSection, ident, value.toInt() ^ 1), value.toInt());
}

void TestRegistry::textsRoundTripExactly_data()
{
    QTest::addColumn<QString>("ident");
    QTest::addColumn<QString>("text");

    QTest::newRow("trailing space") << "Heigth"
                                    << "500 ";
    QTest::newRow("leading and trailing spaces") << "Width"
                                                 << "  600  ";
    QTest::newRow("semicolon") << "Width"
                               << "12;34";
    QTest::newRow("comma") << "Width"
                           << "1,2";
    QTest::newRow("variant") << "Width"
                             << "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1)";
    QTest::newRow("byte array") << "Width"
                                << "@ByteArray(600)";
    QTest::newRow("quotes") << "Width"
                            << "\"600\"";
    QTest::newRow("backslashes") << "Width"
                                 << "C:\\Users\\\\";
    QTest::newRow("equals and brackets") << "Width"
                                         << "[Option]\n\"Width\"=dword:00000064";
    QTest::newRow("line breaks") << "Width"
                                 << "one\ntwo\r\nthree\r";
    QTest::newRow("tab and escape") << "Width"
                                    << "\t\x1b\x7f";
    QTest::newRow("Cyrillic") << "Width" << QStringLiteral("Ширина окна");
    QTest::newRow("outside the BMP") << "Width" << QStringLiteral("\U0001F600 mail");
    QTest::newRow("byte order mark") << "Width" << QStringLiteral("\uFEFF600");
    QTest::newRow("empty") << "Width"
                           << "";
    QTest::newRow("escape-like text") << "Width"
                                      << "\\u0041\\n\\\"";
    QTest::newRow("name with spaces and quotes") << " Width \"x\"="
                                                 << "600";
    QTest::newRow("Cyrillic name") << QStringLiteral("Ширина") << "600";
}

void TestRegistry::textsRoundTripExactly()
{
    QFETCH(QString, ident);
    QFETCH(QString, text);
    {
        TRegIniFile store(QStringLiteral("Software"));
        OpenMailerKey(store);
        store.WriteString(kSection, QStringLiteral("Before"), QStringLiteral("b"));
        store.WriteString(kSection, ident, text);
        store.WriteString(kSection, QStringLiteral("ZAfter"), QStringLiteral("a"));
    }
    TRegIniFile reader(QStringLiteral("Software"));
    OpenMailerKey(reader);
    QCOMPARE(reader.ReadString(kSection, ident, QStringLiteral("<absent>")), text);
    // The neighbours are not swallowed by a text that looks like the format itself.
    QCOMPARE(reader.ReadString(kSection, QStringLiteral("Before"), QString()), QStringLiteral("b"));
    QCOMPARE(reader.ReadString(kSection, QStringLiteral("ZAfter"), QString()), QStringLiteral("a"));
    QCOMPARE(QSettings(SettingsFile(), RegistryFormat::Format()).childGroups(),
             QStringList{kSection});
}

void TestRegistry::formatRoundTripIsLossless_data()
{
    using TypedValue = RegistryFormat::TypedValue;
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");

    const QChar high(u'\xD83D');
    const QChar low(u'\xDE00');
    QTest::newRow("zero character") << "Option/Width" << QVariant(QString("6") + QChar(0) + "0");
    QTest::newRow("lone high surrogate") << "Option/Width" << QVariant(QString("a") + high);
    QTest::newRow("lone low surrogate") << "Option/Width" << QVariant(QString(low) + "a");
    QTest::newRow("reversed pair") << "Option/Width" << QVariant(QString(low) + high);
    QTest::newRow("noncharacters") << "Option/Width" << QVariant(QStringLiteral("\uFFFE\uFFFF"));
    QTest::newRow("every control character") << "Option/Width" << QVariant([] {
        QString text;
        for (char16_t c = 0; c < 0x20; ++c)
            text += QChar(c);
        return text;
    }());
    QTest::newRow("dword") << "Option/Left" << QVariant::fromValue(TypedValue::Dword(100));
    QTest::newRow("dword high bit")
        << "Option/Left" << QVariant::fromValue(TypedValue::Dword(0x80000001u));
    QTest::newRow("short dword data")
        << "Option/Left" << QVariant::fromValue(TypedValue{RegistryFormat::RegDword, "\1", true});
    QTest::newRow("binary") << "Option/Data"
                            << QVariant::fromValue(TypedValue{RegistryFormat::RegBinary,
                                                              QByteArray("\0\xff\n", 3), true});
    QTest::newRow("empty binary") << "Option/Data"
                                  << QVariant::fromValue(
                                         TypedValue{RegistryFormat::RegBinary, {}, true});
    QTest::newRow("expandable text")
        << "Option/Path"
        << QVariant::fromValue(TypedValue{RegistryFormat::RegExpandSz, "6\0\0\0"_qba, true});
    QTest::newRow("large type number")
        << "Option/Odd" << QVariant::fromValue(TypedValue{0xFFFFFFFFu, "\x01", true});
    QTest::newRow("unreadable data")
        << "Option/Bad" << QVariant::fromValue(TypedValue::Unreadable("dword:xyz \"\\q\r\xff"));
    QTest::newRow("section with bracket") << "Op]tion[/Width" << QVariant("1");
    QTest::newRow("nested section") << "Option/Sub/Width" << QVariant("1");
    QTest::newRow("name with slash first") << "/Width" << QVariant("1");
    QTest::newRow("no section") << "Width" << QVariant("1");
    QTest::newRow("empty name") << "Option/" << QVariant("1");
}

void TestRegistry::formatRoundTripIsLossless()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QSettings::SettingsMap map{{key, value}, {QStringLiteral("Option/Other"), QVariant("x")}};

    QByteArray bytes;
    QVERIFY(RegistryFormat::Serialize(map, bytes));
    QSettings::SettingsMap parsed;
    QVERIFY(RegistryFormat::Parse(bytes, parsed));
    QCOMPARE(parsed, map);
    QByteArray again;
    QVERIFY(RegistryFormat::Serialize(parsed, again));
    QCOMPARE(again, bytes);
}

void TestRegistry::rewritingKeepsOtherValuesAsTheyWere()
{
    const QByteArray dword = "\"Left\"=dword:00000064";
    const QByteArray damaged = "\"Top\"=dword:12345678 \xff\\";
    const QByteArray expandable = "\"Path\"=hex(2):36,00,00,00";
    WriteRawFile(SettingsFile(), FileWithOption(dword + '\n' + damaged + '\n' + expandable) +
                                     "\n[Other]\n\"Name\"=\"  kept  \"\n");
    {
        TRegIniFile store(QStringLiteral("Software"));
        OpenMailerKey(store);
        store.WriteInteger(kSection, QStringLiteral("Width"), 5);
    }
    const QList<QByteArray> lines = ReadRawFile(SettingsFile()).split('\n');
    QVERIFY(lines.contains(dword));
    QVERIFY(lines.contains(damaged));
    QVERIFY(lines.contains(expandable));
    QVERIFY(lines.contains("\"Width\"=\"5\""));
    QVERIFY(lines.contains("\"Name\"=\"  kept  \""));
}

void TestRegistry::readsStoredValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("error");

    const int fallback = -7;
    const QString invalidType = QStringLiteral("Invalid data type for 'Width'");
    const QString unreadable = QStringLiteral("Failed to get data for 'Width'");
    const auto option = [](const QByteArray &lines) { return FileWithOption(lines); };
    const QByteArray garbage("\x00\xff\xfe[\x01\"\x7f\n\n\"=\x80\x00]]", 16);

    QTest::newRow("text") << option("\"Width\"=\"640\"") << 640 << QString();
    QTest::newRow("hex text") << option("\"Width\"=\"$258\"") << 600 << QString();
    QTest::newRow("leading space") << option("\"Width\"=\" 600\"") << 600 << QString();
    QTest::newRow("trailing space") << option("\"Width\"=\"500 \"") << fallback << QString();
    QTest::newRow("not a number") << option("\"Width\"=\"abc\"") << fallback << QString();
    QTest::newRow("text cut at zero") << option("\"Width\"=\"60\\u00000\"") << 60 << QString();
    QTest::newRow("REG_SZ as hex")
        << option("\"Width\"=hex(1):" + Utf16Hex("640") + ",00,00") << 640 << QString();
    QTest::newRow("REG_EXPAND_SZ")
        << option("\"Width\"=hex(2):" + Utf16Hex("$258") + ",00,00") << 600 << QString();
    QTest::newRow("REG_SZ cut at zero")
        << option("\"Width\"=hex(1):" + Utf16Hex(QString("64") + QChar(0) + "9")) << 64
        << QString();
    QTest::newRow("REG_SZ odd size") << option("\"Width\"=hex(1):36,00,34") << 6 << QString();
    QTest::newRow("REG_SZ of size zero") << option("\"Width\"=hex(1):") << fallback << QString();
    QTest::newRow("dword") << option("\"Width\"=dword:00000064") << 0 << invalidType;
    QTest::newRow("binary") << option("\"Width\"=hex:36,30,30") << 0 << invalidType;
    QTest::newRow("REG_NONE") << option("\"Width\"=hex(0):36") << 0 << invalidType;
    QTest::newRow("REG_MULTI_SZ") << option("\"Width\"=hex(7):36,00,00,00,00,00") << 0
                                  << invalidType;
    QTest::newRow("REG_QWORD") << option("\"Width\"=hex(b):01,00,00,00,00,00,00,00") << 0
                               << invalidType;
    QTest::newRow("dword as hex(4)") << option("\"Width\"=hex(4):64,00,00,00") << 0 << invalidType;
    QTest::newRow("damaged dword") << option("\"Width\"=dword:00x00064") << 0 << unreadable;
    QTest::newRow("dword of nine digits") << option("\"Width\"=dword:000000064") << 0 << unreadable;
    QTest::newRow("damaged hex") << option("\"Width\"=hex:3,60") << 0 << unreadable;
    QTest::newRow("damaged type") << option("\"Width\"=hex(zz):36") << 0 << unreadable;
    QTest::newRow("unterminated text") << option("\"Width\"=\"600") << 0 << unreadable;
    QTest::newRow("unknown escape") << option("\"Width\"=\"6\\q0\"") << 0 << unreadable;
    QTest::newRow("short unicode escape") << option("\"Width\"=\"\\u36\"") << 0 << unreadable;
    QTest::newRow("junk after text") << option("\"Width\"=\"600\" ;") << 0 << unreadable;
    QTest::newRow("unquoted value") << option("\"Width\"=600") << 0 << unreadable;
    QTest::newRow("other section")
        << "Registry Settings 1\n[Other]\n\"Width\"=\"1\"\n"_qba << fallback << QString();
    QTest::newRow("missing bracket")
        << "Registry Settings 1\n[Option\n\"Width\"=\"1\"\n"_qba << fallback << QString();
    QTest::newRow("missing bracket, then a good section")
        << "Registry Settings 1\n[Option\n\"Width\"=\"1\"\n[Option]\n\"Width\"=\"2\"\n"_qba << 2
        << QString();
    QTest::newRow("junk after bracket")
        << "Registry Settings 1\n[Option] x\n\"Width\"=\"1\"\n"_qba << fallback << QString();
    QTest::newRow("name without equals") << option("\"Width\" \"1\"") << fallback << QString();
    QTest::newRow("unterminated name") << option("\"Width=\"1\"") << fallback << QString();
    QTest::newRow("last of two wins")
        << option("\"Width\"=\"1\"\n\"Width\"=\"2\"") << 2 << QString();
    QTest::newRow("line breaks CRLF")
        << "Registry Settings 1\r\n\r\n[Option]\r\n\"Width\"=\"640\"\r\n"_qba << 640 << QString();
    QTest::newRow("byte order mark")
        << "\xEF\xBB\xBF" + option("\"Width\"=\"640\"") << 640 << QString();
    QTest::newRow("empty file") << QByteArray() << fallback << QString();
    QTest::newRow("header only") << "Registry Settings 1"_qba << fallback << QString();
    QTest::newRow("no header") << "[Option]\n\"Width\"=\"640\"\n"_qba << fallback << QString();
    QTest::newRow("binary garbage") << garbage << fallback << QString();
    QTest::newRow("garbage after the header")
        << "Registry Settings 1\n" + garbage << fallback << QString();
    QTest::newRow("garbage section name") << option(garbage) << fallback << QString();
}

void TestRegistry::readsStoredValue()
{
    QFETCH(QByteArray, file);
    QFETCH(int, expected);
    QFETCH(QString, error);
    WriteRawFile(SettingsFile(), file);

    TRegIniFile store(QStringLiteral("Software"));
    OpenMailerKey(store);
    int read = 0;
    QCOMPARE(
        RegistryErrorOf([&] { read = store.ReadInteger(kSection, QStringLiteral("Width"), -7); }),
        error);
    if (error.isEmpty())
        QCOMPARE(read, expected);
    // Reading never changes the file.
    QCOMPARE(ReadRawFile(SettingsFile()), file);
}

void TestRegistry::readsBoolean_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("withDefaultTrue");
    QTest::addColumn<bool>("withDefaultFalse");

    QTest::newRow("one") << "\"1\""_qba << true << true;
    QTest::newRow("zero") << "\"0\""_qba << false << false;
    QTest::newRow("two") << "\"2\""_qba << true << true;
    QTest::newRow("minus one") << "\"-1\""_qba << true << true;
    QTest::newRow("hex zero") << "\"$0\""_qba << false << false;
    QTest::newRow("word false") << "\"false\""_qba << true << false;
    QTest::newRow("empty") << "\"\""_qba << true << false;
}

void TestRegistry::readsBoolean()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, withDefaultTrue);
    QFETCH(bool, withDefaultFalse);
    WriteRawFile(SettingsFile(), FileWithOption("\"Visible\"=" + stored));

    TRegIniFile store(QStringLiteral("Software"));
    OpenMailerKey(store);
    QCOMPARE(store.ReadBool(kSection, QStringLiteral("Visible"), true), withDefaultTrue);
    QCOMPARE(store.ReadBool(kSection, QStringLiteral("Visible"), false), withDefaultFalse);
}

void TestRegistry::unreadableStoreIsDetectable_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("status");

    QTest::newRow("sound file") << "none" << int(QSettings::NoError);
    QTest::newRow("settings path is a directory") << "directory" << int(QSettings::AccessError);
    QTest::newRow("no read permission") << "unreadable" << int(QSettings::AccessError);
    QTest::newRow("not this format") << "garbage" << int(QSettings::FormatError);
}

void TestRegistry::unreadableStoreIsDetectable()
{
    QFETCH(QString, damage);
    QFETCH(int, status);
    if (damage == u"unreadable" && RunningAsRoot())
        QSKIP("root reads files without read permission");

    // QSettings keeps what it read of a path for the whole process, so its status is asked of a
    // path that no earlier row has used.
    const QString probe = StoreDirectory() + QStringLiteral("/Probe%1.reg").arg(++probeCount_);
    for (const QString &path : {SettingsFile(), probe}) {
        if (damage == u"directory") {
            QVERIFY(QDir().mkpath(path));
            continue;
        }
        WriteRawFile(path, damage == u"garbage" ? QByteArray("\xff\x00\x01garbage", 10)
                                                : FileWithOption("\"Width\"=\"640\""));
        if (damage == u"unreadable")
            QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    }

    QCOMPARE(int(QSettings(probe, RegistryFormat::Format()).status()), status);
    TRegIniFile store(QStringLiteral("Software"));
    OpenMailerKey(store);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), -7),
             status == QSettings::NoError ? 640 : -7);
}

void TestRegistry::veryLongLinesAndValues()
{
    const QString longText = QString(4 * 1024 * 1024, u'7') + QStringLiteral(" \"\\\n");
    const QByteArray longGarbage(8 * 1024 * 1024, '[');
    WriteRawFile(SettingsFile(),
                 "Registry Settings 1\n" + longGarbage + "\n[Option]\n\"Width\"=\"640\"\n");
    TRegIniFile store(QStringLiteral("Software"));
    OpenMailerKey(store);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), -7), 640);

    store.WriteString(kSection, QStringLiteral("Long"), longText);
    QCOMPARE(store.ReadString(kSection, QStringLiteral("Long"), QString()), longText);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Long"), -7), -7);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), -7), 640);
}

void TestRegistry::unwritableStoreRaisesCreateKey_data()
{
    QTest::addColumn<QString>("obstacle");
    // chmod does not stop root; a directory in the file's place stops everyone.
    QTest::newRow("settings path is a directory") << "directory";
    QTest::newRow("read-only settings file") << "read-only file";
    QTest::newRow("read-only directory, no file yet") << "read-only directory";
}

void TestRegistry::unwritableStoreRaisesCreateKey()
{
    QFETCH(QString, obstacle);
    if (obstacle != u"directory" && RunningAsRoot())
        QSKIP("root writes regardless of permissions");

    TRegIniFile store(QStringLiteral("Software"));
    OpenMailerKey(store);
    if (obstacle == u"directory") {
        QVERIFY(QDir().mkpath(SettingsFile()));
    } else if (obstacle == u"read-only file") {
        store.WriteInteger(kSection, QStringLiteral("Width"), 1);
        QVERIFY(QFile::setPermissions(SettingsFile(), QFile::ReadOwner));
    } else {
        QVERIFY(QFile::setPermissions(StoreDirectory(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QStringList listingBefore = ListingOf(StoreDirectory());
    const QByteArray contentBefore = ReadRawFile(SettingsFile());

    for (int attempt = 0; attempt < 2; ++attempt) {
        QCOMPARE(RegistryErrorOf([&] {
                     store.WriteInteger(kSection, QStringLiteral("Width"), 2);
                     store.WriteBool(kSection, QStringLiteral("Visible"), true);
                 }),
                 QStringLiteral("Failed to create key Option"));
    }
    QCOMPARE(ListingOf(StoreDirectory()), listingBefore);
    QCOMPARE(ReadRawFile(SettingsFile()), contentBefore);
    if (obstacle == u"directory")
        QCOMPARE(ListingOf(SettingsFile()), QStringList());
}

void TestRegistry::failedWriteRaisesSetData()
{
    TRegIniFile store(QStringLiteral("Software"));
    OpenMailerKey(store);
    store.WriteInteger(kSection, QStringLiteral("Width"), 640);
    const QByteArray contentBefore = ReadRawFile(SettingsFile());
    const QStringList listingBefore = ListingOf(StoreDirectory());

    QString error;
    {
        const FileSizeLimit limit(contentBefore.size());
        error = RegistryErrorOf(
            [&] { store.WriteString(kSection, QStringLiteral("Heigth"), QString(4096, u'4')); });
    }
    QCOMPARE(error, QStringLiteral("Failed to set data for 'Heigth'"));
    // The old file is whole: the write went to a temporary file that was thrown away.
    QCOMPARE(ReadRawFile(SettingsFile()), contentBefore);
    QCOMPARE(ListingOf(StoreDirectory()), listingBefore);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), -7), 640);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Heigth"), -7), -7);

    // With room again the same write goes through.
    store.WriteInteger(kSection, QStringLiteral("Heigth"), 480);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Heigth"), -7), 480);
}

void TestRegistry::lastWriterWins_data()
{
    QTest::addColumn<bool>("otherProgramClosesLast");
    QTest::newRow("this program closes last") << false;
    QTest::newRow("the other program closes last") << true;
}

void TestRegistry::lastWriterWins()
{
    QFETCH(bool, otherProgramClosesLast);
    // Each copy reads the store first, as a starting program does.
    TRegIniFile store(QStringLiteral("Software"));
    OpenMailerKey(store);
    QCOMPARE(store.ReadInteger(kSection, QStringLiteral("Width"), 600), 600);
    const auto writeHere = [&] {
        store.WriteInteger(kSection, QStringLiteral("Width"), 111);
        store.WriteInteger(kSection, QStringLiteral("Left"), 11);
    };
    const QStringList otherValues{"Width=22222", "Left=2222", "Top=222"};

    if (otherProgramClosesLast) {
        writeHere();
        WriteWithHelper(otherValues);
    } else {
        WriteWithHelper(otherValues);
        writeHere();
    }

    TRegIniFile reader(QStringLiteral("Software"));
    OpenMailerKey(reader);
    QCOMPARE(reader.ReadInteger(kSection, QStringLiteral("Width"), -7),
             otherProgramClosesLast ? 22222 : 111);
    QCOMPARE(reader.ReadInteger(kSection, QStringLiteral("Left"), -7),
             otherProgramClosesLast ? 2222 : 11);
    // A value only the other program wrote survives this program's later writes.
    QCOMPARE(reader.ReadInteger(kSection, QStringLiteral("Top"), -7), 222);
}

int main(int argc, char **argv)
{
    if (argc >= 2 && qstrcmp(argv[1], kHelperOption) == 0)
        return WriteOptionsAsHelper(argc, argv);
    QCoreApplication app(argc, argv);
    TestRegistry test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registry.moc"
