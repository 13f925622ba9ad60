// Extension blocks ("!" label body) and the two registries that map a
// label, and an application identifier, to the class that reads it.
#pragma once
#include "gif_item.h"
#include "toolkit/strings.h"

#include <memory>
#include <vector>

class TGIFSubImage;
class TGIFExtension;

// A class reference: how to make an instance for a frame, and the class
// operation that refines the choice by looking further into the stream.
struct TGIFExtensionClassRec {
    TGIFExtension* (*Create)(TGIFSubImage* Frame); // none for an abstract class
    const TGIFExtensionClassRec* (*FindSubExtension)(const TGIFExtensionClassRec* Self, TStream* Stream);
};
using TGIFExtensionClass = const TGIFExtensionClassRec*;
using TGIFAppExtensionClass = TGIFExtensionClass;

class TGIFExtension : public TGIFItem {
public:
    CLASS_NAME(TGIFExtension)
    explicit TGIFExtension(TGIFSubImage* Frame);
    ~TGIFExtension() override; // leaves the frame's extension list

    TGIFSubImage* Frame() const { return FFrame; }
    TGIFVersion GetVersion() const override { return gv89a; }
    virtual uint8_t GetExtensionType() const = 0;
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

    // The class for the extension whose label follows in the stream (just
    // after "!"), or none; the stream stays where it was.
    static TGIFExtensionClass FindExtension(TStream* Stream);
    // Later registrations win.
    static void RegisterExtension(uint8_t Label, TGIFExtensionClass Class);

protected:
    uint8_t DoReadFromStream(TStream* Stream); // "!" and the label

private:
    TGIFSubImage* const FFrame;
};

#pragma pack(push, 1)
struct TGIFGCERec {
    uint8_t BlockSize;
    uint8_t PackedFields;
    uint16_t DelayTime;
    uint8_t TransparentColorIndex;
    uint8_t Terminator;
};
struct TGIFPlainTextExtensionRec {
    uint8_t BlockSize;
    uint16_t Left, Top, Width, Height;
    uint8_t CellWidth, CellHeight;
    uint8_t TextFGColorIndex, TextBGColorIndex;
};
struct TGIFApplicationRec {
    char Identifier[8];
    char Authentication[3];
};
#pragma pack(pop)
static_assert(sizeof(TGIFGCERec) == 6 && sizeof(TGIFPlainTextExtensionRec) == 13 && sizeof(TGIFApplicationRec) == 11,
              "extension records are read and written as stored");

enum : uint8_t { bsTransparent = 0x01, bsUserInput = 0x02, bsDisposal = 0x1C };

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    CLASS_NAME(TGIFGraphicControlExtension)
    static const TGIFExtensionClassRec Class;
    explicit TGIFGraphicControlExtension(TGIFSubImage* Frame);
    ~TGIFGraphicControlExtension() override;
    uint8_t GetExtensionType() const override { return 0xF9; }

    bool GetTransparent() const { return GCExtension.PackedFields & bsTransparent; }
    void SetTransparent(bool Value);
    bool GetUserInput() const { return GCExtension.PackedFields & bsUserInput; }
    void SetUserInput(bool Value);
    TDisposalMethod GetDisposal() const { return TDisposalMethod((GCExtension.PackedFields & bsDisposal) >> 2); }
    void SetDisposal(TDisposalMethod Value);
    uint16_t GetDelay() const { return GCExtension.DelayTime; }
    void SetDelay(uint16_t Value) { GCExtension.DelayTime = Value; }
    uint8_t GetTransparentColorIndex() const { return GCExtension.TransparentColorIndex; }
    void SetTransparentColorIndex(uint8_t Index);
    uint32_t GetTransparentColor() const;
    void SetTransparentColor(uint32_t Color);
    const TGIFGCERec& Record() const { return GCExtension; }

    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

private:
    TGIFGCERec GCExtension{4, 0, 0, 0, 0};
};

