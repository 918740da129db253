#pragma once

// While a medium opens, the program keeps drawing its windows, running its timers and answering
// its channel, but what the user does meanwhile (keys, buttons, wheel, pointer moves) waits and
// is delivered afterwards, in the order it came, from the event loop: a command a key starts
// follows the open, as it would have had the open not let events run. Windows shown during a
// hold (a message for the user) are not held. Holds nest; the user's input flows again once
// the last one has ended and what waited has been delivered.
class UserInputHold {
public:
    UserInputHold();
    ~UserInputHold();
    UserInputHold(const UserInputHold &) = delete;
    UserInputHold &operator=(const UserInputHold &) = delete;

    // Whether any hold is in force.
    static bool active();
};
