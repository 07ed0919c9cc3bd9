#pragma once
// Where the main window's controls stand: a fixed layout for a client area of
// 800 x 600 pixels, nothing moves when the window changes size.

#include <QRect>
#include <QSize>

namespace tolvi::layout {

constexpr QSize kClient{800, 600};

// Top row of tool buttons.
constexpr QRect kCommand2{0, 0, 121, 41};    // "&Ouvrir"
constexpr QRect kCommand11{120, 0, 113, 41}; // "&Enregistrer"
constexpr QRect kCommand4{232, 0, 113, 41};  // "Co&pier"
constexpr QRect kCommand10{344, 0, 113, 41}; // "&Imprimer"
constexpr QRect kCommand8{456, 0, 113, 41};  // "&Calculatrice"
constexpr QRect kCommand7{568, 0, 113, 41};  // "&Aide"
constexpr QRect kCommand1{680, 0, 121, 41};  // "&Fermer"

// The whole 786 x 106 rope drawing (far-end device included) inside the
// picture's two-pixel border.
constexpr QRect kAnimpic{8, 48, 790, 110};
constexpr QRect kDemar{8, 163, 65, 21};
constexpr QRect kCommand16{80, 162, 24, 24};
// "Pas à pas" and "Ralenti", between the pause image and Label1.
constexpr QRect kPasAPas{107, 162, 24, 24};
constexpr QRect kRalenti{133, 162, 24, 24};
constexpr QRect kLabel1{160, 168, 233, 14};
constexpr QRect kLabel4{557, 166, 144, 17};
constexpr QRect kCommand5{696, 168, 17, 17};
constexpr QRect kCommand3{716, 168, 65, 17};
constexpr QRect kPicture2{8, 192, 785, 109};
constexpr QRect kCommand6{8, 304, 65, 21};
constexpr QRect kInfo{160, 308, 233, 33};
constexpr QRect kBtexo{432, 308, 97, 19};
constexpr QRect kFich{432, 308, 361, 19};
constexpr QRect kSupertext{432, 327, 361, 218};
constexpr QRect kOnglets{8, 348, 417, 199};

// The picture boxes of the rope and the graph have a sunken border of two
// pixels; their drawing origin is inside it.
constexpr int kPictureBorder = 2;

// Tools panel Picture1, relative to the panel.
namespace tools {
constexpr QRect kCheck1{40, 32, 321, 17};
constexpr QRect kLabel2{40, 80, 129, 14};
constexpr QRect kLabelg{176, 79, 57, 17};
constexpr QRect kUpDown1{232, 79, 16, 17};
constexpr QRect kCheck2{40, 104, 145, 17};
constexpr QRect kLabeli0{96, 144, 65, 17};
constexpr QRect kLabeli1{264, 144, 81, 17};
}  // namespace tools

// Perturbation panel Frame2, relative to the panel (the amplitude and
// duration boxes are moved by the panel's painting).
namespace frame2 {
constexpr int kAmplitudeTop = 12;
constexpr int kDureeTop = 36;
constexpr QSize kBox{57, 19};
constexpr QRect kChecksi{24, 60, 201, 17};
constexpr QRect kOptpert0{24, 92, 145, 17};
constexpr QRect kOptpert1{24, 116, 145, 17};
constexpr QRect kOptpert2{24, 140, 145, 17};
constexpr QRect kFrequence{344, 124, 41, 19};
constexpr QRect kALaMain{24, 158, 145, 17};
}  // namespace frame2

// Rope panel Picture3, relative to the panel.
namespace picture3 {
constexpr QRect kOptbout0{24, 24, 225, 17};
constexpr QRect kOptbout1{24, 48, 225, 17};
constexpr QRect kOptbout2{24, 72, 225, 17};
constexpr int kMasseTop = 104;
constexpr int kTensionTop = 128;
constexpr QSize kBox{57, 19};
// The real rope, its damping and the plucked rope.
constexpr QRect kAmortissementLabel{264, 8, 140, 15};
constexpr QRect kAmortissement{264, 24, 112, 21};
constexpr QRect kPincer{264, 50, 112, 23};
constexpr QRect kPointPince{264, 76, 112, 21};
constexpr QRect kCordeReelle{24, 154, 380, 17};
}  // namespace picture3

}  // namespace tolvi::layout
