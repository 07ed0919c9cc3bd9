// Fuzzing the configuration decoder: any bytes give a reading, never a crash;
// the values read save and read again to the same values.

#include "config/config_codec.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace tolvi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RecordImage image(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const ConfigReading r = decodeConfig(image);
    if (r.status == ConfigReadStatus::Damaged && (r.damagedRecord < 1 || r.damagedRecord > kConfigRecordCount))
        std::abort();
    for (int n = 2; n <= kConfigRecordCount; ++n)
        if (r.applies(n) && r.status != ConfigReadStatus::Ok
            && !(r.status == ConfigReadStatus::Damaged && n < r.damagedRecord))
            std::abort();
    const ConfigRecords& v = r.values;
    for (qint16 m : {v.redMarker, v.blueMarker})
        if (m != -1 && (m < 50 || m > 750))
            std::abort();
    if (v.durationIndex < 1 || v.durationIndex > 10)
        std::abort();
    if (r.status != ConfigReadStatus::Ok)
        return 0;
    // Everything read fits a record again, and reads back the same.
    RecordImage again;
    if (!encodeConfig(v, again).ok())
        std::abort();
    const ConfigReading back = decodeConfig(again);
    if (back.status != ConfigReadStatus::Ok || !(back.values == v) || !back.durationValid)
        std::abort();
    return 0;
}
