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
    if (std::optional<IniFile> cached = find(path, *version))
        return cached;

    timespec readAt {};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
    std::optional<regularfile::Snapshot> snapshot = regularfile::read(path, IniFile::MaxFileSize);
    if (!snapshot)
        return std::nullopt;
    IniFile file(std::move(snapshot->bytes));
    if (isSettled(snapshot->version, readAt))
        keep(path, snapshot->version, file);
    return file;
}

std::optional<IniFile> IniFileCache::find(const QString& path, const FileVersion& version)
{
    const std::lock_guard lock(m_mutex);
    const auto slot = std::find_if(m_slots.begin(), m_slots.end(), [&](const Slot& s) { return s.path == path; });
    if (slot == m_slots.end() || !(slot->version == version))
        return std::nullopt;
    std::rotate(m_slots.begin(), slot, slot + 1);
    return m_slots.front().file;
}

void IniFileCache::keep(const QString& path, const FileVersion& version, const IniFile& file)
{
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_slots, [&](const Slot& s) { return s.path == path; });
    m_slots.insert(m_slots.begin(), Slot{path, version, file});
    if (m_slots.size() > Capacity)
        m_slots.erase(m_slots.begin() + Capacity, m_slots.end());
}
