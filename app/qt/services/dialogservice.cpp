#include "app/qt/services/dialogservice.h"

#include "app/qt/services/qtdialogservice.h"

#include <sstream>

namespace {

TdialogService* installed = nullptr;

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

} // namespace

std::string TdialogService::InputBox(QWidget* parent, const std::string& caption, const std::string& prompt,
                                     const std::string& defaultValue)
{
    return InputQuery(parent, caption, prompt, defaultValue).value_or(defaultValue);
}

TdialogService& TdialogService::Current()
{
    static TqtDialogService qtDialogs;
    return installed ? *installed : qtDialogs;
}

TdialogService* TdialogService::Install(TdialogService* service)
{
    TdialogService* const previous = installed;
    installed = service;
    return previous;
}

std::vector<std::string> PipeFilterToQt(const std::string& filter)
{
    std::vector<std::string> filters;
    const std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns;
        for (const std::string& pattern : Split(parts[i + 1], ';')) {
            if (pattern.empty())
                continue;
            if (!patterns.empty())
                patterns += ' ';
            patterns += pattern;
        }
        const std::string& caption = parts[i];
        // A caption that already names its patterns ("Text (*.txt)") keeps them once.
        if (caption.find('(') != std::string::npos)
            filters.push_back(caption);
        else
            filters.push_back(caption + " (" + patterns + ")");
    }
    return filters;
}
