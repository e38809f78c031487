#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>

// The texts of one open database, each under its key and its id. Ids start at 1 and follow
// the order of adding; 0 is no id. A text's address stays valid until the table is destroyed.
class StringTable
{
public:
    // False, with nothing added, when the key is already present.
    bool Add(const std::string& key, std::wstring text);
    // The id of `key`, 0 when absent.
    uint32_t FindId(const std::string& key) const;
    // The text of `id`, null for an id the table never gave.
    const wchar_t* TextById(uint32_t id) const;
    size_t Size() const { return m_texts.size(); }

private:
    std::deque<std::wstring> m_texts;
    std::unordered_map<std::string, uint32_t> m_ids;
};
