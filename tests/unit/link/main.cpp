#include <QCoreApplication>

int runPortCatalogTests(int argc, char **argv);
int runSerialDriverTests(int argc, char **argv);
int runDelayTests(int argc, char **argv);
int runTransmitterTests(int argc, char **argv);
int runNetLineTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    failures += runPortCatalogTests(argc, argv);
    failures += runSerialDriverTests(argc, argv);
    failures += runDelayTests(argc, argv);
    failures += runTransmitterTests(argc, argv);
    failures += runNetLineTests(argc, argv);
    return failures;
}
