#ifndef QUENVAR_CONTROLLERREADY_H
#define QUENVAR_CONTROLLERREADY_H

#include <wx/string.h>

class Controller;

// What a page, dialog or tool wants of the ECU.
enum class EcuPurpose
{
    ReadLive,        // show or collect live readings
    SendCommand,     // a one-off command: erase faults, erase a curve
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
    NoEcu,             // no port, or no live reply since the link was (re)set
    LinkLost,          // the ECU stopped answering
    ParametersNotRead, // the ECU's parameters have not been applied since the last reset
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
