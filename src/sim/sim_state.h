#pragma once
// The rope, its wave and the controls that are the experiment's state.

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace tolvi {

// Rope geometry in pixels of the rope picture: one column per centimetre,
// 100 columns per metre, one row per centimetre across, y downwards.
namespace rope {
constexpr int kSourceColumn = 50;
constexpr int kFarEndColumn = 750;
constexpr int kColumns = 751;       // deplacement(0 .. 750)
constexpr int kMirrorSum = 1501;    // folded column = 1501 - column
constexpr int kRestRow = 54;
constexpr int kPictureWidth = 786;  // ruler, rope and far-end device
constexpr int kPictureHeight = 106;
constexpr double kPixelsPerMetre = 100.0;
constexpr double kLength = 7.0;     // metres
// Abscissa in metres of a picture column.
constexpr double abscissa(int column) { return (column - kSourceColumn) / kPixelsPerMetre; }
}  // namespace rope

enum TypeOnde : int { OndeSolitaire = 0, OndePeriodique = 1, OndeSinusoidale = 2 };
enum TypeBout : int { BoutAmortisseur = 0, BoutFixe = 1, BoutLibre = 2 };

// Indices of the five parameter boxes Textfreq.
enum TextfreqIndex : int { TfFrequence = 0, TfMasse = 1, TfTension = 2, TfAmplitude = 3, TfDuree = 4 };

// The simulation values shared by every window.
struct SimState {
    // Parameters, re-read from the parameter texts (single precision, as typed).
    float frequence = 2.0f;      // Hz
    float demiAmplitude = 10.0f; // cm
    float duree = 0.5f;          // s
    double celerite = 2.0;       // m/s

    int typeOnde = OndePeriodique;  // replaced by the solitary wave at start-up
    int typeBout = BoutAmortisseur;
    bool symetrique = false;

    // Travelling deformations: ageDef[1 .. nbDef] in seconds, oldest first;
    // index 0 is never used; -1 marks an entry past its lifetime.
    std::int16_t nbDef = 0;
    std::vector<double> ageDef = std::vector<double>(1, 0.0);
    std::int32_t ecoule = 0;  // ms since the last automatic emission

    // Displacement of every centimetre of the rope, cm, upwards positive.
    std::array<double, rope::kColumns> deplacement{};

    // Markers: picture columns, -1 when absent.
    std::int16_t marqueBleue = 300;
    std::int16_t marqueRouge = 425;

    // Chronometer and graph.
    double chrono = 0.0;             // hundredths of a second
    std::int16_t dureeGraphe = 10;   // s
    double tempsGraphe = 0.0;        // s
    std::int16_t dernierX = 30;
    std::int16_t dernierYBleu = 54;
    std::int16_t dernierYRouge = 55;
};

// The state the program's controls hold: texts, captions, greying. Captions
// that name a state are kept here as that state.
struct ControlsState {
    std::array<QString, 5> textfreq{QStringLiteral("2,00"), QStringLiteral("100"), QStringLiteral("0,4"),
                                    QStringLiteral("20"), QStringLiteral("500")};
    std::array<bool, 5> textfreqEnabled{true, true, true, true, true};

    bool demarRunning = false;  // demar shows "Arrêter"
    bool demarEnabled = true;
    bool checksiEnabled = true;
    bool check1 = false;  // start wave, chronometer and graph together
    bool check2 = false;  // continuous recording

    bool timerEnabled = true;  // Timer1 (the pause image stops it)
    int timerInterval = 50;    // ms

    bool chronoRunning = false;  // Command3 shows "Arrêt"
    bool recording = false;      // Command6 shows "Arrêter"
    QString label4 = QStringLiteral("0");
    std::array<QString, 2> labeli;  // marker abscissas

    QString demarCaption() const;
    QString command3Caption() const;
    QString command6Caption() const;

    bool operator==(const ControlsState&) const = default;
};

// Accepted range and display pattern of each parameter box.
struct ParameterRange {
    double minimum;
    double maximum;
    const char* pattern;
};
const ParameterRange& parameterRange(int index);

}  // namespace tolvi
