// TListView: a report-style list view. Rows live in the window (made on
// first use), each with its TListItem in the row's lParam; columns and the
// style fields below are read when the window is made.
#pragma once
#include "control.h"
#include "imagelist.h"
#include "strings.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class TListView;

class TListItem : public TPersistent {
public:
    CLASS_NAME(TListItem)
    explicit TListItem(TListView* AOwner);
    TListView* Owner() const { return View; }
    int Index() const;

    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    // Texts of columns 1, 2, ...; changes show at once.
    TStrings* SubItems() { return &FSubItems; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Selected() const { return HasState(LVIS_SELECTED); }
    void SetSelected(bool Value) { SetState(LVIS_SELECTED, Value); }
    bool Focused() const { return HasState(LVIS_FOCUSED); }
    void SetFocused(bool Value) { SetState(LVIS_FOCUSED, Value); }
    void MakeVisible();
    void* Data = nullptr;

private:
    friend class TListView;
    void Update();
    bool HasState(UINT State) const;
    void SetState(UINT State, bool Value);
    TListView* View;
    std::string FCaption;
    TStringList FSubItems;
    int FImageIndex = -1;
};

class TListItems {
public:
    explicit TListItems(TListView& AOwner) : View(AOwner) {}
    int Count() const;
    TListItem* Item(int Index) const;
    TListItem* operator[](int Index) const { return Item(Index); }
    TListItem* Add();
    void Delete(int Index);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    TListView& View;
};

struct TListColumn {
    std::string Caption;
    int Width = 50;
    // Takes the client width that the other columns leave, and follows it
    // as the list's scroll bar comes and goes (the first such column only).
    bool AutoSize = false;
};

enum TItemChange { ctText, ctImage, ctState };

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVInfoTipEvent = std::function<void(TObject* Sender, TListItem* Item, std::string& InfoTip)>;

class TListView : public TWinControl {
public:
    CLASS_NAME(TListView)
    explicit TListView(TComponent* AOwner);
    ~TListView() override;

    TListItems* Items() { return &FItems; }
    TListColumn& AddColumn(const std::string& Caption, int Width, bool AutoSize = false);
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    int ColumnWidth(int Index);
    void SetColumnWidth(int Index, int Width);

    TListItem* Selected(); // the first selected row
    int ItemIndex();       // its index, -1 for none
    void SetItemIndex(int Value);
    TListItem* ItemFocused();
    TListItem* TopItem();
    void Scroll(int DX, int DY);
    void AlphaSort(); // rows in caption order
    bool SortedByCaption = false; // keeps them so as captions change
    TImageList* SmallImages = nullptr;

    // Read when the window is made.
    bool RowSelect = false;
    bool ShowColumnHeaders = true;
    bool HideSelection = true; // false: the selection shows, in the highlight colours, also without focus

    TLVChangeEvent OnChange;
    // The text of a tip for the row under the pointer; the list shows it in
    // a tooltip of its own, which every comctl32 shows alike.
    TLVInfoTipEvent OnInfoTip;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    bool ReportsOwnClicks() const override { return true; }

private:
    friend class TListItem;
    friend class TListItems;
    TListItem* ItemOf(int Index);
    int IndexOf(const TListItem* Item);
    void SetColumn(int Index);
    void FitAutoSizeColumns();
    LRESULT CustomDraw(NMLVCUSTOMDRAW& Draw);
    void RelayToTip(TMessage& Message);
    TListItems FItems;
    std::vector<TListColumn> FColumns;
    HWND Tip = nullptr;   // made when the pointer first moves over the list
    int TipRow = -1;      // the row the tip's text is for
    std::string TipText;  // kept while the tooltip reads it
};
