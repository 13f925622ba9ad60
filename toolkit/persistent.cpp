#include "persistent.h"
#include "exceptions.h"
#include "format.h"

void TPersistent::Assign(TPersistent* Source)
{
    if (!Source) AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source)
{
    throw EConvertError(Format(Texts::AssignError, Source ? Source->ClassName() : "nil", ClassName()));
}
