#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// One list of undo snapshot files, oldest first, over 20 slot files
// "<temp folder>~DAveru_undo_<id>_<slot>.tmp". The list and the slot choice are
// locked: the pipe worker pushes snapshots while the UI thread may push or undo.
class UndoList {
public:
    static constexpr int kSlots = 20;

    // folder ends with '/' (the user's private temporary folder).
    UndoList(std::uint16_t id, std::string folder);

    std::string SlotName(int slot) const;
    // Chooses the file of a new snapshot and appends it as the newest entry: the
    // first slot neither on disk nor listed; with all 20 in use, the oldest entry's
    // file is deleted and its name reused. Nothing when no slot can be had.
    std::optional<std::string> ReserveSlot();
    // Drops a name whose snapshot could not be written, so its slot is free again.
    void Forget(const std::string& name);
    // Removes and returns the newest name.
    std::optional<std::string> TakeNewest();
    // Deletes the 20 slot files and empties the list.
    void Clear();

    bool Empty() const;
    std::size_t Size() const;
    std::uint16_t Id() const { return m_id; }

private:
    const std::uint16_t m_id;
    const std::string m_folder;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_names;
};
