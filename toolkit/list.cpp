#include "list.h"
#include "exceptions.h"
#include "format.h"

#include <algorithm>

TList::~TList() { Clear(); }

void TList::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit) throw EListError(Format(Texts::ListIndexError, Index));
}

void TList::Grow()
{
    int delta = Cap > 64 ? Cap / 4 : Cap > 8 ? 16 : 4;
    SetCapacity(Cap + delta);
}

int TList::Add(void* Item)
{
    if (Count() == Cap) Grow();
    Items.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item)
{
    CheckIndex(Index, Count() + 1);
    if (Count() == Cap) Grow();
    Items.insert(Items.begin() + Index, Item);
}

void TList::Delete(int Index)
{
    CheckIndex(Index, Count());
    Items.erase(Items.begin() + Index);
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1, Count());
    CheckIndex(Index2, Count());
    std::swap(Items[Index1], Items[Index2]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    CheckIndex(NewIndex, Count());
    void* item = Get(CurIndex);
    Items.erase(Items.begin() + CurIndex);
    Items.insert(Items.begin() + NewIndex, item);
}

int TList::Remove(void* Item)
{
    int index = IndexOf(Item);
    if (index >= 0) Delete(index);
    return index;
}

int TList::IndexOf(void* Item) const
{
    auto it = std::find(Items.begin(), Items.end(), Item);
    return it == Items.end() ? -1 : static_cast<int>(it - Items.begin());
}

void* TList::Get(int Index) const
{
    CheckIndex(Index, Count());
    return Items[Index];
}

void TList::Put(int Index, void* Item)
{
    CheckIndex(Index, Count());
    Items[Index] = Item;
}

void TList::Clear()
{
    Items.clear();
    Items.shrink_to_fit();
    Cap = 0;
}

void TList::Pack() { Items.erase(std::remove(Items.begin(), Items.end(), nullptr), Items.end()); }

void TList::Sort(int (*Compare)(void*, void*))
{
    std::stable_sort(Items.begin(), Items.end(), [Compare](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::SetCount(int NewCount)
{
    if (NewCount < 0) throw EListError(Format(Texts::ListIndexError, NewCount));
    if (NewCount > Cap) SetCapacity(NewCount);
    Items.resize(NewCount, nullptr);
}

void TList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < Count()) throw EListError(Format(Texts::ListCapacityError, NewCapacity));
    Items.reserve(NewCapacity);
    Cap = NewCapacity;
}

void TThreadList::Add(void* Item)
{
    std::lock_guard<std::recursive_mutex> hold(Lock);
    if (Duplicates != dupAccept && List.IndexOf(Item) >= 0) {
        if (Duplicates == dupError) throw EListError(Texts::DuplicateItem);
        return;
    }
    List.Add(Item);
}

void TThreadList::Remove(void* Item)
{
    std::lock_guard<std::recursive_mutex> hold(Lock);
    List.Remove(Item);
}

void TThreadList::Clear()
{
    std::lock_guard<std::recursive_mutex> hold(Lock);
    List.Clear();
}

TList* TThreadList::LockList()
{
    Lock.lock();
    return &List;
}

void TThreadList::UnlockList() { Lock.unlock(); }
