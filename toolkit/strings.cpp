#include "strings.h"
#include "exceptions.h"
#include "format.h"

#include <algorithm>

void TStrings::Put(int Index, const std::string& S)
{
    TObject* object = GetObject(Index);
    Delete(Index);
    Insert(Index, S);
    PutObject(Index, object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& S)
{
    int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const std::string& S, TObject* Object)
{
    int index = Add(S);
    PutObject(index, Object);
    return index;
}

void TStrings::AddStrings(const TStrings& Strings)
{
    BeginUpdate();
    for (int i = 0; i < Strings.Count(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
    EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareText(Get(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareText(this->Name(i), Name) == 0) return i;
    return -1;
}

void TStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    std::string s1 = Get(Index1), s2 = Get(Index2);
    TObject* o1 = GetObject(Index1);
    TObject* o2 = GetObject(Index2);
    Put(Index1, s2);
    PutObject(Index1, o2);
    Put(Index2, s1);
    PutObject(Index2, o1);
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    BeginUpdate();
    std::string s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    Delete(CurIndex);
    Insert(NewIndex, s);
    PutObject(NewIndex, o);
    EndUpdate();
}

void TStrings::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TStrings*>(Source)) {
        BeginUpdate();
        Clear();
        AddStrings(*source);
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::BeginUpdate()
{
    if (Updates++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (--Updates == 0) SetUpdateState(false);
}

std::string TStrings::Text() const
{
    std::string out;
    for (int i = 0; i < Count(); ++i) out += Get(i) + "\r\n";
    return out;
}

void TStrings::SetText(const std::string& Value)
{
    BeginUpdate();
    Clear();
    size_t start = 0;
    while (start < Value.size()) {
        size_t end = Value.find_first_of("\r\n", start);
        if (end == std::string::npos) end = Value.size();
        Add(Value.substr(start, end - start));
        if (end < Value.size() && Value[end] == '\r') ++end;
        if (end < Value.size() && Value[end] == '\n') ++end;
        start = end;
    }
    EndUpdate();
}

static bool NeedsQuotes(const std::string& s)
{
    for (unsigned char c : s)
        if (c <= ' ' || c == ',' || c == '"') return true;
    return false;
}

std::string DoubleQuoted(const std::string& S)
{
    std::string out = "\"";
    for (char c : S) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string TStrings::CommaText() const
{
    if (Count() == 1 && Get(0).empty()) return "\"\"";
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        if (i) out += ',';
        std::string s = Get(i);
        out += NeedsQuotes(s) ? DoubleQuoted(s) : s;
    }
    return out;
}

void TStrings::SetCommaText(const std::string& Value)
{
    auto blank = [&](size_t at) {
        return at < Value.size() && Value[at] != '\0' && static_cast<unsigned char>(Value[at]) <= ' ';
    };
    BeginUpdate();
    Clear();
    size_t p = 0;
    const size_t end = Value.size();
    while (blank(p)) ++p;
    while (p < end && Value[p] != '\0') {
        std::string item;
        if (Value[p] == '"') {
            ++p;
            while (p < end) {
                if (Value[p] == '"') {
                    if (p + 1 < end && Value[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += Value[p++];
            }
        } else {
            size_t from = p;
            while (p < end && static_cast<unsigned char>(Value[p]) > ' ' && Value[p] != ',') ++p;
            item = Value.substr(from, p - from);
        }
        Add(item);
        while (blank(p)) ++p;
        if (p < end && Value[p] == ',') {
            do ++p;
            while (blank(p));
        }
    }
    EndUpdate();
}

std::string TStrings::Name(int Index) const
{
    std::string s = Get(Index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Value(const std::string& Name) const
{
    int i = IndexOfName(Name);
    return i < 0 ? std::string() : Get(i).substr(Name.size() + 1);
}

void TStrings::SetValue(const std::string& Name, const std::string& Value)
{
    int i = IndexOfName(Name);
    if (Value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(Name + "=" + Value);
    } else {
        Put(i, Name + "=" + Value);
    }
}

void TStringList::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit) throw EStringListError(Format(Texts::ListIndexError, Index));
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating) Changing();
    else Changed();
}

std::string TStringList::Get(int Index) const
{
    CheckIndex(Index, Count());
    return Items[Index].Text;
}

void TStringList::Put(int Index, const std::string& S)
{
    if (IsSorted) throw EStringListError(Texts::SortedListError);
    CheckIndex(Index, Count());
    Changing();
    Items[Index].Text = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index, Count());
    return Items[Index].Object;
}

void TStringList::PutObject(int Index, TObject* Object)
{
    CheckIndex(Index, Count());
    Changing();
    Items[Index].Object = Object;
    Changed();
}

void TStringList::Insert(int Index, const std::string& S)
{
    if (IsSorted) throw EStringListError(Texts::SortedListError);
    CheckIndex(Index, Count() + 1);
    Changing();
    Items.insert(Items.begin() + Index, Item{S, nullptr});
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index, Count());
    Changing();
    Items.erase(Items.begin() + Index);
    Changed();
}

void TStringList::Clear()
{
    if (Items.empty()) return;
    Changing();
    Items.clear();
    Changed();
}

int TStringList::Add(const std::string& S)
{
    if (!IsSorted) return TStrings::Add(S);
    int index;
    if (Find(S, index)) {
        if (Duplicates == dupIgnore) return index;
        if (Duplicates == dupError) throw EStringListError(Texts::DuplicateString);
    }
    Changing();
    Items.insert(Items.begin() + index, Item{S, nullptr});
    Changed();
    return index;
}

int TStringList::IndexOf(const std::string& S) const
{
    if (!IsSorted) return TStrings::IndexOf(S);
    int index;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const
{
    int low = 0, high = Count() - 1;
    bool found = false;
    while (low <= high) {
        int mid = (low + high) / 2;
        int c = CompareText(Items[mid].Text, S);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept) low = mid;
            }
        }
    }
    Index = low;
    return found;
}

void TStringList::Sort()
{
    Changing();
    std::stable_sort(Items.begin(), Items.end(),
                     [](const Item& a, const Item& b) { return CompareText(a.Text, b.Text) < 0; });
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (Value == IsSorted) return;
    if (Value) Sort();
    IsSorted = Value;
}
