#include "card_state.h"
#include "state_files.h"

#include "toolkit/format.h"
#include "toolkit/inifile.h"

#include <windows.h>

namespace {

std::string FileName(const World& world)
{
    return world.StateFolder + "card.ini";
}

} // namespace

CardState ReadCardState(const World& world)
{
    TIniFile ini(FileName(world));
    CardState state;
    state.Restarts = static_cast<uint32_t>(ini.ReadInteger("Adapter", "Restarts", 0));
    uint32_t upUntil = static_cast<uint32_t>(ini.ReadInteger("Adapter", "DownUntil", 0));
    state.Down = static_cast<int32_t>(upUntil - GetTickCount()) > 0;
    return state;
}

void BeginCardRestart(const World& world)
{
    EnsureFolder(world.StateFolder);
    TIniFile ini(FileName(world));
    try {
        ini.WriteInteger("Adapter", "Restarts", static_cast<int32_t>(ReadCardState(world).Restarts + 1));
        ini.WriteInteger("Adapter", "DownUntil", static_cast<int32_t>(GetTickCount() + world.RestartMs));
    } catch (const EIniFileException&) {
        // A state folder that cannot be written only loses the restart.
    }
}
