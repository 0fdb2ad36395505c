// The application's name, icon, desktop entry and default font.
#include "window/application_setup.h"

#include <QApplication>
#include <QFontInfo>
#include <QIcon>

namespace pellimar {
namespace {

// The application's icon in every size compiled into the program.
QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/hicolor/%1x%1/apps/pellimar.png").arg(size), QSize(size, size));
    return icon;
}

// Where the Liberation fonts are the only ones (a minimal Debian system with
// just the package's dependencies), fontconfig answers the default sans-serif
// with Liberation Mono; dialogs and the guide then take the window's Arial.
void AvoidMonospacedDefaultFont()
{
    QFont font = QApplication::font();
    if (QFontInfo(font).fixedPitch()) {
        font.setFamily("Arial");
        QApplication::setFont(font);
    }
}

}  // namespace

void SetUpApplication()
{
    QApplication::setApplicationName("pellimar");
    QApplication::setWindowIcon(ApplicationIcon());
    AvoidMonospacedDefaultFont();
    QApplication::setDesktopFileName("pellimar");  // pairs the window with pellimar.desktop
}

}  // namespace pellimar
