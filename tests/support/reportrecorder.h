#pragma once

#include "core/util/promptservice.h"
#include "platform/desktopopen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Puts recorders in the places of the desktop's opener and of the message boxes while it lives.
class ReportRecorder : public TpromptService
{
public:
    ReportRecorder()
    {
        platform::SetDesktopOpener([this](const std::string& file) {
            opened.push_back(file);
            return openerWorks;
        });
        oldService_ = TpromptService::Install(this);
    }
    ~ReportRecorder() override
    {
        platform::SetDesktopOpener(nullptr);
        TpromptService::Install(oldService_);
    }
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    TmessageResult MessageBox(const std::string& text, const std::string& caption, TmessageButtons buttons,
                              TmessageIcon icon) override
    {
        messages.push_back(caption + ": " + text);
        EXPECT_EQ(buttons, TmessageButtons::Ok);
        EXPECT_EQ(icon, TmessageIcon::None);
        return TmessageResult::Ok;
    }

    std::vector<std::string> opened;
    std::vector<std::string> messages;
    bool openerWorks = true;

private:
    TpromptService* oldService_ = nullptr;
};
