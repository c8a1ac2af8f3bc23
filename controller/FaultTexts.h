#ifndef QUENVAR_FAULTTEXTS_H
#define QUENVAR_FAULTTEXTS_H

#include <wx/string.h>

// The ECU's fault texts, passed through the translation lookup. The live list
// (current faults) and the stored list keep their own wording. No text is
// empty, so an empty result means "this bit or code has no text".

// Current fault of fault bits A (live byte 30): bits 1..6 have a text.
wxString CurrentFaultTextA(unsigned bit);
// Current fault of fault bits B (live byte 44): bits 0..3 have a text.
wxString CurrentFaultTextB(unsigned bit);
// Stored-fault item of code 1..9 (not 8); code 0 is the injector item,
// which the caller builds with InjectorFaultText.
wxString StoredFaultText(unsigned code);

// Faulty-injector entry: empty when both masks are 0xFF, else the heading
// followed by " n " for every cylinder n whose bit is clear in maskA.
wxString InjectorFaultText(unsigned char maskA, unsigned char maskB);

#endif
