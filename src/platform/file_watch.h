#pragma once
// Tells when a file has been saved again (or made, or removed): study mode
// reloads the script file it plays after each save.

class FileWatch {
public:
    virtual ~FileWatch() = default;
    // True once for each change seen since the last true; cheap enough to
    // ask every frame.
    virtual bool changed() = 0;
};
