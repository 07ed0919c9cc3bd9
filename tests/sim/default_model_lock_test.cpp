// The default rope model is locked: a long run of every wave on every far end
// must give, tick after tick, the very displacements it gave before the
// second rope model was added beside it. The expected hashes were computed
// with the program as it stood then; the rope-model choice must not move a
// single bit of them while the real rope stays unchecked.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>
#include <cstring>

using namespace tolvi;

namespace {
// FNV-1a over the bytes of every tick's displacements, interval and count.
struct Fnv {
    std::uint64_t h = 1469598103934665603ull;
    void add(const void* data, std::size_t n)
    {
        const auto* b = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i) {
            h ^= b[i];
            h *= 1099511628211ull;
        }
    }
};

std::uint64_t runHash(int wave, int end, bool symmetric)
{
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    sim.readParameters();
    sim.selectOptbout(end);
    sim.selectOptpert(wave);
    sim.setChecksi(symmetric);
    if (wave == OndeSolitaire)
        sim.demar_Click();
    Fnv fnv;
    for (int tick = 0; tick < 1500; ++tick) {
        // A second pulse, and a stopped then restarted periodic wave.
        if (tick == 130 && sim.controls().demarEnabled)
            sim.demar_Click();
        if (wave != OndeSolitaire && (tick == 700 || tick == 760))
            sim.demar_Click();
        sim.Timer1_Timer();
        const SimState& s = sim.state();
        fnv.add(s.deplacement.data(), sizeof(double) * s.deplacement.size());
        const int interval = sim.controls().timerInterval;
        fnv.add(&interval, sizeof interval);
        fnv.add(&s.nbDef, sizeof s.nbDef);
    }
    return fnv.h;
}
}  // namespace

TEST(DefaultRopeModel, LongRunsOfEveryWaveAndEndAreBitForBitAsBefore)
{
    // {wave, end, symmetric} -> hash of 1500 ticks.
    struct Case {
        int wave, end;
        bool symmetric;
        std::uint64_t hash;
    };
    const Case cases[] = {
        {OndeSolitaire, BoutAmortisseur, false, 0x4cabf8587a3c4ae7ull},
        {OndeSolitaire, BoutFixe, false, 0x8a5b6de35d589327ull},
        {OndeSolitaire, BoutLibre, true, 0x97d016ba0baea10bull},
        {OndePeriodique, BoutAmortisseur, true, 0xf2546395ae5e9dd1ull},
        {OndePeriodique, BoutFixe, false, 0x56fe11c118864eb4ull},
        {OndePeriodique, BoutLibre, false, 0x32b185692f4d396bull},
        {OndeSinusoidale, BoutAmortisseur, false, 0x83a892f15c9f665bull},
        {OndeSinusoidale, BoutFixe, false, 0xbfef0436dcdac033ull},
        {OndeSinusoidale, BoutLibre, false, 0xa5e0507e75f59163ull},
    };
    for (const Case& c : cases)
        EXPECT_EQ(runHash(c.wave, c.end, c.symmetric), c.hash)
            << "wave " << c.wave << ", end " << c.end << std::hex << ": 0x" << runHash(c.wave, c.end, c.symmetric);
}
