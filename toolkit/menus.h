// Pop-up menus: a tree of TMenuItem under a TPopupMenu, turned into a
// system menu each time it pops up.
#pragma once
#include "component.h"

#include <windows.h>

#include <string>
#include <vector>

class TMenuItem : public TComponent {
public:
    CLASS_NAME(TMenuItem)
    explicit TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}
    ~TMenuItem() override;

    std::string Caption; // "-" is a separator
    bool Enabled = true;
    bool Checked = false;
    bool Visible = true;
    bool Default = false;
    TNotifyEvent OnClick;

    // Item becomes the last sub-item; one without an owner component is
    // freed with this item, one with an owner goes with its owner.
    void Add(TMenuItem* Item);
    void Remove(TMenuItem* Item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(Index); }
    TMenuItem* Parent() const { return FParent; }
    virtual void Click();

private:
    friend class TPopupMenu;
    HMENU BuildMenu(std::vector<TMenuItem*>& Commands) const;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
};

class TPopupMenu : public TComponent {
public:
    CLASS_NAME(TPopupMenu)
    explicit TPopupMenu(TComponent* AOwner);
    TMenuItem* Items() { return &FItems; }
    // Shows the menu at a screen point and runs the chosen item's Click.
    void Popup(int X, int Y);
    TNotifyEvent OnPopup;

private:
    TMenuItem FItems;
};
