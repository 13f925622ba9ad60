#include "gif_extension.h"
#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <algorithm>
#include <cstring>

namespace {
const TGIFExtensionClassRec* AnswerSelf(const TGIFExtensionClassRec* Self, TStream*) { return Self; }

template <class T> TGIFExtension* Make(TGIFSubImage* Frame) { return new T(Frame); }

struct TExtensionEntry {
    uint8_t Label;
    TGIFExtensionClass Class;
};
struct TAppExtensionEntry {
    TGIFApplicationRec Identifier;
    TGIFAppExtensionClass Class;
};

TGIFApplicationRec AppRec(const char* Text)
{
    TGIFApplicationRec rec;
    std::memcpy(&rec, Text, sizeof rec);
    return rec;
}

// The registries, made with their built-in entries on first use.
std::vector<TExtensionEntry>& ExtensionList()
{
    static std::vector<TExtensionEntry> list = {
        {0x01, &TGIFTextExtension::Class},
        {0xF9, &TGIFGraphicControlExtension::Class},
        {0xFE, &TGIFCommentExtension::Class},
        {0xFF, &TGIFApplicationExtension::Class},
    };
    return list;
}

std::vector<TAppExtensionEntry>& AppExtensionList()
{
    static std::vector<TAppExtensionEntry> list = {
        {AppRec("NETSCAPE2.0"), &TGIFAppExtNSLoop::Class},
        {AppRec("ANIMEXTS1.0"), &TGIFAppExtNSLoop::Class},
    };
    return list;
}

TGIFAppExtensionClass FindAppExtension(const TGIFApplicationRec& Identifier)
{
    const auto& list = AppExtensionList();
    for (auto e = list.rbegin(); e != list.rend(); ++e)
        if (std::memcmp(&e->Identifier, &Identifier, sizeof Identifier) == 0) return e->Class;
    return &TGIFUnknownAppExtension::Class;
}

// Every block size resolves to a concrete class, so the abstract base is
// never instantiated: sizes the reader refuses get the unknown class,
// whose load raises the fitting error.
const TGIFExtensionClassRec* FindAppSubExtension(const TGIFExtensionClassRec*, TStream* Stream)
{
    const int size = GetByte(Stream);
    if (size < 0) return nullptr;
    TGIFApplicationRec rec{};
    if (size == 10) return Stream->Read(&rec, 10) == 10 ? &TGIFUnknownAppExtension::Class : nullptr;
    if (size >= 11)
        return Stream->Read(&rec, 11) == 11 ? FindAppExtension(rec) : &TGIFUnknownAppExtension::Class;
    return &TGIFUnknownAppExtension::Class;
}
} // namespace

const TGIFExtensionClassRec TGIFGraphicControlExtension::Class = {Make<TGIFGraphicControlExtension>, AnswerSelf};
const TGIFExtensionClassRec TGIFTextExtension::Class = {Make<TGIFTextExtension>, AnswerSelf};
const TGIFExtensionClassRec TGIFCommentExtension::Class = {Make<TGIFCommentExtension>, AnswerSelf};
const TGIFExtensionClassRec TGIFApplicationExtension::Class = {nullptr, FindAppSubExtension};
const TGIFExtensionClassRec TGIFUnknownAppExtension::Class = {Make<TGIFUnknownAppExtension>, AnswerSelf};
const TGIFExtensionClassRec TGIFAppExtNSLoop::Class = {Make<TGIFAppExtNSLoop>, AnswerSelf};

TGIFExtension::TGIFExtension(TGIFSubImage* Frame) : TGIFItem(Frame->Image()), FFrame(Frame) {}

TGIFExtension::~TGIFExtension() { FFrame->Extensions()->Remove(this); }

void TGIFExtension::RegisterExtension(uint8_t Label, TGIFExtensionClass Class)
{
    ExtensionList().push_back({Label, Class});
}

