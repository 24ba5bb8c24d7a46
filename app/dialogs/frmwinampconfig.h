#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TwinampMediaPlayer;

// "Winamp Player": where Winamp lives and whether the program controls its volume.
class TfrmWinampConfig : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmWinampConfig(QWidget* parent = nullptr);

    // Binds the player (for this showing) and shows the dialog modally; the volume option only when the
    // player allows it.
    void ShowForPlayer(TwinampMediaPlayer* player);
    TwinampMediaPlayer* Player() const { return player_; }
    void SetPlayer(TwinampMediaPlayer* player) { player_ = player; }

protected:
    void showEvent(QShowEvent* event) override;
    // The folder browser; an empty answer is a cancel.
    virtual QString BrowseForFolder();

private:
    void SelectFolder();
    void Apply();

    TwinampMediaPlayer* player_ = nullptr; // link, for one showing
    QTabWidget* pcWinampConfig;
    QWidget* tsGeneralSettings;
    QLabel* lblWinampLocation;
    QLabel* lblWinampFolder;
    QLineEdit* edWinampFolder;
    QPushButton* btnSelectFolder;
    QCheckBox* cbControlVolume;
    QLabel* lblControlVolume;
    QPushButton* btnClose;
    QPushButton* btnApply;
};

// Makes the player's Configure show this dialog. With an owner the one dialog is made at the first showing
// and lives as the owner's child; without one it is made for each showing.
void InstallWinampConfigDialog(QWidget* owner = nullptr);
