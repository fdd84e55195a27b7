#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace tessara {

// A mutex that knows which thread holds it. try_lock from the holder answers
// "busy" at once (a plain std::mutex makes that undefined), so a paint pumped by
// a command that holds the view lock on the UI thread skips its frame instead of
// misbehaving; HeldByThisThread lets code that needs the lock check it has it.
// Usable with std::lock_guard and std::unique_lock.
class OwnedMutex {
public:
    OwnedMutex() = default;
    OwnedMutex(const OwnedMutex&) = delete;
    OwnedMutex& operator=(const OwnedMutex&) = delete;

    //! Blocks until held. Not recursive: the holder must not lock it again.
    void lock()
    {
        m_mutex.lock();
        m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    }
    //! False when another thread holds it, or the calling thread itself does.
    bool try_lock()
    {
        if (HeldByThisThread() || !m_mutex.try_lock()) return false;
        m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
        return true;
    }
    void unlock()
    {
        m_owner.store(std::thread::id(), std::memory_order_relaxed);
        m_mutex.unlock();
    }
    //! True only on the thread that holds the mutex.
    bool HeldByThisThread() const
    {
        return m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id();
    }

private:
    std::mutex m_mutex;
    // Only the holder writes its own id here, so only the holder can read it back.
    std::atomic<std::thread::id> m_owner{};
};

} // namespace tessara
