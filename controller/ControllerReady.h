#ifndef QUENVAR_CONTROLLERREADY_H
#define QUENVAR_CONTROLLERREADY_H

#include <wx/string.h>

class Controller;

// What a page, dialog or tool wants of the ECU.
enum class EcuPurpose
{
    ReadLive,        // show or collect live readings
    CollectCurves,   // the map's live curves: not while a run switches fuel under them
    SendCommand,     // a one-off command: erase faults, erase a curve
    SwitchFuel,      // the fuel button and the cylinder check boxes
    EditSettings,    // settings page, gas level, injectors, the map
    SettingsFile,    // load or save a settings file
    ServiceInterval, // show or set the service counters
    Calibrate,       // run the automatic calibration
};

// The gate's answer: go ahead, or why not.
enum class EcuAccess
{
    Open,              // go ahead
    Demo,              // go ahead on the demo's values; nothing reaches an ECU
    NoEcu,             // no port open, or no live reply since the link was (re)set
    LinkLost,          // the ECU stopped answering
    ParametersNotRead, // a line is open, the ECU's parameters not applied since the last reset
    Calibrating,       // an automatic calibration runs
    DemoRefused,       // demo mode, and recorded frames cannot serve the purpose
};

// The one answer to whether the program may talk to the ECU for purpose.
EcuAccess CheckEcuAccess(EcuPurpose purpose, const Controller* controller);
// The same for theController.
EcuAccess CheckEcuAccess(EcuPurpose purpose);
// Open or Demo.
inline bool Allows(EcuAccess access)
{
    return access == EcuAccess::Open || access == EcuAccess::Demo;
}
// CheckEcuAccess(purpose) allows it.
bool MayUseEcu(EcuPurpose purpose);
// The one text of each refusal; empty for Open and Demo.
wxString RefusalText(EcuAccess access);
// Said in the status line where a request would have gone to the ECU in demo mode.
wxString DemoNotSentText();

// The link is up and no calibration runs (demo included). The argument is
// ignored.
bool IsControllerReady(bool);

#endif
