// TStrings: the list-of-texts interface shared by string lists and the item
// lists of controls, with the line and comma forms built on a few
// primitives; TStringList keeps its texts (and one object each) in memory.
#pragma once
#include "persistent.h"
#include "list.h"

#include <string>
#include <vector>

class TStrings : public TPersistent {
public:
    CLASS_NAME(TStrings)

    virtual int Count() const = 0;
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S);
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* Object);
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    virtual int Add(const std::string& S);
    int AddObject(const std::string& S, TObject* Object);
    void AddStrings(const TStrings& Strings);
    virtual int IndexOf(const std::string& S) const; // case-insensitive
    int IndexOfName(const std::string& Name) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    void Assign(TPersistent* Source) override;
    void BeginUpdate();
    void EndUpdate();

    std::string operator[](int Index) const { return Get(Index); }

    // Lines joined with CR LF after each; setting splits at CR, LF or CR LF.
    std::string Text() const;
    void SetText(const std::string& Value);
    // Items separated by commas (or blanks); an item holding a blank, comma
    // or quote is enclosed in double quotes with inner quotes doubled.
    std::string CommaText() const;
    void SetCommaText(const std::string& Value);
    // "Name=Value" lines.
    std::string Name(int Index) const;
    std::string Value(const std::string& Name) const;
    void SetValue(const std::string& Name, const std::string& Value);

protected:
    virtual void SetUpdateState(bool /*Updating*/) {}
    int UpdateCount() const { return Updates; }

private:
    int Updates = 0;
};

// S in double quotes with its inner quotes doubled: how CommaText writes an
// item that needs quotes, and what SetCommaText reads back as S.
std::string DoubleQuoted(const std::string& S);

class TStringList : public TStrings {
public:
    CLASS_NAME(TStringList)

    int Count() const override { return static_cast<int>(Items.size()); }
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* Object) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;
    int Add(const std::string& S) override;
    int IndexOf(const std::string& S) const override;

    // Binary search of a sorted list: true and the position when found,
    // false and the insertion point otherwise.
    bool Find(const std::string& S, int& Index) const;
    void Sort();
    bool Sorted() const { return IsSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates = dupIgnore;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;

private:
    struct Item {
        std::string Text;
        TObject* Object;
    };
    void CheckIndex(int Index, int Limit) const;
    void Changing();
    void Changed();
    std::vector<Item> Items;
    bool IsSorted = false;
};
