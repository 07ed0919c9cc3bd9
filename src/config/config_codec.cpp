#include "config/config_codec.h"

#include "config/record_number.h"
#include "text/french_numbers.h"

namespace tolvi {

namespace {

QString flagText(bool set)
{
    return set ? QStringLiteral("1") : QStringLiteral("0");
}

constexpr int kFirstMarkerColumn = 50;
constexpr int kLastMarkerColumn = 750;
constexpr int kDurationCount = 10;

}  // namespace

QStringList configTexts(const ConfigRecords& config)
{
    QStringList texts;
    texts.reserve(kConfigRecordCount);
    texts << config.magic;
    for (const QString& e : config.entries)
        texts << e;
    for (bool b : config.wave)
        texts << flagText(b);
    for (bool b : config.farEnd)
        texts << flagText(b);
    texts << flagText(config.startTogether) << flagText(config.continuous) << flagText(config.symmetric);
    texts << formatRecordInteger(config.durationIndex) << formatRecordInteger(config.redMarker)
          << formatRecordInteger(config.blueMarker);
    return texts;
}

RecordStatus encodeConfig(const ConfigRecords& config, RecordImage& image)
{
    return buildRecordImage(configTexts(config), image);
}

RecordStatus saveConfig(const QString& path, const ConfigRecords& config)
{
    return saveRecordFile(path, configTexts(config));
}

bool configFlag(const QString& text)
{
    return text == QLatin1String("1");
}

std::optional<int> configDurationIndex(const QString& text)
{
    const std::optional<qint16> v = leadingWhole16(text);
    if (!v || *v < 1 || *v > kDurationCount)
        return std::nullopt;
    return *v;
}

qint16 configMarker(const QString& text)
{
    const std::optional<qint16> v = leadingWhole16(text);
    if (!v || *v < kFirstMarkerColumn || *v > kLastMarkerColumn)
        return -1;
    return *v;
}

int selectedOption(const std::array<bool, 3>& group)
{
    for (int i = 2; i >= 0; --i)
        if (group[std::size_t(i)])
            return i;
    return -1;
}

bool ConfigReading::applies(int record) const
{
    if (record < 2 || record > kConfigRecordCount)
        return false;
    switch (status) {
    case ConfigReadStatus::WrongMagic:
    case ConfigReadStatus::Unreadable:
        return false;
    case ConfigReadStatus::Damaged:
        if (record >= damagedRecord)
            return false;
        break;
    case ConfigReadStatus::Ok:
        break;
    }
    return record != configrec::kDuration || durationValid;
}

ConfigReading decodeConfig(const RecordImage& image)
{
    using namespace configrec;
    ConfigReading r;
    r.recordsInFile = std::min(image.recordCount(), kConfigRecordCount);
    int reached = 0;  // records read so far
    for (int n = 1; n <= kConfigRecordCount; ++n) {
        RecordText t = image.read(n);
        if (!t.ok()) {
            r.status = ConfigReadStatus::Damaged;
            r.damagedRecord = n;
            break;
        }
        r.texts[std::size_t(n - 1)] = t.text;
        reached = n;
        if (n == kMagic && t.text != kConfigMagic) {
            r.status = ConfigReadStatus::WrongMagic;
            break;
        }
    }
    const auto& text = r.texts;
    const auto has = [&](int n) { return n <= reached; };
    ConfigRecords& v = r.values;
    if (has(kMagic))
        v.magic = text[kMagic - 1];
    if (r.status == ConfigReadStatus::WrongMagic)
        return r;
    for (int i = 0; i < 5; ++i)
        if (has(kFirstEntry + i))
            v.entries[std::size_t(i)] = text[std::size_t(kFirstEntry + i - 1)];
    for (int i = 0; i < 3; ++i) {
        if (has(kFirstWave + i))
            v.wave[std::size_t(i)] = configFlag(text[std::size_t(kFirstWave + i - 1)]);
        if (has(kFirstEnd + i))
            v.farEnd[std::size_t(i)] = configFlag(text[std::size_t(kFirstEnd + i - 1)]);
    }
    if (has(kStartTogether))
        v.startTogether = configFlag(text[kStartTogether - 1]);
    if (has(kContinuous))
        v.continuous = configFlag(text[kContinuous - 1]);
    if (has(kSymmetric))
        v.symmetric = configFlag(text[kSymmetric - 1]);
    if (has(kDuration)) {
        if (const std::optional<int> d = configDurationIndex(text[kDuration - 1])) {
            v.durationIndex = *d;
            r.durationValid = true;
        }
    }
    if (has(kRedMarker))
        v.redMarker = configMarker(text[kRedMarker - 1]);
    if (has(kBlueMarker))
        v.blueMarker = configMarker(text[kBlueMarker - 1]);
    return r;
}

ConfigReading readConfig(const QString& path)
{
    RecordFileRead file = readRecordFile(path, kConfigRecordCount);
    if (file.status.error == RecordError::Unreadable) {
        ConfigReading r;
        r.status = ConfigReadStatus::Unreadable;
        return r;
    }
    // A missing file reads as a file of empty records: wrong magic.
    return decodeConfig(file.image);
}

}  // namespace tolvi
