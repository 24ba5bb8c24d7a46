#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct TwavSettings;

// The WAV reader's settings dialog: the file-name mask and which folders give the album and the artist.
// Showing it copies the settings into the controls; "&OK" copies them back and accepts, "&Cancel" rejects
// and leaves the settings as they were.
class TfrmWAVconfig : public QDialog
{
    Q_OBJECT

public:
    // settings: a link, kept up to date by "&OK"; must outlive the dialog.
    explicit TfrmWAVconfig(TwavSettings& settings, QWidget* parent = nullptr);

    QLineEdit* edMask() const { return edMask_; }
    QRadioButton* rbParentAlbum() const { return rbParentAlbum_; }
    QRadioButton* rbParentArtist() const { return rbParentArtist_; }
    QCheckBox* cbParentParent() const { return cbParentParent_; }
    QPushButton* btnOK() const { return btnOK_; }
    QPushButton* btnCancel() const { return btnCancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SettingsToControls();
    void ControlsToSettings();
    void UpdateParentParent();

    TwavSettings& settings_;
    QLineEdit* edMask_;
    QRadioButton* rbParentAlbum_;
    QRadioButton* rbParentArtist_;
    QCheckBox* cbParentParent_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};
