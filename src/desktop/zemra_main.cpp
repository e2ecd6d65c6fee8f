#include <cerrno>
#include <cstring>
#include <iostream>

#include "app/version.h"
#include "desktop/command_line.h"
#include "desktop/show_commands.h"
#include "platform/file_access.h"
#include "platform/parent_console.h"

namespace {

// What went to standard output (the help, the timeline, the benchmark's
// figures) must have arrived: a full disk or a closed output is a failure.
int checkOutput(int status) {
    errno = 0;
    std::cout.flush();
    if (std::cout) return status;
    const int reason = errno;
    std::cerr << "zemra: cannot write to standard output" << (reason ? std::string(": ") + std::strerror(reason) : "")
              << '\n';
    return status == 0 ? 1 : status;
}

int run(int argc, char** argv) {
    ShowOptions options;
    std::string error;
    if (!parseCommandLine(argc, argv, options, error)) return usageError(std::cerr, error);
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    if (options.version) {
        const std::string commit = zemraCommit();
        std::cout << "zemra " << zemraVersion() << (commit.empty() ? "" : " (commit " + commit + ")") << '\n';
        return 0;
    }
    return runShowCommand(options, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    useParentConsole();
    failWritesPastSizeLimit();
    return checkOutput(run(argc, argv));
}
