// The program's entry: the command line's words are joined again and handed to WinMain.
#include <cstdio>
#include <string>

#include "engine/app/cRenderWren.h"
#include "platform/Lifetime.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    // A message box of the running game, shown from a process of its own.
    int boxResult = platform::runMessageBoxProcess(argc, argv);
    if (boxResult >= 0) return boxResult;
    // Without a display the window would exist nowhere and the game would run unseen for ever.
    std::string noDisplay = platform::missingDisplay();
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "%s\n", noDisplay.c_str());
        return 1;
    }
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return WinMain(commandLine.c_str());
}
