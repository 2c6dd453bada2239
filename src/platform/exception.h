// Base of the exception family of the core: the file layer, the archive engine, text
// import and the jar builder. Exceptions are thrown by value and caught by reference; one
// handler for CException& takes them all, and reports them through Message() and GetPath()
// alone.
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

    // The whole message as UTF-8, for a message box or a line of the command line.
    virtual std::string Message() const = 0;

    // The file the failure concerns (a source, the template, the book, an archive), or
    // empty. The message may name it already; a report shows it where it does not.
    virtual std::string GetPath() const { return {}; }
};

// Copies message into text as GetErrorMessage describes.
bool CopyErrorMessage(const std::string& message, char* text, unsigned size);
