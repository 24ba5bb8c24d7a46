#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;
class TcustomJukebox;
class TcustomJukeboxList;
class TcustomlocalJukeboxList;

// "Information": a text summary of the library, the queue, the stacker and the active saved playlist.
class TfrmJukeboxInfo : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMinWidth = 292;
    static constexpr int kMinHeight = 273;

    explicit TfrmJukeboxInfo(QWidget* parent = nullptr);

    // Clears the memo and writes the summary; without a playing jukebox its lists count as empty.
    void FillInfo(const TcustomJukeboxList& library, const TcustomJukebox* jukebox);
    void FillInfo(const TcustomlocalJukeboxList& library);

    // The summary's lines.
    static std::vector<std::string> InfoLines(const TcustomJukeboxList& library,
                                              const TcustomJukebox* jukebox);

    QPlainTextEdit* Memo() const { return mmoInfo; }
    QPushButton* CloseButton() const { return btnClose; }

private:
    // The window grows from its least size until the memo shows every line whole.
    void FitToText();

    QPlainTextEdit* mmoInfo;
    QPushButton* btnClose;
};

// Makes the window for the library, fills it, shows it modally and frees it.
void ShowJukeboxInfo(const TcustomlocalJukeboxList& library, QWidget* parent = nullptr);
void ShowJukeboxInfo(const TcustomJukeboxList& library, const TcustomJukebox* jukebox,
                     QWidget* parent = nullptr);
