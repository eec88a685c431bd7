#include "gui_globals.h"

#include "HTMLHelpViewer.h"

#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace {

// The name help/CMakeLists.txt gives the compiled help collection.
const char *const kHelpCollectionName = "Online Help.qhc";

std::shared_ptr<HTMLHelpViewer> shared_help_viewer;

void release_help_viewer()
{
    shared_help_viewer.reset();
}

} // namespace

namespace globals {

std::shared_ptr<HTMLHelpViewer> &help_viewer()
{
    static bool release_registered = false;
    if (!shared_help_viewer) {
        shared_help_viewer = std::make_shared<HTMLHelpViewer>();
        // Static objects die after the application object, too late for a
        // window; its post routines run while it is still there.
        if (!release_registered && QCoreApplication::instance()) {
            qAddPostRoutine(release_help_viewer);
            release_registered = true;
        }
    }
    return shared_help_viewer;
}

QString &app_help_file()
{
    static std::optional<QString> file;
    if (!file)
        file = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kHelpCollectionName));
    return *file;
}

} // namespace globals
