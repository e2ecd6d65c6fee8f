#include <iostream>

#include "app/command_line.h"
#include "app/show_commands.h"

int main(int argc, char** argv) {
    ShowOptions options;
    std::string error;
    if (!parseCommandLine(argc, argv, options, error)) return usageError(std::cerr, error);
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    if (options.version) {
        std::cout << "zemra " << ZEMRA_VERSION << '\n';
        return 0;
    }
    return runShowCommand(options, std::cout, std::cerr);
}
