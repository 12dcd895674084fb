#include "app/Commands.h"
#include "app/Launcher.h"

#include <QApplication>

int main(int argc, char **argv)
{
    if (const auto code = answerWithoutDisplay(argc, argv))
        return *code;
    QApplication app(argc, argv);
    return runGui(plugInCommands);
}
