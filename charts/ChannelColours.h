#ifndef QUENVAR_CHANNELCOLOURS_H
#define QUENVAR_CHANNELCOLOURS_H

#include <wx/colour.h>

// Colours of the ten oscilloscope channels, also those of the matching
// labels in the live-readings area.
extern const wxColour ChannelColours[10];

#endif
