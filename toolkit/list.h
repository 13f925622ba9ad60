// TList: an ordered list of untyped pointers that does not own them, with
// the index checks and growth of the toolkit; TThreadList guards one with
// a re-entrant lock.
#pragma once
#include "persistent.h"

#include <mutex>
#include <vector>

class TList : public TObject {
public:
    CLASS_NAME(TList)
    ~TList() override;

    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    int Remove(void* Item); // index it had, or -1
    int IndexOf(void* Item) const;
    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* operator[](int Index) const { return Get(Index); }
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }
    void Clear();
    void Pack(); // drops null entries
    void Sort(int (*Compare)(void* Item1, void* Item2));

    int Count() const { return static_cast<int>(Items.size()); }
    void SetCount(int NewCount);
    int Capacity() const { return Cap; }
    void SetCapacity(int NewCapacity);

protected:
    virtual void Grow();

private:
    void CheckIndex(int Index, int Limit) const;
    std::vector<void*> Items;
    int Cap = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TThreadList : public TObject {
public:
    CLASS_NAME(TThreadList)
    void Add(void* Item); // obeys Duplicates
    void Remove(void* Item);
    void Clear();
    TList* LockList(); // the same thread may lock again
    void UnlockList();
    TDuplicates Duplicates = dupIgnore;

private:
    std::recursive_mutex Lock;
    TList List;
};
