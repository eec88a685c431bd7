#include "gui_globals.h"

#include "HTMLHelpViewer.h"

#include "model/globals.h"
#include "model/webpage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

// The name help/CMakeLists.txt gives the compiled help collection.
const char *const kHelpCollectionName = "Online Help.qhc";

} // namespace

namespace globals {

std::shared_ptr<HTMLHelpViewer> &help_viewer()
{
    static std::shared_ptr<HTMLHelpViewer> viewer;
    if (!viewer)
        viewer = std::make_shared<HTMLHelpViewer>();
    return viewer;
}

QString &app_help_file()
{
    static std::optional<QString> file;
    if (!file)
        file = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kHelpCollectionName));
    return *file;
}

QString page_folder()
{
    const QFileInfo page(web_page()->path);
    if (web_page()->pagetype == 0 && !web_page()->path.isEmpty() && page.absoluteDir().exists())
        return page.absolutePath();
    return QDir::homePath();
}

} // namespace globals
