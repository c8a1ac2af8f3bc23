// The program's entry point; kept out of the app library so that the GUI
// tests can build the main window under their own toolkit main.
#include "MyApp.h"

wxIMPLEMENT_APP(MyApp);
