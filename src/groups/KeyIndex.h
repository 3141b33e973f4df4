// A compact hash index of objects by the URI each carries: open addressing
// over a power-of-two table of (hash, object) pairs, at most half full.
// Nothing is allocated per object, and a look-up touches one table slot and
// then the object itself. No Qt here.
//
// An object's URI must not change while it is in the index; the index does
// not own the objects.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace tarvolan {

template <class T> class CKeyIndex {
public:
    size_t Size() const { return m_count; }

    static size_t Hash(std::string_view uri) { return std::hash<std::string_view>{}(uri); }

    T* Find(std::string_view uri) const { return Find(uri, Hash(uri)); }
    // The same with the URI's Hash at hand (a look-up before an Insert).
    T* Find(std::string_view uri, size_t hash) const
    {
        if (m_slots.empty()) return nullptr;
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const TSlot& slot = m_slots[i];
            if (!slot.object) return nullptr;
            if (slot.hash == hash && slot.object->URI().view() == uri) return slot.object;
        }
    }

    // Adds an object whose URI is not in the index yet.
    void Insert(T* object) { Insert(object, Hash(object->URI().view())); }
    void Insert(T* object, size_t hash)
    {
        if ((m_count + 1) * 2 > m_slots.size()) Grow();
        Place({hash, object});
        ++m_count;
    }

    // Removes the object; false when it is not in the index.
    bool Erase(const T* object)
    {
        if (m_slots.empty()) return false;
        const size_t hash = Hash(object->URI().view());
        size_t i = hash & Mask();
        while (m_slots[i].object != object) {
            if (!m_slots[i].object) return false;
            i = (i + 1) & Mask();
        }
        // Close the gap: move back every later entry of the run that may
        // not stay behind an empty slot.
        for (size_t next = (i + 1) & Mask(); m_slots[next].object; next = (next + 1) & Mask()) {
            const size_t home = m_slots[next].hash & Mask();
            const bool movable = i <= next ? (home <= i || home > next) : (home <= i && home > next);
            if (movable) {
                m_slots[i] = m_slots[next];
                i = next;
            }
        }
        m_slots[i] = TSlot{};
        --m_count;
        return true;
    }

    // Sizes the table for count objects, so that inserting them never grows it.
    void Reserve(size_t count)
    {
        while (count * 2 > m_slots.size()) Grow();
    }

    void Clear()
    {
        m_slots.clear();
        m_count = 0;
    }

private:
    struct TSlot {
        size_t hash = 0;
        T* object = nullptr;
    };

    size_t Mask() const { return m_slots.size() - 1; }

    void Place(const TSlot& entry)
    {
        size_t i = entry.hash & Mask();
        while (m_slots[i].object) i = (i + 1) & Mask();
        m_slots[i] = entry;
    }

    void Grow()
    {
        std::vector<TSlot> old;
        old.swap(m_slots);
        m_slots.resize(old.empty() ? 16 : old.size() * 2);
        for (const TSlot& slot : old)
            if (slot.object) Place(slot);
    }

    std::vector<TSlot> m_slots;
    size_t m_count = 0;
};

} // namespace tarvolan
