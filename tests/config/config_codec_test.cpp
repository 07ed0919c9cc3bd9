#include "config/config_codec.h"
#include "config/record_number.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {

// A whole 128-byte record of ASCII text, built by hand.
QByteArray asciiRecord(const char* text)
{
    QByteArray r(128, '\0');
    const auto n = qsizetype(std::strlen(text));
    r[0] = char(n);
    r.replace(2, n, text);
    return r;
}

RecordImage imageOf(const QStringList& texts)
{
    RecordImage image;
    EXPECT_TRUE(buildRecordImage(texts, image).ok());
    return image;
}

QStringList startupTexts()
{
    return {"TOLVI", "2,00", "100", "0,4", "20", "500", "1", "0", "0", "1", "0", "0", "0", "0", "0", " 4", " 425", " 300"};
}

}  // namespace

TEST(ConfigFile, ImageSavedRightAfterStartUp)
{
    // The window right after start-up: entry texts "2,00" "100" "0,4" "20"
    // "500", solitary wave, far end tied to a damper, nothing checked,
    // duration index 4, red marker 425, blue marker 300.
    RecordImage image;
    ASSERT_TRUE(encodeConfig(ConfigRecords{}, image).ok());
    const char* expected[] = {"TOLVI", "2,00", "100", "0,4", "20", "500", "1", "0", "0",
                              "1",     "0",    "0",   "0",   "0",  "0",   " 4", " 425", " 300"};
    QByteArray bytes;
    for (const char* t : expected)
        bytes += asciiRecord(t);
    ASSERT_EQ(image.bytes().size(), 2304);
    EXPECT_EQ(image.bytes(), bytes);
    EXPECT_EQ(image.bytes().mid(15 * 128, 4), QByteArray("\x02\x00 4", 4));
    EXPECT_EQ(image.bytes().mid(16 * 128, 6), QByteArray("\x04\x00 425", 6));
    EXPECT_EQ(image.bytes().mid(17 * 128, 6), QByteArray("\x04\x00 300", 6));

    QTemporaryDir dir;
    const QString path = dir.filePath("depart.P15");
    ASSERT_TRUE(saveConfig(path, ConfigRecords{}).ok());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
}

TEST(ConfigFile, EveryFieldComesBackAsSaved)
{
    std::vector<ConfigRecords> cases;
    ConfigRecords c;
    c.entries = {QString::fromUtf8("9,50"), "1 000", "0,1", "1", "50"};
    cases.push_back(c);
    for (int w = 0; w < 3; ++w)
        for (int e = 0; e < 3; ++e) {
            ConfigRecords k;
            k.wave = {w == 0, w == 1, w == 2};
            k.farEnd = {e == 0, e == 1, e == 2};
            cases.push_back(k);
        }
    for (int m = 0; m < 3; ++m) {
        ConfigRecords k;
        k.startTogether = m == 0;
        k.continuous = m == 1;
        k.symmetric = m == 2;
        cases.push_back(k);
    }
    for (int d = 1; d <= 10; ++d) {
        ConfigRecords k;
        k.durationIndex = d;
        k.redMarker = qint16(d == 1 ? -1 : 50 + 70 * (d - 1));
        k.blueMarker = qint16(d == 10 ? -1 : 750 - 70 * (d - 1));
        cases.push_back(k);
    }
    ConfigRecords none;
    none.wave = {false, false, false};
    none.farEnd = {false, false, false};
    none.entries = {"", QString::fromUtf8("«é€œ»"), QString(126, QLatin1Char('9')), " ", "0,4 "};
    cases.push_back(none);

    for (const ConfigRecords& k : cases) {
        RecordImage image;
        ASSERT_TRUE(encodeConfig(k, image).ok());
        const ConfigReading r = decodeConfig(image);
        EXPECT_EQ(r.status, ConfigReadStatus::Ok);
        EXPECT_EQ(r.recordsInFile, 18);
        EXPECT_TRUE(r.values == k) << configTexts(k).join('|').toStdString();
        for (int n = 2; n <= 18; ++n)
            EXPECT_TRUE(r.applies(n)) << n;
        EXPECT_EQ(QStringList(r.texts.begin(), r.texts.end()), configTexts(k));
    }
}

