#include <QCoreApplication>

int runHidTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return runHidTests(argc, argv);
}
