#pragma once

#include "app/qt/services/dialogservice.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// A dialog service that answers from queued answers and records what was asked. Each dialog kind has its
// own queue; an empty queue answers as Cancel. Installed for its own lifetime.
class TfakeDialogs : public TdialogService
{
public:
    TfakeDialogs() : previous_(Install(this)) {}
    ~TfakeDialogs() override { Install(previous_); }
    TfakeDialogs(const TfakeDialogs&) = delete;
    TfakeDialogs& operator=(const TfakeDialogs&) = delete;

    struct Asked
    {
        std::string kind; // "open", "save", "folder", "input", "color", "font", "queue position"
        std::string caption;
        std::string detail; // filter, prompt or initial folder; "lowest..highest current at left,top"
    };

    std::deque<std::vector<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<TColor>> colorAnswers;
    std::deque<std::optional<TFontDesc>> fontAnswers;
    std::deque<std::optional<int>> queuePositionAnswers;
    std::vector<Asked> asked;
    std::vector<TfileDialogOptions> openOptions; // every open dialog's options, in order

    std::vector<std::string> OpenFile(QWidget*, const TfileDialogOptions& options) override
    {
        asked.push_back({"open", options.Title, options.Filter});
        openOptions.push_back(options);
        return Next(openAnswers, std::vector<std::string>{});
    }
    std::optional<std::string> SaveFile(QWidget*, const TfileDialogOptions& options) override
    {
        asked.push_back({"save", options.Title, options.Filter});
        return Next(saveAnswers, std::optional<std::string>{});
    }
    std::optional<std::string> BrowseFolder(QWidget*, const std::string& caption,
                                            const std::string& initialDir) override
    {
        asked.push_back({"folder", caption, initialDir});
        return Next(folderAnswers, std::optional<std::string>{});
    }
    std::optional<std::string> InputQuery(QWidget*, const std::string& caption, const std::string& prompt,
                                          const std::string&) override
    {
        asked.push_back({"input", caption, prompt});
        return Next(inputAnswers, std::optional<std::string>{});
    }
    std::optional<TColor> ChooseColor(QWidget*, TColor) override
    {
        asked.push_back({"color", "", ""});
        return Next(colorAnswers, std::optional<TColor>{});
    }
    std::optional<TFontDesc> ChooseFont(QWidget*, const TFontDesc&) override
    {
        asked.push_back({"font", "", ""});
        return Next(fontAnswers, std::optional<TFontDesc>{});
    }

    int AskQueuePosition(QWidget*, int lowest, int highest, int current, int left, int top) override
    {
        asked.push_back({"queue position", "",
                         std::to_string(lowest) + ".." + std::to_string(highest) + " " +
                             std::to_string(current) + " at " + std::to_string(left) + "," +
                             std::to_string(top)});
        return Next(queuePositionAnswers, std::optional<int>{}).value_or(current);
    }

private:
    template <typename T>
    static T Next(std::deque<T>& answers, T cancelled)
    {
        if (answers.empty())
            return cancelled;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    TdialogService* previous_;
};
