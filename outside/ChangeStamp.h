#pragma once

#include <atomic>
#include <cstdint>

// A stamp that is new after every change of what it marks. Stamps come from one
// process-wide counter, so no two are ever equal, on one object or on two: a
// cache keyed on (object, stamp) cannot mistake a new object at a freed address
// for the old one. A copy is another object and takes a new stamp; a move gives
// new stamps to both sides (the source has lost its content).
class ChangeStamp {
public:
    ChangeStamp() noexcept : m_value(Next()) {}
    ChangeStamp(const ChangeStamp&) noexcept : m_value(Next()) {}
    ChangeStamp(ChangeStamp&& other) noexcept : m_value(Next()) { other.Renew(); }
    ChangeStamp& operator=(const ChangeStamp&) noexcept
    {
        Renew();
        return *this;
    }
    ChangeStamp& operator=(ChangeStamp&& other) noexcept
    {
        Renew();
        other.Renew();
        return *this;
    }
    ~ChangeStamp() = default;

    void Renew() noexcept { m_value = Next(); }
    std::uint64_t Value() const noexcept { return m_value; }

private:
    static std::uint64_t Next() noexcept
    {
        static std::atomic<std::uint64_t> counter{0};
        return counter.fetch_add(1, std::memory_order_relaxed) + 1;
    }

    std::uint64_t m_value;
};
