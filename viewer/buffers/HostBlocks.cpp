#include "viewer/buffers/HostBlocks.h"

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>

std::unique_ptr<HostBlock> HostBlock::Allocate(std::size_t bytes)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t capacity = (std::max<std::size_t>(bytes, 1) + page - 1) / page * page;
    void* data = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED) return nullptr;
    return std::unique_ptr<HostBlock>(new HostBlock(static_cast<unsigned char*>(data), capacity));
}

HostBlock::~HostBlock() { munmap(m_data, m_capacity); }

std::unique_ptr<HostBlock> HostBlockPool::Take(std::size_t bytes)
{
    // The smallest kept block that holds bytes, unless it would waste more than
    // a quarter of itself.
    auto best = m_blocks.end();
    for (auto it = m_blocks.begin(); it != m_blocks.end(); ++it) {
        const std::size_t capacity = (*it)->Capacity();
        if (capacity >= bytes && capacity - bytes <= capacity / 4 &&
            (best == m_blocks.end() || capacity < (*best)->Capacity()))
            best = it;
    }
    if (best != m_blocks.end()) {
        std::unique_ptr<HostBlock> block = std::move(*best);
        m_blocks.erase(best);
        return block;
    }
    return HostBlock::Allocate(bytes);
}

void HostBlockPool::Keep(std::unique_ptr<HostBlock> block)
{
    if (block) m_blocks.push_back(std::move(block));
}
