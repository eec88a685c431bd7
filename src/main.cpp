#include "wizard/Startup.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tressel"));
    QApplication::setApplicationVersion(QStringLiteral(TRESSEL_VERSION));
    start_wizard(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    return QApplication::exec();
}
