#pragma once

// Shows the wait cursor for as long as it lives; a long operation holds one as a local.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

    void Default();
    void Wait();
    void WaitStoppable();
};
