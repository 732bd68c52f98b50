#pragma once
// The busy cursor over the whole application while a file is loaded and analysed, and the
// ordinary arrow for a box that asks the user something in the middle of it.

// Shows the busy cursor from construction to destruction; nested scopes stack.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// Shows the arrow while a modal box is open during a busy scope; outside one it does nothing.
class TArrowCursorWhileAsking {
public:
    TArrowCursorWhileAsking();
    ~TArrowCursorWhileAsking();
    TArrowCursorWhileAsking(const TArrowCursorWhileAsking&) = delete;
    TArrowCursorWhileAsking& operator=(const TArrowCursorWhileAsking&) = delete;

private:
    bool pushed_;
};
