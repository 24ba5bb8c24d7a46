#include "app/qt/helpers/keyinput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

std::optional<TsyntheticKey> SyntheticKeyFor(std::uint16_t code, bool shift)
{
    switch (code) {
    case 8:
        return TsyntheticKey{Qt::Key_Backspace, QStringLiteral("\b"), Qt::NoModifier};
    case 13:
        return TsyntheticKey{Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier};
    case 32:
        return TsyntheticKey{Qt::Key_Space, QStringLiteral(" "), Qt::NoModifier};
    default:
        break;
    }
    if (code >= '0' && code <= '9')
        return TsyntheticKey{Qt::Key_0 + (code - '0'), QString(QLatin1Char(char(code))), Qt::NoModifier};
    if (code >= 'A' && code <= 'Z') {
        const char letter = shift ? char(code) : char(code - 'A' + 'a');
        return TsyntheticKey{Qt::Key_A + (code - 'A'), QString(QLatin1Char(letter)),
                             shift ? Qt::ShiftModifier : Qt::NoModifier};
    }
    return std::nullopt;
}

bool KeyboardCanType(const QString& text)
{
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        const bool capital = unit >= u'A' && unit <= u'Z';
        const auto code =
            static_cast<std::uint16_t>(unit >= u'a' && unit <= u'z' ? unit - u'a' + u'A' : unit);
        const std::optional<TsyntheticKey> key =
            code == 8 || code == 13 ? std::nullopt : SyntheticKeyFor(code, capital);
        if (!key || key->Text != QString(c))
            return false;
    }
    return true;
}

bool PostVirtualKey(std::uint16_t code, bool shift, QWidget* fallback)
{
    const std::optional<TsyntheticKey> key = SyntheticKeyFor(code, shift);
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = fallback;
    if (!key || target == nullptr)
        return false;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key->Key, key->Modifiers, key->Text));
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyRelease, key->Key, key->Modifiers, key->Text));
    return true;
}
