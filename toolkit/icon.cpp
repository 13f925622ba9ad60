#include "icon.h"
#include "exceptions.h"

TIcon::~TIcon()
{
    if (FHandle) ::DestroyIcon(FHandle);
}

void TIcon::SetHandle(HICON Value)
{
    if (Value == FHandle) return;
    if (FHandle) ::DestroyIcon(FHandle);
    FHandle = Value;
    FWidth = FHeight = 0;
    FileData.clear();
    ResInstance = nullptr;
    ResName.clear();
    ICONINFO info{};
    if (Value && ::GetIconInfo(Value, &info)) {
        BITMAP bm{};
        ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        FWidth = bm.bmWidth;
        FHeight = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
    }
    Changed();
}

HICON TIcon::ReleaseHandle()
{
    HICON icon = FHandle;
    FHandle = nullptr;
    SetHandle(nullptr);
    return icon;
}

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::Draw(TCanvas* Canvas, const RECT& Rect)
{
    if (FHandle)
        ::DrawIconEx(Canvas->Handle(), Rect.left, Rect.top, FHandle, Rect.right - Rect.left, Rect.bottom - Rect.top, 0,
                     nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream* Stream)
{
    std::vector<uint8_t> data(static_cast<size_t>(Stream->Size() - Stream->Position()));
    Stream->ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
#pragma pack(push, 1)
    struct Dir {
        WORD Reserved, Type, Count;
    };
    struct Entry {
        BYTE Width, Height, Colors, Reserved;
        WORD Planes, BitCount;
        DWORD BytesInRes, Offset;
    };
#pragma pack(pop)
    const char* invalid = "Icon image is not valid";
    if (data.size() < sizeof(Dir)) throw EInvalidGraphic(invalid);
    auto* dir = reinterpret_cast<const Dir*>(data.data());
    if (dir->Reserved != 0 || dir->Type != 1 || dir->Count == 0 || data.size() < sizeof(Dir) + dir->Count * sizeof(Entry))
        throw EInvalidGraphic(invalid);
    // The entry of the system's icon size with the most colours, else the first.
    auto* entries = reinterpret_cast<const Entry*>(dir + 1);
    int want = ::GetSystemMetrics(SM_CXICON);
    const Entry* best = &entries[0];
    for (int i = 0; i < dir->Count; ++i) {
        const Entry& e = entries[i];
        int w = e.Width ? e.Width : 256;
        int bestW = best->Width ? best->Width : 256;
        if ((w == want && bestW != want) || (w == bestW && e.BitCount > best->BitCount)) best = &e;
    }
    if (best->Offset > data.size() || best->BytesInRes > data.size() - best->Offset) throw EInvalidGraphic(invalid);
    int w = best->Width ? best->Width : 256, h = best->Height ? best->Height : 256;
    HICON icon = ::CreateIconFromResourceEx(data.data() + best->Offset, best->BytesInRes, TRUE, 0x00030000, w, h,
                                            LR_DEFAULTCOLOR);
    if (!icon) throw EInvalidGraphic(invalid);
    SetHandle(icon);
    FileData = std::move(data);
}

void TIcon::SaveToStream(TStream* Stream)
{
    if (FHandle && FileData.empty()) throw EInvalidGraphicOperation("Icon was not loaded from a file");
    Stream->WriteBuffer(FileData.data(), static_cast<int32_t>(FileData.size()));
}

void TIcon::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName)
{
    HICON icon = static_cast<HICON>(::LoadImageA(Instance, ResName.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!icon) throw EResNotFound("Resource " + ResName + " not found");
    SetHandle(icon);
    this->ResInstance = Instance;
    this->ResName = ResName;
}

HICON TIcon::CopyAtSize(int AWidth, int AHeight) const
{
    HANDLE icon = nullptr;
    if (!ResName.empty()) icon = ::LoadImageA(ResInstance, ResName.c_str(), IMAGE_ICON, AWidth, AHeight, 0);
    if (!icon && FHandle) icon = ::CopyImage(FHandle, IMAGE_ICON, AWidth, AHeight, 0);
    return static_cast<HICON>(icon);
}

void TIcon::Assign(TPersistent* Source)
{
    if (!Source) {
        SetHandle(nullptr);
        return;
    }
    if (auto* icon = dynamic_cast<TIcon*>(Source)) {
        if (icon == this) return;
        std::vector<uint8_t> data = icon->FileData;
        SetHandle(icon->FHandle ? ::CopyIcon(icon->FHandle) : nullptr);
        FileData = std::move(data);
        ResInstance = icon->ResInstance;
        ResName = icon->ResName;
        return;
    }
    TGraphic::Assign(Source);
}
