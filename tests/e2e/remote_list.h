// A list view of another process, read and changed through items in that
// process's own memory: the list view reads and writes them there.
#pragma once
#include <windows.h>

#include <string>

class RemoteItem {
public:
    RemoteItem(HANDLE Process, HWND List);
    ~RemoteItem();
    RemoteItem(const RemoteItem&) = delete;
    RemoteItem& operator=(const RemoteItem&) = delete;

    std::string Text(int Item, int SubItem);
    int Image(int Item);
    RECT Bounds(int Item); // the row's bounds on the screen
    void Select(int Item); // selected alone, and focused
    // A click on the row, as the user's, or a double-click: posted, so that
    // the program handles it while the caller goes on.
    void Click(int Item, bool Double = false);
    bool Selected(int Item);
    // The row whose caption is Caption, or -1.
    int Find(const std::string& Caption);

private:
    static constexpr int TextSize = 260;
    char* Buffer() const;
    void Put(const void* Item, size_t Size);
    HANDLE Process;
    HWND List;
    void* Memory = nullptr;
};
