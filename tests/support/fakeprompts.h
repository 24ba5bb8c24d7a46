#pragma once

#include "core/util/promptservice.h"

#include <deque>
#include <string>
#include <vector>

// Message boxes answered by the test: each box is recorded and takes the next queued answer, else the
// default one. Installed for its own lifetime.
class TfakePrompts : public TpromptService
{
public:
    struct Tbox
    {
        std::string text;
        std::string caption;
        TmessageButtons buttons;
        TmessageIcon icon;
    };

    TfakePrompts() : previous_(Install(this)) {}
    ~TfakePrompts() override { Install(previous_); }
    TfakePrompts(const TfakePrompts&) = delete;
    TfakePrompts& operator=(const TfakePrompts&) = delete;

    TmessageResult MessageBox(const std::string& text, const std::string& caption, TmessageButtons buttons,
                              TmessageIcon icon) override
    {
        boxes.push_back({text, caption, buttons, icon});
        if (!answers.empty()) {
            const TmessageResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return defaultAnswer;
    }

    int Count(const std::string& caption) const
    {
        int count = 0;
        for (const Tbox& box : boxes)
            count += box.caption == caption;
        return count;
    }

    std::vector<Tbox> boxes;
    std::deque<TmessageResult> answers;
    TmessageResult defaultAnswer = TmessageResult::No;

private:
    TpromptService* previous_;
};
