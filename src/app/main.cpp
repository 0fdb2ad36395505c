// Pellimar: the program with its window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QIcon>

#include <csignal>

#include "settings/settings_paths.h"
#include "window/byte_text.h"
#include "window/main_window.h"
#include "window/program_launcher.h"
#include "window/qt_dialogs.h"

namespace {

// The guide lies beside the program in a build, and under share/ once installed.
std::string FindUserGuide()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString candidates[] = {programDir + "/user-guide.md", programDir + "/../share/pellimar/user-guide.md"};
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return pellimar::BytesFromPath(QDir::cleanPath(candidate));
    }
    return pellimar::BytesFromPath(QDir::cleanPath(candidates[1]));
}

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

int main(int argc, char** argv)
{
    // A write past a file-size limit must fail as a write error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName("pellimar");
    QApplication::setApplicationDisplayName(pellimar::kApplicationTitle);
    QApplication::setWindowIcon(ApplicationIcon());
    AvoidMonospacedDefaultFont();
    QApplication::setDesktopFileName("pellimar");  // pairs the window with pellimar.desktop

    pellimar::QtDialogs dialogs;
    pellimar::DetachedLauncher launcher;
    pellimar::WindowServices services;
    services.dialogs = &dialogs;
    services.launcher = &launcher;
    services.settingsPaths = pellimar::LocateSettingsFiles();
    services.guidePath = FindUserGuide();

    pellimar::TZUDIzazu window(services);
    dialogs.SetParent(&window);
    window.show();
    return QApplication::exec();
}
