#pragma once

namespace resource
{
// A counted hold on a shared resource; the count block belongs to the
// manager's map entry. The last release hands the resource back.
template <class T>
class ResourceHandle
{
public:
    ResourceHandle() = default;
    // Takes a use already counted by the manager.
    ResourceHandle(T* resource, int* count)
        : m_resource(resource)
        , m_count(count)
    {
    }

    ResourceHandle(const ResourceHandle& other)
        : m_resource(other.m_resource)
        , m_count(other.m_count)
    {
        if (m_count)
            ++*m_count;
    }

    // The same counted hold, seen as a base class (a bitmap font as a font).
    template <class U>
    ResourceHandle(const ResourceHandle<U>& other)
        : m_resource(other.m_resource)
        , m_count(other.m_count)
    {
        if (m_count)
            ++*m_count;
    }

    ResourceHandle& operator=(const ResourceHandle& other)
    {
        // Count the new value first: releasing first would free a resource
        // held only by this handle before copying it onto itself.
        if (other.m_count)
            ++*other.m_count;
        T* resource = other.m_resource;
        int* count = other.m_count;
        Reset();
        m_resource = resource;
        m_count = count;
        return *this;
    }

    ~ResourceHandle() { Reset(); }

    void Reset()
    {
        T* resource = m_resource;
        int* count = m_count;
        m_resource = nullptr;
        m_count = nullptr;
        if (count && --*count <= 0)
            resource->Release();
    }

    T* Get() const { return m_resource; }
    T* operator->() const { return m_resource; }
    explicit operator bool() const { return m_resource != nullptr; }
    // The shared use count; 0 for an empty handle.
    int UseCount() const { return m_count ? *m_count : 0; }

private:
    template <class U>
    friend class ResourceHandle;

    T* m_resource = nullptr;
    int* m_count = nullptr;
};
}
