#include "component.h"
#include "format.h"

#include <algorithm>

TComponent::TComponent(TComponent* AOwner) : OwnerComponent(AOwner)
{
    if (OwnerComponent) OwnerComponent->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying = true;
    while (!Owned.empty()) delete Owned.back(); // each removes itself
    if (OwnerComponent) OwnerComponent->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    for (TComponent* c : Owned)
        if (CompareText(c->Name, AName) == 0) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* Component) { Owned.push_back(Component); }

void TComponent::RemoveComponent(TComponent* Component)
{
    Owned.erase(std::remove(Owned.begin(), Owned.end(), Component), Owned.end());
}
