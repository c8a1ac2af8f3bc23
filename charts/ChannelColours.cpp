#include "ChannelColours.h"

const wxColour ChannelColours[10] = {
    wxColour(117, 255, 0),   wxColour(128, 0, 128), wxColour(248, 183, 244), wxColour(165, 42, 42),
    wxColour(105, 105, 105), wxColour(255, 0, 0),   wxColour(0, 0, 255),     wxColour(255, 255, 0),
    wxColour(255, 165, 0),   wxColour(162, 255, 255)};
