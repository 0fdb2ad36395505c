// Pellimar: the program with its window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>

#include "settings/settings_paths.h"
#include "window/application_setup.h"
#include "window/byte_text.h"
#include "window/main_window.h"
#include "window/detached_launcher.h"
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

}  // namespace

int main(int argc, char** argv)
{
    // A write past a file-size limit must fail as a write error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    pellimar::SetUpApplication();

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
