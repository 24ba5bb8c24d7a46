#include "app/qt/services/qtpromptservice.h"

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
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    QMessageBox::StandardButton first = QMessageBox::Ok;
    switch (buttons) {
    case TmessageButtons::Ok:
        break;
    case TmessageButtons::OkCancel:
        shown = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case TmessageButtons::YesNo:
        shown = QMessageBox::Yes | QMessageBox::No;
        first = QMessageBox::Yes;
        break;
    }
    QMessageBox box(ToQtIcon(icon), platform::ToQString(caption), DisplayText(text), shown,
                    QApplication::activeWindow());
    // The first button is the default one, as the program's boxes always had it.
    box.setDefaultButton(first);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return TmessageResult::Ok;
    case QMessageBox::Yes:
        return TmessageResult::Yes;
    case QMessageBox::No:
        return TmessageResult::No;
    case QMessageBox::Cancel:
        return TmessageResult::Cancel;
    default:
        // A box closed without a button gives its last one, as without a service.
        return buttons == TmessageButtons::Ok
                   ? TmessageResult::Ok
                   : (buttons == TmessageButtons::YesNo ? TmessageResult::No : TmessageResult::Cancel);
    }
}

void InstallQtPromptService()
{
    static TqtPromptService service;
    TpromptService::Install(&service);
}
