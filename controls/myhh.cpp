#include "controls/myhh.h"

#include "platform/desktopopen.h"
#include "platform/qtstring.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

TmyHH::TmyHH(QWidget* owner) : owner_(owner), ownerIsForm_(owner && owner->isWindow())
{
    LoadHelpLibrary();
}

TmyHH::~TmyHH()
{
    // The handlers in place call back into this object.
    Detach();
}

void TmyHH::LoadHelpLibrary()
{
    if (!libraryLoaded_) {
        libraryLoaded_ = platform::DesktopOpenerAvailable();
    }
}

void TmyHH::Attach()
{
    if (attached_ || !libraryLoaded_ || !QFileInfo(platform::ToQString(fileName_)).isFile()) {
        return;
    }
    TapplicationHelp& help = TapplicationHelp::Instance();
    const auto hook = [this](std::uint16_t command, std::intptr_t data, bool& callHelp) {
        return HelpHook(command, data, callHelp);
    };
    savedApplicationHelp_ = help.OnHelp;
    help.OnHelp = hook;
    if (ownerIsForm_ && owner_) {
        savedFormHelp_ = help.FormHelp(owner_);
        help.SetFormHelp(owner_, hook);
    }
    attached_ = true;
}

void TmyHH::Detach()
{
    if (!attached_) {
        return;
    }
    TapplicationHelp& help = TapplicationHelp::Instance();
    help.OnHelp = savedApplicationHelp_;
    if (ownerIsForm_ && owner_) {
        help.SetFormHelp(owner_, savedFormHelp_);
    }
    savedApplicationHelp_ = nullptr;
    savedFormHelp_ = nullptr;
    attached_ = false;
}

bool TmyHH::HelpHook(std::uint16_t command, std::intptr_t data, bool& callHelp)
{
    if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) {
        ShowHelpTopic(static_cast<int>(data));
        callHelp = false;
    }
    return true;
}

bool TmyHH::ShowHelp()
{
    return ShowHelpTopic(0);
}

std::string TmyHH::TopicFile(int context) const
{
    if (context == 0) {
        return fileName_;
    }
    const QFileInfo file(platform::ToQString(fileName_));
    const QString suffix = file.suffix().isEmpty() ? QString() : QStringLiteral(".") + file.suffix();
    const QFileInfo topic(file.dir(), file.completeBaseName() + QStringLiteral("-%1").arg(context) + suffix);
    return topic.isFile() ? platform::FromQString(topic.filePath()) : fileName_;
}

bool TmyHH::ShowHelpTopic(int context)
{
    if (!libraryLoaded_ || !QFileInfo(platform::ToQString(fileName_)).isFile()) {
        return false;
    }
    return platform::OpenWithDesktop(TopicFile(context));
}
