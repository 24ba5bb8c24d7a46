#include "desktopopen.h"

#include "qtstring.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace platform {
namespace {

TDesktopOpener& Replacement()
{
    static TDesktopOpener opener;
    return opener;
}

QString XdgOpen()
{
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
}

} // namespace

bool DesktopOpenerAvailable()
{
    return Replacement() || !XdgOpen().isEmpty();
}

bool OpenWithDesktop(const std::string& target)
{
    if (target.empty())
        return false;
    if (const TDesktopOpener& opener = Replacement())
        return opener(target);
    const QString program = XdgOpen();
    return !program.isEmpty() && QProcess::startDetached(program, {ToQString(target)});
}

void SetDesktopOpener(TDesktopOpener opener)
{
    Replacement() = std::move(opener);
}

} // namespace platform
