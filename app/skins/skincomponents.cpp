#include "app/skins/skincomponents.h"

#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/transparentsplitter.h"
#include "platform/qtstring.h"

void TskinComponents::Add(QWidget* control)
{
    if (control)
        controls_.emplace_back(control);
}

void TskinComponents::AddChildren(QWidget* root)
{
    if (!root)
        return;
    for (QObject* child : root->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget)
            continue;
        if (IsSkinnable(widget))
            Add(widget);
        // Buttons, bars and multi-buttons are leaves: what they hold is their own drawing.
        if (!qobject_cast<TorvaneButton*>(widget) && !qobject_cast<TorvaneScrollBar*>(widget) &&
            !qobject_cast<TorvaneMultiButton*>(widget))
            AddChildren(widget);
    }
}

void TskinComponents::AddFontSet(TtagFonts* fonts)
{
    if (fonts)
        fontSets_.push_back(fonts);
}

QWidget* TskinComponents::Control(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return controls_[static_cast<std::size_t>(index)].data();
}

QWidget* TskinComponents::Find(const std::string& name) const
{
    const QString wanted = platform::ToQString(name);
    for (const QPointer<QWidget>& control : controls_)
        if (control && control->objectName() == wanted)
            return control.data();
    return nullptr;
}

bool TskinComponents::IsSkinnable(const QWidget* control)
{
    return qobject_cast<const TorvaneButton*>(control) || qobject_cast<const TorvaneMultiButton*>(control) ||
           qobject_cast<const TorvaneScrollBar*>(control) || qobject_cast<const TorvanePanel*>(control) ||
           qobject_cast<const TtransparentSplitter*>(control);
}
