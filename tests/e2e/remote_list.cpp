#include "remote_list.h"

#include <commctrl.h>

RemoteItem::RemoteItem(HANDLE Process, HWND List) : Process(Process), List(List)
{
    Memory = ::VirtualAllocEx(Process, nullptr, sizeof(LVITEMA) + TextSize, MEM_COMMIT, PAGE_READWRITE);
}

RemoteItem::~RemoteItem()
{
    if (Memory) ::VirtualFreeEx(Process, Memory, 0, MEM_RELEASE);
}

char* RemoteItem::Buffer() const { return static_cast<char*>(Memory) + sizeof(LVITEMA); }

void RemoteItem::Put(const void* Item, size_t Size) { ::WriteProcessMemory(Process, Memory, Item, Size, nullptr); }

std::string RemoteItem::Text(int Item, int SubItem)
{
    LVITEMA item{};
    item.iSubItem = SubItem;
    item.pszText = Buffer();
    item.cchTextMax = TextSize;
    Put(&item, sizeof item);
    ::SendMessageA(List, LVM_GETITEMTEXTA, Item, reinterpret_cast<LPARAM>(Memory));
    char text[TextSize] = {};
    ::ReadProcessMemory(Process, Buffer(), text, TextSize - 1, nullptr);
    return text;
}

int RemoteItem::Image(int Item)
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = Item;
    Put(&item, sizeof item);
    ::SendMessageA(List, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(Memory));
    ::ReadProcessMemory(Process, Memory, &item, sizeof item, nullptr);
    return item.iImage;
}

RECT RemoteItem::Bounds(int Item)
{
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    Put(&r, sizeof r);
    ::SendMessageA(List, LVM_GETITEMRECT, Item, reinterpret_cast<LPARAM>(Memory));
    ::ReadProcessMemory(Process, Memory, &r, sizeof r, nullptr);
    ::MapWindowPoints(List, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void RemoteItem::Select(int Item)
{
    // As a click does: the row alone.
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    Put(&item, sizeof item);
    ::SendMessageA(List, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Memory));
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Put(&item, sizeof item);
    ::SendMessageA(List, LVM_SETITEMSTATE, Item, reinterpret_cast<LPARAM>(Memory));
}

void RemoteItem::Click(int Item, bool Double)
{
    RECT bounds{};
    bounds.left = LVIR_LABEL;
    Put(&bounds, sizeof bounds);
    ::SendMessageA(List, LVM_GETITEMRECT, Item, reinterpret_cast<LPARAM>(Memory));
    ::ReadProcessMemory(Process, Memory, &bounds, sizeof bounds, nullptr);
    const LPARAM at = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
    ::PostMessageA(List, WM_MOUSEMOVE, 0, at);
    ::PostMessageA(List, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(List, WM_LBUTTONUP, 0, at);
    if (!Double) return;
    ::PostMessageA(List, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageA(List, WM_LBUTTONUP, 0, at);
}

bool RemoteItem::Selected(int Item)
{
    return (::SendMessageA(List, LVM_GETITEMSTATE, Item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int RemoteItem::Find(const std::string& Caption)
{
    const int rows = static_cast<int>(::SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r)
        if (Text(r, 0) == Caption) return r;
    return -1;
}
