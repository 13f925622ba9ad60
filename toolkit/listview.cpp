#include "listview.h"
#include "exceptions.h"

#include <commctrl.h>

#include <algorithm>

// --- item -------------------------------------------------------------------

TListItem::TListItem(TListView* AOwner) : View(AOwner)
{
    FSubItems.OnChange = [this](TObject*) { Update(); };
}

int TListItem::Index() const { return View->IndexOf(this); }

void TListItem::SetCaption(const std::string& Value)
{
    FCaption = Value;
    Update();
    if (View->SortedByCaption) View->AlphaSort();
}

void TListItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Update();
}

// Shows the item's texts and picture in its row.
void TListItem::Update()
{
    int index = Index();
    if (index < 0) return;
    HWND wnd = View->Handle();
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<char*>(FCaption.c_str());
    item.iImage = FImageIndex;
    ::SendMessageA(wnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < View->ColumnCount(); ++column) {
        std::string text = column - 1 < FSubItems.Count() ? FSubItems.Get(column - 1) : std::string();
        LVITEMA sub{};
        sub.iSubItem = column;
        sub.pszText = const_cast<char*>(text.c_str());
        ::SendMessageA(wnd, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
    }
}

bool TListItem::HasState(UINT State) const
{
    int index = Index();
    return index >= 0 && ::SendMessageA(View->Handle(), LVM_GETITEMSTATE, index, State) != 0;
}

void TListItem::SetState(UINT State, bool Value)
{
    LVITEMA item{};
    item.stateMask = State;
    item.state = Value ? State : 0;
    ::SendMessageA(View->Handle(), LVM_SETITEMSTATE, Index(), reinterpret_cast<LPARAM>(&item));
}

void TListItem::MakeVisible() { ::SendMessageA(View->Handle(), LVM_ENSUREVISIBLE, Index(), FALSE); }

// --- items ------------------------------------------------------------------

int TListItems::Count() const { return static_cast<int>(::SendMessageA(View.Handle(), LVM_GETITEMCOUNT, 0, 0)); }

TListItem* TListItems::Item(int Index) const
{
    TListItem* item = View.ItemOf(Index);
    if (!item) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return item;
}

TListItem* TListItems::Add()
{
    auto* item = new TListItem(&View);
    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    row.iItem = Count();
    row.pszText = const_cast<char*>("");
    row.iImage = -1;
    row.lParam = reinterpret_cast<LPARAM>(item);
    if (::SendMessageA(View.Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)) < 0) {
        delete item;
        throw EOutOfResources("Out of system resources");
    }
    return item;
}

void TListItems::Delete(int Index) { ::SendMessageA(View.Handle(), LVM_DELETEITEM, Index, 0); } // LVN_DELETEITEM frees the item

void TListItems::Clear() { ::SendMessageA(View.Handle(), LVM_DELETEALLITEMS, 0, 0); }

void TListItems::BeginUpdate() { ::SendMessageA(View.Handle(), WM_SETREDRAW, FALSE, 0); }

