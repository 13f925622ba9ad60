// The roots of the class tree: TObject with its class name, and TPersistent,
// whose Assign/AssignTo pair lets either side of a copy know the other.
#pragma once
#include <functional>

class TObject {
public:
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
};

// Names a class for ClassName(); put it in the public part of every class
// whose name is shown or looked up.
#define CLASS_NAME(Name) \
    const char* ClassName() const override { return #Name; }

// An event handler: usually a lambda that calls a method of the form that owns it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
    CLASS_NAME(TPersistent)
    // Copies Source into this object; a source that cannot be taken gets
    // its own chance through AssignTo, which raises EConvertError at the end.
    virtual void Assign(TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest);
    [[noreturn]] void AssignError(TPersistent* Source);
};
