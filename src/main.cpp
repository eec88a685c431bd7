#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::puts("Tressel 1.2.6 - writes the PHP script behind a web form.\n"
              "The wizard's windows are not built yet; this build holds the script generator.");
    return 0;
}
