#include "gif_item.h"
#include "gif_image.h"

#include <vector>

void TGIFItem::Warning(TGIFSeverity Severity, const std::string& Message)
{
    FImage->Warning(this, Severity, Message);
}

void TGIFItem::SaveToFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TGIFItem::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGIFList::Delete(int Index)
{
    TGIFItem* item = GetItem(Index);
    Items.Delete(Index);
    delete item;
}

void TGIFList::Clear()
{
    // The items leave the list before they are freed, in index order: an
    // item's destructor that removes itself from the list then finds it
    // empty, so freeing n items costs n steps, not n squared.
    std::vector<TGIFItem*> items;
    items.reserve(GetCount());
    for (int i = 0; i < GetCount(); ++i) items.push_back(GetItem(i));
    Items.Clear();
    for (TGIFItem* item : items) delete item;
}

void TGIFList::Warning(TGIFSeverity Severity, const std::string& Message)
{
    FImage->Warning(this, Severity, Message);
}

void TGIFList::SaveToStream(TStream* Stream)
{
    for (int i = 0; i < GetCount(); ++i) GetItem(i)->SaveToStream(Stream);
}
