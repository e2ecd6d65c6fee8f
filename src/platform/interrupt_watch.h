#pragma once
// Ctrl-C (or a request to terminate, or the terminal closing) during a long
// job: while a watch lives, such a signal only sets a flag the job polls, so
// it can stop after the step it is making and leave its files complete; and a closed pipe to another
// program shows as a failed write instead of ending this one. The previous
// handling comes back when the watch ends. One watch at a time.

class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // True once a stop has been asked for since the watch began.
    bool requested() const;
};

// While one lives, Ctrl-C, a request to terminate and the terminal closing
// end the program at once, as they do by default, whatever handling was in
// place (the window library turns them into a quit event that a modal box,
// waiting for its button, never reads); programs it started and waits for
// (a box shown by another program) get the signal first. The previous
// handling comes back when it ends.
class SignalsEndProgram {
public:
    SignalsEndProgram();
    ~SignalsEndProgram();
    SignalsEndProgram(const SignalsEndProgram&) = delete;
    SignalsEndProgram& operator=(const SignalsEndProgram&) = delete;
};
