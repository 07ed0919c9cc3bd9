// Batch options of the calculator: expressions evaluated as "EXE" does.
#include "app/batch.h"
#include "calc/calculator_session.h"

namespace tolvi {

namespace {
// One calculator for the whole batch run, as one window keeps its last
// answer and memory from one calculation to the next.
CalculatorSession& batchCalculator()
{
    static CalculatorSession session;
    return session;
}
}  // namespace

void addCalcOptions(BatchOptions& options)
{
    options.push_back({QStringLiteral("--radians"), QString(),
                       QStringLiteral("les calculs suivants comptent les angles en radians (en degrés sinon)"),
                       QStringLiteral("--radians --eval \"sin 1\""), nullptr,
                       [](BatchContext&, const QString&) {
                           batchCalculator().setRadians(true);
                           return true;
                       }});
    options.push_back({QStringLiteral("--scientific"), QString(),
                       QStringLiteral("les résultats suivants s'affichent en notation scientifique"),
                       QStringLiteral("--scientific --eval \"1/3\""), nullptr,
                       [](BatchContext&, const QString&) {
                           batchCalculator().setScientific(true);
                           return true;
                       }});
    options.push_back({QStringLiteral("--eval"), QStringLiteral("EXPRESSION"),
                       QStringLiteral("calcule EXPRESSION comme la touche EXE de la calculatrice et écrit "
                                      "l'affichage obtenu, une ligne par calcul ; la virgule décimale se lit comme le point"),
                       QStringLiteral("--eval \"2*sin 30\""), nullptr,
                       [](BatchContext& ctx, const QString& v) {
                           ctx.out << batchCalculator().evaluate(v) << '\n';
                           return true;
                       }});
}

}  // namespace tolvi
