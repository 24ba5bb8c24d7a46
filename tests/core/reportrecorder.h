#pragma once

#include "platform/shellexecute.h"
#include "platform/showmessage.h"

#include <string>
#include <vector>

// Puts recorders in the places of the desktop's document opener and of the message box while it lives.
class ReportRecorder
{
public:
    ReportRecorder()
    {
        oldOpener_ = platform::SetDocumentOpener([this](const std::string& file) {
            opened.push_back(file);
            return openerWorks;
        });
        oldHandler_ =
            platform::SetMessageHandler([this](const std::string& text) { messages.push_back(text); });
    }
    ~ReportRecorder()
    {
        platform::SetDocumentOpener(std::move(oldOpener_));
        platform::SetMessageHandler(std::move(oldHandler_));
    }
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    std::vector<std::string> opened;
    std::vector<std::string> messages;
    bool openerWorks = true;

private:
    platform::TdocumentOpener oldOpener_;
    platform::TmessageHandler oldHandler_;
};
