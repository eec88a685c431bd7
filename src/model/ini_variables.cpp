#include "ini_variables.h"

#include "FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace ini_variables {

QString wizard_ini_path()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("wizard.ini"));
}

bool read_wizard_ini()
{
    QFile file(wizard_ini_path());
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray first = file.readLine(64).simplified().split(' ').value(0);
    bool ok = false;
    const int value = first.toInt(&ok);
    hide_start = ok ? static_cast<qint16>(value) : 0;
    return true;
}

void write_wizard_ini()
{
    const QString path = wizard_ini_path();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // A number is written with a blank for its sign and one after it.
    const QByteArray line
        = (hide_start < 0 ? QByteArray() : QByteArray(" ")) + QByteArray::number(hide_start) + " \r\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(line) != line.size() || !file.commit())
        throw FileError(path, file.errorString());
}

} // namespace ini_variables
