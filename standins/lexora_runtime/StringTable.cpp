#include "standins/lexora_runtime/StringTable.h"

#include <utility>

bool StringTable::Add(const std::string& key, std::wstring text)
{
    const uint32_t id = uint32_t(m_texts.size() + 1);
    if (!m_ids.emplace(key, id).second)
        return false;
    m_texts.push_back(std::move(text));
    return true;
}

uint32_t StringTable::FindId(const std::string& key) const
{
    const auto found = m_ids.find(key);
    return found == m_ids.end() ? 0 : found->second;
}

const wchar_t* StringTable::TextById(uint32_t id) const
{
    if (id == 0 || id > m_texts.size())
        return nullptr;
    return m_texts[id - 1].c_str();
}
