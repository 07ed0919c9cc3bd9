#pragma once
// What the benchmark programs share: a simulation with its seeded seams, a
// wave set up as a user sets it in the window, and their main().

#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace tolvi::bench {

// A wave and its parameters as typed into the five boxes (frequency, linear
// density, tension, amplitude, duration); a box left null keeps its value.
struct WaveSetup {
    const char* name;
    int onde, bout;
    const char *frequence, *masse, *tension, *amplitude, *duree;
};

// A simulation as a window holds it, with scripted messages and a seeded
// random source, so that every run is the same.
struct BenchSimulation {
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
};

// Types each given text into its box and leaves it, then chooses the far end
// and the wave, in that order: choosing a periodic or sinusoidal wave starts
// it with the parameters already set.
inline void chooseWave(Simulation& sim, const WaveSetup& s)
{
    sim.readParameters();
    const char* const texts[5] = {s.frequence, s.masse, s.tension, s.amplitude, s.duree};
    for (int i = 0; i < 5; ++i) {
        if (!texts[i])
            continue;
        sim.setTextfreq(i, QString::fromLatin1(texts[i]));
        sim.Textfreq_LostFocus(i);
    }
    sim.selectOptbout(s.bout);
    sim.selectOptpert(s.onde);
}

// The body of every benchmark's main(): offscreen, the program's fonts.
template <class Application>
int runBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    useSystemFontsWithoutDisplay();
    Application app(argc, argv);
    installFontsAndTranslations();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tolvi::bench
