#include "app/qt/services/busyguard.h"

#include "app/qt/services/exceptionboundary.h"

#include <utility>

TbusyGuard::TScope::TScope(TbusyGuard& guard) : guard_(guard)
{
    ++guard_.depth_;
}

TbusyGuard::TScope::~TScope()
{
    // A held close that fails must not leave a destructor: it is shown and the program goes on.
    Guarded([this] { guard_.Leave(); });
}

bool TbusyGuard::RequestClose(std::function<void()> close)
{
    if (!Busy()) {
        if (close)
            close();
        return true;
    }
    deferredClose_ = std::move(close);
    return false;
}

void TbusyGuard::Leave()
{
    if (--depth_ > 0 || !deferredClose_)
        return;
    // The close may start work of its own that asks to close again; it starts from an empty request.
    auto close = std::move(deferredClose_);
    deferredClose_ = nullptr;
    close();
}
