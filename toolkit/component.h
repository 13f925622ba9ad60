// TComponent: an object with a name that owns the components created with
// it as their owner and frees them, in reverse order, when it goes.
#pragma once
#include "persistent.h"

#include <string>
#include <vector>

class TComponent : public TPersistent {
public:
    CLASS_NAME(TComponent)
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return OwnerComponent; }
    int ComponentCount() const { return static_cast<int>(Owned.size()); }
    TComponent* Components(int Index) const { return Owned.at(Index); }
    TComponent* FindComponent(const std::string& AName) const;

    std::string Name;
    int Tag = 0;

protected:
    // True from the start of the destructor chain; lets controls skip work
    // for a window that is going away.
    bool Destroying = false;

private:
    void InsertComponent(TComponent* Component);
    void RemoveComponent(TComponent* Component);
    TComponent* OwnerComponent;
    std::vector<TComponent*> Owned;
};
