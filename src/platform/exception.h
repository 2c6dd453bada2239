// Base of the exception family shared by the file layer and the archive engine.
// Exceptions are thrown by value and caught by reference; one handler for CException&
// takes both file and archive failures.
#pragma once

#include <cstddef>
#include <string>

class CException {
public:
    virtual ~CException() = default;

    // Copies at most size - 1 characters of the message into text and terminates it.
    // Returns false when text is null, size is 0 or there is no message. helpContext is
    // left untouched.
    virtual bool GetErrorMessage(char* text, unsigned size, unsigned* helpContext = nullptr) const;

    // The whole message as UTF-8.
    virtual std::string Message() const = 0;
};

// Copies message into text as GetErrorMessage describes.
bool CopyErrorMessage(const std::string& message, char* text, unsigned size);
