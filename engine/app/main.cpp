// The program's entry: the command line's words are joined again and handed to WinMain.
#include <string>

#include "engine/app/cRenderWren.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return WinMain(commandLine.c_str());
}
