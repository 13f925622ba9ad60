// The common ground of the GIF object tree: TGIFItem (one block of the
// stream) and TGIFList (an owned, ordered list of items). Both belong to
// one image and report warnings through it.
#pragma once
#include "gif_types.h"
#include "toolkit/list.h"
#include "toolkit/streams.h"

#include <string>

class TGIFImage;

class TGIFItem : public TPersistent {
public:
    CLASS_NAME(TGIFItem)
    explicit TGIFItem(TGIFImage* Image) : FImage(Image) {}
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    TGIFImage* Image() const { return FImage; }
    // The format version this item needs.
    virtual TGIFVersion GetVersion() const { return gv87a; }
    virtual void Warning(TGIFSeverity Severity, const std::string& Message);
    virtual void SaveToStream(TStream* Stream) = 0;
    virtual void LoadFromStream(TStream* Stream) = 0;
    void SaveToFile(const std::string& FileName);
    void LoadFromFile(const std::string& FileName);

private:
    TGIFImage* const FImage;
};

class TGIFList : public TPersistent {
public:
    CLASS_NAME(TGIFList)
    explicit TGIFList(TGIFImage* Image) : FImage(Image) {}
    ~TGIFList() override { Clear(); }
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    TGIFImage* Image() const { return FImage; }
    TGIFItem* GetItem(int Index) const { return static_cast<TGIFItem*>(Items.Get(Index)); }
    void SetItem(int Index, TGIFItem* Item) { Items.Put(Index, Item); } // the old item is not freed
    int GetCount() const { return Items.Count(); }
    TGIFItem* First() const { return static_cast<TGIFItem*>(Items.First()); }
    TGIFItem* Last() const { return static_cast<TGIFItem*>(Items.Last()); }
    int IndexOf(TGIFItem* Item) const { return Items.IndexOf(Item); }
    int Add(TGIFItem* Item) { return Items.Add(Item); }
    void Insert(int Index, TGIFItem* Item) { Items.Insert(Index, Item); }
    void Exchange(int Index1, int Index2) { Items.Exchange(Index1, Index2); }
    void Move(int CurIndex, int NewIndex) { Items.Move(CurIndex, NewIndex); }
    int Remove(TGIFItem* Item) { return Items.Remove(Item); } // without freeing
    void Delete(int Index);                                    // and frees
    void Clear();

    virtual void Warning(TGIFSeverity Severity, const std::string& Message);
    virtual void SaveToStream(TStream* Stream);
    // Parent: what the loaded items belong to (the image, or a frame).
    virtual void LoadFromStream(TStream* Stream, TObject* Parent) = 0;

private:
    TList Items;
    TGIFImage* const FImage;
};
