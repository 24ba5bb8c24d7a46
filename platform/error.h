#pragma once

#include <stdexcept>
#include <string>

// The one exception hierarchy of the program: every failure the user may see carries its message.
class EOrvaneError : public std::runtime_error
{
public:
    explicit EOrvaneError(const std::string& message) : std::runtime_error(message) {}
};

// A file could not be created, written or renamed into place.
class EFileError : public EOrvaneError
{
public:
    using EOrvaneError::EOrvaneError;
};
