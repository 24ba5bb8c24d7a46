#include "qtpromptservice.h"

#include "platform/qtstring.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToQtIcon(TmessageIcon icon)
{
    switch (icon) {
    case TmessageIcon::Information:
        return QMessageBox::Information;
    case TmessageIcon::Warning:
        return QMessageBox::Warning;
    case TmessageIcon::Error:
        return QMessageBox::Critical;
    case TmessageIcon::Question:
        return QMessageBox::Question;
    case TmessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString TqtPromptService::DisplayText(const std::string& text)
{
    QString shown = platform::ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

TmessageResult TqtPromptService::MessageBox(const std::string& text, const std::string& caption,
                                            TmessageButtons buttons, TmessageIcon icon)
{
    const bool yesNo = buttons == TmessageButtons::YesNo;
    QMessageBox box(ToQtIcon(icon), platform::ToQString(caption), DisplayText(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    // The first button is the default one, as the program's boxes always had it.
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int answer = box.exec();
    if (!yesNo)
        return TmessageResult::Ok;
    return answer == QMessageBox::Yes ? TmessageResult::Yes : TmessageResult::No;
}

void InstallQtPromptService()
{
    static TqtPromptService service;
    TpromptService::Install(&service);
}
