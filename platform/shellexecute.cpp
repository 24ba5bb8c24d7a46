#include "shellexecute.h"

#include "desktopopen.h"
#include "qtstring.h"
#include "textcompare.h"
#include "winampipc.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace platform {
namespace {

std::string Unquoted(const std::string& text)
{
    std::string s = Trim(text);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        s = s.substr(1, s.size() - 2);
    return s;
}

} // namespace

std::string MapProgramFile(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    if (SameText(std::string_view(fileName).substr(start), winamp::kExecutable))
        return fileName.substr(0, start) + winamp::kStandinExecutable;
    return fileName;
}

std::vector<std::string> SplitCommandLine(std::string_view parameters)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inQuotes = false;
    bool started = false;
    std::size_t i = 0;
    while (i < parameters.size()) {
        const char c = parameters[i];
        if ((c == ' ' || c == '\t') && !inQuotes) {
            if (started)
                arguments.push_back(current);
            current.clear();
            started = false;
            ++i;
        } else if (c == '\\') {
            std::size_t count = 0;
            while (i + count < parameters.size() && parameters[i + count] == '\\')
                ++count;
            started = true;
            if (i + count < parameters.size() && parameters[i + count] == '"') {
                current.append(count / 2, '\\');
                i += count;
                if (count % 2 == 1) {
                    current += '"';
                    ++i;
                }
            } else {
                current.append(count, '\\');
                i += count;
            }
        } else if (c == '"') {
            started = true;
            if (inQuotes && i + 1 < parameters.size() && parameters[i + 1] == '"') {
                current += '"';
                i += 2;
            } else {
                inQuotes = !inQuotes;
                ++i;
            }
        } else {
            current += c;
            started = true;
            ++i;
        }
    }
    if (started)
        arguments.push_back(current);
    return arguments;
}

bool ShellExecute(const std::string& file, const std::string& parameters, const std::string& workingFolder)
{
    const std::string name = Unquoted(file);
    if (name.empty())
        return false;
    const QString folder = ToQString(Unquoted(workingFolder));
    QString program = ToQString(MapProgramFile(name));
    if (!program.contains(QLatin1Char('/')))
        program = QStandardPaths::findExecutable(program);
    const QFileInfo info(program);
    if (!program.isEmpty() && info.isFile() && info.isExecutable()) {
        QStringList arguments;
        for (const std::string& argument : SplitCommandLine(parameters))
            arguments << ToQString(argument);
        return QProcess::startDetached(program, arguments, folder);
    }
    // A document: whatever the desktop opens it with; parameters mean nothing to it.
    if (!QFileInfo::exists(ToQString(name)))
        return false;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return !opener.isEmpty() && QProcess::startDetached(opener, {ToQString(name)}, folder);
}

bool ShellOpenDocument(const std::string& file)
{
    const std::string name = Unquoted(file);
    return !name.empty() && QFileInfo::exists(ToQString(name)) && OpenWithDesktop(name);
}

} // namespace platform
