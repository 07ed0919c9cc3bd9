#pragma once
// A simulation as the window starts it (solitary wave, the boxes' texts
// read), with typing into a parameter box and leaving it.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>

namespace tolvi {

struct TypedRope : ::testing::Test {
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    void SetUp() override
    {
        sim.readParameters();
        sim.selectOptpert(OndeSolitaire);
    }
    void set(int index, const char* text)
    {
        sim.setTextfreq(index, QString::fromUtf8(text));
        sim.Textfreq_LostFocus(index);
    }
};

}  // namespace tolvi
