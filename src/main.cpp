#include "cli/command_line.h"

#if BRUMO_WITH_UI
#include "ui/application.h"

#include <iostream>
#endif

int main(int argc, char** argv) {
#if BRUMO_WITH_UI
    if (brumo::CommandLine::WantsWindow(argc, argv)) {
        if (brumo::Application::HasDisplay())
            return brumo::Application::Run(argc, argv);
        std::cerr << "brumo: no display to show the window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set); making a test run instead.\n";
        char run[] = "run";
        char* runArgs[] = {argv[0], run, nullptr};
        return brumo::CommandLine::Run(2, runArgs);
    }
#endif
    return brumo::CommandLine::Run(argc, argv);
}
