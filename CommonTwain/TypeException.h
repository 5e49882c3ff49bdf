#pragma once
// A TWAIN container that does not have the shape the reader expects: wrong item or container
// type, an item count that does not fit its block, an index outside the values.

#include "Exception.h"

namespace CommonTwain {

class TypeException : public CommonCpp::Exception {
public:
    TypeException(const std::string& sourceFile, int line);
    TypeException(const TypeException& other) = default;
    TypeException& operator=(const TypeException& other) = default;
    ~TypeException() override;

    const char* what() const noexcept override;
};

} // namespace CommonTwain
