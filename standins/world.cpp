#include "world.h"
#include "ini_reader.h"
#include "text_fields.h"

#include "toolkit/format.h"

#include <windows.h>

namespace {

std::string ModuleFolder()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CurrentWorld), &module);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return ExtractFilePath(path);
}

std::string WorldFileName()
{
    char path[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA("VANTRA_WORLD", path, MAX_PATH);
    std::string name = n > 0 && n < MAX_PATH ? path : ModuleFolder() + "standins.ini";
    char full[MAX_PATH] = {};
    n = GetFullPathNameA(name.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? full : name;
}

bool IsAbsolute(const std::string& path)
{
    return (path.size() > 2 && path[1] == ':') || path.compare(0, 2, "\\\\") == 0;
}

std::string Folder(const std::string& base, const std::string& path)
{
    std::string folder = path.empty() ? base : IsAbsolute(path) ? path : base + path;
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string item = Trim(text.substr(start, end - start));
        if (!item.empty()) items.push_back(item);
        start = end + 1;
    }
    return items;
}

uint8_t Byte(const IniReader& ini, const char* section, const char* key, int fallback)
{
    int32_t value = ini.ReadInteger(section, key, fallback);
    return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

IpSettings ReadIp(const IniReader& ini, const std::string& section)
{
    IpSettings ip;
    ip.Dhcp = ini.ReadBool(section, "Dhcp", true);
    ip.Ip = ini.ReadString(section, "Ip", "");
    ip.Mask = ini.ReadString(section, "Mask", "");
    ip.Gateway = ini.ReadString(section, "Gateway", "");
    ip.Dns = ini.ReadString(section, "Dns", "");
    return ip;
}

Card ReadCard(const IniReader& ini, const std::string& section, const std::string& nameKey)
{
    Card card;
    card.Description = ini.ReadString(section, "Description", "");
    card.Name = ini.ReadString(section, nameKey, "");
    ParseMac(ini.ReadString(section, "Mac", ""), card.Mac);
    card.Active = ini.ReadBool(section, "Active", true);
    card.Ip = ReadIp(ini, section);
    return card;
}

World Read(const std::string& fileName)
{
    World world;
    world.Folder = ExtractFilePath(fileName);
    if (GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) {
        world.StateFolder = Folder(world.Folder, "");
        return world;
    }
    IniReader ini(fileName);
    world.StateFolder = Folder(world.Folder, ini.ReadString("World", "State", ""));
    std::string log = ini.ReadString("World", "Log", "");
    if (!log.empty()) world.LogFile = IsAbsolute(log) ? log : world.Folder + log;
    world.JoinMs = static_cast<uint32_t>(ini.ReadInteger("World", "JoinMs", 3000));
    world.RestartMs = static_cast<uint32_t>(ini.ReadInteger("World", "RestartMs", 300));
    world.NicErrorCode = ini.ReadInteger("World", "NicErrorCode", 31);
    world.Failing = SplitList(ini.ReadString("World", "Fail", ""));

    world.AdapterPresent = ini.ReadBool("Adapter", "Present", false);
    world.Adapter = ReadCard(ini, "Adapter", "AdapterName");
    world.RegistryKeyPath = ini.ReadString("Adapter", "RegistryKeyPath", "");
    world.DeviceId = ini.ReadString("Adapter", "DeviceId", "");
    world.ChipKind = Byte(ini, "Adapter", "ChipKind", 0);
    for (int i = 1; ini.SectionExists(Format("Card%d", i)); ++i)
        world.OtherCards.push_back(ReadCard(ini, Format("Card%d", i), "Name"));

    world.Lease = ReadIp(ini, "Dhcp");
    world.DhcpServer = ini.ReadString("Dhcp", "Server", "");

    for (int i = 1; ini.SectionExists(Format("Cell%d", i)); ++i) {
        std::string section = Format("Cell%d", i);
        Cell cell;
        cell.Ssid = ini.ReadString(section, "SSID", "").substr(0, 32);
        ParseMac(ini.ReadString(section, "BSSID", ""), cell.Bssid);
        cell.Mode = Byte(ini, section.c_str(), "Mode", 1);
        cell.Channel = Byte(ini, section.c_str(), "Channel", 6);
        cell.Band = Byte(ini, section.c_str(), "Band", 0);
        cell.Signal = Byte(ini, section.c_str(), "Signal", 50);
        if (cell.Signal > 100) cell.Signal = 100;
        cell.WepLevel = Byte(ini, section.c_str(), "Wep", 0);
        cell.Key = ParseHex(ini.ReadString(section, "Key", ""));
        cell.Turbo = Byte(ini, section.c_str(), "Turbo", 0);
        world.Cells.push_back(cell);
    }
    return world;
}

} // namespace

bool World::Fails(const char* entryPoint) const
{
    for (const std::string& name : Failing)
        if (name == entryPoint) return true;
    return false;
}

const World& CurrentWorld()
{
    static World world;
    static std::string loadedName;
    static FILETIME loadedTime{};
    static DWORD loadedSize = 0;
    std::string name = WorldFileName();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) data = {};
    if (name != loadedName || CompareFileTime(&data.ftLastWriteTime, &loadedTime) != 0 ||
        data.nFileSizeLow != loadedSize) {
        world = Read(name);
        loadedName = name;
        loadedTime = data.ftLastWriteTime;
        loadedSize = data.nFileSizeLow;
    }
    return world;
}
