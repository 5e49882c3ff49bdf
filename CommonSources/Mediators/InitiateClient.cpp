#include "InitiateClient.h"

// Never sent to the server: it only tells the mediator that no split was chosen.
const char* const InitiateClient::kSplitModeOff = "Off";

InitiateClient::~InitiateClient() = default;
