#include "listview.h"
#include "exceptions.h"

#include <commctrl.h>
#include <windowsx.h>

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
    DWORD ex = RowSelect ? LVS_EX_FULLROWSELECT : 0;
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

// The list view's own info tips (LVS_EX_INFOTIP) never show under Wine: the
// list keeps a tooltip itself, fed with the mouse messages it gets, whose
// text is asked for when it is about to show, and taken down when the
// pointer reaches another row.
void TListView::RelayToTip(TMessage& Message)
{
    if (!OnInfoTip) return;
    const HWND list = Handle();
    if (!Tip) {
        Tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                                0, 0, list, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = list;
        tool.uId = reinterpret_cast<UINT_PTR>(list);
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(Tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageA(Tip, TTM_SETMAXTIPWIDTH, 0, 400); // the text's own line breaks count
    }
    if (Message.Msg == WM_MOUSEMOVE) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        const int row = static_cast<int>(::SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (row != TipRow) {
            TipRow = row;
            ::SendMessageA(Tip, TTM_POP, 0, 0);
        }
    }
    MSG msg{list, Message.Msg, Message.WParam, Message.LParam, ::GetMessageTime(), {}};
    ::SendMessageA(Tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void TListView::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        RelayToTip(Message);
        break;
    case WM_NOTIFY:
        if (Tip && reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom == Tip &&
            reinterpret_cast<NMHDR*>(Message.LParam)->code == TTN_GETDISPINFOA) {
            TipText.clear();
            OnInfoTip(this, ItemOf(TipRow), TipText);
            reinterpret_cast<NMTTDISPINFOA*>(Message.LParam)->lpszText = &TipText[0];
            return;
        }
        break;
    }
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
