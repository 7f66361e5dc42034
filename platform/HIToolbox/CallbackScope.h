// Marks the time the toolkit spends inside program code that it called from a Qt event (a
// click, a key, a window event). Widgets must not be deleted while Qt is still delivering an
// event to them, so disposals made in that time are deferred to the event loop.
#pragma once

class CallbackScope
{
public:
    CallbackScope() { ++depth(); }
    ~CallbackScope() { --depth(); }
    CallbackScope(const CallbackScope &) = delete;
    CallbackScope &operator=(const CallbackScope &) = delete;

    static bool active() { return depth() > 0; }

private:
    static int &depth()
    {
        static int value = 0;
        return value;
    }
};
