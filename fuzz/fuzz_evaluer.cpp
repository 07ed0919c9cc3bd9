// Any text given to the evaluator: no crash, no hang, and the outcome is
// consistent (a success leaves one number or nothing; an error code is 0 to 3).
#include "calc/calc_numbers.h"
#include "calc/evaluator.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // First byte: angle mode; the rest: the expression, as UTF-8 (ù and
    // other accented letters included).
    const qint16 mode = (data[0] & 1) ? tolvi::modeRadians : tolvi::modeDegres;
    QString expression = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString entree = expression;
    qint16 code = -1;
    tolvi::evaluer(expression, code, mode);
    if (code < 0 || code > 3)
        std::abort();
    if (code == tolvi::calculReussi && entree.size() <= tolvi::longueurMaximale) {
        if (expression.contains(QLatin1Char(' ')))
            std::abort();
        if (!expression.isEmpty() && !tolvi::lireNombre(expression).complet)
            std::abort();
    }
    // The normalisation alone, on the raw text.
    QString t = entree.left(2000);
    tolvi::simplifier(t);
    return 0;
}
