#pragma once

// True when `text` points into `owner`'s own bytes: the owner holds the text inline. A text of
// the inline limit's length that claims to be inline has been written past its buffer.
template <typename Owner> bool HeldInside(const Owner& owner, const void* text)
{
    const char* begin = reinterpret_cast<const char*>(&owner);
    const char* at = static_cast<const char*>(text);
    return at >= begin && at < begin + sizeof owner;
}
