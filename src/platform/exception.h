// Base of the exception family of the program: the file layer, the archive engine, text
// import, the jar builder and the command line's usage errors. Exceptions are thrown by
// value and caught by reference; one handler for CException& takes them all, and reports
// them through Message(), GetPath() and MessageNamesPath() alone.
#pragma once

#include <cstddef>
#include <string>

class CException {
public:
    virtual ~CException() = default;

    // The whole message as UTF-8, for a message box or a line of the command line.
    virtual std::string Message() const = 0;

    // The file the failure concerns (a source, the template, the book, an archive), or
    // empty.
    virtual std::string GetPath() const { return {}; }

    // True when Message() names GetPath() itself; a report shows the path where it does not.
    virtual bool MessageNamesPath() const { return false; }
};
