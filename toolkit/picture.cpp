#include "picture.h"
#include "exceptions.h"

#include <memory>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

struct Format {
    std::string Extension; // lower case, without the dot
    std::string Description;
    TGraphicClass Class;
};

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The registries are never freed: a graphic unit may unregister itself while
// the C runtime tears the program down.
std::vector<Format>& Formats()
{
    static auto* formats = new std::vector<Format>{
        {"bmp", "Bitmaps", GraphicClass<TBitmap>("TBitmap")},
        {"ico", "Icons", GraphicClass<TIcon>("TIcon")},
    };
    return *formats;
}

struct ClipboardFormat {
    UINT Format;
    TGraphicClass Class;
};

std::vector<ClipboardFormat>& ClipboardFormats()
{
    static auto* formats = new std::vector<ClipboardFormat>{{CF_BITMAP, GraphicClass<TBitmap>("TBitmap")}};
    return *formats;
}

} // namespace

void TPicture::RegisterClipboardFormat(UINT Format, const TGraphicClass& Class)
{
    ClipboardFormats().insert(ClipboardFormats().begin(), {Format, Class});
}

bool TPicture::SupportsClipboardFormat(UINT Format)
{
    for (const ClipboardFormat& f : ClipboardFormats())
        if (f.Format == Format) return true;
    return false;
}

void TPicture::LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette)
{
    for (const ClipboardFormat& f : ClipboardFormats())
        if (f.Format == Format) {
            std::unique_ptr<TGraphic> graphic(f.Class.Create());
            graphic->LoadFromClipboardFormat(Format, Data, Palette);
            Take(graphic.release());
            return;
        }
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  const TGraphicClass& Class)
{
    Formats().insert(Formats().begin(), {Lower(Extension), Description, Class});
}

void TPicture::UnregisterGraphicClass(const TGraphicClass& Class)
{
    auto& formats = Formats();
    formats.erase(std::remove_if(formats.begin(), formats.end(),
                                 [&](const Format& f) { return f.Class.Name == Class.Name; }),
                  formats.end());
    auto& clipboard = ClipboardFormats();
    clipboard.erase(std::remove_if(clipboard.begin(), clipboard.end(),
                                   [&](const ClipboardFormat& f) { return f.Class.Name == Class.Name; }),
                    clipboard.end());
}

const TGraphicClass* TPicture::FindClass(const std::string& ClassName)
{
    for (const Format& f : Formats())
        if (f.Class.Name == ClassName) return &f.Class;
    return nullptr;
}

const TGraphicClass* TPicture::FindExtension(const std::string& Extension)
{
    std::string ext = Lower(Extension);
    for (const Format& f : Formats())
        if (f.Extension == ext) return &f.Class;
    return nullptr;
}

TPicture::~TPicture() { delete FGraphic; }

void TPicture::Take(TGraphic* Graphic)
{
    if (Graphic != FGraphic) delete FGraphic;
    FGraphic = Graphic;
    if (FGraphic) FGraphic->OnChange = [this](TObject* Sender) { Changed(Sender); };
    Changed(this);
}

void TPicture::Changed(TObject*)
{
    if (OnChange) OnChange(this);
}

void TPicture::Assign(TPersistent* Source)
{
    if (!Source) {
        Take(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
        Assign(picture->FGraphic);
    } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
        const TGraphicClass* cls = FindClass(graphic->ClassName());
        if (!cls) throw EInvalidGraphic(std::string("Unknown picture class ") + graphic->ClassName());
        std::unique_ptr<TGraphic> copy(cls->Create());
        copy->Assign(graphic);
        Take(copy.release());
    } else {
        TPersistent::Assign(Source);
    }
}

template <class T> T* TPicture::ForceGraphic()
{
    if (auto* graphic = dynamic_cast<T*>(FGraphic)) return graphic;
    T* graphic = new T;
    Take(graphic);
    return graphic;
}

TBitmap* TPicture::Bitmap() { return ForceGraphic<TBitmap>(); }

TIcon* TPicture::Icon() { return ForceGraphic<TIcon>(); }

void TPicture::LoadFromFile(const std::string& FileName)
{
    size_t dot = FileName.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : FileName.substr(dot + 1);
    const TGraphicClass* cls = FindExtension(ext);
    if (!cls) throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
    std::unique_ptr<TGraphic> graphic(cls->Create());
    graphic->LoadFromFile(FileName);
    Take(graphic.release());
}

void TPicture::SaveToFile(const std::string& FileName)
{
    if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::ReadData(TStream* Stream)
{
    std::string className = ReadShortString(Stream);
    const TGraphicClass* cls = FindClass(className);
    if (!cls) throw EReadError("Class " + className + " not found");
    std::unique_ptr<TGraphic> graphic(cls->Create());
    graphic->ReadData(Stream);
    Take(graphic.release());
}
