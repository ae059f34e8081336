#pragma once
// ComPtr: holds one reference to a COM object and releases it on exit.
#include <utility>

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const { return object; }
    Interface* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }

    // Releases the object held; the address then receives a new one, as
    // the creating functions hand it over.
    Interface** Put()
    {
        Reset();
        return &object;
    }
    void Reset()
    {
        if (object)
            std::exchange(object, nullptr)->Release();
    }

private:
    Interface* object = nullptr;
};
