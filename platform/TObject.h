#pragma once
// Root of every object model of the program (scene objects, sections, list
// items). Destructors may report failures, as the owning helpers expect.

#include "platform/Exceptions.h"

#include <typeinfo>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() noexcept(false) = default;
};

// Checked down-cast: a null stays null, an object of another class raises
// EInvalidCast.
template <class T>
T* CheckedCast(TObject* object)
{
    if (object == nullptr)
        return nullptr;
    if (T* result = dynamic_cast<T*>(object))
        return result;
    throw EInvalidCast("Invalid class typecast");
}

template <class T>
const T* CheckedCast(const TObject* object)
{
    return CheckedCast<T>(const_cast<TObject*>(object));
}
