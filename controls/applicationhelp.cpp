#include "controls/applicationhelp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char kHelpContextProperty[] = "orvaneHelpContext";

} // namespace

TapplicationHelp::TapplicationHelp()
{
    if (QCoreApplication* app = QCoreApplication::instance()) {
        setParent(app);
        app->installEventFilter(this);
    }
}

TapplicationHelp& TapplicationHelp::Instance()
{
    // Owned by the application object, so it goes with it; a later application gets a fresh one.
    static QPointer<TapplicationHelp> instance;
    if (!instance) {
        instance = new TapplicationHelp;
    }
    return *instance;
}

void TapplicationHelp::SetFormHelp(QWidget* form, THelpEvent handler)
{
    if (!form) {
        return;
    }
    if (!handler) {
        formHelp_.erase(form);
        return;
    }
    if (!formHelp_.count(form)) {
        connect(form, &QObject::destroyed, this, [this](QObject* gone) { formHelp_.erase(gone); });
    }
    formHelp_[form] = std::move(handler);
}

THelpEvent TapplicationHelp::FormHelp(const QWidget* form) const
{
    const auto it = formHelp_.find(form);
    return it == formHelp_.end() ? THelpEvent() : it->second;
}

void TapplicationHelp::SetHelpContext(QWidget* widget, int context)
{
    if (widget) {
        widget->setProperty(kHelpContextProperty, context);
    }
}

int TapplicationHelp::HelpContextOf(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        const int context = widget->property(kHelpContextProperty).toInt();
        if (context != 0) {
            return context;
        }
    }
    return 0;
}

bool TapplicationHelp::HelpCommand(QWidget* from, std::uint16_t command, std::intptr_t data)
{
    bool callHelp = true;
    bool result = false;
    // Copies: a handler may replace itself while it runs.
    if (from) {
        if (const THelpEvent form = FormHelp(from->window())) {
            result = form(command, data, callHelp);
        }
    }
    if (callHelp) {
        if (const THelpEvent app = OnHelp) {
            result = app(command, data, callHelp);
        }
    }
    return result;
}

bool TapplicationHelp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::HelpContents) || key->key() == Qt::Key_F1) {
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                const int context = HelpContextOf(widget);
                // A window with a help handler of its own answers F1 anywhere in it, at its default
                // topic when no widget up the parents has a context.
                if (context != 0 || FormHelp(widget->window())) {
                    HelpContext(widget, context);
                    return true;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
