// Fuzzing the exercise decoder and the preview rules: any bytes give records
// and a preview within bounds, never a crash; sound records save and read
// back the same.

#include "exercises/exercise_file.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace tolvi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RecordImage image(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const ExerciseReading r = decodeExercise(image);
    const ExercisePreview p = exercisePreview(r.records);
    if (p.litMarks < 0 || p.litMarks > 3 || p.hourglasses < 0 || p.hourglasses > 32767)
        std::abort();
    if (p.notions.size() > 4 * kRecordTextMax || p.title.size() > kRecordTextMax)
        std::abort();
    if (hourglassText(p.hourglasses).size() != p.hourglasses)
        std::abort();
    if (!r.readable(1, kExerciseRecordCount))
        return 0;
    RecordImage again;
    if (!encodeExercise(r.records, again).ok())
        std::abort();
    if (!(decodeExercise(again).records == r.records))
        std::abort();
    return 0;
}
