// TLiveCount<T>: a member that counts the live objects of class T, so that a
// program can check at its end that its teardown freed every timer, window
// and thread it made.
#pragma once
#include <atomic>

template <class T> class TLiveCount {
public:
    TLiveCount() { ++Count(); }
    TLiveCount(const TLiveCount&) { ++Count(); }
    TLiveCount& operator=(const TLiveCount&) = default;
    ~TLiveCount() { --Count(); }
    static int Alive() { return Count(); }

private:
    // Trivially destructible, so it outlives every object it counts.
    static std::atomic<int>& Count()
    {
        static std::atomic<int> count{0};
        return count;
    }
};
