#pragma once
// The whole program: the shared values, the simulation, the main window and
// the features plugged into its buttons. main() and batch mode build one.

#include "mainwin/shared_state.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <memory>

namespace tolvi {
class ExerciseMenu;
class FeuilleP;
class ZoomCommands;

class Program {
public:
    // `messages` answers every box (the user's screen or batch mode).
    // `seed` makes the damper's speckles repeatable.
    Program(Messages& messages, std::uint32_t seed);
    ~Program();

    Simulation& simulation() { return sim_; }
    SharedState& shared() { return shared_; }
    FeuilleP& window() { return *window_; }
    Messages& messages() { return messages_; }
    // The exercise menu under btexo and the exercise window.
    ExerciseMenu& exercises() { return *exercises_; }
    // The window's zoom, "Plein écran" and the projection layout.
    ZoomCommands& zoomCommands() { return *zoom_; }
    // Shows the main window as the screen allows.
    void showWindow();

private:
    void connectFeatures();

    Messages& messages_;
    SeededRandom random_;
    SharedState shared_;
    Simulation sim_;
    std::unique_ptr<FeuilleP> window_;
    // After the window: goes first, with the exercise window it may hold.
    std::unique_ptr<ExerciseMenu> exercises_;
    ZoomCommands* zoom_ = nullptr;  // owned by the window
};

}  // namespace tolvi
