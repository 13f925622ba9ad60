#include "hover_group.h"

const THoverButton* THoverGroup::Find(int32_t Code) const
{
    for (const THoverButton& b : Buttons)
        if (b.Code == Code) return &b;
    return nullptr;
}

void THoverGroup::Update()
{
    const THoverButton* hovered = Find(Hover);
    const THoverButton* previous = Find(Last);
    if (previous && previous != hovered) previous->Button->Picture()->Assign(previous->Normal->Picture());
    if (hovered && Last != Hover) hovered->Button->Picture()->Assign(hovered->Highlighted->Picture());
    Last = hovered ? Hover : None;
}
