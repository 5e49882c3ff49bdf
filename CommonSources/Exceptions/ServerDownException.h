#pragma once
// The server of the scan session has gone; the call that meets it answers
// TWCC_CHECKDEVICEONLINE and the source drops its session.

#include "Exception.h"

class ServerDownException : public CommonCpp::Exception {
public:
    ServerDownException(const std::string& sourceFile, int line);
    ServerDownException(const ServerDownException& other) = default;
    ServerDownException& operator=(const ServerDownException& other) = default;
    ~ServerDownException() override;

    const char* what() const noexcept override;
    std::string GetDescription() const override;
};
