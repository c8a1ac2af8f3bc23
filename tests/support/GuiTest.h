#ifndef QUENVAR_TESTS_GUITEST_H
#define QUENVAR_TESTS_GUITEST_H

#include <chrono>
#include <functional>

class wxFrame;
class wxWindow;

namespace guitest
{
// A frame shared by all GUI tests; fixtures create their controls on it and
// delete them afterwards. It is never shown unless a test asks for it.
wxFrame* SharedFrame();

// Runs pending events (timers, idle, paint) once.
void ProcessPendingEvents();

// Dispatches events until condition() holds or the deadline passes; returns
// whether it held. Use this instead of fixed sleeps.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds deadline = std::chrono::milliseconds(5000));

// As idle time with the program's settings: asks each window under root marked for it.
void UpdateUiAsIdle(wxWindow* root);

// Number of toolkit assertions seen so far (each one also fails the test).
int AssertionCount();
}

#endif
