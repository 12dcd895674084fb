#include "shell/ui/Commands.h"
#include "shell/ui/Launcher.h"

#include <QApplication>

int main(int argc, char **argv)
{
    if (const auto code = answerWithoutDisplay(argc, argv))
        return *code;
    QApplication app(argc, argv);
    return runGui(plugInCommands);
}
