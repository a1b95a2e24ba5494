#pragma once
// The application's standard error box: what becomes of a failure that no
// command handled. The operator reads the message, presses OK and goes on
// working in the same window.

#include <exception>
#include <functional>

class Exception;

// Shows the failure's message in an error box with OK, captioned with the
// application's title, through the user-interface seam.
void showException(const Exception &error);
void showException(const std::exception &error);

// Runs an event handler; a failure escaping it goes to the error box and
// stops there, so the event loop never sees an exception.
void runHandler(const std::function<void()> &handler);
