// Widget gallery: the colour panels, time and picture widgets, banner, clock, keyboard, tip window and
// about details in a few of their states. A test tool; `--screenshot file.png` saves the window and quits.

#include "widgetspage.h"

#include "controls/qtcolor.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    InstallPaletteColorResolver();
    QWidget* page = BuildWidgetsPage();
    page->setWindowTitle(QStringLiteral("Widget gallery"));
    page->show();

    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--screenshot"));
    if (at >= 0 && at + 1 < args.size()) {
        const QString file = args[at + 1];
        QTimer::singleShot(300, page, [page, file] {
            const bool saved = page->grab().save(file);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    const int result = QApplication::exec();
    delete page;
    return result;
}
