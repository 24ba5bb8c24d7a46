#include "controls/myhh.h"

#include "platform/desktopopen.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

TmyHH::TmyHH(QWidget* owner) : m_owner(owner), m_ownerIsForm(owner && owner->isWindow())
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
    if (!m_libraryLoaded) {
        m_libraryLoaded = platform::DesktopOpenerAvailable();
    }
}

void TmyHH::Attach()
{
    if (m_attached || !m_libraryLoaded || !QFileInfo(QString::fromStdString(m_fileName)).isFile()) {
        return;
    }
    TapplicationHelp& help = TapplicationHelp::Instance();
    const auto hook = [this](std::uint16_t command, std::intptr_t data, bool& callHelp) {
        return HelpHook(command, data, callHelp);
    };
    m_savedApplicationHelp = help.OnHelp;
    help.OnHelp = hook;
    if (m_ownerIsForm && m_owner) {
        m_savedFormHelp = help.FormHelp(m_owner);
        help.SetFormHelp(m_owner, hook);
    }
    m_attached = true;
}

void TmyHH::Detach()
{
    if (!m_attached) {
        return;
    }
    TapplicationHelp& help = TapplicationHelp::Instance();
    help.OnHelp = m_savedApplicationHelp;
    if (m_ownerIsForm && m_owner) {
        help.SetFormHelp(m_owner, m_savedFormHelp);
    }
    m_savedApplicationHelp = nullptr;
    m_savedFormHelp = nullptr;
    m_attached = false;
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
        return m_fileName;
    }
    const QFileInfo file(QString::fromStdString(m_fileName));
    const QString suffix = file.suffix().isEmpty() ? QString() : QStringLiteral(".") + file.suffix();
    const QFileInfo topic(file.dir(), file.completeBaseName() + QStringLiteral("-%1").arg(context) + suffix);
    return topic.isFile() ? topic.filePath().toStdString() : m_fileName;
}

bool TmyHH::ShowHelpTopic(int context)
{
    if (!m_libraryLoaded || !QFileInfo(QString::fromStdString(m_fileName)).isFile()) {
        return false;
    }
    return platform::OpenWithDesktop(TopicFile(context));
}