void TListItems::EndUpdate()
{
    ::SendMessageA(View.Handle(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(View.Handle(), nullptr, TRUE);
}

// --- list view --------------------------------------------------------------

TListView::TListView(TComponent* AOwner) : TWinControl(AOwner), FItems(*this)
{
    FWidth = 250;
    FHeight = 150;
    FColor = clWindow;
}

TListView::~TListView()
{
    if (HandleAllocated()) FItems.Clear();
}

void TListView::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = WC_LISTVIEWA;
    Params.Style |= LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP;
    if (!ShowColumnHeaders) Params.Style |= LVS_NOCOLUMNHEADER;
    if (!HideSelection) Params.Style |= LVS_SHOWSELALWAYS;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd()
{
    TWinControl::CreateWnd();
    HWND wnd = Handle();
    DWORD ex = LVS_EX_INFOTIP | (RowSelect ? LVS_EX_FULLROWSELECT : 0);
    ::SendMessageA(wnd, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
    if (SmallImages) ::SendMessageA(wnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallImages->Handle()));
    for (int i = 0; i < ColumnCount(); ++i) {
        LVCOLUMNA column{};
        ::SendMessageA(wnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        SetColumn(i);
    }
    FitAutoSizeColumns();
}

TListColumn& TListView::AddColumn(const std::string& Caption, int Width, bool AutoSize)
{
    FColumns.push_back({Caption, Width, AutoSize});
    int index = ColumnCount() - 1;
    if (HandleAllocated()) {
        LVCOLUMNA column{};
        ::SendMessageA(Handle(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
        SetColumn(index);
        FitAutoSizeColumns();
    }
    return FColumns.back();
}

void TListView::SetColumn(int Index)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(FColumns[Index].Caption.c_str());
    column.cx = FColumns[Index].Width;
    ::SendMessageA(Handle(), LVM_SETCOLUMNA, Index, reinterpret_cast<LPARAM>(&column));
}

int TListView::ColumnWidth(int Index)
{
    if (HandleAllocated()) FColumns.at(Index).Width = static_cast<int>(::SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, Index, 0));
    return FColumns.at(Index).Width;
}

void TListView::SetColumnWidth(int Index, int Width)
{
    FColumns.at(Index).Width = Width;
    if (!HandleAllocated()) return;
    ::SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, Index, Width);
    FitAutoSizeColumns();
}

void TListView::FitAutoSizeColumns()
{
    RECT client;
    if (!HandleAllocated() || !::GetClientRect(Handle(), &client)) return;
    int fill = -1, room = client.right;
    for (int i = 0; i < ColumnCount(); ++i)
        if (FColumns[i].AutoSize && fill < 0) fill = i;
        else room -= ColumnWidth(i);
    if (fill < 0) return;
    FColumns[fill].Width = std::max(0, room);
    ::SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, fill, FColumns[fill].Width);
}

namespace {
int CALLBACK CompareCaptions(LPARAM A, LPARAM B, LPARAM)
{
    return ::lstrcmpA(reinterpret_cast<TListItem*>(A)->Caption().c_str(),
                      reinterpret_cast<TListItem*>(B)->Caption().c_str());
}
} // namespace

// The system's own sorted style places a row by the text it is inserted
// with, and a row is inserted before its caption is known.
void TListView::AlphaSort()
{
    ::SendMessageA(Handle(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareCaptions));
}

TListItem* TListView::ItemOf(int Index)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = Index;
    if (Index < 0 || !::SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<TListItem*>(item.lParam);
}

int TListView::IndexOf(const TListItem* Item)
{
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(Item);
    return static_cast<int>(::SendMessageA(Handle(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

TListItem* TListView::Selected() { return ItemOf(ItemIndex()); }

int TListView::ItemIndex()
{
    return static_cast<int>(::SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetItemIndex(int Value)
{
    for (int i = 0; i < FItems.Count(); ++i)
        if ((i == Value) != FItems.Item(i)->Selected()) FItems.Item(i)->SetSelected(i == Value);
}

TListItem* TListView::ItemFocused()
{
    return ItemOf(static_cast<int>(::SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

TListItem* TListView::TopItem() { return ItemOf(static_cast<int>(::SendMessageA(Handle(), LVM_GETTOPINDEX, 0, 0))); }

void TListView::Scroll(int DX, int DY) { ::SendMessageA(Handle(), LVM_SCROLL, DX, DY); }

// Without the focus the system draws a selected row in the face colour of
// buttons, which hardly shows on a white list; a list that always shows its
// selection draws it as it does with the focus.
LRESULT TListView::CustomDraw(NMLVCUSTOMDRAW& Draw)
{
    if (HideSelection) return CDRF_DODEFAULT;
    switch (Draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (!(Draw.nmcd.uItemState & CDIS_SELECTED) || Focused()) return CDRF_DODEFAULT;
        Draw.nmcd.uItemState &= ~CDIS_SELECTED;
        Draw.clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        Draw.clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
        return CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW;
    }
    return CDRF_DODEFAULT;
}

void TListView::Dispatch(TMessage& Message)
{
    if (Message.Msg != CN_BASE + WM_NOTIFY) {
        TWinControl::Dispatch(Message);
        // Also sent when the scroll bar comes or goes.
        if (Message.Msg == WM_SIZE) FitAutoSizeColumns();
        return;
    }
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (header->code) {
    case LVN_DELETEITEM:
        delete reinterpret_cast<TListItem*>(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
        break;
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        TListItem* item = reinterpret_cast<TListItem*>(change->lParam);
        TItemChange kind = (change->uChanged & LVIF_STATE) ? ctState : (change->uChanged & LVIF_IMAGE) ? ctImage : ctText;
        if (item && OnChange) OnChange(this, item, kind);
        break;
    }
    case LVN_GETINFOTIPA: {
        auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(header);
        std::string text;
        if (OnInfoTip) OnInfoTip(this, ItemOf(tip->iItem), text);
        if (tip->cchTextMax > 0) ::lstrcpynA(tip->pszText, text.c_str(), tip->cchTextMax);
        break;
    }
    case LVN_GETINFOTIPW: { // from a list view that talks Unicode to its parent
        auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
        std::string text;
        if (OnInfoTip) OnInfoTip(this, ItemOf(tip->iItem), text);
        if (tip->cchTextMax > 0) {
            int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, tip->pszText, tip->cchTextMax);
            if (n == 0) tip->pszText[0] = L'\0';
            tip->pszText[tip->cchTextMax - 1] = L'\0';
        }
        break;
    }
    case NM_CUSTOMDRAW:
        Message.Result = CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        break;
    case NM_CLICK:
        Click();
        break;
    case NM_DBLCLK:
        DblClick();
        break;
    }
}
