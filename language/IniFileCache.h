#pragma once

#include "IniFile.h"
#include "RegularFile.h"

#include <QString>

#include <chrono>
#include <optional>
#include <vector>

// The files last read, each indexed once and kept with the version it was
// read from, so that translating a form, a hundred lookups, reads its
// language file once. Every lookup still asks the file system for the file's
// version, so an edited file counts at the very next lookup. Like everything
// of the program's, it lives on the user-interface thread.
class IniFileCache
{
public:
    // The program reads two files, its language file and its settings file.
    static constexpr std::size_t Capacity = 4;
    // File systems stamp modification times in steps (two seconds on FAT). A
    // file changed again within the step of its last change keeps its version,
    // so a file changed this recently (or dated in the future) is read again
    // at every lookup; it is indexed again only when its bytes changed.
    static constexpr std::chrono::seconds SettleTime{3};

    // As IniFile::load.
    std::optional<IniFile> load(const QString& path);

private:
    struct Slot
    {
        QString path;
        FileVersion version;
        IniFile file;
        bool settled; // read when no later change could keep the version
    };

    std::optional<Slot> take(const QString& path);
    void keep(Slot slot);

    std::vector<Slot> m_slots; // the most recently used first
};
