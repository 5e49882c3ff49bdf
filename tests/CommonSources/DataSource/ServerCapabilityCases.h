#pragma once
// The capabilities that follow the server the source is connected to, one table per simulated
// server: pixel types and bit depths; units with every resolution and length in each of them,
// as exact TW_FIX32 values; feeder, orientation and duplex; the custom capabilities and
// CAP_SUPPORTEDCAPS. The rows run in order against a source just opened on that server.

#include "CapabilityCases.h"

#include <string>
#include <vector>

// What a simulated server offers, as the source must report it.
struct ServerProfile {
    // Fixture folder; its name is also the address the source connects to, except for the
    // server of this machine.
    std::string server;
    std::string address;
    // Pixel types in the server's order, with repetitions; current and default after the
    // connection, and what MSG_RESET returns to.
    std::vector<TW_UINT32> pixelTypes;
    TW_UINT16 pixelType;
    TW_UINT16 pixelTypeAfterReset;
    // Dots per inch in the server's order; the largest; whether any other value is allowed.
    std::vector<double> resolutions;
    double maxResolution;
    bool anyResolution;
    bool feeder;
    std::vector<TW_UINT32> orientations;
    TW_UINT16 orientation;
    // Page sizes found by the server itself.
    bool autoPageSize;
};

// Colour, grey and black and white with a feeder, both orientations and any resolution; black
// and white only with a fixed list; grey and colour without black and white, and a list
// without 300 dpi; grey twice with a feeder, landscape only and resolutions up to 2400 dpi.
std::vector<ServerProfile> ServerProfiles();

// Stores a server list whose selected server is the profile's, so that the next MSG_OPENDS
// connects there.
void ChooseServerForNextOpen(const ServerProfile& profile);

std::vector<CapCase> ServerCapabilityCases(const ServerProfile& profile);
