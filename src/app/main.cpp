// Pellimar: the program with its window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/display_refusal.h"
#include "app/window_arguments.h"
#include "settings/settings_paths.h"
#include "streams/file_names.h"
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

std::vector<std::string> ArgumentsOf(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

// The full paths of the names given; on Linux the arguments are the names' own
// bytes.
std::vector<std::string> FullNames(const std::vector<std::string>& names)
{
    std::vector<std::string> full;
    for (const std::string& name : names)
        full.push_back(pellimar::FullName(name));
    return full;
}

std::string EnvironmentValue(const char* name)
{
    const char* const value = std::getenv(name);
    return value != nullptr ? value : "";
}

pellimar::DisplayEnvironment DisplayEnvironmentNow()
{
    return {EnvironmentValue("DISPLAY"), EnvironmentValue("WAYLAND_DISPLAY"), EnvironmentValue("QT_QPA_PLATFORM")};
}

}  // namespace

int main(int argc, char** argv)
{
    // Answered before the toolkit starts, which needs a display.
    if (const pellimar::WindowArguments asked = pellimar::ReadWindowArguments(ArgumentsOf(argc, argv)); asked.answer) {
        std::fputs(asked.answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // Said before the toolkit would end the program for want of a display.
    if (const std::optional<pellimar::DisplayRefusal> refused =
            pellimar::RefusalWithoutDisplay(ArgumentsOf(argc, argv), DisplayEnvironmentNow())) {
        std::fputs(refused->text.c_str(), stderr);
        return refused->status;
    }
    // A write past a file-size limit must fail as a write error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    // Qt has taken its own options out of argv.
    const pellimar::WindowArguments given = pellimar::ReadWindowArguments(ArgumentsOf(argc, argv));
    if (!given.unknownOptions.empty()) {
        std::fputs(pellimar::UnknownOptionText(given.unknownOptions.front()).c_str(), stderr);
        return 2;
    }
    pellimar::SetUpApplication();

    pellimar::QtDialogs dialogs;
    pellimar::DetachedLauncher launcher;
    pellimar::WindowServices services;
    services.dialogs = &dialogs;
    services.launcher = &launcher;
    services.settingsPaths = pellimar::LocateSettingsFiles();
    services.guidePath = FindUserGuide();
    services.startFiles = FullNames(given.files);

    pellimar::TZUDIzazu window(services);
    dialogs.SetParent(&window);
    window.show();
    return QApplication::exec();
}