void TGIFApplicationExtension::RegisterExtension(const TGIFApplicationRec& Identifier, TGIFAppExtensionClass Class)
{
    AppExtensionList().push_back({Identifier, Class});
}

TGIFExtensionClass TGIFExtension::FindExtension(TStream* Stream)
{
    const int64_t start = Stream->Position();
    const int label = GetByte(Stream);
    TGIFExtensionClass found = nullptr;
    if (label >= 0) {
        const auto& list = ExtensionList();
        for (auto e = list.rbegin(); e != list.rend(); ++e)
            if (e->Label == label) {
                found = e->Class;
                break;
            }
        while (found) {
            TGIFExtensionClass sub = found->FindSubExtension(found, Stream);
            if (sub == found) break;
            found = sub;
        }
    }
    Stream->SetPosition(start);
    return found && found->Create ? found : nullptr;
}

void TGIFExtension::SaveToStream(TStream* Stream)
{
    PutByte(Stream, '!');
    PutByte(Stream, GetExtensionType());
}

uint8_t TGIFExtension::DoReadFromStream(TStream* Stream)
{
    uint8_t head[2];
    ReadExactly(Stream, head, 2);
    if (head[0] != '!') RaiseGifError(GIFTexts::BadIntroducer);
    return head[1];
}

void TGIFExtension::LoadFromStream(TStream* Stream)
{
    if (DoReadFromStream(Stream) != GetExtensionType()) RaiseGifError(GIFTexts::ExtensionMismatch);
}

// Graphic control

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* Frame) : TGIFExtension(Frame)
{
    if (!Frame->GraphicControlExtension) Frame->GraphicControlExtension = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension()
{
    if (GetTransparent()) Frame()->Transparent = false;
    if (Frame()->GraphicControlExtension == this) Frame()->GraphicControlExtension = nullptr;
}

void TGIFGraphicControlExtension::SetTransparent(bool Value)
{
    Frame()->Transparent = Value;
    GCExtension.PackedFields = Value ? GCExtension.PackedFields | bsTransparent : GCExtension.PackedFields & ~bsTransparent;
}

void TGIFGraphicControlExtension::SetUserInput(bool Value)
{
    GCExtension.PackedFields = Value ? GCExtension.PackedFields | bsUserInput : GCExtension.PackedFields & ~bsUserInput;
}

void TGIFGraphicControlExtension::SetDisposal(TDisposalMethod Value)
{
    GCExtension.PackedFields = (GCExtension.PackedFields & 0xE3) | ((Value * 4) & bsDisposal);
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(uint8_t Index)
{
    const TGIFColorMap* map = Frame()->GetActiveColorMap();
    if (Index >= map->Count() && map->Count() > 0) {
        Warning(gsWarning, GIFTexts::BadColorIndex);
        Index = 0;
    }
    GCExtension.TransparentColorIndex = Index;
}

uint32_t TGIFGraphicControlExtension::GetTransparentColor() const
{
    return Frame()->GetActiveColorMap()->GetColor(GCExtension.TransparentColorIndex);
}

void TGIFGraphicControlExtension::SetTransparentColor(uint32_t Color)
{
    GCExtension.TransparentColorIndex = uint8_t(Frame()->GetActiveColorMap()->AddUnique(Color));
}

void TGIFGraphicControlExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    Stream->WriteBuffer(&GCExtension, sizeof GCExtension);
}

void TGIFGraphicControlExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    // Six bytes whatever the block size says: writers that got it wrong
    // still put the fields there.
    if (Stream->Read(&GCExtension, sizeof GCExtension) != sizeof GCExtension) {
        Warning(gsWarning, GIFTexts::PrematureEnd);
        return;
    }
    if (GetTransparent()) Frame()->Transparent = true;
}

// Plain text

uint16_t TGIFTextExtension::GetBounds(int Index) const
{
    switch (Index) {
    case 1: return PlainTextExtension.Left;
    case 2: return PlainTextExtension.Top;
    case 3: return PlainTextExtension.Width;
    case 4: return PlainTextExtension.Height;
    default: return 0;
    }
}

