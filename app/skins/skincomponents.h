#pragma once

#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

class TtagFonts;

// The controls a skin is loaded onto, in component order: the window's skinnable buttons, multi-buttons,
// scroll bars, panels and splitters (a section each, named after the control's object name), plain panels
// that take the window's colour, and the font sets that the skin file holds a section for. A control freed
// meanwhile is passed over; the font sets are links that must outlive the registry's use.
class TskinComponents
{
public:
    // The window whose colour becomes the panel colour (a link; may be none).
    QWidget* Window() const { return window_.data(); }
    void SetWindow(QWidget* window) { window_ = window; }

    // Adds one control: ours by their class, any other widget as a plain panel.
    void Add(QWidget* control);
    // Adds every skinnable control below root (ours only, not root itself), parents before their children,
    // siblings in creation order; the parts a control builds for itself (a scroll bar's buttons) are not
    // added.
    void AddChildren(QWidget* root);
    void AddFontSet(TtagFonts* fonts);

    int Count() const { return static_cast<int>(controls_.size()); }
    // The control at index, nullptr when it is gone.
    QWidget* Control(int index) const;
    // The control of that object name, nullptr when there is none.
    QWidget* Find(const std::string& name) const;
    const std::vector<TtagFonts*>& FontSets() const { return fontSets_; } // links

    // True for the classes a skin knows (buttons, multi-buttons, scroll bars, panels, splitters).
    static bool IsSkinnable(const QWidget* control);

private:
    QPointer<QWidget> window_;
    std::vector<QPointer<QWidget>> controls_;
    std::vector<TtagFonts*> fontSets_;
};
