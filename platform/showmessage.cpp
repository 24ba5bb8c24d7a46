#include "showmessage.h"

#include <cstdio>
#include <utility>

namespace platform {
namespace {

TmessageHandler& Handler()
{
    static TmessageHandler handler;
    return handler;
}

} // namespace

void ShowMessage(const std::string& text)
{
    if (const TmessageHandler handler = Handler()) {
        handler(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

TmessageHandler SetMessageHandler(TmessageHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

} // namespace platform
