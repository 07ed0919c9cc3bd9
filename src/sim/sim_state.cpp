#include "sim/sim_state.h"

namespace tolvi {

QString ControlsState::demarCaption() const
{
    return demarRunning ? QStringLiteral("Arrêter") : QStringLiteral("Démarrer");
}

QString ControlsState::command3Caption() const
{
    return chronoRunning ? QStringLiteral("Arrêt") : QStringLiteral("Marche");
}

QString ControlsState::command6Caption() const
{
    return recording ? QStringLiteral("Arrêter") : QStringLiteral("Enregistrer");
}

const ParameterRange& parameterRange(int index)
{
    static const ParameterRange ranges[5] = {
        {0.1, 5.0, "#0.00"},     // frequency, Hz
        {50.0, 500.0, "##0"},    // linear mass, g/m
        {0.1, 10.0, "#0.0"},     // tension, N
        {1.0, 40.0, "#0"},       // amplitude, cm
        {100.0, 1000.0, "# ##0"} // duration, ms
    };
    return ranges[index < 0 || index > 4 ? 0 : index];
}

}  // namespace tolvi
