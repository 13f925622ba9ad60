#include "gif_item.h"
#include "gif_image.h"

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
    while (GetCount() > 0) Delete(0);
}

void TGIFList::Warning(TGIFSeverity Severity, const std::string& Message)
{
    FImage->Warning(this, Severity, Message);
}

void TGIFList::SaveToStream(TStream* Stream)
{
    for (int i = 0; i < GetCount(); ++i) GetItem(i)->SaveToStream(Stream);
}
