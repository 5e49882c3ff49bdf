#include "AcquireJobsMediatorClient.h"

AcquireJobsMediatorClient::~AcquireJobsMediatorClient() = default;
