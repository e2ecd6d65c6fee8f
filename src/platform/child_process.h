#pragma once
// Another program run beside this one (ffmpeg). It runs in a process group
// of its own, so a Ctrl-C in the terminal stops only us, and we can let it
// finish its file cleanly.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // Writes all of bytes to its standard input. False once it has stopped
    // reading (it ended or failed), or when its input is not a pipe.
    virtual bool write(const void* bytes, std::size_t length) = 0;
    // Ends its input: the program sees the end of the data.
    virtual void closeInput() = 0;
    // Waits for it to end. Its exit status, or -1 when it did not exit
    // normally (or has been waited for already).
    virtual int wait() = 0;
};

// Starts args[0], found on the PATH, with args[1..] as its arguments. Its
// standard input is a pipe written through write() when pipeInput is set,
// otherwise nothing. Null when it cannot be started. Dropping it closes its
// input and waits for it.
std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, bool pipeInput);

// True when the program can be found on the PATH.
bool programOnPath(const std::string& name);

// How to get a missing program on this system, for messages: a package to
// install, or where to put it.
std::string howToGetProgram(const std::string& name);

// A number that tells this process from others running at the same time
// (for naming temporary files).
long currentProcessId();
