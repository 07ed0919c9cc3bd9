// Fuzzing the record reader: any bytes read as texts or as damaged records,
// never a crash; every text read writes back into a record and reads the
// same; the leading number of any text is finite.

#include "config/record_file.h"
#include "config/record_number.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace tolvi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RecordImage image(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const int count = image.recordCount();
    RecordImage copy;
    for (int n = 1; n <= count + 2; ++n) {
        const RecordText r = image.read(n);
        if (!r.ok()) {
            if (r.status.error != RecordError::Damaged || r.status.record != n || n > count)
                std::abort();
            continue;
        }
        if (r.text.size() > kRecordTextMax)
            std::abort();
        if (!copy.write(n, r.text).ok())
            std::abort();
        const RecordText back = copy.read(n);
        if (!back.ok() || back.text != r.text)
            std::abort();
        if (const std::optional<double> v = leadingNumber(r.text); v && !std::isfinite(*v))
            std::abort();
        (void)leadingWhole16(r.text);
    }
    return 0;
}