class TGIFTextExtension : public TGIFExtension {
public:
    CLASS_NAME(TGIFTextExtension)
    static const TGIFExtensionClassRec Class;
    explicit TGIFTextExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {}
    uint8_t GetExtensionType() const override { return 0x01; }

    // 1 left, 2 top, 3 width, 4 height.
    uint16_t GetBounds(int Index) const;
    void SetBounds(int Index, uint16_t Value);
    // 1 cell width, 2 cell height.
    uint8_t GetCharWidthHeight(int Index) const;
    void SetCharWidthHeight(int Index, uint8_t Value);
    // 1 foreground, 2 background.
    uint8_t GetColorIndex(int Index) const;
    void SetColorIndex(int Index, uint8_t Value);
    uint32_t GetForegroundColor() const;
    void SetForegroundColor(uint32_t Color);
    uint32_t GetBackgroundColor() const;
    void SetBackgroundColor(uint32_t Color);

    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
    TStringList Text;

private:
    TGIFPlainTextExtensionRec PlainTextExtension{12, 0, 0, 0, 0, 0, 0, 0, 0};
};

class TGIFCommentExtension : public TGIFExtension {
public:
    CLASS_NAME(TGIFCommentExtension)
    static const TGIFExtensionClassRec Class;
    explicit TGIFCommentExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {}
    uint8_t GetExtensionType() const override { return 0xFE; }
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
    TStringList Text;
};

class TGIFApplicationExtension : public TGIFExtension {
public:
    CLASS_NAME(TGIFApplicationExtension)
    static const TGIFExtensionClassRec Class;
    explicit TGIFApplicationExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {}
    uint8_t GetExtensionType() const override { return 0xFF; }

    std::string GetIdentifier() const;
    void SetIdentifier(const std::string& Value);  // padded with blanks or cut to 8
    std::string GetAuthentication() const;
    void SetAuthentication(const std::string& Value); // to 3
    const TGIFApplicationRec& Record() const { return FApplicationRec; }

    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
    static void RegisterExtension(const TGIFApplicationRec& Identifier, TGIFAppExtensionClass Class);

protected:
    virtual void SaveData(TStream* Stream) = 0;
    virtual void LoadData(TStream* Stream) = 0;
    TGIFApplicationRec FApplicationRec{};
};

// One data sub-block as read.
class TGIFBlock : public TObject {
public:
    CLASS_NAME(TGIFBlock)
    explicit TGIFBlock(int Size) : Size(Size), Data(Size, 0) {}
    void SaveToStream(TStream* Stream) const;
    void LoadFromStream(TStream* Stream);
    const int Size;
    std::vector<uint8_t> Data;
};

// An application extension nobody registered: its sub-blocks kept as they are.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    CLASS_NAME(TGIFUnknownAppExtension)
    static const TGIFExtensionClassRec Class;
    using TGIFApplicationExtension::TGIFApplicationExtension;
    std::vector<std::unique_ptr<TGIFBlock>> Blocks;

protected:
    void SaveData(TStream* Stream) override;
    void LoadData(TStream* Stream) override;
};

// "NETSCAPE2.0": the loop count of an animation (0 = for ever).
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    CLASS_NAME(TGIFAppExtNSLoop)
    static const TGIFExtensionClassRec Class;
    explicit TGIFAppExtNSLoop(TGIFSubImage* Frame);
    uint16_t Loops = 0;
    uint32_t BufferSize = 0;

protected:
    void SaveData(TStream* Stream) override;
    void LoadData(TStream* Stream) override;
};

// The extensions in front of one frame.
class TGIFExtensionList : public TGIFList {
public:
    CLASS_NAME(TGIFExtensionList)
    using TGIFList::TGIFList;
    TGIFExtension* GetExtension(int Index) const { return static_cast<TGIFExtension*>(GetItem(Index)); }
    void SetExtension(int Index, TGIFExtension* Extension) { SetItem(Index, Extension); }
    void LoadFromStream(TStream* Stream, TObject* Parent) override;
};