TEST(ConfigFile, MagicMustMatchExactly)
{
    for (const char* magic : {"tolvi", "Tolvi", "TOLVI ", " TOLVI", "TOLV", "TOLVI\t", "", "P15"}) {
        QStringList texts = startupTexts();
        texts[0] = magic;
        const ConfigReading r = decodeConfig(imageOf(texts));
        EXPECT_EQ(r.status, ConfigReadStatus::WrongMagic) << magic;
        for (int n = 1; n <= 18; ++n)
            EXPECT_FALSE(r.applies(n)) << magic << " " << n;
    }
    EXPECT_EQ(decodeConfig(RecordImage()).status, ConfigReadStatus::WrongMagic);  // empty file

    QTemporaryDir dir;
    const QString missing = dir.filePath("absent.P15");
    EXPECT_EQ(readConfig(missing).status, ConfigReadStatus::WrongMagic);
    EXPECT_FALSE(QFile::exists(missing));  // loading leaves no file behind
    EXPECT_EQ(readConfig(dir.filePath("dossier/absent.P15")).status, ConfigReadStatus::Unreadable);
    EXPECT_EQ(readConfig(dir.path()).status, ConfigReadStatus::Unreadable);
}

TEST(ConfigFile, BooleanRecordsAreSetOnlyByExactlyOne)
{
    for (const char* text : {" 1", "01", "", "1 ", "1.0", "-1", "vrai", "0", "2"}) {
        EXPECT_FALSE(configFlag(text)) << text;
        QStringList texts = startupTexts();
        for (int n = 7; n <= 15; ++n)
            texts[n - 1] = text;
        const ConfigReading r = decodeConfig(imageOf(texts));
        ASSERT_EQ(r.status, ConfigReadStatus::Ok);
        EXPECT_EQ(r.values.wave, (std::array<bool, 3>{false, false, false})) << text;
        EXPECT_EQ(r.values.farEnd, (std::array<bool, 3>{false, false, false})) << text;
        EXPECT_FALSE(r.values.startTogether || r.values.continuous || r.values.symmetric) << text;
    }
    EXPECT_TRUE(configFlag("1"));
}

TEST(ConfigFile, OptionGroupsWithNoneOrSeveralSelected)
{
    QStringList texts = startupTexts();
    // Waves: none set. Far end: "fixe" and "libre" both set.
    texts[6] = "0";
    texts[7] = "0";
    texts[8] = "0";
    texts[9] = "0";
    texts[10] = "1";
    texts[11] = "1";
    ConfigReading r = decodeConfig(imageOf(texts));
    EXPECT_EQ(selectedOption(r.values.wave), -1);
    EXPECT_EQ(r.values.farEnd, (std::array<bool, 3>{false, true, true}));  // applied in order...
    EXPECT_EQ(selectedOption(r.values.farEnd), 2);                          // ...the later one wins

    texts[6] = "1";
    texts[8] = "1";
    r = decodeConfig(imageOf(texts));
    EXPECT_EQ(selectedOption(r.values.wave), 2);
    EXPECT_EQ(selectedOption({true, true, false}), 1);
    EXPECT_EQ(selectedOption({true, false, false}), 0);
}

TEST(ConfigFile, MarkersAndDurationReadAsNumbers)
{
    struct Case {
        const char* text;
        qint16 marker;
    };
    for (const Case& c : std::initializer_list<Case>{{"-1", -1},      {" 425", 425},  {"425", 425},   {"  4 25", 425},
                                                      {"300.5", 300}, {"301.5", 302}, {"50", 50},     {"750", 750},
                                                      {"750.4", 750}, {"750.6", -1},  {"49", -1},     {"0", -1},
                                                      {"", -1},       {"800", -1},    {"40000", -1},  {"1E9", -1},
                                                      {"-2", -1},     {"abc", -1},    {"4,25", -1},   {"&H1A9", -1}}) {
        QStringList texts = startupTexts();
        texts[16] = c.text;
        texts[17] = c.text;
        const ConfigReading r = decodeConfig(imageOf(texts));
        EXPECT_EQ(r.values.redMarker, c.marker) << c.text;
        EXPECT_EQ(r.values.blueMarker, c.marker) << c.text;
        EXPECT_TRUE(r.applies(17) && r.applies(18));
    }

    struct Duration {
        const char* text;
        int index;  // 0: not applied, UpDown1 left as it is
    };
    for (const Duration& d : std::initializer_list<Duration>{{" 4", 4},   {"4", 4},     {" 1", 1},   {" 10", 10},
                                                              {"1 0", 10}, {"4.4", 4},   {"4.5", 4},  {"5.5", 6},
                                                              {"0.6", 1},  {"10.5", 10}, {"10.6", 0}, {"0", 0},
                                                              {"11", 0},   {"-4", 0},    {"", 0},     {"x4", 0}}) {
        QStringList texts = startupTexts();
        texts[15] = d.text;
        const ConfigReading r = decodeConfig(imageOf(texts));
        EXPECT_EQ(r.applies(16), d.index != 0) << d.text;
        if (d.index != 0) {
            EXPECT_EQ(r.values.durationIndex, d.index) << d.text;
        }
        EXPECT_TRUE(r.applies(15) && r.applies(17));
    }
}

