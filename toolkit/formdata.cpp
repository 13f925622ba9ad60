#include "formdata.h"
#include "exceptions.h"
#include "graphic_controls.h"

void ReadFormPictures(TComponent* Form, TStream* Stream)
{
    while (Stream->Position() < Stream->Size()) {
        std::string name = ReadShortString(Stream);
        int32_t size = 0;
        Stream->ReadBuffer(&size, sizeof size);
        if (size < 0 || size > Stream->Size() - Stream->Position()) throw EReadError(Texts::ReadError);
        // The graphic reads from its own copy, so that it cannot run into the next record.
        TMemoryStream data;
        if (size) data.CopyFrom(Stream, size);
        data.SetPosition(0);
        auto* image = dynamic_cast<TImage*>(Form->FindComponent(name));
        if (!image) throw EReadError("Invalid property path: " + name + ".Picture.Data");
        image->Picture()->ReadData(&data);
    }
}

void LoadFormPictures(TComponent* Form, HINSTANCE Instance)
{
    if (!Instance) Instance = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(Instance, Form->ClassName(), reinterpret_cast<LPCSTR>(RT_RCDATA));
    if (!resource) return;
    auto* bytes = static_cast<const uint8_t*>(::LockResource(::LoadResource(Instance, resource)));
    TMemoryStream stream;
    stream.WriteBuffer(bytes, static_cast<int32_t>(::SizeofResource(Instance, resource)));
    stream.SetPosition(0);
    ReadFormPictures(Form, &stream);
}
