#include "IniFileCache.h"

#include <algorithm>
#include <ctime>

namespace {

// Whether any later change to the file must change its modification time.
bool isSettled(const FileVersion& version, const timespec& readAt)
{
    const auto modified = std::chrono::seconds(version.modified.tv_sec) + std::chrono::nanoseconds(version.modified.tv_nsec);
    const auto read = std::chrono::seconds(readAt.tv_sec) + std::chrono::nanoseconds(readAt.tv_nsec);
    return read - modified >= IniFileCache::SettleTime;
}

} // namespace

std::optional<IniFile> IniFileCache::load(const QString& path)
{
    const std::optional<FileVersion> version = regularfile::versionOf(path, IniFile::MaxFileSize);
    if (!version)
        return std::nullopt;
    std::optional<Slot> kept = take(path);
    if (kept && kept->settled && kept->version == *version) {
        keep(*kept);
        return kept->file;
    }

    timespec readAt {};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
    std::optional<regularfile::Snapshot> snapshot = regularfile::read(path, IniFile::MaxFileSize);
    if (!snapshot)
        return std::nullopt;
    const bool unchanged = kept && kept->file.bytes() == snapshot->bytes;
    const IniFile file = unchanged ? kept->file : IniFile(std::move(snapshot->bytes));
    keep(Slot{path, snapshot->version, file, isSettled(snapshot->version, readAt)});
    return file;
}

// The path's slot, taken out of the list.
std::optional<IniFileCache::Slot> IniFileCache::take(const QString& path)
{
    const auto slot = std::find_if(m_slots.begin(), m_slots.end(), [&](const Slot& s) { return s.path == path; });
    if (slot == m_slots.end())
        return std::nullopt;
    Slot taken = std::move(*slot);
    m_slots.erase(slot);
    return taken;
}

// Puts the slot first, dropping the least recently used beyond Capacity.
void IniFileCache::keep(Slot slot)
{
    std::erase_if(m_slots, [&](const Slot& s) { return s.path == slot.path; });
    m_slots.insert(m_slots.begin(), std::move(slot));
    if (m_slots.size() > Capacity)
        m_slots.erase(m_slots.begin() + Capacity, m_slots.end());
}
