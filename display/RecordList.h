#pragma once

#include <list>
#include <memory>

// The owned children of one catalogue level, kept in insertion order, with the one cursor of
// the level's first/next walk. A walk is not reentrant: starting a second walk over the same
// list moves the cursor of the first. A record appended before a walk reached the end is met
// by it. The list is neither copied nor moved, so the cursor always points into it.
template <typename Record> class RecordList
{
    using Records = std::list<std::unique_ptr<Record>>;

public:
    RecordList() = default;
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;

    Record* Append(std::unique_ptr<Record> record)
    {
        m_records.push_back(std::move(record));
        return m_records.back().get();
    }

    // The first record, or null; the cursor moves to the record after it.
    Record* First()
    {
        m_cursor = m_records.begin();
        return Next();
    }

    // The record at the cursor, or null at the end; the cursor moves on.
    Record* Next()
    {
        if (m_cursor == m_records.end())
            return nullptr;
        return (m_cursor++)->get();
    }

    // The record that lives at `address`, or null when it is not one of this list's records.
    // Pointers that come from outside (a list box line's item data) are trusted only this way.
    Record* Find(const void* address) const
    {
        for (const auto& record : m_records)
            if (record.get() == address)
                return record.get();
        return nullptr;
    }

    // The first record, or null; the walk is left alone.
    Record* Front() const { return m_records.empty() ? nullptr : m_records.front().get(); }

    // Deletes every record and ends any walk.
    void Clear()
    {
        m_records.clear();
        m_cursor = m_records.end();
    }

    typename Records::const_iterator begin() const { return m_records.begin(); }
    typename Records::const_iterator end() const { return m_records.end(); }

private:
    Records m_records;
    typename Records::iterator m_cursor = m_records.end();
};
