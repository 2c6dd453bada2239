#include "platform/exception.h"

#include <cstring>

bool CopyErrorMessage(const std::string& message, char* text, unsigned size)
{
    if (text == nullptr || size == 0 || message.empty())
        return false;
    const std::size_t n = message.size() < size - 1 ? message.size() : size - 1;
    std::memcpy(text, message.data(), n);
    text[n] = '\0';
    return true;
}

bool CException::GetErrorMessage(char* text, unsigned size, unsigned*) const
{
    return CopyErrorMessage(Message(), text, size);
}
