// The adapter card's restarts, shared by the NIC library (which restarts the
// card) and the chipset library (which then takes the driver's saved
// setting), through card.ini in the state folder.
#pragma once
#include "world.h"

#include <cstdint>

struct CardState {
    uint32_t Restarts = 0; // how often the card was restarted
    bool Down = false;     // restarting now: out of the active list
};

CardState ReadCardState(const World& world);
// Counts a restart and takes the card down for the world's RestartMs.
void BeginCardRestart(const World& world);
