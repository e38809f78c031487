#include "app/BoundedFormat.h"

#include <cstdarg>
#include <cstdio>

int BoundedFormat(char* buffer, int size, const char* format, ...)
{
    if (buffer == nullptr || size <= 0)
        return -1;
    if (format == nullptr)
        format = "";

    va_list values;
    va_start(values, format);
    const int result = _vsnprintf(buffer, static_cast<size_t>(size), format, values);
    va_end(values);
    buffer[size - 1] = '\0';
    return result;
}
