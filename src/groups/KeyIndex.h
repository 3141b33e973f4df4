// A compact hash index of objects by the URI each carries: open addressing
// over a power-of-two table, at most three quarters full, of objects with
// 32 bits of their URI's hash beside them (kept apart, so that a place takes
// 12 bytes: a group of 300 members indexes them in 6 KB). Nothing is
// allocated per object, and a look-up touches one place and then the object
// itself. No Qt here.
//
// An object's URI must not change while it is in the index; the index does
// not own the objects.
#pragma once

#include <cstddef>
#include <cstdint>
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
        if (m_objects.empty()) return nullptr;
        const uint32_t tag = Tag(hash);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            T* object = m_objects[i];
            if (!object) return nullptr;
            if (m_tags[i] == tag && object->URI().view() == uri) return object;
        }
    }

    // Adds an object whose URI is not in the index yet.
    void Insert(T* object) { Insert(object, Hash(object->URI().view())); }
    void Insert(T* object, size_t hash)
    {
        if (!Holds(m_count + 1)) Grow();
        Place(Tag(hash), object);
        ++m_count;
    }

    // Removes the object; false when it is not in the index.
    bool Erase(const T* object)
    {
        if (m_objects.empty()) return false;
        size_t i = Hash(object->URI().view()) & Mask();
        while (m_objects[i] != object) {
            if (!m_objects[i]) return false;
            i = (i + 1) & Mask();
        }
        // Close the gap: move back every later entry of the run that may
        // not stay behind an empty place.
        for (size_t next = (i + 1) & Mask(); m_objects[next]; next = (next + 1) & Mask()) {
            const size_t home = m_tags[next] & Mask();
            const bool movable = i <= next ? (home <= i || home > next) : (home <= i && home > next);
            if (movable) {
                m_tags[i] = m_tags[next];
                m_objects[i] = m_objects[next];
                i = next;
            }
        }
        m_tags[i] = 0;
        m_objects[i] = nullptr;
        --m_count;
        return true;
    }

    // Sizes the table for count objects, so that inserting them never grows it.
    void Reserve(size_t count)
    {
        while (!Holds(count)) Grow();
    }

    void Clear()
    {
        m_tags.clear();
        m_objects.clear();
        m_count = 0;
    }

private:
    // The hash's low 32 bits: they also give an object's home place, as the
    // table never has more than 2^32 places.
    static uint32_t Tag(size_t hash) { return static_cast<uint32_t>(hash); }
    size_t Mask() const { return m_objects.size() - 1; }
    bool Holds(size_t count) const { return count * 4 <= m_objects.size() * 3; }

    void Place(uint32_t tag, T* object)
    {
        size_t i = tag & Mask();
        while (m_objects[i]) i = (i + 1) & Mask();
        m_tags[i] = tag;
        m_objects[i] = object;
    }

    void Grow()
    {
        std::vector<uint32_t> tags;
        std::vector<T*> objects;
        tags.swap(m_tags);
        objects.swap(m_objects);
        const size_t size = objects.empty() ? 16 : objects.size() * 2;
        m_tags.assign(size, 0);
        m_objects.assign(size, nullptr);
        for (size_t i = 0; i < objects.size(); ++i)
            if (objects[i]) Place(tags[i], objects[i]);
    }

    std::vector<uint32_t> m_tags;
    std::vector<T*> m_objects;  // null: a free place
    size_t m_count = 0;
};

} // namespace tarvolan
