#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

// An event handler slot that costs one pointer while no handler is set. Objects made by the tens of
// thousands (the groupings' song lists) carry many events that are almost never set; a std::function in
// each would cost 32 bytes apiece. Assigned, tested and called like a std::function.
template <class Signature>
class Tevent;

template <class R, class... Args>
class Tevent<R(Args...)>
{
public:
    using Function = std::function<R(Args...)>;

    Tevent() = default;
    Tevent(std::nullptr_t) {}
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Tevent> &&
                                                !std::is_same_v<std::decay_t<F>, std::nullptr_t>>>
    Tevent(F&& f)
    {
        Set(Function(std::forward<F>(f)));
    }
    Tevent(const Tevent& other) : f_(other.f_ ? std::make_unique<Function>(*other.f_) : nullptr) {}
    Tevent(Tevent&&) noexcept = default;
    Tevent& operator=(const Tevent& other)
    {
        if (this != &other)
            f_ = other.f_ ? std::make_unique<Function>(*other.f_) : nullptr;
        return *this;
    }
    Tevent& operator=(Tevent&&) noexcept = default;
    Tevent& operator=(std::nullptr_t)
    {
        f_.reset();
        return *this;
    }
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Tevent> &&
                                                !std::is_same_v<std::decay_t<F>, std::nullptr_t>>>
    Tevent& operator=(F&& f)
    {
        Set(Function(std::forward<F>(f)));
        return *this;
    }

    explicit operator bool() const { return f_ != nullptr; }
    R operator()(Args... args) const
    {
        if (!f_)
            throw std::bad_function_call();
        return (*f_)(std::forward<Args>(args)...);
    }
    template <class T>
    const T* target() const
    {
        return f_ ? f_->template target<T>() : nullptr;
    }

private:
    void Set(Function f)
    {
        if (f)
            f_ = std::make_unique<Function>(std::move(f));
        else
            f_.reset();
    }

    std::unique_ptr<Function> f_;
};
