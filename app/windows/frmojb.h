#pragma once

#include "app/windows/frmmain.h"

// The program's main window: the library of local files, the Winamp player and the program's about form.
class TfrmOJB : public TfrmMain
{
public:
    explicit TfrmOJB(QWidget* parent = nullptr);

    // The about form the main routine made (a link).
    void SetAboutForm(TfrmAbout* form) { aboutForm_ = form; }

    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override;
    std::unique_ptr<TcustomMediaPlayer> CreatePlayer() override;
    TfrmAbout* GetAboutForm() const override;

private:
    TfrmAbout* aboutForm_ = nullptr;
};
