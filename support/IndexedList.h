#pragma once

#include <cstdint>

// An ordered list of element pointers: appended at its end, read by index,
// walked by ascending index. It remembers the last position visited, so an
// ascending walk costs one step per element.
template <typename T>
class IndexedList {
public:
    IndexedList() = default;
    IndexedList(const IndexedList&) = delete;
    IndexedList& operator=(const IndexedList&) = delete;
    // Frees the links only; the elements belong to whoever filled the list.
    ~IndexedList() { FreeLinks(); }

    void Append(T* element)
    {
        Link* link = new Link{element, nullptr};
        tail->next = link;
        tail = link;
        ++count;
    }

    // Appends a new default-made element. Its link is made first, so that
    // link and element lie side by side and a walk touches less memory.
    T* AppendNew()
    {
        Link* link = new Link{nullptr, nullptr};
        try {
            link->element = new T;
        } catch (...) {
            delete link;
            throw;
        }
        tail->next = link;
        tail = link;
        ++count;
        return link->element;
    }

    // Returns nullptr for an index outside 0 to Count() - 1.
    T* GetAt(std::int32_t index) const
    {
        if (index < 0 || index >= count)
            return nullptr;
        if (index == cursorIndex)
            return cursorLink->element;
        if (index == cursorIndex + 1) {
            cursorLink = cursorLink->next;
        } else {
            cursorLink = header.next;
            for (std::int32_t i = 0; i < index; ++i)
                cursorLink = cursorLink->next;
        }
        cursorIndex = index;
        return cursorLink->element;
    }

    std::int32_t Count() const { return count; }

    // Unlinks the element at index without destroying it.
    void RemoveAt(std::int32_t index)
    {
        if (index < 0 || index >= count)
            return;
        Link* before = &header;
        if (cursorIndex >= 0 && cursorIndex == index - 1) {
            before = cursorLink;
        } else {
            for (std::int32_t i = 0; i < index; ++i)
                before = before->next;
        }
        Link* removed = before->next;
        before->next = removed->next;
        if (removed == tail)
            tail = before;
        --count;
        if (index == cursorIndex) {
            if (cursorIndex < count)
                cursorLink = removed->next;
            else
                ClearCursor();
        } else if (index < cursorIndex) {
            --cursorIndex;
        }
        delete removed;
    }

    // Unlinks the first occurrence of element; returns false when it is absent.
    bool Remove(const T* element)
    {
        for (std::int32_t i = 0; i < count; ++i) {
            if (GetAt(i) == element) {
                RemoveAt(i);
                return true;
            }
        }
        return false;
    }

    // Deletes every element and leaves the list empty.
    void DeleteAll()
    {
        for (Link* link = header.next; link; link = link->next)
            delete link->element;
        FreeLinks();
    }

    // Unlinks every element without destroying any.
    void RemoveAll() { FreeLinks(); }

    // Moves every link of other to the end of this list; other is left empty.
    void AppendAll(IndexedList& other)
    {
        if (&other == this || other.count == 0)
            return;
        tail->next = other.header.next;
        tail = other.tail;
        count += other.count;
        other.header.next = nullptr;
        other.tail = &other.header;
        other.count = 0;
        other.ClearCursor();
    }

    // Moves every link of other to the front of this list; other is left empty.
    void PrependAll(IndexedList& other)
    {
        if (&other == this || other.count == 0)
            return;
        other.tail->next = header.next;
        if (count == 0)
            tail = other.tail;
        header.next = other.header.next;
        count += other.count;
        if (cursorIndex >= 0)
            cursorIndex += other.count;
        other.header.next = nullptr;
        other.tail = &other.header;
        other.count = 0;
        other.ClearCursor();
    }

    // Unlinks and returns the first element; nullptr when the list is empty.
    T* TakeFirst()
    {
        if (count == 0)
            return nullptr;
        T* element = header.next->element;
        RemoveAt(0);
        return element;
    }

    std::int32_t CursorIndex() const { return cursorIndex; }

private:
    struct Link {
        T* element;
        Link* next;
    };

    void ClearCursor() const
    {
        cursorIndex = -2;
        cursorLink = nullptr;
    }

    void FreeLinks()
    {
        Link* link = header.next;
        while (link) {
            Link* next = link->next;
            delete link;
            link = next;
        }
        header.next = nullptr;
        tail = &header;
        count = 0;
        ClearCursor();
    }

    Link header{nullptr, nullptr};
    Link* tail = &header;
    std::int32_t count = 0;
    mutable std::int32_t cursorIndex = -2;
    mutable Link* cursorLink = nullptr;
};
