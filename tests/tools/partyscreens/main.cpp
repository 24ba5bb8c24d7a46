// The party-play options window and the password prompt with the on-screen keyboard docked. A test tool;
// `--screenshot-dir folder` saves party-play-options.png and password-prompt.png there and quits.

#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmpassword.h"
#include "app/keyboard/frmkeyboard.h"
#include "controls/qtcolor.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallPaletteColorResolver();
    QString folder;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf("--screenshot-dir"));
    if (at >= 0 && at + 1 < args.size())
        folder = args.at(at + 1);

    TfrmPartyPlay options;
    options.SetQueueLimit(20);
    options.SetDisableStackerControl(false);
    options.show();

    TfrmPassword prompt;
    prompt.SetUseKeyboard(true);
    // Twice, as at any showing after the first: the body follows the keyboard's key height.
    for (int i = 0; i < 2; ++i)
        prompt.SetKeyboardSize(GetKeyboardForm()->KeyboardWidthFor(36),
                               GetKeyboardForm()->KeyboardHeightFor(36));
    prompt.SetExpectedPassword("Jukebox");
    prompt.show();
    prompt.PasswordEdit()->setText("Juke");

    if (!folder.isEmpty()) {
        QTimer::singleShot(300, [&] {
            const QDir dir(folder);
            const bool saved = options.grab().save(dir.filePath("party-play-options.png")) &&
                               prompt.grab().save(dir.filePath("password-prompt.png"));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
