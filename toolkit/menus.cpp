#include "menus.h"
#include "application.h"

#include <algorithm>

TMenuItem::~TMenuItem()
{
    if (FParent) FParent->Remove(this);
    // Items with an owner go with their owner; the others go with this one.
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        if (item->Owner()) Remove(item);
        else delete item;
    }
}

void TMenuItem::Add(TMenuItem* Item)
{
    if (Item->FParent) Item->FParent->Remove(Item);
    Item->FParent = this;
    FItems.push_back(Item);
}

void TMenuItem::Remove(TMenuItem* Item)
{
    FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
    Item->FParent = nullptr;
}

void TMenuItem::Click()
{
    if (Enabled && OnClick) OnClick(this);
}

// Items are numbered from 1 by their place in Commands.
HMENU TMenuItem::BuildMenu(std::vector<TMenuItem*>& Commands) const
{
    HMENU menu = ::CreatePopupMenu();
    for (TMenuItem* item : FItems) {
        if (!item->Visible) continue;
        if (item->Caption == "-") {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->Enabled ? 0 : MF_GRAYED) | (item->Checked ? MF_CHECKED : 0);
        if (item->Count()) {
            ::AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(item->BuildMenu(Commands)), item->Caption.c_str());
        } else {
            Commands.push_back(item);
            ::AppendMenuA(menu, flags, Commands.size(), item->Caption.c_str());
            if (item->Default) ::SetMenuDefaultItem(menu, static_cast<UINT>(Commands.size()), FALSE);
        }
    }
    return menu;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(nullptr) {}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup) OnPopup(this);
    std::vector<TMenuItem*> commands;
    HMENU menu = FItems.BuildMenu(commands);
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    HWND wnd = owner ? owner->Handle() : Application->Handle();
    UINT chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, X, Y, 0, wnd, nullptr);
    ::DestroyMenu(menu);
    ::PostMessageA(wnd, WM_NULL, 0, 0); // lets a menu shown from the notification area close properly
    if (chosen > 0 && chosen <= commands.size()) commands[chosen - 1]->Click();
}
