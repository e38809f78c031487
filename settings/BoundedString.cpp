#include "settings/BoundedString.h"

#include <cstring>

void BoundedCopy(char* destination, const char* source, size_t size)
{
    if (destination == nullptr || size == 0)
        return;
    if (source == nullptr)
        source = "";
    strncpy(destination, source, size - 1);
    destination[size - 1] = '\0';
}

void BoundedAppend(char* destination, const char* source, size_t size)
{
    if (destination == nullptr || size == 0)
        return;
    if (source == nullptr)
        source = "";
    const size_t length = strnlen(destination, size);
    if (length < size - 1)
        strncat(destination, source, size - 1 - length);
    destination[size - 1] = '\0';
}
