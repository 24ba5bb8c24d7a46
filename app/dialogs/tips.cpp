#include "app/dialogs/tips.h"

#include "controls/quytipdialog.h"
#include "controls/quytipdialogform.h"

#include <QWidget>

#include <memory>

void FillTips(TStrings& tips, const std::string& title)
{
    const std::string quoted = "\"" + title + "\"";
    tips.BeginUpdate();
    tips.Clear();
    tips.Add("Before you can use " + title +
             " you need to set your Music Folder locations.  Do this by choosing Settings->Music Folders "
             "from the main menu.");
    tips.Add("If you have added or removed files from your music collection you will need to refresh the "
             "music library.  You can do this by choosing File->Scan Folders from the Main Menu, or by "
             "pressing Ctrl+Shift+F5.");
    tips.Add("After inserting or removing a CD you can choose File->Refresh/Scan CDs from the main menu.  Or "
             "just simply press F5.");
    tips.Add("You can add your virtual CDs into the CD stacker.  They will stay in the stacker until you "
             "remove them.  This means that you can always have instant access to your latest/favorite "
             "music.");
    tips.Add(
        "A CD can be quickly added to the queue by highlighting an album in the Artist list and clicking "
        "the Add CD button (just to the right of the play controls).");
    tips.Add(
        "You can load an M3U playlist file by choosing Playlists->Playlist Editor from the Main Menu and "
        "importing a playlist into it.");
    tips.Add("You can quickly jump through the alphabetic listing of artists by pressing the A-Z keys.");
    tips.Add("You can control " + title +
             " using your favorite Remote Control Interface program by sending the key strokes for various "
             "commands to the window called " +
             quoted + ".  Details of the required key strokes appear beside the commands in the main menu.");
    tips.Add("You can hide various parts of the main display to maximize the space available for display of "
             "the artist and track lists.  Refer to the Maximizing Display Space section under Getting "
             "Started in the Help File.");
    tips.Add(title + " can display the Album Covers of your music if you have them stored in a BMP or JPEG "
                     "format.  Use the Settings->General Settings option from the main menu to configure the "
                     "location of your cover files.");
    tips.Add(title + " can be run in full screen mode (as it was designed to do) by pressing the maximize "
                     "button, or by choosing View->Toggle Full Screen/Normal from the main menu.");
    tips.EndUpdate();
}

TQuyTipDialogForm* ShowStartupTip(TQuyTipDialog& dialog, QWidget* parent)
{
    if (!dialog.ShowAtStart() || !dialog.CreateForm)
        return nullptr;
    std::unique_ptr<TQuyTipDialogForm> made = dialog.CreateForm(parent);
    if (!made)
        return nullptr;
    TQuyTipDialogForm* form = made.release(); // a child of parent, freed as it closes
    form->SetPicture(dialog.Image().Graphic());
    form->ClearTipText();
    form->SetTips(dialog.Tips());
    form->SetIndex(dialog.TipNo());
    form->SetShowAtStart(dialog.ShowAtStart());
    form->setWindowModality(Qt::WindowModal);
    form->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(form, &QDialog::finished, form, [&dialog, form] {
        dialog.SetShowAtStart(form->ShowAtStart());
        dialog.SetTipNo(form->Index());
    });
    form->open();
    return form;
}
