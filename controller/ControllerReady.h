#ifndef QUENVAR_CONTROLLERREADY_H
#define QUENVAR_CONTROLLERREADY_H

// True when the controller exists, is online with a live link (connected,
// not lost) and no calibration runs. The argument is ignored. Lives beside
// the controller so that the chart pages, which the program links below the
// main window, can ask it too.
bool IsControllerReady(bool);

#endif
