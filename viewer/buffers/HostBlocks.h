#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// Page-aligned host memory that point buffers are built in. On a renderer
// whose buffers live in host memory anyway (llvmpipe), GL takes such a block
// as the buffers' own storage (GL_AMD_pinned_memory): no copy, and no zero
// fill of fresh memory by the driver. The block must outlive its buffer names.
class HostBlock {
public:
    //! A block of at least bytes (rounded up to whole pages); null when the
    //! system has no memory for it.
    static std::unique_ptr<HostBlock> Allocate(std::size_t bytes);
    ~HostBlock();
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;

    unsigned char* Data() const { return m_data; }
    std::size_t Capacity() const { return m_capacity; }

private:
    HostBlock(unsigned char* data, std::size_t capacity) : m_data(data), m_capacity(capacity) {}

    unsigned char* m_data;
    std::size_t m_capacity;
};

// Blocks whose buffers were released, kept for the next build: memory written
// before needs no first-touch page faults. Emptied by the disposal at the
// start of every pass, so released memory stays at most until then.
class HostBlockPool {
public:
    //! A kept block of at least bytes (and not much larger), or a new one.
    std::unique_ptr<HostBlock> Take(std::size_t bytes);
    void Keep(std::unique_ptr<HostBlock> block);
    void Clear() { m_blocks.clear(); }
    std::size_t Size() const { return m_blocks.size(); }

private:
    std::vector<std::unique_ptr<HostBlock>> m_blocks;
};

// Blocks GL takes as the storage of buffers, by buffer name: each goes back to a
// pool once its buffer is deleted.
class BufferStorage {
public:
    void Keep(unsigned int name, std::unique_ptr<HostBlock> block)
    {
        m_blocks.emplace_back(name, std::move(block));
    }
    //! The block of that buffer, no longer kept here; null when it has none.
    std::unique_ptr<HostBlock> Take(unsigned int name)
    {
        for (auto it = m_blocks.begin(); it != m_blocks.end(); ++it)
            if (it->first == name) {
                std::unique_ptr<HostBlock> block = std::move(it->second);
                m_blocks.erase(it);
                return block;
            }
        return nullptr;
    }
    std::size_t Size() const { return m_blocks.size(); }

private:
    std::vector<std::pair<unsigned int, std::unique_ptr<HostBlock>>> m_blocks;
};
