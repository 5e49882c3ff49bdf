#include "SendMediatorClient.h"

SendMediatorClient::~SendMediatorClient() = default;
