#include "app/platform/qt/OrvaneApplicationMain.h"

int main(int argc, char** argv)
{
    return OrvaneApplicationMain(argc, argv);
}
