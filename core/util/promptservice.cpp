#include "core/util/promptservice.h"

#include <atomic>

namespace {

std::atomic<TpromptService*> current{nullptr};

std::string& Title()
{
    static std::string title = "Orvane Jukebox";
    return title;
}

} // namespace

TpromptService* TpromptService::Current()
{
    return current.load();
}

TpromptService* TpromptService::Install(TpromptService* service)
{
    return current.exchange(service);
}

TmessageResult ShowMessageBox(const std::string& text, const std::string& caption, TmessageButtons buttons,
                              TmessageIcon icon)
{
    if (TpromptService* const service = TpromptService::Current())
        return service->MessageBox(text, caption, buttons, icon);
    switch (buttons) {
    case TmessageButtons::YesNo:
        return TmessageResult::No;
    case TmessageButtons::OkCancel:
        return TmessageResult::Cancel;
    case TmessageButtons::Ok:
        break;
    }
    return TmessageResult::Ok;
}

const std::string& ApplicationTitle()
{
    return Title();
}

void SetApplicationTitle(std::string title)
{
    Title() = std::move(title);
}
