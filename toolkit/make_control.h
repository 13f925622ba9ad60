// Makes a control as a form's designer leaves it: owned by the form, named,
// at its designed bounds, on its parent.
#pragma once
#include "control.h"

template <class T> T* MakeControl(TComponent* Owner, TWinControl* Parent, const char* Name)
{
    auto* control = new T(Owner);
    control->Name = Name;
    control->SetParent(Parent);
    return control;
}

template <class T>
T* MakeControl(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height)
{
    auto* control = new T(Owner);
    control->Name = Name;
    control->SetBounds(Left, Top, Width, Height);
    control->SetParent(Parent);
    return control;
}
