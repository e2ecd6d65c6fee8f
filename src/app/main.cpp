#include <iostream>

#include "app/command_line.h"
#include "app/desktop_show.h"

int main(int argc, char** argv) {
    ShowOptions options;
    std::string error;
    if (!parseCommandLine(argc, argv, options, error)) {
        std::cerr << "zemra: " << error << "\n\n" << usageText();
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    if (options.version) {
        std::cout << "zemra " << ZEMRA_VERSION << '\n';
        return 0;
    }
    return runDesktopShow(options);
}
