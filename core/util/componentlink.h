#pragma once

#include <memory>

// A link to a component that may be destroyed first (the framework's free notification): it reads as
// nullptr from the moment its target is gone. A target gives out its token with
// `std::weak_ptr<const bool> LinkToken() const`, a weak view of a shared flag it holds for its lifetime.
template <class T>
class TcomponentLink
{
public:
    TcomponentLink() = default;
    explicit TcomponentLink(T* target) { Reset(target); }

    void Reset(T* target)
    {
        target_ = target;
        token_ = target != nullptr ? target->LinkToken() : std::weak_ptr<const bool>();
    }
    T* Get() const { return target_ != nullptr && !token_.expired() ? target_ : nullptr; }

private:
    T* target_ = nullptr;
    std::weak_ptr<const bool> token_;
};