void TGIFTextExtension::SetBounds(int Index, uint16_t Value)
{
    switch (Index) {
    case 1: PlainTextExtension.Left = Value; break;
    case 2: PlainTextExtension.Top = Value; break;
    case 3: PlainTextExtension.Width = Value; break;
    case 4: PlainTextExtension.Height = Value; break;
    }
}

uint8_t TGIFTextExtension::GetCharWidthHeight(int Index) const
{
    return Index == 1 ? PlainTextExtension.CellWidth : Index == 2 ? PlainTextExtension.CellHeight : 0;
}

void TGIFTextExtension::SetCharWidthHeight(int Index, uint8_t Value)
{
    if (Index == 1) PlainTextExtension.CellWidth = Value;
    if (Index == 2) PlainTextExtension.CellHeight = Value;
}

uint8_t TGIFTextExtension::GetColorIndex(int Index) const
{
    return Index == 1 ? PlainTextExtension.TextFGColorIndex : Index == 2 ? PlainTextExtension.TextBGColorIndex : 0;
}

void TGIFTextExtension::SetColorIndex(int Index, uint8_t Value)
{
    if (Index == 1) PlainTextExtension.TextFGColorIndex = Value;
    if (Index == 2) PlainTextExtension.TextBGColorIndex = Value;
}

uint32_t TGIFTextExtension::GetForegroundColor() const
{
    return Frame()->GetActiveColorMap()->GetColor(PlainTextExtension.TextFGColorIndex);
}

void TGIFTextExtension::SetForegroundColor(uint32_t Color)
{
    PlainTextExtension.TextFGColorIndex = uint8_t(Frame()->GetActiveColorMap()->AddUnique(Color));
}

uint32_t TGIFTextExtension::GetBackgroundColor() const
{
    return Frame()->GetActiveColorMap()->GetColor(PlainTextExtension.TextBGColorIndex);
}

void TGIFTextExtension::SetBackgroundColor(uint32_t Color)
{
    PlainTextExtension.TextBGColorIndex = uint8_t(Frame()->GetActiveColorMap()->AddUnique(Color));
}

void TGIFTextExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    Stream->WriteBuffer(&PlainTextExtension, sizeof PlainTextExtension);
    WriteTextBlocks(Stream, Text);
}

void TGIFTextExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    ReadExactly(Stream, &PlainTextExtension, sizeof PlainTextExtension);
    ReadTextBlocks(Stream, Text);
}

// Comment

void TGIFCommentExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    WriteTextBlocks(Stream, Text);
}

void TGIFCommentExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    ReadTextBlocks(Stream, Text);
}

// Application

namespace {
std::string FixedText(const char* Field, size_t Size) { return std::string(Field, strnlen(Field, Size)); }

void SetFixedText(char* Field, size_t Size, const std::string& Value)
{
    std::memset(Field, ' ', Size);
    std::memcpy(Field, Value.data(), std::min(Size, Value.size()));
}
} // namespace

std::string TGIFApplicationExtension::GetIdentifier() const { return FixedText(FApplicationRec.Identifier, 8); }

void TGIFApplicationExtension::SetIdentifier(const std::string& Value) { SetFixedText(FApplicationRec.Identifier, 8, Value); }

std::string TGIFApplicationExtension::GetAuthentication() const { return FixedText(FApplicationRec.Authentication, 3); }

void TGIFApplicationExtension::SetAuthentication(const std::string& Value)
{
    SetFixedText(FApplicationRec.Authentication, 3, Value);
}

void TGIFApplicationExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    PutByte(Stream, 11);
    Stream->WriteBuffer(&FApplicationRec, sizeof FApplicationRec);
    SaveData(Stream);
}

void TGIFApplicationExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    const int size = GetByte(Stream);
    if (size < 0) RaiseGifError(GIFTexts::PrematureEnd);
    if (size < 10) RaiseGifError(GIFTexts::BadAppBlockSize);
    if (size == 10) {
        FApplicationRec.Authentication[2] = 0;
        ReadExactly(Stream, &FApplicationRec, 10);
    } else {
        ReadExactly(Stream, &FApplicationRec, 11);
        if (size > 11) Stream->Seek(size - 11, soCurrent);
    }
    LoadData(Stream);
}

void TGIFBlock::SaveToStream(TStream* Stream) const
{
    PutByte(Stream, uint8_t(Size));
    Stream->WriteBuffer(Data.data(), Size);
}

void TGIFBlock::LoadFromStream(TStream* Stream) { ReadExactly(Stream, Data.data(), Size); }

void TGIFUnknownAppExtension::SaveData(TStream* Stream)
{
    for (const auto& block : Blocks) block->SaveToStream(Stream);
    PutByte(Stream, 0);
}

void TGIFUnknownAppExtension::LoadData(TStream* Stream)
{
    Blocks.clear();
    for (int n = GetByte(Stream); n > 0; n = GetByte(Stream)) {
        auto block = std::make_unique<TGIFBlock>(n);
        block->LoadFromStream(Stream);
        Blocks.push_back(std::move(block));
    }
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* Frame) : TGIFApplicationExtension(Frame)
{
    FApplicationRec = AppRec("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::SaveData(TStream* Stream)
{
    const uint8_t loop[4] = {3, 1, uint8_t(Loops), uint8_t(Loops >> 8)};
    Stream->WriteBuffer(loop, 4);
    if (BufferSize > 0) {
        const uint8_t buffer[6] = {5, 2, uint8_t(BufferSize), uint8_t(BufferSize >> 8), uint8_t(BufferSize >> 16),
                                   uint8_t(BufferSize >> 24)};
        Stream->WriteBuffer(buffer, 6);
    }
    PutByte(Stream, 0);
}

void TGIFAppExtNSLoop::LoadData(TStream* Stream)
{
    for (int n = GetByte(Stream); n > 0; n = GetByte(Stream)) {
        const int id = GetByte(Stream);
        if (id < 0) return;
        --n;
        uint8_t value[4];
        switch (id & 7) { // writers differ in the upper bits
        case 1:
            if (n < 2) RaiseGifError(GIFTexts::BadData);
            ReadExactly(Stream, value, 2);
            Loops = uint16_t(value[0] | value[1] << 8);
            n -= 2;
            break;
        case 2:
            if (n < 4) RaiseGifError(GIFTexts::BadData);
            ReadExactly(Stream, value, 4);
            BufferSize = value[0] | uint32_t(value[1]) << 8 | uint32_t(value[2]) << 16 | uint32_t(value[3]) << 24;
            n -= 4;
            break;
        }
        if (n > 0) {
            if (Stream->Position() + n >= Stream->Size()) {
                Stream->SetPosition(Stream->Size());
                return;
            }
            Stream->Seek(n, soCurrent);
        }
    }
}

void TGIFExtensionList::LoadFromStream(TStream* Stream, TObject* Parent)
{
    auto* frame = dynamic_cast<TGIFSubImage*>(Parent);
    if (!frame) RaiseGifError(GIFTexts::BadIntroducer);
    int b = GetByte(Stream);
    if (b < 0) return;
    while (b != ',' && b != ';') {
        if (b != '!') {
            Warning(gsWarning, GIFTexts::BadIntroducer);
            Stream->Seek(-1, soCurrent);
            return;
        }
        TGIFExtensionClass extensionClass = TGIFExtension::FindExtension(Stream);
        if (!extensionClass) RaiseGifError(GIFTexts::UnknownExtension);
        Stream->Seek(-1, soCurrent);
        std::unique_ptr<TGIFExtension> extension(extensionClass->Create(frame));
        extension->LoadFromStream(Stream);
        Add(extension.release());
        b = GetByte(Stream);
        if (b < 0) return;
    }
    Stream->Seek(-1, soCurrent);
}
