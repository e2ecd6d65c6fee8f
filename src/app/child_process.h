#pragma once
// Another program run beside this one (ffmpeg). It runs in a process group
// of its own, so a Ctrl-C in the terminal stops only us, and we can let it
// finish its file cleanly.

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts args[0], found on the PATH, with args[1..] as its arguments. Its
    // standard input is a pipe we write to when pipeInput is set, otherwise
    // nothing. False when it cannot be started.
    bool start(const std::vector<std::string>& args, bool pipeInput);
    // Writes all of bytes to its standard input. False once it has stopped
    // reading (it ended or failed).
    bool write(const void* bytes, std::size_t length);
    // Ends its input: the program sees the end of the data.
    void closeInput();
    // Waits for it to end. Its exit status, or -1 when it did not exit normally.
    int wait();

private:
    pid_t pid_ = -1;
    int input_ = -1;
};

// True when the program can be found on the PATH.
bool programOnPath(const std::string& name);
