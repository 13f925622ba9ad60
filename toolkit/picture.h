// TPicture: holds one graphic of any registered class. The registry of
// graphic classes serves both file names (by extension) and stored pictures
// (by class name), so a unit that registers its class can be read wherever
// pictures are read.
#pragma once
#include "bitmap.h"
#include "icon.h"

#include <string>

// A graphic class as the registry knows it: its class name and a factory.
struct TGraphicClass {
    std::string Name;
    TGraphic* (*Create)();
};

template <class T> TGraphicClass GraphicClass(const char* Name)
{
    return {Name, []() -> TGraphic* { return new T; }};
}

class TPicture : public TPersistent {
public:
    CLASS_NAME(TPicture)
    ~TPicture() override;
    void Assign(TPersistent* Source) override; // a picture, a graphic (copied) or nullptr

    TGraphic* Graphic() const { return FGraphic; }
    void SetGraphic(TGraphic* Value) { Assign(Value); }
    // The graphic as a bitmap or icon; a graphic of another class is replaced
    // by an empty one of the asked class.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // The class comes from the file's extension.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    // Form data: length byte and class name of the graphic, then the
    // graphic's own data; the class is made through the registry.
    void ReadData(TStream* Stream);

    static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                   const TGraphicClass& Class);
    // Forgets every extension and clipboard format of the class, and the class itself.
    static void UnregisterGraphicClass(const TGraphicClass& Class);
    static const TGraphicClass* FindClass(const std::string& ClassName);
    static const TGraphicClass* FindExtension(const std::string& Extension);
    // Clipboard formats: which class takes data of a format.
    static void RegisterClipboardFormat(UINT Format, const TGraphicClass& Class);
    static bool SupportsClipboardFormat(UINT Format);
    void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette);

    TNotifyEvent OnChange;

private:
    template <class T> T* ForceGraphic();
    void Take(TGraphic* Graphic); // owns it from now on
    void Changed(TObject* Sender);
    TGraphic* FGraphic = nullptr;
};