TEST(ConfigFile, ShortFilesLoadAsFarAsTheyGo)
{
    // Six records, the last one cut right after its text.
    QByteArray bytes = imageOf(startupTexts().mid(0, 6)).bytes();
    bytes.chop(128 - 5);
    RecordImage image(bytes);
    ConfigReading r = decodeConfig(image);
    EXPECT_EQ(r.status, ConfigReadStatus::Ok);
    EXPECT_EQ(r.recordsInFile, 6);
    EXPECT_EQ(r.values.entries[4], "500");
    // Missing records read as empty: options and boxes clear, no marker, the
    // duration left alone.
    EXPECT_EQ(selectedOption(r.values.wave), -1);
    EXPECT_EQ(selectedOption(r.values.farEnd), -1);
    EXPECT_EQ(r.values.redMarker, -1);
    EXPECT_EQ(r.values.blueMarker, -1);
    EXPECT_FALSE(r.applies(16));
    EXPECT_TRUE(r.applies(2) && r.applies(12) && r.applies(18));

    // Only the magic.
    r = decodeConfig(RecordImage(QByteArray("\x05\x00TOLVI", 7)));
    EXPECT_EQ(r.status, ConfigReadStatus::Ok);
    EXPECT_EQ(r.values.entries[0], "");
    EXPECT_EQ(r.recordsInFile, 1);
}

TEST(ConfigFile, DamagedRecordStopsTheLoadThere)
{
    for (int damagedAt : {1, 2, 9, 16, 18}) {
        QByteArray bytes = imageOf(startupTexts()).bytes();
        bytes[(damagedAt - 1) * 128] = char(127);  // length 127
        const ConfigReading r = decodeConfig(RecordImage(bytes));
        EXPECT_EQ(r.status, ConfigReadStatus::Damaged) << damagedAt;
        EXPECT_EQ(r.damagedRecord, damagedAt);
        for (int n = 2; n <= 18; ++n)
            EXPECT_EQ(r.applies(n), n < damagedAt) << damagedAt << " " << n;
        for (int n = damagedAt; n <= 18; ++n)
            EXPECT_EQ(r.texts[std::size_t(n - 1)], "") << n;
    }
    // A text cut by the end of the file.
    QByteArray bytes = imageOf(startupTexts()).bytes().left(11 * 128 + 2);
    const ConfigReading r = decodeConfig(RecordImage(bytes));
    EXPECT_EQ(r.status, ConfigReadStatus::Damaged);
    EXPECT_EQ(r.damagedRecord, 12);
}

TEST(ConfigFile, EntryTextsThatDoNotFitAreRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("essai.P15");
    ASSERT_TRUE(saveConfig(path, ConfigRecords{}).ok());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();

    ConfigRecords k;
    k.entries[2] = QString::fromUtf8("0,4 Ω");
    RecordStatus s = saveConfig(path, k);
    EXPECT_EQ(s.error, RecordError::Unencodable);
    EXPECT_EQ(s.record, 4);
    EXPECT_FALSE(s.message.isEmpty());
    k = ConfigRecords{};
    k.entries[4] = QString(127, QLatin1Char('5'));
    s = saveConfig(path, k);
    EXPECT_EQ(s.error, RecordError::TooLong);
    EXPECT_EQ(s.record, 6);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
}

TEST(RecordNumbers, LeadingNumberOfATextFullStopOnly)
{
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : std::initializer_list<Case>{{"1.5", 1.5},   {"1,5", 1},     {" 425", 425},  {"abc", 0},
                                                      {"", 0},       {"-1", -1},     {"1 000", 1000}, {".5", 0.5},
                                                      {"3.", 3},     {"1E3", 1000},  {"1D2", 100},   {"1e", 1},
                                                      {"2e+1x", 20}, {"+7x", 7},     {"- 3", -3},    {"\t2\n5", 25},
                                                      {"1.2.3", 1.2}, {"-", 0},      {".", 0},       {"1E-400", 0},
                                                      {"12abc3", 12}, {"0x10", 0},   {"4\r5", 4}}) {
        const std::optional<double> v = leadingNumber(QString::fromUtf8(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
    EXPECT_FALSE(leadingNumber("1E400").has_value());
    EXPECT_FALSE(leadingNumber(QString(400, QLatin1Char('9'))).has_value());

    EXPECT_EQ(leadingWhole16("2.5"), qint16(2));
    EXPECT_EQ(leadingWhole16("3.5"), qint16(4));
    EXPECT_EQ(leadingWhole16("-2.5"), qint16(-2));
    EXPECT_EQ(leadingWhole16("32767"), qint16(32767));
    EXPECT_EQ(leadingWhole16("-32768.4"), qint16(-32768));
    EXPECT_FALSE(leadingWhole16("32767.5").has_value());
    EXPECT_FALSE(leadingWhole16("-32769").has_value());
}
